#include "e2e/support/http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "e2e/support/colors.h"

namespace pagelark::e2e {
namespace {

constexpr int kPollMillis = 20;

struct Connection {
    int fd = -1;
    std::string received;
    bool answered = false;
};

std::string Headers(int status, std::string_view reason, std::size_t length) {
    return "HTTP/1.1 " + std::to_string(status) + " " + std::string(reason) +
           "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
           std::to_string(length) + "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
}

#define WHOLE_PAGE "style=\"display:block;width:100vw;height:100vh\""

// What a page of each kind holds besides its colour; "{to}" stands for the query's target.
constexpr std::pair<std::string_view, std::string_view> kPages[] = {
    // one big link to the target, in place or in a new window
    {"/link", "<a href=\"{to}\" " WHOLE_PAGE "></a>"},
    {"/blank", "<a href=\"{to}\" target=\"_blank\" " WHOLE_PAGE "></a>"},
    // one big "javascript:" link whose script goes to the target
    {"/jslink", "<a href=\"javascript:location.href='{to}'\" " WHOLE_PAGE "></a>"},
    // a click anywhere goes to the target by script ("blob": a magenta page the script makes)
    {"/go", "<script>addEventListener('click', function () { location.href = {to}; });</script>"},
    {"/alert", "<script>addEventListener('click', function () { alert('a'); });</script>"},
    // a script that keeps opening new windows on the target
    {"/open", "<script>setInterval(function () { window.open(\"{to}\"); }, 20);</script>"},
    // asks to stay when left, and opens every script dialog
    {"/hostile",
     "<script>addEventListener('beforeunload', function (e) {"
     " e.preventDefault(); e.returnValue = 'stay'; });"
     "setTimeout(function () { alert('a'); confirm('b'); prompt('c'); print(); }, 300);</script>"},
    // a click anywhere asks to choose a file
    {"/file", "<label " WHOLE_PAGE "><input type=\"file\" style=\"display:none\"></label>"},
    // asks for the location: green when refused, red when granted
    {"/permission",
     "<script>navigator.geolocation.getCurrentPosition("
     "function () { document.body.style.background = '#ff0000'; },"
     "function () { document.body.style.background = '#00ff00'; });</script>"},
    // Holds 32 MiB of filled typed arrays, replacing one every 200 ms, and rebuilds 200
    // elements every 100 ms; never displayed, as painting them would keep both cores busy.
    {"/heavy",
     "<div id=\"churn\" style=\"display:none\"></div><script>"
     "function block() { var a = new Float64Array(524288); a.fill(Math.random()); return a; }"
     "var blocks = []; for (var i = 0; i < 8; ++i) blocks.push(block());"
     "var next = 0;"
     "setInterval(function () { blocks[next] = block(); next = (next + 1) % 8; }, 200);"
     "setInterval(function () { var churn = document.getElementById('churn');"
     " churn.textContent = ''; for (var i = 0; i < 200; ++i) {"
     " var s = document.createElement('span'); s.textContent = i + ' ';"
     " churn.appendChild(s); } }, 100);</script>"},
};

// The answer to one request; hang tells to keep the connection open without finishing it.
std::string Answer(std::string_view target, bool& hang) {
    const auto mark = target.find('?');
    const auto path = target.substr(0, mark);
    const auto query = mark == std::string_view::npos ? "" : target.substr(mark + 1);
    if (path == "/hang") {
        hang = true;
        return Headers(200, "OK", 100000) + "<html><body style=\"margin:0;height:100vh\">";
    }
    if (path == "/download") {
        const std::string body = "a file the kiosk must not save";
        return "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
               "Content-Disposition: attachment; filename=\"taken.bin\"\r\nContent-Length: " +
               std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }
    // The colour is the last segment of the path or the query's first value; the target is
    // all the query holds after "&to=", put in the page as it is (no test target holds a
    // quote or a character reference).
    std::string name(path.substr(path.rfind('/') + 1));
    std::string to;
    if (mark != std::string_view::npos) {
        const auto split = query.find("&to=");
        name = query.starts_with("color=") ? query.substr(6, split - 6) : "";
        if (split != std::string_view::npos) to = query.substr(split + 4);
    }
    const auto color = ColorByName(name);
    if (!color) return Headers(404, "Not Found", 0);
    if (path == "/go")
        to = to == "blob" ? "URL.createObjectURL(new Blob(['<body style=\"background:#ff00ff\">'],"
                            " {type: 'text/html'}))"
                          : "\"" + to + "\"";
    std::string inside;
    for (const auto& [kind, text] : kPages)
        if (path == kind) inside = text;
    if (const auto at = inside.find("{to}"); at != std::string::npos) inside.replace(at, 4, to);
    const std::string body =
        "<html><body style=\"margin:0;height:100vh;background:" + ToHex(*color) + "\">" + inside +
        "</body></html>";
    return Headers(200, "OK", body.size()) + body;
}

}  // namespace

HttpServer::HttpServer() {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 64) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listenFd_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread(&HttpServer::Serve, this);
}

HttpServer::~HttpServer() {
    stop_ = true;
    thread_.join();
    ::close(listenFd_);
}

std::string HttpServer::Url(std::string_view target) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(target);
}

std::vector<LoggedRequest> HttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return log_;
}

std::optional<TimePoint> HttpServer::FirstRequest(std::string_view prefix, Millis wait) const {
    std::optional<TimePoint> time;
    WaitUntil(
        [&] {
            for (const auto& request : Requests())
                if (request.target.starts_with(prefix)) return (time = request.time).has_value();
            return false;
        },
        wait, Millis(10));
    return time;
}

// One thread serves every connection with poll: the browser keeps idle and hanging
// connections open, and none of them may hold up the others.
void HttpServer::Serve() {
    std::vector<Connection> connections;
    while (!stop_) {
        std::vector<pollfd> watched{{listenFd_, POLLIN, 0}};
        for (const auto& connection : connections)
            watched.push_back({connection.fd, POLLIN, 0});
        if (::poll(watched.data(), watched.size(), kPollMillis) <= 0) continue;

        for (std::size_t i = 0; i < connections.size(); ++i) {
            auto& connection = connections[i];
            if ((watched[i + 1].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
            char buffer[4096];
            const ssize_t count = ::recv(connection.fd, buffer, sizeof buffer, 0);
            if (count < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            if (count <= 0) {
                ::close(connection.fd);
                connection.fd = -1;
                continue;
            }
            if (connection.answered) continue;
            connection.received.append(buffer, static_cast<std::size_t>(count));
            if (connection.received.find("\r\n\r\n") == std::string::npos) continue;
            // "GET TARGET HTTP/1.1"
            const auto start = connection.received.find(' ') + 1;
            const auto target =
                connection.received.substr(start, connection.received.find(' ', start) - start);
            {
                std::lock_guard lock(mutex_);
                log_.push_back({target, std::chrono::steady_clock::now()});
            }
            bool hang = false;
            // Every answer is far smaller than the socket's buffer: one send takes it all.
            const std::string answer = Answer(target, hang);
            ::send(connection.fd, answer.data(), answer.size(), MSG_NOSIGNAL);
            connection.answered = true;
            // Half-close and wait for the client to close: closing with its bytes unread
            // could reset the connection before it read the answer.
            if (!hang) ::shutdown(connection.fd, SHUT_WR);
        }
        std::erase_if(connections, [](const Connection& c) { return c.fd < 0; });

        if (watched[0].revents & POLLIN) {
            for (int fd; (fd = ::accept4(listenFd_, nullptr, nullptr,
                                         SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0;) {
                if (down_) {
                    ::close(fd);  // as if the network were gone: no answer at all
                } else {
                    connections.push_back({fd, "", false});
                }
            }
        }
    }
    for (const auto& connection : connections)
        ::close(connection.fd);
}

}  // namespace pagelark::e2e
