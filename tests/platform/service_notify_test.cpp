#include "platform/service_notify.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/scoped_variable.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using std::chrono::seconds;
using testing::ScopedVariable;

// A service manager's notification socket, with the environment systemd gives a service
// whose watchdog runs out after 20 seconds.
TEST(ServiceNotify, ReadyOnceAndWatchdogPingsAQuarterOfItsTimeOutApart) {
    testing::TempFolder folder;
    const std::string path = folder.File("notify");
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const ScopedVariable socket("NOTIFY_SOCKET", path.c_str()), usec("WATCHDOG_USEC", "20000000"),
        pid("WATCHDOG_PID", std::to_string(::getpid()).c_str());
    const auto notifier = CreateServiceNotifier();
    const ServiceNotifier::TimePoint start{};
    notifier->Ready();
    notifier->Ready();
    notifier->Alive(start + seconds(100));
    notifier->Alive(start + seconds(104));  // within 5 s of the last ping
    notifier->Alive(start + seconds(105));
    notifier->Stopping();
    std::vector<std::string> received;
    char buffer[256];
    for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
        received.emplace_back(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    EXPECT_EQ(received,
              (std::vector<std::string>{"READY=1", "WATCHDOG=1", "WATCHDOG=1", "STOPPING=1"}));
}

}  // namespace
}  // namespace pagelark
