#pragma once
// The pages the kiosk plays: a loopback HTTP/1.1 server on its own thread.
//   /NAME                       a page painted in colour NAME of harness.h and nothing else;
//   /KIND?color=NAME&to=TARGET  a page in that colour that does something (kPages in the .cpp,
//                               or added with AddPage);
//   /download                   a file offered for download;
// and the files Publish puts up, each with an ETag of its version, and Redirect's redirects.

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "e2e/support/harness.h"

namespace pagelark::e2e {

class HttpServer {
  public:
    // Listens on 127.0.0.1 with a port of the system's choice and serves at once.
    HttpServer();
    ~HttpServer();

    // What a page of kind "/KIND" holds besides its colour; "{to}" stands for the target.
    void AddPage(std::string kind, std::string inside);
    // While down, every connection is closed unanswered, as when the network is lost.
    void SetDown(bool down) { down_ = down; }
    // Serves body at path from now on, a new version: a request that names the version it
    // holds (If-None-Match) is answered 304 Not Modified.
    void Publish(std::string path, std::string body);
    // path answers 302 Found, to location.
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
    // "http://127.0.0.1:PORT" followed by target.
    std::string Url(std::string_view target = "") const;

    // The targets asked for so far, path and query as sent.
    std::vector<std::string> Requests() const;
    // Whether a target beginning with prefix was asked for, waiting up to wait.
    bool Requested(std::string_view prefix, Millis wait = Millis(0)) const;

  private:
    void Serve(int fd);
    std::string Answer(std::string_view target, std::string_view request) const;

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> down_{false};
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
