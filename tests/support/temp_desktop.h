#pragma once
// A desktop with no settings of its own in a temporary folder: home/ is the home folder,
// etc/ and share/ the system's configuration and data. The desktop libraries read these
// variables once per process, so ask them through Fresh unless nothing else in the process
// asks them.

#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "support/scoped_variable.h"
#include "support/temp_folder.h"

namespace pagelark::testing {

struct TempDesktop {
    // The answer of ask from a child process that has never asked before.
    static std::string Fresh(std::string (*ask)()) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return "<no pipe>";
        const pid_t child = ::fork();
        if (child == 0) {
            const std::string answer = ask();
            const bool written = ::write(pipeEnds[1], answer.data(), answer.size()) ==
                                 static_cast<ssize_t>(answer.size());
            ::_exit(written ? 0 : 1);
        }
        ::close(pipeEnds[1]);
        std::string answer;
        char buffer[512];
        for (ssize_t got; (got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
            answer.append(buffer, static_cast<std::size_t>(got));
        ::close(pipeEnds[0]);
        ::waitpid(child, nullptr, 0);
        return answer;
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
