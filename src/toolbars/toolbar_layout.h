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
    int width = 0;
    int height = 0;
};

// The size of every default picture.
inline constexpr PixelSize kDefaultPicturePixels{24, 24};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
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
    int borderPixels = 0;
    int framePixels = 0;
    int dialogFramePixels = 0;
};

// Width of one vertical window edge.
int FormBorderWidth(BorderStyle style, const BorderMetrics& metrics);

// The tool bars are drawn inside the show's window, where no window manager frames them: they
// draw their own edges, this wide, and a small caption bar above the buttons, this high as
// designed.
inline constexpr BorderMetrics kOverlayMetrics{1, 4, 3};
inline constexpr int kDesignedCaptionHeight = 18;

// The part of an overlay's frame a drag starts on: the caption moves it; a sizable one is
// resized from its left or bottom edge, or the corner between them.
enum class FrameDrag { None, Move, Left, Bottom, LeftBottom };

// Which part the point (x, y), from the frame's top left, is on.
FrameDrag FrameDragAt(PixelSize outer, int edge, int caption, bool sizable, int x, int y);

// The rectangle moved just far enough to lie inside area; one larger than it, to its top left.
PixelRect KeepInside(PixelRect rect, PixelSize area);

// Where a drag that began on start and has moved the pointer by (dx, dy) leaves the frame: no
// smaller than minimum, never out of area (whose top left is 0, 0), the right edge staying put
// while the left one is dragged.
PixelRect DragFrame(const PixelRect& start, FrameDrag drag, int dx, int dy, PixelSize minimum,
                    PixelSize area);

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
    int height = 0;             // never changed by the layout
    bool visibleNow = true;     // as the box is before this layout
    bool visibleWanted = true;  // ToolNavUrlVisible
};

struct ToolbarLayoutInput {
    std::span<const ToolbarButton> buttons;
    // Per button, in pixels, the size its control has once this layout has given out the
    // pictures: a hidden button keeps the size it had (24 x 24 on a fresh window). Missing
    // entries count as the default picture.
    std::span<const PixelSize> buttonPixels;
    int outerHeight = 0;  // the window's outer height before this layout
    BorderStyle border = BorderStyle::None;
    BorderMetrics metrics;
    int screenWidth = 0;
    std::optional<UrlBoxState> urlBox;  // Tool Nav only
    LayoutPass pass = LayoutPass::First;
    // The button row that OuterHeight holds: the designed one on a fresh window, else the
    // row the last layout gave.
    int previousRowHeight = kDesignedRowHeight;
};

struct ButtonPlacement {
    int left = 0;
    bool visible = false;
};

struct UrlBoxPlacement {
    PixelRect bounds;
    bool visible = true;
};

struct ToolbarLayout {
    std::vector<ButtonPlacement> buttons;  // one per record, in index order
    int visibleCount = 0;
    int rowHeight = 0;                      // the tallest visible button
    PixelRect window;                       // outer rectangle, top right of the screen
    std::optional<UrlBoxPlacement> urlBox;  // set when the input has one
};

// One row of buttons from the left, hidden ones taking no room, the window as wide as the
// row plus its two vertical edges and as high as before, corrected by the change of the row
// height and by the address box appearing or disappearing.
ToolbarLayout LayOutToolbar(const ToolbarLayoutInput& input);

}  // namespace pagelark
