// A page that calls window.open every 50 ms, played for POPUP_SECONDS (default 600), beside
// the same page without the calls: the whole process tree's memory (PSS, median of five
// readings) every minute and the difference at the end. Target: within 50 MiB.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "e2e/support/http_server.h"
#include "tree_memory.h"

using namespace pagelark::e2e;
using namespace std::chrono_literals;

namespace {

// Plays one page for the given time and returns the tree's memory at the end.
pagelark::bench::TreeMemory PlayFor(Xvfb& xvfb, const std::string& url, std::chrono::seconds length,
                                    const char* label) {
    KioskFolders folders;
    const auto file = folders.Write(
        "popup.tso", "[Tessaro]\nDefaultTime=86400\nMaxTime=86400\n[Page1]\nURL=" + url + "\n");
    Kiosk kiosk(xvfb, folders, {file});
    const auto started = std::chrono::steady_clock::now();
    pagelark::bench::TreeMemory memory;
    for (auto next = 60s; next <= length; next += 60s) {
        std::this_thread::sleep_until(started + next - 5s);
        if (!kiosk.Running()) {
            std::printf("  %s: the kiosk ended\n", label);
            return {};
        }
        memory = pagelark::bench::SettledMemory(kiosk.Pid());
        std::printf("  %-16s %4lld s  PSS %7.1f MiB  private %7.1f MiB  %zu processes\n", label,
                    static_cast<long long>(next.count()), memory.pssMiB, memory.privateMiB,
                    ProcessesInGroup(kiosk.Pid()).size());
        std::fflush(stdout);
    }
    return memory;
}

}  // namespace

int main() {
    const char* text = std::getenv("POPUP_SECONDS");
    const std::chrono::seconds length{std::max(60, text != nullptr ? std::atoi(text) : 600)};
    Xvfb xvfb;
    HttpServer server;
    const std::string body = "<p style=\"font-size:40px\">A page</p>";
    server.AddPage("/quiet", body);
    server.AddPage("/opener", body +
                                  "<script>setInterval(function () {"
                                  " window.open('/quiet?' + Math.random()); }, 50);</script>");
    std::printf("popups: one page for %lld s, without and with window.open every 50 ms\n",
                static_cast<long long>(length.count()));
    const auto quiet = PlayFor(xvfb, server.Url("/quiet"), length, "without popups");
    const auto opener = PlayFor(xvfb, server.Url("/opener"), length, "opening popups");
    if (quiet.pssMiB == 0 || opener.pssMiB == 0) return 1;
    std::printf("difference at %lld s: PSS %+.1f MiB, private %+.1f MiB (target within 50 MiB)\n",
                static_cast<long long>(length.count()), opener.pssMiB - quiet.pssMiB,
                opener.privateMiB - quiet.privateMiB);
    return 0;
}
