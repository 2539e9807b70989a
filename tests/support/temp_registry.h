#pragma once
// A file registry in a temporary folder, under a desktop of no settings of its own.

#include <optional>
#include <string>

#include "platform/linux/file_registry.h"
#include "platform/linux/xdg.h"
#include "support/temp_folder.h"

namespace pagelark::testing {

inline constexpr RegRoot kMachine = RegRoot::LocalMachine;
inline constexpr RegRoot kUser = RegRoot::CurrentUser;
inline constexpr RegRoot kClasses = RegRoot::ClassesRoot;

struct TempRegistry {
    TempRegistry() {
        env.Home = temp.File("home");
        env.ConfigDirs = temp.File("etc");
        env.DataDirs = temp.File("share");
        store.emplace(folder, env);
    }

    TempFolder temp;
    XdgEnvironment env;
    std::string folder = temp.File("registry");
    std::optional<FileRegistry> store;
};

}  // namespace pagelark::testing
