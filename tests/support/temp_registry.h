#pragma once
// A file registry in a temporary folder.

#include <optional>
#include <string>

#include "platform/linux/file_registry.h"
#include "support/temp_folder.h"

namespace pagelark::testing {

inline constexpr RegRoot kMachine = RegRoot::LocalMachine;
inline constexpr RegRoot kUser = RegRoot::CurrentUser;
inline constexpr RegRoot kClasses = RegRoot::ClassesRoot;

struct TempRegistry {
    TempRegistry() { store.emplace(folder); }

    TempFolder temp;
    std::string folder = temp.File("registry");
    std::optional<FileRegistry> store;
};

}  // namespace pagelark::testing
