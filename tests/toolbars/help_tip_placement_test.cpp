#include "toolbars/help_tip_placement.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(HelpTipText, BlanksHideAndTheSameTipStaysPut) {
    using enum HelpTipAction;
    EXPECT_EQ(DecideHelpTip("  Go  back ", " Back ", true).TipText, " Go  back ");
    EXPECT_EQ(DecideHelpTip(" Back", " Back ", true).Action, Nothing);
    EXPECT_EQ(DecideHelpTip("   ", " Back ", true).Action, Hide);
}

TEST(HelpTipPlacement, UnderThePointerAndInsideRightAndBottomEdges) {
    // 1024 x 768 pixels at 15 twips per pixel; a 600 x 240 label gives a 660 x 270 tip.
    struct Case {
        PixelPoint pointer;
        std::int64_t left, top;
    } cases[] = {
        {{100, 100}, 1470, 1770},    {{1014, 100}, 14700, 1770}, {{100, 760}, 1470, 11250},
        {{1023, 767}, 14700, 11250}, {{0, 0}, -30, 270},  // the left edge is not clamped
    };
    for (const Case& c : cases) {
        const HelpTipPlacement tip = PlaceHelpTip({c.pointer, 600, 240, 15, 15, 15360, 11520});
        EXPECT_EQ(tip.Left, c.left) << c.pointer.X << "," << c.pointer.Y;
        EXPECT_EQ(tip.Top, c.top) << c.pointer.X << "," << c.pointer.Y;
        EXPECT_FLOAT_EQ(tip.Width, 660);
        EXPECT_FLOAT_EQ(tip.Height, 270);
    }
    // Both coordinates use the vertical factor, halves rounding to even.
    EXPECT_EQ(PlaceHelpTip({{10, 1}, 0, 0, 10, 12.5F, 1e6F, 1e6F}).Left, 100);
    EXPECT_EQ(PlaceHelpTip({{10, 1}, 0, 0, 10, 12.5F, 1e6F, 1e6F}).Top, 238);
    EXPECT_EQ(PlaceHelpTip({{10, 3}, 0, 0, 10, 12.5F, 1e6F, 1e6F}).Top, 262);
}

TEST(HelpTipCheck, PointerMustStayOnTheToolbarInUse) {
    const TwipsRect nav{14000, 0, 1360, 900};  // pixels 933.3 to 1024, 0 to 60
    const TwipsRect run{0, 0, 150, 150};
    EXPECT_TRUE(PointerInsideWindow(nav, {1024, 60}, 15, 15));
    EXPECT_FALSE(PointerInsideWindow(nav, {933, 30}, 15, 15));
    EXPECT_FALSE(PointerInsideWindow(nav, {1000, 61}, 15, 15));
    EXPECT_FALSE(HelpTipMustHide(true, true, nav, run, {1000, 30}, 15, 15));
    EXPECT_TRUE(HelpTipMustHide(true, false, nav, run, {1000, 30}, 15, 15));
    EXPECT_FALSE(HelpTipMustHide(false, false, nav, run, {1000, 30}, 15, 15));
}

}  // namespace
}  // namespace pagelark
