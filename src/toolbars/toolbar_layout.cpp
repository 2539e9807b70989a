#include "toolbars/toolbar_layout.h"

#include <algorithm>

namespace pagelark {

int FormBorderWidth(BorderStyle style, const BorderMetrics& metrics) {
    int pixels = 0;
    switch (style) {
        case BorderStyle::None:
            pixels = 0;
            break;
        case BorderStyle::FixedSingle:
            pixels = metrics.borderPixels;
            break;
        case BorderStyle::Sizable:
        case BorderStyle::SizableToolWindow:
            pixels = metrics.framePixels;
            break;
        case BorderStyle::FixedDialog:
        case BorderStyle::FixedToolWindow:
            pixels = metrics.dialogFramePixels;
            break;
    }
    return pixels;
}

FrameDrag FrameDragAt(PixelSize outer, int edge, int caption, bool sizable, int x, int y) {
    if (x < 0 || y < 0 || x >= outer.width || y >= outer.height) return FrameDrag::None;
    if (sizable) {
        const bool left = x < edge;
        const bool bottom = y >= outer.height - edge;
        if (left && bottom) return FrameDrag::LeftBottom;
        if (left) return FrameDrag::Left;
        if (bottom) return FrameDrag::Bottom;
    }
    return y < edge + caption ? FrameDrag::Move : FrameDrag::None;
}

PixelRect KeepInside(PixelRect rect, PixelSize area) {
    rect.left = std::clamp(rect.left, 0, std::max(0, area.width - rect.width));
    rect.top = std::clamp(rect.top, 0, std::max(0, area.height - rect.height));
    return rect;
}

PixelRect DragFrame(const PixelRect& start, FrameDrag drag, int dx, int dy, PixelSize minimum,
                    PixelSize area) {
    PixelRect rect = start;
    switch (drag) {
        case FrameDrag::None:
            break;
        case FrameDrag::Move:
            rect.left += dx;
            rect.top += dy;
            break;
        case FrameDrag::Left:
        case FrameDrag::LeftBottom: {
            const int right = start.left + start.width;
            rect.left = std::clamp(start.left + dx, 0, std::max(0, right - minimum.width));
            rect.width = right - rect.left;
            if (drag == FrameDrag::Left) break;
            [[fallthrough]];
        }
        case FrameDrag::Bottom:
            rect.height = std::clamp(start.height + dy, minimum.height,
                                     std::max(minimum.height, area.height - start.top));
            break;
    }
    return KeepInside(rect, area);
}

ButtonPicture ChooseButtonPicture(LayoutPass pass, std::string_view icon, bool fileLoads) {
    if (icon.empty()) return ButtonPicture::Default;
    if (fileLoads) return ButtonPicture::File;
    return pass == LayoutPass::First ? ButtonPicture::Default : ButtonPicture::Unchanged;
}

ToolbarLayout LayOutToolbar(const ToolbarLayoutInput& input) {
    ToolbarLayout layout;
    layout.buttons.reserve(input.buttons.size());

    auto pixelsOf = [&](std::size_t i) {
        return i < input.buttonPixels.size() ? input.buttonPixels[i] : kDefaultPicturePixels;
    };

    int x = 0;
    int rowHeight = 0;
    for (std::size_t i = 0; i < input.buttons.size(); ++i) {
        const bool visible = input.buttons[i].Visible;
        layout.buttons.push_back({x, visible});
        if (!visible) continue;
        const PixelSize size = pixelsOf(i);
        ++layout.visibleCount;
        x += size.width;
        if (size.height > rowHeight) rowHeight = size.height;
    }

    // Taking the designed row off every time would let a window with a tall picture grow by
    // the difference at each re-layout.
    layout.rowHeight = rowHeight;
    int height = input.outerHeight - input.previousRowHeight + rowHeight;
    if (input.urlBox) {
        const UrlBoxState& box = *input.urlBox;
        if (input.pass == LayoutPass::First) {
            if (!box.visibleWanted) height -= box.height;
        } else if (box.visibleWanted != box.visibleNow) {
            height += box.visibleWanted ? box.height : -box.height;
        }
    }

    const int width = x + 2 * FormBorderWidth(input.border, input.metrics);
    layout.window = {input.screenWidth - width, 0, width, height};

    if (input.urlBox) {
        // Under button 0 whatever its height, even when that button is hidden.
        layout.urlBox = UrlBoxPlacement{{0, pixelsOf(0).height, width, input.urlBox->height},
                                        input.urlBox->visibleWanted};
    }
    return layout;
}

}  // namespace pagelark
