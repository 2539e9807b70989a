// The one-kiosk lock between processes, as each system keeps it.

#include "platform/instance_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/temp_folder.h"

#ifdef _WIN32
#include "platform/windows/wide.h"
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pagelark {
namespace {

using namespace std::chrono_literals;

bool Appears(const std::string& file) {
    for (const auto end = std::chrono::steady_clock::now() + 30s;
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(10ms))
        if (std::filesystem::exists(file)) return true;
    return false;
}

// Takes the lock, says so with a file, and keeps it until told to end, or killed.
int Hold(const std::string& folder) {
    InstanceLock lock;
    const Result<InstanceLock::Taken> taken = lock.Take(folder);
    if (!taken || taken.Value() != InstanceLock::Taken::Yes) return 1;
    std::ofstream(std::filesystem::path(folder) / "held");
    return Appears((std::filesystem::path(folder) / "end").string()) ? 0 : 2;
}

#ifdef _WIN32
// The holder is this program again, started with the folder in its environment.
[[maybe_unused]] const int kHolderMode = [] {
    if (const char* folder = std::getenv("PAGELARK_LOCK_HOLDER")) std::exit(Hold(folder));
    return 0;
}();

HANDLE StartHolder(const std::string& folder) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ::SetEnvironmentVariableW(L"PAGELARK_LOCK_HOLDER", Wide(folder).c_str());
    EXPECT_TRUE(::CreateProcessW(self, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &process));
    ::SetEnvironmentVariableW(L"PAGELARK_LOCK_HOLDER", nullptr);
    ::CloseHandle(process.hThread);
    return process.hProcess;
}

// Its exit code, once it ended; killed, 9.
int Ended(HANDLE holder, bool kill) {
    if (kill) ::TerminateProcess(holder, 9);
    ::WaitForSingleObject(holder, INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(holder, &code);
    ::CloseHandle(holder);
    return static_cast<int>(code);
}
#else
pid_t StartHolder(const std::string& folder) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(Hold(folder));
    return pid;
}

int Ended(pid_t holder, bool kill) {
    if (kill) ::kill(holder, SIGKILL);
    int status = 0;
    ::waitpid(holder, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 9;
}
#endif

// A second start finds the first's lock, in another process or its own; once the first ends,
// also killed with no chance to let go, the next start takes it.
TEST(InstanceLock, OneHolderAtATimeAndTheNextOnceItEnds) {
    using Taken = InstanceLock::Taken;
    for (const bool killed : {false, true}) {
        testing::TempFolder temp;
        const auto holder = StartHolder(temp.path());
        ASSERT_TRUE(Appears(temp.File("held"))) << "the holder never took the lock";
        EXPECT_EQ(InstanceLock().Take(temp.path()).Value(), Taken::HeldByAnother) << killed;
        if (!killed) temp.Write("end", "");
        EXPECT_EQ(Ended(holder, killed), killed ? 9 : 0);
        InstanceLock next;
        EXPECT_EQ(next.Take(temp.path()).Value(), Taken::Yes) << killed;
        EXPECT_EQ(InstanceLock().Take(temp.path()).Value(), Taken::HeldByAnother) << killed;
    }
    testing::TempFolder temp;
    const Result<InstanceLock::Taken> missing = InstanceLock().Take(temp.File("missing"));
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.Error().find(temp.File("missing")), std::string::npos) << missing.Error();
}

}  // namespace
}  // namespace pagelark
