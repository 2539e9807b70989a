#pragma once
// Runs the pagelark-tso binary in a folder, as an operator's script would.

#include <string>

namespace pagelark::testing {

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// args go through the shell; the registry store is kept in registryDir.
Outcome RunTool(const std::string& folder, const std::string& registryDir, const std::string& args);

}  // namespace pagelark::testing
