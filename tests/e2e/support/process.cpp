#include "e2e/support/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "support/temp_folder.h"

extern char** environ;

namespace pagelark::e2e {
namespace {

std::vector<char*> Pointers(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const auto& text : strings)
        pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, Millis timeout, Millis step) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(step);
    }
}

std::vector<std::string> CurrentEnvironment() {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        environment.emplace_back(*entry);
    return environment;
}

Process::Process(const SpawnOptions& options)
    : outputFile_(options.outputFile.empty() ? "/dev/null" : options.outputFile),
      group_(options.ownProcessGroup) {
    if (options.argv.empty()) throw std::invalid_argument("no program to start");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile_.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (options.passFd >= 0) posix_spawn_file_actions_adddup2(&actions, options.passFd, 3);

    // The child starts with a clean signal state whatever the test runner set up.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGCHLD})
        sigaddset(&signals, signal);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (group_) {
        flags |= POSIX_SPAWN_SETPGROUP;
        posix_spawnattr_setpgroup(&attributes, 0);
    }
    posix_spawnattr_setflags(&attributes, flags);

    const auto argv = Pointers(options.argv);
    const auto envp = Pointers(options.environment);
    const int error = posix_spawnp(&pid_, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start " + options.argv[0] + ": " + std::strerror(error));
    }
}

Process::~Process() {
    Stop();
}

std::optional<int> Process::Poll() {
    if (status_ || pid_ <= 0) return status_;
    // WNOWAIT leaves the child a zombie, so its process group id stays ours until Stop.
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
        info.si_pid == pid_)
        status_ = info.si_code == CLD_EXITED ? info.si_status : -info.si_status;
    return status_;
}

bool Process::Running() {
    return pid_ > 0 && !Poll();
}

std::optional<int> Process::WaitForExit(Millis timeout) {
    WaitUntil([this] { return Poll().has_value(); }, timeout, Millis(10));
    return Poll();
}

void Process::Stop(Millis grace) {
    if (pid_ <= 0 || reaped_) return;
    const pid_t target = group_ ? -pid_ : pid_;
    if (!Poll()) {
        ::kill(target, SIGTERM);
        if (!WaitForExit(grace)) {
            ::kill(target, SIGKILL);
            WaitForExit(Millis(30000));
        }
    }
    // Whatever the leader left behind in its group goes too.
    if (group_) ::kill(-pid_, SIGKILL);
    int ignored = 0;
    ::waitpid(pid_, &ignored, 0);
    reaped_ = true;
}

std::string Process::Output() const {
    return testing::TempFolder::Read(outputFile_);
}

CommandResult RunCommand(std::vector<std::string> argv, std::vector<std::string> environment,
                         Millis timeout) {
    const testing::TempFolder folder;
    Process process({.argv = std::move(argv),
                     .environment = std::move(environment),
                     .outputFile = folder.File("output")});
    const auto status = process.WaitForExit(timeout);
    return {status, process.Output()};
}

std::vector<pid_t> ProcessesInGroup(pid_t group) {
    std::vector<pid_t> members;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        const pid_t pid = std::stoi(name);
        if (::getpgid(pid) == group) members.push_back(pid);
    }
    return members;
}

long long GroupPssKiB(pid_t group) {
    long long total = 0;
    for (pid_t pid : ProcessesInGroup(group)) {
        std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
        for (std::string line; std::getline(rollup, line);) {
            if (line.starts_with("Pss:")) total += std::stoll(line.substr(4));
        }
    }
    return total;
}

}  // namespace pagelark::e2e
