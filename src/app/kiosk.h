#pragma once
// The application object: owns the document, the settings, the player and the windows for
// the whole run, and carries out the start and the orderly end.

#include <memory>
#include <string>
#include <vector>

namespace pagelark {

// Runs the kiosk with the command-line arguments (without the program name); returns the
// process exit status.
int RunKiosk(int argc, char** argv);

}  // namespace pagelark
