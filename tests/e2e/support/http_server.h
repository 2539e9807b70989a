#pragma once
// The pages the kiosk plays, from a loopback HTTP/1.1 server on its own thread: /NAME is a page
// in colour NAME of harness.h alone, /KIND?color=NAME&to=TARGET one that also does something
// (AddPage's, or tests/e2e/pages/KIND.html), /slow/NAME the page NAME a second late, /download a
// file offered for download; besides, the files Publish puts up, each with an ETag of its version,
// and Redirect's redirects.

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "e2e/support/harness.h"

namespace pagelark::e2e {

class HttpServer {
  public:
    HttpServer();
    ~HttpServer();

    // What a page of kind "/KIND" holds besides its colour; "{to}" stands for the target. In
    // place of the file of that kind, if there is one.
    void AddPage(std::string kind, std::string inside);
    // While down, every connection is closed unanswered, as when the network is lost.
    void SetDown(bool down) { down_ = down; }
    // While not 0, every published file is answered with this status and nothing else.
    void SetFailing(int status) { failing_ = status; }
    // While on, a published file is announced whole but sent a byte a second, to the end.
    void SetTrickling(bool trickling) { trickling_ = trickling; }
    // While on, a published file is announced whole but the connection closes half way.
    void SetCuttingShort(bool cutting) { cuttingShort_ = cutting; }
    // Serves body at path from now on, a new version: a request that names the version it
    // holds (If-None-Match) is answered 304 Not Modified.
    void Publish(std::string path, std::string body);
    void Redirect(std::string path, std::string location);

    struct Exchange {
        std::string target;
        int status = 0;
        std::size_t bytes = 0;  // on the wire: the request as received, the answer as sent
    };
    std::vector<Exchange> Exchanges() const;
    // How many requests for target were answered with status.
    long Answered(std::string_view target, int status) const;

    int Port() const { return port_; }
    std::string Url(std::string_view target = "") const;
    // Whether a target beginning with prefix was asked for, waiting up to wait.
    bool Requested(std::string_view prefix, Millis wait = Millis(0)) const;

  private:
    void Serve(int fd);
    std::string Answer(std::string_view target, std::string_view request) const;

    int listenFd_ = -1, port_ = 0;
    std::atomic<bool> stop_{false}, down_{false}, trickling_{false}, cuttingShort_{false};
    std::atomic<int> failing_{0};
    mutable std::mutex mutex_;
    std::vector<Exchange> log_;
    std::vector<std::pair<std::string, std::string>> pages_;
    struct Published {
        std::string body;
        int version = 0;
    };
    std::map<std::string, Published, std::less<>> published_;
    std::map<std::string, std::string, std::less<>> redirects_;
    std::vector<int> connections_;  // each served by a thread of its own
    std::thread thread_;            // accepts
};

}  // namespace pagelark::e2e
