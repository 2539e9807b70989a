#pragma once
// A desktop with no settings of its own in a temporary folder: home/ is the home folder,
// etc/ and share/ the system's configuration and data. The desktop libraries read these
// variables once per process, so ask them through Fresh unless nothing else in the process
// asks them.

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "support/scoped_variable.h"
#include "support/temp_folder.h"

namespace pagelark::testing {

struct TempDesktop {
    // The answer of ask from a child process that has never asked before.
    static std::string Fresh(std::string (*ask)()) {
        const TempFolder out;
        const pid_t child = ::fork();
        if (child == 0) {
            std::ofstream(out.File("answer"), std::ios::binary) << ask();
            ::_exit(0);
        }
        ::waitpid(child, nullptr, 0);
        return TempFolder::Read(out.File("answer"));
    }

    TempFolder temp;
    ScopedVariable home{"HOME", temp.File("home").c_str()};
    ScopedVariable configDirs{"XDG_CONFIG_DIRS", temp.File("etc").c_str()};
    ScopedVariable dataDirs{"XDG_DATA_DIRS", temp.File("share").c_str()};
    ScopedVariable configHome{"XDG_CONFIG_HOME", nullptr};
    ScopedVariable dataHome{"XDG_DATA_HOME", nullptr};
    ScopedVariable desktop{"XDG_CURRENT_DESKTOP", nullptr};
};

}  // namespace pagelark::testing
