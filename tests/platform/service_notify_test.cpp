#include "platform/service_notify.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace pagelark {
namespace {

using std::chrono::seconds;

// A service manager's notification socket, with the environment systemd gives a service
// whose watchdog runs out after wathdogSeconds.
class FakeServiceManager {
  public:
    explicit FakeServiceManager(const std::string& path, int watchdogSeconds) {
        fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::setenv("NOTIFY_SOCKET", path.c_str(), 1);
        ::setenv("WATCHDOG_USEC", std::to_string(watchdogSeconds * 1000000).c_str(), 1);
        ::setenv("WATCHDOG_PID", std::to_string(::getpid()).c_str(), 1);
    }
    ~FakeServiceManager() {
        for (const char* name : {"NOTIFY_SOCKET", "WATCHDOG_USEC", "WATCHDOG_PID"})
            ::unsetenv(name);
        ::close(fd_);
    }
    std::vector<std::string> Received() const {
        std::vector<std::string> messages;
        char buffer[256];
        for (ssize_t n; (n = ::recv(fd_, buffer, sizeof buffer, 0)) > 0;)
            messages.emplace_back(buffer, static_cast<std::size_t>(n));
        return messages;
    }

  private:
    int fd_ = -1;
};

TEST(ServiceNotify, ReadyOnceAndWatchdogPingsAQuarterOfItsTimeOutApart) {
    testing::TempFolder folder;
    FakeServiceManager manager(folder.File("notify"), 20);
    const auto notifier = CreateServiceNotifier();
    const ServiceNotifier::TimePoint start{};
    notifier->Ready();
    notifier->Ready();
    notifier->Alive(start + seconds(100));
    notifier->Alive(start + seconds(104));  // within 5 s of the last ping
    notifier->Alive(start + seconds(105));
    notifier->Stopping();
    EXPECT_EQ(manager.Received(),
              (std::vector<std::string>{"READY=1", "WATCHDOG=1", "WATCHDOG=1", "STOPPING=1"}));
}

}  // namespace
}  // namespace pagelark
