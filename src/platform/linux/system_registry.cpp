#include "platform/system_registry.h"

namespace pagelark {

std::unique_ptr<RegistryBackend> SystemRegistry() {
    return nullptr;
}

}  // namespace pagelark
