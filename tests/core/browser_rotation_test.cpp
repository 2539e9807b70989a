// When a page a browser holds comes on show without a new load, and when a preload is ready.

#include "core/browser_rotation.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(BrowserRotationTest, HeldPageShowsAgainUnlessItsLoadFailed) {
    enum Event { Assign, Complete, Fail, Preload, PreloadUnwaited };
    // Browser 1 preloads, 0 is on show; the record after each event, and whether Assign sends.
    const struct {
        Event event;
        int browser;
        const char* after;
    } steps[] = {
        {Assign, 1, "send"},     {Complete, 1, "loaded"},
        {Preload, 1, ""},        {PreloadUnwaited, 1, "loaded"},
        {Preload, 1, ""},        {Assign, 1, "loaded"},
        {Preload, 1, ""},        {Complete, 0, ""},  // not the preloading browser
        {Complete, 1, "loaded"}, {Fail, 1, "failed"},
        {Assign, 1, "send"},     {Fail, 1, "failed"},
        {Complete, 1, "loaded"}, {Assign, 1, "loaded"},
        {Assign, 0, "send"},     {Assign, 0, "loaded"},
    };
    BrowserRotation r;
    for (const auto& s : steps) {
        bool sent = false;
        if (s.event == Assign && (sent = r.Assign(s.browser, "http://a/", std::chrono::seconds{5})))
            r.Sent(s.browser, "http://a/");
        if (s.event == Complete) r.Completed(s.browser);
        if (s.event == Fail) r.Failed(s.browser);
        if (s.event == Preload || s.event == PreloadUnwaited) r.PreloadStarts(s.event == Preload);
        const BrowserRotation::Record& b = r[s.browser];
        const std::string after = std::string(sent ? "send" : "") + (b.loaded ? "loaded" : "") +
                                  (b.failed ? "failed" : "");
        EXPECT_EQ(after, s.after) << "step " << &s - steps;
    }
}

}  // namespace
}  // namespace pagelark
