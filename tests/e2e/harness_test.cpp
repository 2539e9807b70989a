// The page server checked on its own. The kiosk tests read the screen and the pointer, so a
// fault there fails them; but a request log that missed requests would let every "never
// requested" check pass unnoticed.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "e2e/support/http_server.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""ms;
using std::chrono_literals::operator""s;

// Connects to the server without sending anything; returns the socket.
int Connect(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Connects and sends a GET for target; returns the socket.
int SendGet(int port, const std::string& target) {
    const int fd = Connect(port);
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    return fd;
}

struct Reply {
    std::string bytes;
    bool closed = false;  // the server closed the connection
};

// Reads until the server closes the connection or the time is up.
Reply Collect(int fd, std::chrono::milliseconds wait) {
    Reply reply;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd readable{fd, POLLIN, 0};
        if (::poll(&readable, 1, 10) <= 0) continue;
        char buffer[4096];
        const ssize_t count = ::recv(fd, buffer, sizeof buffer, 0);
        if (count <= 0) {
            reply.closed = true;
            break;
        }
        reply.bytes.append(buffer, static_cast<std::size_t>(count));
    }
    return reply;
}

Reply Get(const HttpServer& server, const std::string& target) {
    const int fd = SendGet(server.Port(), target);
    Reply reply = Collect(fd, 10s);
    ::close(fd);
    return reply;
}

std::string Body(const Reply& reply) {
    const auto end = reply.bytes.find("\r\n\r\n");
    return end == std::string::npos ? "" : reply.bytes.substr(end + 4);
}

TEST(HttpServerHarness, ServesColourAndLinkPagesAndLogsEveryRequest) {
    HttpServer server;
    const auto before = std::chrono::steady_clock::now();
    const Reply red = Get(server, "/red");
    EXPECT_TRUE(red.closed);
    EXPECT_TRUE(red.bytes.starts_with("HTTP/1.1 200 OK\r\n")) << red.bytes;
    EXPECT_NE(red.bytes.find("Cache-Control: no-store\r\n"), std::string::npos);
    EXPECT_EQ(Body(red),
              "<html><body style=\"margin:0;background:#ff0000;height:100vh\"></body></html>");
    EXPECT_NE(Body(Get(server, "/blocked/magenta")).find("#ff00ff"), std::string::npos);

    const std::string to = "/link?to=/blocked/cyan&color=green";
    const std::string link = Body(Get(server, "/link?to=" + QueryEscape(to) + "&color=yellow"));
    EXPECT_NE(link.find("href=\"/link?to=/blocked/cyan&amp;color=green\""), std::string::npos)
        << link;
    EXPECT_NE(link.find("#ffff00"), std::string::npos);
    EXPECT_TRUE(Get(server, "/no-colour").bytes.starts_with("HTTP/1.1 404"));

    const auto log = server.Requests();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].target, "/red");
    EXPECT_GE(log[0].time, before);
    EXPECT_EQ(log[1].target, "/blocked/magenta");
    ASSERT_TRUE(server.FirstRequest("/blocked"));
    EXPECT_EQ(*server.FirstRequest("/blocked"), log[1].time);
    EXPECT_FALSE(server.WaitForRequest("/green", 100ms));
}

}  // namespace
}  // namespace pagelark::e2e
