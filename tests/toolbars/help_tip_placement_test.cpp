#include "toolbars/help_tip_placement.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(HelpTipText, BlanksHideAndTheSameTipStaysPut) {
    using enum HelpTipAction;
    EXPECT_EQ(DecideHelpTip("  Go  back ", " Back ", true).tipText, " Go  back ");
    EXPECT_EQ(DecideHelpTip(" Back", " Back ", true).action, Nothing);
    EXPECT_EQ(DecideHelpTip("   ", " Back ", true).action, Hide);
}

TEST(HelpTipPlacement, UnderThePointerAndInsideRightAndBottomEdges) {
    // A 1024 x 768 screen; a 40 x 16 label gives a 44 x 18 tip.
    const std::tuple<PixelPoint, int, int> cases[] = {
        {{100, 100}, 98, 118},   {{1014, 100}, 980, 118}, {{100, 760}, 98, 750},
        {{1023, 767}, 980, 750}, {{0, 0}, -2, 18},  // the left edge is not clamped
    };
    for (const auto& [pointer, left, top] : cases) {
        const PixelRect tip = PlaceHelpTip({pointer, 40, 16, 1024, 768});
        EXPECT_EQ(std::tuple(tip.left, tip.top, tip.width, tip.height),
                  std::tuple(left, top, 44, 18))
            << pointer.x << "," << pointer.y;
    }
}

TEST(HelpTipCheck, PointerMustStayOnTheToolbarInUse) {
    const PixelRect nav{934, 0, 90, 60};
    const PixelRect run{0, 0, 10, 10};
    EXPECT_TRUE(PointerInsideWindow(nav, {1024, 60}));
    EXPECT_FALSE(PointerInsideWindow(nav, {933, 30}));
    EXPECT_FALSE(PointerInsideWindow(nav, {1000, 61}));
    EXPECT_FALSE(HelpTipMustHide(true, true, nav, run, {1000, 30}));
    EXPECT_TRUE(HelpTipMustHide(true, false, nav, run, {1000, 30}));
    EXPECT_FALSE(HelpTipMustHide(false, false, nav, run, {1000, 30}));
}

}  // namespace
}  // namespace pagelark
