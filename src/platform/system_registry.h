#pragma once
// The operating system's own registry, where it has one.

#include <memory>

#include "platform/registry_backend.h"

namespace pagelark {

// The system's registry through its own functions; nullptr where the system keeps none (the
// settings then live in the file store).
std::unique_ptr<RegistryBackend> SystemRegistry();

}  // namespace pagelark
