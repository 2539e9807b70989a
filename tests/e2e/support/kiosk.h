#pragma once
// The kiosk program under test, started the way an operator starts it, but with every
// folder it touches private to the test.

#include <memory>
#include <string>
#include <vector>

#include "e2e/support/process.h"
#include "support/temp_folder.h"

namespace pagelark::e2e {

class Xvfb;

// The folders of one or more kiosk runs; runs that share them see each other's lock.
class KioskFolders {
  public:
    KioskFolders();

    std::string TempDir() const { return root_.File("tmp"); }
    std::string RuntimeDir() const { return root_.File("run"); }
    std::string RegistryDir() const { return root_.File("registry"); }
    std::string HomeDir() const { return root_.File("home"); }
    std::string Root() const { return root_.path(); }
    // Writes a presentation file and returns its path.
    std::string WritePresentation(const std::string& name, const std::string& text) const;

  private:
    testing::TempFolder root_;
};

class Kiosk {
  public:
    // Starts the program in a process group of its own (its browser engine starts helper
    // processes that must go with it); throws when it cannot be started.
    // extraEnvironment: further NAME=value entries (the benchmarks ask for a trace).
    Kiosk(const Xvfb& server, const KioskFolders& folders, std::vector<std::string> arguments,
          std::vector<std::string> extraEnvironment = {});
    // Kills the whole group if it still runs.
    ~Kiosk();
    Kiosk(const Kiosk&) = delete;
    Kiosk& operator=(const Kiosk&) = delete;

    bool Running() { return process_->Running(); }
    // SIGTERM, the orderly end; SIGKILL to the whole group when it does not come.
    void Stop() { process_->Stop(); }
    // Also the id of its process group, which holds the browser engine's processes.
    pid_t Pid() const { return process_->Pid(); }
    // The exit code (minus the signal number when killed); nullopt while it runs.
    std::optional<int> WaitForExit(Millis timeout) { return process_->WaitForExit(timeout); }
    // What it wrote to stdout and stderr so far.
    std::string Output() const;

  private:
    std::string outputFile_;
    std::unique_ptr<Process> process_;
};

}  // namespace pagelark::e2e
