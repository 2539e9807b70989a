#pragma once
// The pages the kiosk plays: a loopback HTTP/1.1 server on its own thread.
//   /NAME                       a page painted in colour NAME of harness.h and nothing else;
//   /KIND?color=NAME&to=TARGET  a page in that colour that does something (kPages in the .cpp,
//                               or added with AddPage);
//   /download                   a file offered for download.

#include <atomic>
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

    int Port() const { return port_; }
    // "http://127.0.0.1:PORT" followed by target.
    std::string Url(std::string_view target = "") const;

    // The targets asked for so far, path and query as sent.
    std::vector<std::string> Requests() const;
    // Whether a target beginning with prefix was asked for, waiting up to wait.
    bool Requested(std::string_view prefix, Millis wait = Millis(0)) const;

  private:
    void Serve(int fd);
    std::string Answer(std::string_view target) const;

    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> down_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> log_;
    std::vector<std::pair<std::string, std::string>> pages_;
    std::vector<int> connections_;  // each served by a thread of its own
    std::thread thread_;            // accepts
};

}  // namespace pagelark::e2e
