#include "e2e/support/http_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace pagelark::e2e {
namespace {

std::string Reply(const std::string& status, const std::string& headers, const std::string& body) {
    return "HTTP/1.1 " + status + "\r\n" + headers +
           "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
           body;
}

#define WHOLE_PAGE "style=\"display:block;width:100vw;height:100vh\""

// What a page of each kind holds besides its colour; "{to}" stands for the query's target.
constexpr std::pair<const char*, const char*> kPages[] = {
    // left, a link to a new window; right, a form's button that sends it to one
    {"/blank",
     "<a href=\"{to}\" target=\"_blank\" style=\"position:absolute;width:50vw;height:100vh\"></a>"
     "<form action=\"{to}\" method=\"post\" target=\"_blank\" style=\"margin:0\"><button "
     "style=\"position:absolute;left:50vw;width:50vw;height:100vh;background:none;border:0\">"
     "</button></form>"},
    {"/jslink", "<a href=\"javascript:location.href='{to}'\" " WHOLE_PAGE "></a>"},
    {"/refresh", "<meta http-equiv=\"refresh\" content=\"0;url={to}\">"},
    {"/later", "<meta http-equiv=\"refresh\" content=\"4;url={to}\">"},
    // a click anywhere goes by script to the target, or to a magenta page the script makes
    {"/go", "<script>addEventListener('click', function () { location.href = '{to}'; });</script>"},
    // a click anywhere adds an entry at the page's own address to its history and paints it
    // a click asks to go back, and a second later, if still here, turns the page to the target
    {"/back",
     "<script>addEventListener('click', function () { history.back(); setTimeout(function () {"
     " document.body.style.background = '{to}'; }, 1000); });</script>"},
    {"/pushed",
     "<script>addEventListener('click', function () { history.pushState(null, '', location.href);"
     " document.body.style.background = '{to}'; });</script>"},
    {"/blob",
     "<script>addEventListener('click', function () { location.href = URL.createObjectURL("
     "new Blob(['<body style=\"background:#ff00ff\">'], {type: 'text/html'})); });</script>"},
    {"/open", "<script>setInterval(function () { window.open(\"{to}\"); }, 20);</script>"},
    // a click anywhere opens the target in a new window by script
    {"/clickopen", "<script>addEventListener('click', function () { open('{to}'); });</script>"},
    // opens windows every way a script can without a click: green when every window.open
    // answered null, the open of every frame the page reaches (by its element, by index,
    // parsed, inserted, nested, or left empty by a refused address) and its forms' submit are the
    // kiosk's and a link or a form's button clicked by script is not followed or sent to a new
    // window (its target _blank, a name no frame has, the base element's _blank) but is to a
    // frame's name; red when one answered a window, was the engine's or went wrongly
    {"/popups",
     "<iframe hidden></iframe><script>var to = '{to}', b = document.body, d = document,"
     " hidden = function (doc, src) { var i = doc.createElement('iframe'); i.hidden = true;"
     " if (src) i.src = src; return doc.body.appendChild(i); }, engine = function (w) {"
     " return [w.open, w.Document.prototype.open, w.HTMLFormElement.prototype.submit,"
     " w.HTMLFormElement.prototype.requestSubmit].some(function (o) {"
     " return /native code/.test(Function.prototype.toString.call(o)); }); },"
     " frame = b.appendChild(document.createElement('iframe')).contentWindow,"
     " made = [window.open(to), window.open('about:blank'), window.open('', 'w1'),"
     " frame.open('about:blank'), document.open(to, 'w2', '')]"
     ".some(function (w) { return w !== null; });"
     "hidden(frame.document); hidden(d);"
     " var reached = [window[0], frame, frame[0], window[2]].some(engine);"
     " reached = reached || engine(hidden(d, 'mailto:a@b') && window[3]);"
     "frame.name = 'inner'; var sent = false, inner = 0, a = b.appendChild(d.createElement('a')),"
     " f = b.appendChild(d.createElement('form')), s = f.appendChild(d.createElement('button')),"
     " send = function (e) { var i = /^(inner|boxed)$/.test(e.target.target); inner += i;"
     " sent = sent || e.defaultPrevented === i; e.preventDefault(); };"
     " a.href = to; f.action = to; a.addEventListener('click', send);"
     " f.addEventListener('submit', send); ['_blank', 'nowhere', 'inner'].forEach(function (t)"
     " { a.target = t; a.click(); f.target = t; s.click(); });"
     " f.target = '_blank'; f.submit(); f.requestSubmit(); f.removeAttribute('target');"
     " d.head.appendChild(d.createElement('base')).target = '_blank'; s.click();"
     // clicks the guard sees only from inside: on a link's text, in a closed shadow root, on
     // an SVG link, on a link never added, on a form's button in a shadow root
     " var svg = 'http://www.w3.org/2000/svg', t = b.appendChild(d.createElement('a')),"
     " root = b.appendChild(d.createElement('p')).attachShadow({mode: 'closed'}),"
     " l = root.appendChild(d.createElement('a')), x = d.createElement('a'),"
     " v = b.appendChild(d.createElementNS(svg, 'svg')).appendChild(d.createElementNS(svg, 'a')),"
     " g = root.appendChild(d.createElement('form')), gb = "
     "g.appendChild(d.createElement('button'));"
     " var sf = d.createElement('iframe'); sf.src = '/blank'; root.appendChild(sf);"
     " reached = reached || engine(window[window.length - 1]);"
     " [t, l, x].forEach(function (e) { e.href = to; e.target = '_blank'; });"
     " v.setAttributeNS('http://www.w3.org/1999/xlink', 'xlink:href', to);"
     " v.setAttribute('target', '_blank'); g.action = to; g.addEventListener('submit', send);"
     " [t, l, v, x].forEach(function (e) { e.addEventListener('click', send); });"
     " t.textContent = 'x'; t.firstChild.dispatchEvent(new MouseEvent('click', {bubbles: true}));"
     " l.dispatchEvent(new MouseEvent('click', {bubbles: true, composed: true}));"
     " v.dispatchEvent(new MouseEvent('click', {bubbles: true})); x.click();"
     " ['_blank', 'inner'].forEach(function (t) { g.target = t; gb.click(); });"
     " d.write('<iframe hidden src=\"/blank\"></iframe>');"
     " reached = reached || engine(window[window.length - 1]);"
     // a frame of another origin holds only the name its element carries
     " var box = d.createElement('iframe'); box.hidden = true; box.sandbox = '';"
     " box.name = 'boxed'; box.src = '/blank'; box.onload = function () {"
     " reached = reached || engine(window[3]); ['zz', 'boxed'].forEach(function (t) {"
     " a.target = t; a.click(); f.target = t; s.click(); });"
     " b.style.background = made || reached || sent || inner !== 5 ? '#ff0000' : '#00ff00';"
     " }; b.appendChild(box);"
     "</script>"},
    // asks to stay when left, and opens every script dialog
    {"/hostile",
     "<script>addEventListener('beforeunload', function (e) {"
     " e.preventDefault(); e.returnValue = 'stay'; });"
     "setTimeout(function () { alert('a'); confirm('b'); prompt('c'); print(); }, 300);</script>"},
    {"/file", "<label " WHOLE_PAGE "><input type=\"file\" style=\"display:none\"></label>"},
    // asks for the location: green when refused, red when granted
    {"/permission",
     "<script>navigator.geolocation.getCurrentPosition("
     "function () { document.body.style.background = '#ff0000'; },"
     "function () { document.body.style.background = '#00ff00'; });</script>"},
};

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
    for (auto at = inside.find("{to}"); at != std::string::npos; at = inside.find("{to}", at))
        inside.replace(at, 4, to);
    const std::string body =
        "<html><body style=\"margin:0;height:100vh;background:" + ToHex(color->rgb) + "\">" +
        inside + "</body></html>";
    return Reply("200 OK", "Content-Type: text/html; charset=utf-8\r\nCache-Control: no-store\r\n",
                 body);
}

HttpServer::HttpServer() : pages_(std::begin(kPages), std::end(kPages)) {
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
