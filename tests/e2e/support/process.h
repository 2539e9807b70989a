#pragma once
// Child processes of the harness: spawned with posix_spawn, stopped and reaped without fail.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark::e2e {

using Millis = std::chrono::milliseconds;
using TimePoint = std::chrono::steady_clock::time_point;

inline double SecondsBetween(TimePoint from, TimePoint to) {
    return std::chrono::duration<double>(to - from).count();
}

// Polls condition every step until it holds (true) or the time is up (false).
bool WaitUntil(const std::function<bool()>& condition, Millis timeout, Millis step = Millis(20));

// This process's environment as NAME=value entries.
std::vector<std::string> CurrentEnvironment();

struct SpawnOptions {
    std::vector<std::string> argv;         // argv[0] is searched in PATH
    std::vector<std::string> environment;  // complete environment of the child
    std::string outputFile;                // stdout and stderr; empty for /dev/null
    bool ownProcessGroup = false;          // stop kills the child's descendants as well
    int passFd = -1;                       // handed to the child as descriptor 3
};

class Process {
  public:
    // Throws std::runtime_error when the program cannot be started.
    explicit Process(const SpawnOptions& options);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running();
    // The exit code, or minus the signal that ended it; nullopt while it still runs.
    std::optional<int> WaitForExit(Millis timeout);
    // SIGTERM, SIGKILL after the grace; with its own group, to the whole group. Idempotent.
    void Stop(Millis grace = Millis(5000));
    // What it wrote to stdout and stderr so far.
    std::string Output() const;

  private:
    std::optional<int> Poll();

    std::string outputFile_;
    pid_t pid_ = -1;
    bool group_ = false;
    bool reaped_ = false;
    std::optional<int> status_;
};

// Every running process of a process group: a kiosk and its browser engine's helpers.
std::vector<pid_t> ProcessesInGroup(pid_t group);
// Their proportional memory together, in KiB.
long long GroupPssKiB(pid_t group);

struct CommandResult {
    std::optional<int> status;  // nullopt: it did not end in time and was killed
    std::string output;
};

// Runs a short command to its end, collecting stdout and stderr.
CommandResult RunCommand(std::vector<std::string> argv, std::vector<std::string> environment,
                         Millis timeout = Millis(20000));

}  // namespace pagelark::e2e
