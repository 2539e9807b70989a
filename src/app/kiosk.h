#pragma once
// The application object: owns the document, the settings, the player and the windows for
// the whole run, and carries out the start and the orderly end.

#include <optional>
#include <string>
#include <vector>

namespace pagelark {

// Runs the kiosk in the application Qt built, with the arguments Qt left (without the program
// name), once no other copy of the user's runs; returns the process exit status.
int RunKiosk(const std::vector<std::string>& arguments,
             const std::optional<std::string>& configFile);

}  // namespace pagelark
