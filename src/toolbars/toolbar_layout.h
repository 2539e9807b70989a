#pragma once
// Layout arithmetic of the two tool bars: where each button goes, how large the window is
// and where it sits, in pixels. The window toolkit measures the pictures and carries the
// results out.

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/toolbar_buttons.h"

namespace pagelark {

// Height of the button row as the windows were designed: one default picture.
inline constexpr int kDesignedRowHeight = 24;

struct PixelSize {
    int Width = 0;
    int Height = 0;
};

// The size of every default picture.
inline constexpr PixelSize kDefaultPicturePixels{24, 24};

struct PixelRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// Values match the toolkit's border style numbers.
enum class BorderStyle {
    None = 0,
    FixedSingle = 1,
    Sizable = 2,
    FixedDialog = 3,
    FixedToolWindow = 4,
    SizableToolWindow = 5,
};

// Tool Nav can be resized, Tool Run cannot.
inline constexpr BorderStyle kToolNavBorder = BorderStyle::SizableToolWindow;
inline constexpr BorderStyle kToolRunBorder = BorderStyle::FixedToolWindow;

// The system's frame widths in pixels (SM_CXBORDER, SM_CXFRAME, SM_CXDLGFRAME).
struct BorderMetrics {
    int BorderPixels = 0;
    int FramePixels = 0;
    int DialogFramePixels = 0;
};

// Width of one vertical window edge.
int FormBorderWidth(BorderStyle style, const BorderMetrics& metrics);

enum class LayoutPass {
    First,     // windows and controls freshly built, settings just read
    Relayout,  // after a save, from the records in memory
};

// Which picture a visible button ends up with. A file that cannot be loaded falls back to
// the default at the first layout but keeps whatever was on show at a re-layout.
enum class ButtonPicture { Default, File, Unchanged };
ButtonPicture ChooseButtonPicture(LayoutPass pass, std::string_view icon, bool fileLoads);

// Tool Nav's address box.
struct UrlBoxState {
    int Height = 0;             // never changed by the layout
    bool VisibleNow = true;     // as the box is before this layout
    bool VisibleWanted = true;  // ToolNavUrlVisible
};

struct ToolbarLayoutInput {
    std::span<const ToolbarButton> Buttons;
    // Per button, in pixels, the size its control has once this layout has given out the
    // pictures: a hidden button keeps the size it had (24 x 24 on a fresh window). Missing
    // entries count as the default picture.
    std::span<const PixelSize> ButtonPixels;
    int OuterHeight = 0;  // the window's outer height before this layout
    BorderStyle Border = BorderStyle::None;
    BorderMetrics Metrics;
    int ScreenWidth = 0;
    std::optional<UrlBoxState> UrlBox;  // Tool Nav only
    LayoutPass Pass = LayoutPass::First;
    // The button row that OuterHeight holds: the designed one on a fresh window, else the
    // row the last layout gave.
    int PreviousRowHeight = kDesignedRowHeight;
};

struct ButtonPlacement {
    int Left = 0;
    bool Visible = false;
};

struct UrlBoxPlacement {
    PixelRect Bounds;
    bool Visible = true;
};

struct ToolbarLayout {
    std::vector<ButtonPlacement> Buttons;  // one per record, in index order
    int VisibleCount = 0;
    int RowHeight = 0;                      // the tallest visible button
    PixelRect Window;                       // outer rectangle, top right of the screen
    std::optional<UrlBoxPlacement> UrlBox;  // set when the input has one
};

// One row of buttons from the left, hidden ones taking no room, the window as wide as the
// row plus its two vertical edges and as high as before, corrected by the change of the row
// height and by the address box appearing or disappearing.
ToolbarLayout LayOutToolbar(const ToolbarLayoutInput& input);

}  // namespace pagelark
