#include "toolbars/toolbar_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "toolbars/help_tip_placement.h"

namespace pagelark {
namespace {

// Frame 4 pixels, dialog frame 3, on a screen 1024 pixels wide.
ToolbarLayout Lay(std::string_view pattern, BorderStyle border, std::vector<PixelSize> pixels = {},
                  std::optional<UrlBoxState> box = std::nullopt,
                  LayoutPass pass = LayoutPass::First, int outer = 90,
                  int previousRow = kDesignedRowHeight) {
    std::vector<ToolbarButton> buttons;
    for (char c : pattern)
        buttons.push_back({"B", "B", "", c == '+'});  // '-' is hidden
    return LayOutToolbar(
        {buttons, pixels, outer, border, BorderMetrics{1, 4, 3}, 1024, box, pass, previousRow});
}

// The width and place of rows of visible buttons are the windows' test's.
TEST(ToolbarLayout, WithNoButtonVisibleOnlyTheFrameAndTheDesignedOuterHeightLessTheRowRemain) {
    const ToolbarLayout layout = Lay("--------", kToolRunBorder);
    EXPECT_EQ(std::tuple(layout.visibleCount, layout.window.width, layout.window.height,
                         layout.window.left),
              std::tuple(0, 2 * 3, 90 - 24, 1024 - 2 * 3));
}

TEST(ToolbarLayout, TallestPictureSetsTheRowTheBoxSitsUnderButtonZeroAndItsVisibilityTheHeight) {
    using enum LayoutPass;
    // The pictures, the pass, the box shown now and wanted, the outer height (which the user may
    // have set); the window's width and height and the box's top.
    const std::tuple<std::vector<PixelSize>, LayoutPass, bool, bool, int, int, int, int> cases[] = {
        {{{32, 32}}, First, true, true, 90, 232, 98, 32},
        {{{24, 24}, {24, 24}, {40, 32}}, First, true, true, 90, 240, 98, 24},
        {{{24, 32}, {24, 40}}, First, true, true, 90, 224, 106, 32},
        {{}, First, true, true, 130, 224, 130, 24},
        {{}, First, true, false, 130, 224, 105, 24},
        {{}, Relayout, true, true, 130, 224, 130, 24},
        {{}, Relayout, false, false, 130, 224, 130, 24},
        {{}, Relayout, true, false, 130, 224, 105, 24},
        {{}, Relayout, false, true, 130, 224, 155, 24},
    };
    for (const auto& [pixels, pass, now, wanted, outer, width, height, boxTop] : cases) {
        const ToolbarLayout layout =
            Lay("+++++++++", kToolNavBorder, pixels, UrlBoxState{25, now, wanted}, pass, outer);
        const UrlBoxPlacement& box = layout.urlBox.value();
        EXPECT_EQ(std::tuple(layout.window.width, layout.window.height, box.bounds.top,
                             box.bounds.width, box.visible),
                  std::tuple(width, height, boxTop, width, wanted))
            << static_cast<int>(pass) << now << wanted << pixels.size();
    }
}

TEST(ToolbarLayout, ReLayoutsReplaceTheRowAndTakeANewPictureOrTheDefaultForNone) {
    const std::vector<PixelSize> tall{{32, 32}};
    ToolbarLayout layout = Lay("++++++++", kToolRunBorder, tall);
    EXPECT_EQ(layout.rowHeight, 32);
    // Saved again and again with the same picture: the window stays as it is.
    for (int save = 0; save < 3; ++save) {
        layout = Lay("++++++++", kToolRunBorder, tall, std::nullopt, LayoutPass::Relayout,
                     layout.window.height, layout.rowHeight);
        EXPECT_EQ(layout.window.height, 98);
    }
    // The tall button hidden: back to the designed row.
    layout = Lay("-+++++++", kToolRunBorder, tall, std::nullopt, LayoutPass::Relayout,
                 layout.window.height, layout.rowHeight);
    EXPECT_EQ(layout.window.height, 90);
    // A new picture, or the default for none (an unreadable one is the windows' test's).
    EXPECT_EQ(ChooseButtonPicture(LayoutPass::Relayout, "", false), ButtonPicture::Default);
    EXPECT_EQ(ChooseButtonPicture(LayoutPass::Relayout, "a.gif", true), ButtonPicture::File);
}

TEST(OverlayFrame, CaptionMovesSizableEdgesResizeAndTheAreaHoldsIt) {
    using enum FrameDrag;
    // A 100 x 60 frame, edges of 4, a caption of 18: where a drag starts, sizable or not.
    const std::tuple<int, int, FrameDrag, FrameDrag> starts[] = {
        {50, 0, Move, Move}, {50, 21, Move, Move},   {50, 22, None, None},
        {2, 30, Left, None}, {50, 57, Bottom, None}, {0, 59, LeftBottom, None},
        {2, 10, Left, Move}, {99, 30, None, None},   {100, 30, None, None},
    };
    for (const auto& [x, y, sizable, fixed] : starts) {
        EXPECT_EQ(FrameDragAt({100, 60}, 4, 18, true, x, y), sizable) << x << "," << y;
        EXPECT_EQ(FrameDragAt({100, 60}, 4, 18, false, x, y), fixed) << x << "," << y;
    }
    // In an 800 x 600 area, no smaller than 30 x 40.
    const PixelRect start{500, 500, 100, 60};
    const std::tuple<FrameDrag, int, int, PixelRect> drags[] = {
        {Move, 300, 300, {700, 540, 100, 60}},     {Left, -600, 0, {0, 500, 600, 60}},
        {Left, 90, 0, {570, 500, 30, 60}},         {Bottom, 0, 90, {500, 500, 100, 100}},
        {LeftBottom, 10, -50, {510, 500, 90, 40}}, {None, 10, 10, start},
    };
    for (const auto& [drag, dx, dy, to] : drags) {
        const PixelRect rect = DragFrame(start, drag, dx, dy, {30, 40}, {800, 600});
        EXPECT_EQ(std::tuple(rect.left, rect.top, rect.width, rect.height),
                  std::tuple(to.left, to.top, to.width, to.height))
            << static_cast<int>(drag) << " " << dx << "," << dy;
    }
}

TEST(HelpTipText, BlanksHideAndTheSameTipStaysPut) {
    using enum HelpTipAction;
    EXPECT_EQ(DecideHelpTip("  Go  back ", " Back ", true).tipText, " Go  back ");
    EXPECT_EQ(DecideHelpTip(" Back", " Back ", true).action, Nothing);
    EXPECT_EQ(DecideHelpTip("   ", " Back ", true).action, Hide);
    EXPECT_EQ(HelpTipLabelCaption(" Caf\xE9 \xE2\x82\xAC "), "  Caf\xC3\xA9 \xE2\x82\xAC  ");
}

TEST(HelpTipPlacement, UnderThePointerOrAboveItAndInsideTheRightEdge) {
    // A 1024 x 768 screen; a 40 x 16 label gives a 44 x 18 tip.
    const std::tuple<PixelPoint, int, int> cases[] = {
        {{100, 100}, 98, 118},   {{1014, 100}, 980, 118}, {{100, 760}, 98, 740},
        {{1023, 767}, 980, 747}, {{0, 0}, -2, 18},  // the left edge is not clamped
    };
    for (const auto& [pointer, left, top] : cases) {
        const PixelRect tip = PlaceHelpTip({pointer, 40, 16, 1024, 768});
        EXPECT_EQ(std::tuple(tip.left, tip.top, tip.width, tip.height),
                  std::tuple(left, top, 44, 18))
            << pointer.x << "," << pointer.y;
    }
}

TEST(HelpTipCheck, PointerMustStayOnTheToolbarInUse) {
    const PixelRect nav{934, 0, 90, 60}, run{0, 0, 10, 10};
    EXPECT_TRUE(PointerInsideWindow(nav, {1024, 60}));
    EXPECT_FALSE(PointerInsideWindow(nav, {933, 30}));
    EXPECT_FALSE(PointerInsideWindow(nav, {1000, 61}));
    EXPECT_FALSE(HelpTipMustHide(true, true, nav, run, {1000, 30}));
    EXPECT_TRUE(HelpTipMustHide(true, false, nav, run, {1000, 30}));
    EXPECT_FALSE(HelpTipMustHide(false, false, nav, run, {1000, 30}));
}

}  // namespace
}  // namespace pagelark
