#include "e2e/support/http_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace pagelark::e2e {
namespace {

std::string Reply(const std::string& status, const std::string& headers, const std::string& body) {
    return "HTTP/1.1 " + status + "\r\n" + headers +
           "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

}  // namespace

std::string HttpServer::Answer(std::string_view target, std::string_view request) const {
    std::lock_guard lock(mutex_);
    const auto mark = target.find('?');
    const auto path = target.substr(0, mark);
    const auto query = mark == std::string_view::npos ? "" : target.substr(mark + 1);
    if (const auto moved = redirects_.find(path); moved != redirects_.end())
        return Reply("302 Found", "Location: " + moved->second + "\r\n", "");
    if (const auto file = published_.find(path); file != published_.end()) {
        if (failing_ != 0) return Reply(std::to_string(failing_) + " Failing", "", "");
        const std::string tag = "\"v" + std::to_string(file->second.version) + "\"";
        if (request.find("\r\nIf-None-Match: " + tag + "\r\n") != std::string_view::npos)
            return Reply("304 Not Modified", "ETag: " + tag + "\r\n", "");
        return Reply("200 OK", "Content-Type: text/plain\r\nETag: " + tag + "\r\n",
                     file->second.body);
    }
    if (path == "/download")
        return Reply("200 OK",
                     "Content-Type: application/octet-stream\r\n"
                     "Content-Disposition: attachment; filename=\"taken.bin\"\r\n",
                     "a file the kiosk must not save");
    // The colour is the path's last segment or the query's first value; the target, all after
    // "&to=", goes in the page as it is (no test target holds a quote or a character reference).
    std::string name(path.substr(path.rfind('/') + 1));
    std::string to;
    if (mark != std::string_view::npos) {
        const auto split = query.find("&to=");
        name = query.starts_with("color=") ? query.substr(6, split - 6) : "";
        if (split != std::string_view::npos) to = query.substr(split + 4);
    }
    const auto color = std::find_if(kPageColors.begin(), kPageColors.end(),
                                    [&name](const NamedColor& c) { return c.name == name; });
    if (color == kPageColors.end()) return Reply("404 Not Found", "", "");
    std::string inside;
    for (const auto& [kind, text] : pages_)
        if (path == kind) inside = text;
    const std::string file = PAGELARK_E2E_PAGES + std::string(path) + ".html";
    if (inside.empty() && path.find('/', 1) == std::string_view::npos &&
        std::filesystem::exists(file))
        inside = testing::TempFolder::Read(file);
    for (auto at = inside.find("{to}"); at != std::string::npos; at = inside.find("{to}", at))
        inside.replace(at, 4, to);
    const std::string body =
        "<html><body style=\"margin:0;height:100vh;background:" + ToHex(color->rgb) + "\">" +
        inside + "</body></html>";
    return Reply("200 OK", "Content-Type: text/html; charset=utf-8\r\nCache-Control: no-store\r\n",
                 body);
}

HttpServer::HttpServer() {
    listenFd_ = BindLoopback(port_);
    if (::listen(listenFd_, 64) != 0) {
        ::close(listenFd_);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    // A thread for each connection: none of the browser's idle ones may hold up the others.
    thread_ = std::thread([this] {
        for (pollfd ready{listenFd_, POLLIN, 0}; !stop_;) {
            if (::poll(&ready, 1, 20) <= 0) continue;
            const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            std::lock_guard lock(mutex_);
            if (fd < 0 || down_) {
                ::close(fd);  // as if the network were gone: no answer at all
                continue;
            }
            connections_.push_back(fd);
            std::thread(&HttpServer::Serve, this, fd).detach();
        }
    });
}

HttpServer::~HttpServer() {
    stop_ = true;
    thread_.join();
    {
        std::lock_guard lock(mutex_);
        for (const int fd : connections_)
            ::shutdown(fd, SHUT_RDWR);  // ends every worker's reads
    }
    const auto served = [this] {
        std::lock_guard lock(mutex_);
        return connections_.empty();
    };
    WaitUntil(served, Millis(60000));
    ::close(listenFd_);
}

// Answers one request once its headers are in, then reads until the client closes: closing
// with its bytes unread could reset the connection before the answer was read.
void HttpServer::Serve(int fd) {
    std::string received;
    char buffer[4096];
    for (ssize_t count; received.find("\r\n\r\n") == std::string::npos &&
                        (count = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
        received.append(buffer, static_cast<std::size_t>(count));
    // "GET TARGET HTTP/1.1", unless the client or the server gave up first
    if (const auto start = received.find(' ') + 1; received.find("\r\n\r\n") != std::string::npos) {
        const auto target = received.substr(start, received.find(' ', start) - start);
        if (target.starts_with("/slow/")) std::this_thread::sleep_for(Millis(1000));
        const std::string answer = Answer(target, received);
        bool published = answer.starts_with("HTTP/1.1 200");
        if (published) {
            std::lock_guard lock(mutex_);
            published = published_.contains(target.substr(0, target.find('?')));
        }
        const bool trickle = published && trickling_;
        // A trickle: the head at once, then a byte a second until the client gives up.
        const std::size_t head = answer.find("\r\n\r\n") + 4;
        std::size_t part = trickle ? head : answer.size();
        if (published && cuttingShort_) part = head + (answer.size() - head) / 2;
        ssize_t sent = ::send(fd, answer.data(), part, MSG_NOSIGNAL);
        for (; trickle && sent > 0 && part < answer.size() && !stop_; ++part, ++sent) {
            std::this_thread::sleep_for(Millis(1000));
            if (::send(fd, answer.data() + part, 1, MSG_NOSIGNAL) != 1) break;
        }
        {
            std::lock_guard lock(mutex_);
            log_.push_back(
                {target, std::stoi(answer.substr(9, 3)),
                 received.size() + static_cast<std::size_t>(std::max<ssize_t>(sent, 0))});
        }
        ::shutdown(fd, SHUT_WR);
        while (::recv(fd, buffer, sizeof buffer, 0) > 0) {
        }
    }
    std::lock_guard lock(mutex_);
    std::erase(connections_, fd);
    ::close(fd);
}

void HttpServer::AddPage(std::string kind, std::string inside) {
    std::lock_guard lock(mutex_);
    pages_.emplace_back(std::move(kind), std::move(inside));
}

std::string HttpServer::Url(std::string_view target) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(target);
}

void HttpServer::Publish(std::string path, std::string body) {
    std::lock_guard lock(mutex_);
    Published& file = published_[std::move(path)];
    file.body = std::move(body);
    ++file.version;
}

void HttpServer::Redirect(std::string path, std::string location) {
    std::lock_guard lock(mutex_);
    redirects_[std::move(path)] = std::move(location);
}

std::vector<HttpServer::Exchange> HttpServer::Exchanges() const {
    std::lock_guard lock(mutex_);
    return log_;
}

long HttpServer::Answered(std::string_view target, int status) const {
    return std::ranges::count_if(Exchanges(), [&](const Exchange& exchange) {
        return exchange.target == target && exchange.status == status;
    });
}

bool HttpServer::Requested(std::string_view prefix, Millis wait) const {
    const auto asked = [&] {
        return std::ranges::any_of(Exchanges(), [&](const Exchange& exchange) {
            return exchange.target.starts_with(prefix);
        });
    };
    return WaitUntil(asked, wait, Millis(10)).has_value();
}

}  // namespace pagelark::e2e
