#include "toolbars/toolbar_layout.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(ToolbarLayout, RowWidthCountAndPlaceFollowTheVisibleButtons) {
    struct Case {
        const char* pattern;
        BorderStyle border;
        int width, height;
        int count;
        int leftOfButton3;
    } cases[] = {
        {"+++++++++", kToolNavBorder, 216 + 2 * 4, 90, 9, 72},
        {"++++++++", kToolRunBorder, 192 + 2 * 3, 90, 8, 72},
        {"--------", kToolRunBorder, 2 * 3, 90 - 24, 0, 0},
        {"++-+++++-", kToolNavBorder, 168 + 2 * 4, 90, 7, 48},
    };
    for (const Case& c : cases) {
        const ToolbarLayout layout = Lay(c.pattern, c.border);
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(layout.visibleCount, c.count);
        EXPECT_EQ(layout.window.width, c.width);
        EXPECT_EQ(layout.window.height, c.height);
        EXPECT_EQ(layout.window.left, 1024 - c.width);
        EXPECT_EQ(layout.buttons[3].left, c.leftOfButton3);
    }
}

TEST(ToolbarLayout, TallestPictureSetsTheRowAndTheBoxSitsUnderButtonZero) {
    struct Case {
        std::vector<PixelSize> pixels;
        int width, height, boxTop;
    } cases[] = {
        {{{32, 32}}, 232, 98, 32},
        {{{24, 24}, {24, 24}, {40, 32}}, 240, 98, 24},
        {{{24, 32}, {24, 40}}, 224, 106, 32},
    };
    for (const Case& c : cases) {
        const ToolbarLayout layout =
            Lay("+++++++++", kToolNavBorder, c.pixels, UrlBoxState{25, true, true});
        EXPECT_EQ(layout.window.width, c.width);
        EXPECT_EQ(layout.window.height, c.height);
        const PixelRect box = layout.urlBox.value().bounds;
        EXPECT_EQ(box.top, c.boxTop);
        EXPECT_EQ(box.width, c.width);
    }
}

TEST(ToolbarLayout, AddressBoxVisibilityChangesTheHeight) {
    struct Case {
        LayoutPass pass;
        bool now, wanted;
        int height;  // from an outer height of 130, which the user may have set
    } cases[] = {
        {LayoutPass::First, true, true, 130},     {LayoutPass::First, true, false, 105},
        {LayoutPass::Relayout, true, true, 130},  {LayoutPass::Relayout, false, false, 130},
        {LayoutPass::Relayout, true, false, 105}, {LayoutPass::Relayout, false, true, 155},
    };
    for (const Case& c : cases) {
        const ToolbarLayout layout =
            Lay("+++++++++", kToolNavBorder, {}, UrlBoxState{25, c.now, c.wanted}, c.pass, 130);
        EXPECT_EQ(layout.window.height, c.height) << c.now << c.wanted;
        EXPECT_EQ(layout.urlBox.value().visible, c.wanted);
    }
}

TEST(ToolbarLayout, ReLayoutsReplaceTheRowTheWindowHolds) {
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
}

TEST(ToolbarLayout, UnreadablePictureFallsBackFirstButStaysOnRelayout) {
    using enum LayoutPass;
    EXPECT_EQ(ChooseButtonPicture(Relayout, "", false), ButtonPicture::Default);
    EXPECT_EQ(ChooseButtonPicture(Relayout, "a.gif", true), ButtonPicture::File);
    EXPECT_EQ(ChooseButtonPicture(First, "a.gif", false), ButtonPicture::Default);
    EXPECT_EQ(ChooseButtonPicture(Relayout, "a.gif", false), ButtonPicture::Unchanged);
}

}  // namespace
}  // namespace pagelark
