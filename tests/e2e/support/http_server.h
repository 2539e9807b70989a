#pragma once
// The pages the kiosk plays: a loopback HTTP/1.1 server on its own thread.
//
//   /red, /green, ... (any path whose last segment names a colour of colors.h)
//       a page painted in that colour and nothing else;
//   /link?color=NAME&to=PATH
//       a page in that colour that is one big link to PATH (the rest of the target, a query
//       of its own included);
//   /blank?color=NAME&to=PATH
//       a page in that colour that is one big link to PATH in a new window;
//   /open?color=NAME&to=PATH
//       a page in that colour whose script keeps opening new windows on PATH;
//   /go?color=NAME&to=ADDRESS
//       a page in that colour where a click anywhere sends it to ADDRESS by script ("blob": a
//       magenta page the script makes);
//   /jslink?color=NAME&to=PATH
//       a page in that colour that is one big "javascript:" link whose script goes to PATH;
//   /alert?color=NAME
//       a page in that colour where a click anywhere opens an alert;
//   /hostile?color=NAME
//       a page in that colour that asks to stay when left, and opens every script dialog;
//   /file?color=NAME
//       a page in that colour where a click anywhere asks to choose a file;
//   /permission?color=NAME
//       a page in that colour that asks for the location: green when refused, red when granted;
//   /heavy?color=NAME
//       a page in that colour whose script holds 32 MiB of typed arrays, replacing one every
//       200 ms, and rebuilds 200 hidden elements every 100 ms;
//   /download
//       a file offered for download;
//   /hang
//       headers and the start of a body, then nothing until the server stops.
// Every request is logged with the time it arrived.

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "e2e/support/process.h"

namespace pagelark::e2e {

struct LoggedRequest {
    std::string target;  // path and query as sent
    TimePoint time;
};

class HttpServer {
  public:
    // Listens on 127.0.0.1 with a port of the system's choice and serves at once.
    HttpServer();
    // Ends the serving thread and closes every socket, hanging ones included.
    ~HttpServer();

    // While down, every connection is closed unanswered, as when the network is lost.
    void SetDown(bool down) { down_ = down; }

    int Port() const { return port_; }
    // "http://127.0.0.1:PORT" followed by target.
    std::string Url(std::string_view target = "") const;

    std::vector<LoggedRequest> Requests() const;
    // The arrival of the first request whose target begins with prefix.
    std::optional<TimePoint> FirstRequest(std::string_view prefix) const;
    std::optional<TimePoint> WaitForRequest(std::string_view prefix, Millis timeout) const;

  private:
    void Serve();

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> down_{false};
    mutable std::mutex mutex_;
    std::vector<LoggedRequest> log_;
    std::thread thread_;
};

}  // namespace pagelark::e2e
