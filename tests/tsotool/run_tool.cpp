#include "run_tool.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "support/temp_folder.h"

namespace pagelark::testing {

Outcome RunTool(const std::string& folder, const std::string& registryDir,
                const std::string& args) {
    const std::string errFile = folder + "/stderr.txt";
    const std::string command = "cd '" + folder + "' && PAGELARK_REGISTRY_DIR='" + registryDir +
                                "' '" PAGELARK_TSO_BINARY "' " + args + " 2>'" + errFile + "'";
    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return outcome;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        outcome.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.err = TempFolder::Read(errFile);
    std::remove(errFile.c_str());
    return outcome;
}

}  // namespace pagelark::testing
