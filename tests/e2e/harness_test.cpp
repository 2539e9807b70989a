// The page server's request log checked on its own. The kiosk tests read the screen and the
// pointer, so a fault there fails them; but a log that missed requests would let every
// "never requested" check pass unnoticed.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "e2e/support/http_server.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""ms;

// Sends a GET for target and reads the answer until the server closes the connection.
std::string Get(const HttpServer& server, const std::string& target) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(server.Port()));
    std::string reply;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        char buffer[4096];
        for (ssize_t count; (count = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            reply.append(buffer, static_cast<std::size_t>(count));
    }
    ::close(fd);
    return reply;
}

TEST(HttpServerHarness, LogsEveryRequestAsSentWithTheTimeItCame) {
    HttpServer server;
    const auto before = std::chrono::steady_clock::now();
    const std::vector<std::string> targets{"/red", "/link?color=yellow&to=/blocked/cyan",
                                           "/blocked/magenta", "/no-colour"};
    for (const auto& target : targets)
        EXPECT_TRUE(Get(server, target).starts_with("HTTP/1.1 ")) << target;

    const auto log = server.Requests();
    ASSERT_EQ(log.size(), targets.size());
    for (std::size_t i = 0; i < log.size(); ++i)
        EXPECT_EQ(log[i].target, targets[i]);
    EXPECT_GE(log[0].time, before);
    // Only a target that begins with the prefix counts, not one that merely holds it.
    ASSERT_TRUE(server.FirstRequest("/blocked"));
    EXPECT_EQ(*server.FirstRequest("/blocked"), log[2].time);
    EXPECT_FALSE(server.WaitForRequest("/green", 100ms));
}

}  // namespace
}  // namespace pagelark::e2e
