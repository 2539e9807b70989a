#include "toolbars/toolbar_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace pagelark {
namespace {

// At 15 twips per pixel: frame 60 twips, dialog frame 45.
ToolbarLayout Lay(std::string_view pattern, BorderStyle border, std::vector<PixelSize> pixels = {},
                  std::optional<UrlBoxState> box = std::nullopt,
                  LayoutPass pass = LayoutPass::First, float outer = 1400,
                  float previousRow = kDesignedRowHeight) {
    std::vector<ToolbarButton> buttons;
    for (char c : pattern)
        buttons.push_back({"B", "B", "", c == '+'});  // '-' is hidden
    return LayOutToolbar({buttons, pixels, 15, 15, outer, border, BorderMetrics{1, 4, 3}, 15360,
                          box, pass, previousRow});
}

TEST(ToolbarLayout, RowWidthCountAndPlaceFollowTheVisibleButtons) {
    struct Case {
        const char* pattern;
        BorderStyle border;
        float width, height;
        int count;
        float leftOfButton3;
    } cases[] = {
        {"+++++++++", kToolNavBorder, 3240 + 2 * 60, 1400, 9, 1080},
        {"++++++++", kToolRunBorder, 2880 + 2 * 45, 1400, 8, 1080},
        {"--------", kToolRunBorder, 2 * 45, 1400 - 360, 0, 0},
        {"++-+++++-", kToolNavBorder, 2520 + 2 * 60, 1400, 7, 720},
    };
    for (const Case& c : cases) {
        const ToolbarLayout layout = Lay(c.pattern, c.border);
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(layout.VisibleCount, c.count);
        EXPECT_FLOAT_EQ(layout.Window.Width, c.width);
        EXPECT_FLOAT_EQ(layout.Window.Height, c.height);
        EXPECT_FLOAT_EQ(layout.Window.Left, 15360 - c.width);
        EXPECT_FLOAT_EQ(layout.Buttons[3].Left, c.leftOfButton3);
    }
}

TEST(ToolbarLayout, TallestPictureSetsTheRowAndTheBoxSitsUnderButtonZero) {
    struct Case {
        std::vector<PixelSize> pixels;
        float width, height, boxTop;
    } cases[] = {
        {{{32, 32}}, 3480, 1520, 480},
        {{{24, 24}, {24, 24}, {40, 32}}, 3600, 1520, 360},
        {{{24, 32}, {24, 40}}, 3360, 1640, 480},
    };
    for (const Case& c : cases) {
        const ToolbarLayout layout =
            Lay("+++++++++", kToolNavBorder, c.pixels, UrlBoxState{375, true, true});
        EXPECT_FLOAT_EQ(layout.Window.Width, c.width);
        EXPECT_FLOAT_EQ(layout.Window.Height, c.height);
        const TwipsRect box = layout.UrlBox.value().Bounds;
        EXPECT_FLOAT_EQ(box.Top, c.boxTop);
        EXPECT_FLOAT_EQ(box.Width, c.width);
    }
}

TEST(ToolbarLayout, AddressBoxVisibilityChangesTheHeight) {
    struct Case {
        LayoutPass pass;
        bool now, wanted;
        float height;  // from an outer height of 2000, which the user may have set
    } cases[] = {
        {LayoutPass::First, true, true, 2000},     {LayoutPass::First, true, false, 1625},
        {LayoutPass::Relayout, true, true, 2000},  {LayoutPass::Relayout, false, false, 2000},
        {LayoutPass::Relayout, true, false, 1625}, {LayoutPass::Relayout, false, true, 2375},
    };
    for (const Case& c : cases) {
        const ToolbarLayout layout =
            Lay("+++++++++", kToolNavBorder, {}, UrlBoxState{375, c.now, c.wanted}, c.pass, 2000);
        EXPECT_FLOAT_EQ(layout.Window.Height, c.height) << c.now << c.wanted;
        EXPECT_EQ(layout.UrlBox.value().Visible, c.wanted);
    }
}

TEST(ToolbarLayout, ReLayoutsReplaceTheRowTheWindowHolds) {
    const std::vector<PixelSize> tall{{32, 32}};
    ToolbarLayout layout = Lay("++++++++", kToolRunBorder, tall);
    EXPECT_FLOAT_EQ(layout.RowHeight, 480);
    // Saved again and again with the same picture: the window stays as it is.
    for (int save = 0; save < 3; ++save) {
        layout = Lay("++++++++", kToolRunBorder, tall, std::nullopt, LayoutPass::Relayout,
                     layout.Window.Height, layout.RowHeight);
        EXPECT_FLOAT_EQ(layout.Window.Height, 1520);
    }
    // The tall button hidden: back to the designed row.
    layout = Lay("-+++++++", kToolRunBorder, tall, std::nullopt, LayoutPass::Relayout,
                 layout.Window.Height, layout.RowHeight);
    EXPECT_FLOAT_EQ(layout.Window.Height, 1400);
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
