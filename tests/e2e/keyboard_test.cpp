// The on-screen keyboard: never over the show, there for the visitor's text entry.

#include <gtest/gtest.h>

#include <thread>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

// A field with the focus from the start, near the top; its focus and each change are told
// to the server.
constexpr const char* kField =
    "<input autofocus style='position:absolute;left:100px;top:100px;width:400px;height:40px'"
    " onfocus=\"fetch('/focused')\" onclick=\"fetch('/clicked')\" oninput=\"fetch('/typed-' + "
    "this.value)\">";
// Qt Virtual Keyboard's English layout on the 1024x768 screen, read once from a screenshot
// (import -window root): the centres of q and w, and a point of the space bar, whose grey
// neither the page nor the root window has.
constexpr Point kKeyQ{53, 496}, kKeyW{155, 496}, kSpaceBar{512, 740};
constexpr Rgb kSpaceBarGrey{0x4f, 0x5b, 0x62};

TEST_F(KioskTest, OnScreenKeyboardComesForTextEntryInNavigationModeOnly) {
    server_.AddPage("/field", kField);
    Start("[Tessaro]\nDefaultTime=600\nOnMouseMove=1\nOnScreenKeyboard=True\n" +
          Pages({"/field?color=blue"}));
    ASSERT_TRUE(WaitUntilKioskShows());
    ASSERT_TRUE(Comes(kBlue.rgb, kStartUp));
    ASSERT_TRUE(server_.Requested("/focused", kPatience));
    const auto low = [&] { return screen_.Pixel(kSpaceBar.x, kSpaceBar.y); };
    // The keyboard would come within moments of the focus.
    for (int sample = 0; sample < 40; ++sample) {
        ASSERT_TRUE(Near(low(), kBlue.rgb)) << "sample " << sample << ": " << ToHex(low());
        std::this_thread::sleep_for(Millis(100));
    }

    ASSERT_TRUE(EnterNavigationMode());
    MoveTo(kAddressBox);
    Click();
    const auto keyboardShows = [&] { return Near(low(), kSpaceBarGrey, 8); };
    ASSERT_TRUE(WaitUntil(keyboardShows, kPatience)) << ToHex(low());
    MoveTo({300, 120});
    Click();
    ASSERT_TRUE(server_.Requested("/clicked", kPatience));
    ASSERT_TRUE(WaitUntil(keyboardShows, kPatience)) << ToHex(low());
    MoveTo(kKeyQ);
    Click();
    ASSERT_TRUE(server_.Requested("/typed-q", kPatience));
    MoveTo(kKeyW);
    Click();
    EXPECT_TRUE(server_.Requested("/typed-qw", kPatience));
}

}  // namespace
}  // namespace pagelark::e2e
