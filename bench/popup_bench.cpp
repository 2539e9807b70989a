// Pages that call window.open every 50 ms, each played side by side with the same page without
// the calls for POPUP_SECONDS (default 600), each kiosk on its own X server: the private memory
// of each kiosk's whole process tree every minute (median of five readings) and each page's
// difference from the page without the calls. Target: within 50 MiB.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "e2e/support/http_server.h"
#include "tree_memory.h"

using namespace pagelark::e2e;
using namespace std::chrono_literals;

namespace {

struct Form {
    const char* label;
    const char* call;  // the script run every 50 ms; none for the page without the calls
};

constexpr Form kForms[] = {
    {"no calls", nullptr},
    {"'/quiet?' + n", "window.open('/quiet?' + Math.random());"},
    {"'about:blank'", "window.open('about:blank');"},
    {"'', 'w' + n", "window.open('', 'w' + ++n);"},
    // the first, empty document of a frame a script made, which no script is injected into:
    // answered from the page, as the page reaches it
    {"frame's open", "frame.open('about:blank');"},
    {"form to _blank",
     "var f = document.forms[0] || document.body.appendChild("
     "document.createElement('form')); f.target = '_blank';"
     " f.action = '/quiet?' + Math.random(); f.submit();"},
    // a form in a closed shadow root, sent by its button: its submit never leaves the root
    {"shadow form",
     "var r = window.r || (window.r = document.body.appendChild(document.createElement("
     "'div')).attachShadow({mode: 'closed'})), f = r.firstChild || r.appendChild("
     "document.createElement('form')); f.target = '_blank'; f.action = '/quiet?' +"
     " Math.random(); (f.firstChild || f.appendChild(document.createElement('button'))).click();"},
    {"link to 'w' + n",
     "var a = document.links[0] || document.body.appendChild("
     "document.createElement('a')); a.href = 'about:blank';"
     " a.target = 'w' + ++n; a.click();"},
    // a frame of another origin (opaque: sandboxed) and a new name each time
    {"link, other origin",
     "if (!window.x) { x = document.createElement('iframe'); x.sandbox = ''; x.src = '/quiet';"
     " document.body.appendChild(x); } var a = document.createElement('a');"
     " a.href = '/quiet?' + Math.random(); a.target = 'zz' + ++n; a.click();"},
    // the open of a frame's first document, kept from the task that inserted the frame
    {"kept frame open",
     "if (!window.o) { var f = document.createElement('iframe'); f.src = '/quiet';"
     " document.body.appendChild(f); o = window[window.length - 1].open; }"
     " o.call(window, '/quiet?' + Math.random());"},
};

// One kiosk playing one page, on its own X server so that none covers another.
struct Player {
    explicit Player(const std::string& url)
        : kiosk(xvfb, folders,
                {folders.Write("popup.tso",
                               "[Tessaro]\nDefaultTime=86400\nMaxTime=86400\n"
                               "[Page1]\nURL=" +
                                   url + "\n")}) {}
    Xvfb xvfb;
    KioskFolders folders;
    Kiosk kiosk;
};

}  // namespace

int main() {
    const char* text = std::getenv("POPUP_SECONDS");
    const std::chrono::seconds length{std::max(60, text != nullptr ? std::atoi(text) : 600)};
    HttpServer server;
    const std::string body =
        "<p style=\"font-size:40px\">A page</p><script>var n = 0, frame = document.body"
        ".appendChild(document.createElement('iframe')).contentWindow;"
        // each window the engine refuses keeps a copy of this in the browser process
        " sessionStorage.setItem('held', 'x'.repeat(1 << 20));</script>";
    std::vector<std::unique_ptr<Player>> players;
    std::vector<std::string> targets;
    for (std::size_t k = 0; k < std::size(kForms); ++k) {
        const std::string path = "/form" + std::to_string(k);
        const char* call = kForms[k].call;
        server.AddPage(path, call == nullptr ? body
                                             : body + "<script>setInterval(function () { " + call +
                                                   " }, 50);</script>");
        targets.push_back(path + "?color=blue");
        players.push_back(std::make_unique<Player>(server.Url(targets.back())));
    }
    std::printf(
        "window.open every 50 ms, side by side for %lld s: private memory of each "
        "kiosk's process tree, MiB (difference from the page without calls)\n  time",
        static_cast<long long>(length.count()));
    for (const Form& form : kForms)
        std::printf("  %18s", form.label);
    std::printf("\n");
    const auto started = std::chrono::steady_clock::now();
    std::vector<double> last(std::size(kForms));
    for (auto next = 60s; next <= length; next += 60s) {
        std::this_thread::sleep_until(started + next - 5s);
        std::printf("%5llds", static_cast<long long>(next.count()));
        for (std::size_t k = 0; k < players.size(); ++k) {
            // A page that did not load would measure the engine's error page.
            if (!players[k]->kiosk.Running() || server.Answered(targets[k], 200) == 0) {
                std::printf("\n%s: the kiosk ended or its page was not served\n", kForms[k].label);
                return 1;
            }
            last[k] = pagelark::bench::SettledMemory(players[k]->kiosk.Pid()).privateMiB;
            if (k == 0)
                std::printf("  %18.1f", last[k]);
            else
                std::printf("  %9.1f (%+6.1f)", last[k], last[k] - last[0]);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    for (std::size_t k = 1; k < std::size(kForms); ++k)
        std::printf("%-15s %+6.1f MiB after %lld s: %s\n", kForms[k].label, last[k] - last[0],
                    static_cast<long long>(length.count()),
                    last[k] - last[0] <= 50 ? "within 50 MiB" : "over 50 MiB");
    return 0;
}
