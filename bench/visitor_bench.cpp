// Visitors one after another: each browses to a page that stores a cookie, 1 MiB in local
// storage and 1 MiB in a database, and leaves; the show comes back on a fresh profile. The
// whole tree's memory after round 5 and after round VISITOR_ROUNDS (default 50). Target:
// within 10 %.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "e2e/support/http_server.h"
#include "tree_memory.h"

using namespace pagelark::e2e;
using namespace std::chrono_literals;

namespace {

constexpr int kBase = 5;

}  // namespace

int main() {
    const char* text = std::getenv("VISITOR_ROUNDS");
    const int rounds = std::max(kBase + 1, text != nullptr ? std::atoi(text) : 50);
    Desk desk;
    HttpServer server;
    server.AddPage("/visit",
                   "<script>var mib = new Array(1 << 19).join('x');"
                   "document.cookie = 'v=1; max-age=3600'; localStorage.setItem('v', mib);"
                   "var open = indexedDB.open('v', 1);"
                   "open.onupgradeneeded = function () { open.result.createObjectStore('s'); };"
                   "open.onsuccess = function () { open.result.transaction('s', 'readwrite')"
                   ".objectStore('s').put(mib, 'v'); };</script>");
    KioskFolders folders;
    const auto file = folders.Write(
        "visitor.tso",
        "[Tessaro]\nDefaultTime=3\nOnMouseMove=1\nScreenSaveTimeOut=2\n[Page1]\nURL=" +
            server.Url("/red") + "\n[Page2]\nURL=" + server.Url("/green") + "\n");
    Kiosk kiosk(desk.xvfb_, folders, {file});
    if (!desk.WaitForColor(kRed.rgb, kStartUp)) {
        std::printf("the show never began\n");
        return 1;
    }
    std::printf("visitors: %d rounds of a visitor storing 2 MiB, then the show\n", rounds);
    pagelark::bench::TreeMemory base;
    for (int round = 1; round <= rounds; ++round) {
        const bool toolNav = desk.EnterNavigationMode();
        std::this_thread::sleep_for(500ms);
        desk.EnterAddress(server.Url("/visit?color=blue&to=" + std::to_string(round)));
        const bool visited = desk.WaitForColor(kBlue.rgb, kPatience).has_value();
        std::this_thread::sleep_for(1s);
        desk.MoveTo(kPointerRest);
        const bool back =
            desk.WaitForCentre([](Rgb seen) { return !Near(seen, kBlue.rgb); }, kStartUp)
                .has_value();
        if (!toolNav || !visited || !back || !kiosk.Running()) {
            for (const auto& exchange : server.Exchanges())
                std::printf("  request %s\n", exchange.target.c_str());
            std::printf("  centre %s\n", ToHex(desk.Centre()).c_str());
            std::printf("round %d: %s\n", round,
                        !kiosk.Running() ? "the kiosk ended"
                        : !toolNav       ? "no Tool Nav"
                        : visited        ? "the show never came back"
                                         : "the visitor's page never came");
            return 1;
        }
        if (round != kBase && round != rounds && round % 10 != 0) continue;
        const auto memory = pagelark::bench::SettledMemory(kiosk.Pid());
        std::printf("  round %3d  PSS %7.1f MiB  private %7.1f MiB\n", round, memory.pssMiB,
                    memory.privateMiB);
        std::fflush(stdout);
        if (round == kBase) base = memory;
        if (round == rounds)
            std::printf(
                "growth from round %d to %d: PSS %+.1f %%, private %+.1f %% (target within"
                " 10 %%)\n",
                kBase, rounds, (memory.pssMiB / base.pssMiB - 1) * 100,
                (memory.privateMiB / base.privateMiB - 1) * 100);
    }
    return 0;
}
