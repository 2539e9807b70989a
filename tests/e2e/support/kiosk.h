#pragma once
// The kiosk program under test, started the way an operator starts it, but with every
// folder it touches private to the test.

#include <string>
#include <vector>

#include "e2e/support/process.h"
#include "support/temp_folder.h"

namespace pagelark::e2e {

class Xvfb;

// The folders of one or more kiosk runs; runs that share them see each other's lock.
class KioskFolders : public testing::TempFolder {
  public:
    KioskFolders();

    std::string TempDir() const { return File("tmp"); }
    std::string HomeDir() const { return File("home"); }
};

// In a process group of its own: its browser engine starts helper processes that must go
// with it. Throws when it cannot be started; Output() is what it wrote so far.
class Kiosk : public Process {
  public:
    // extraEnvironment: further NAME=value entries (the benchmarks ask for a trace).
    Kiosk(const Xvfb& server, const KioskFolders& folders, std::vector<std::string> arguments,
          std::vector<std::string> extraEnvironment = {});
};

}  // namespace pagelark::e2e
