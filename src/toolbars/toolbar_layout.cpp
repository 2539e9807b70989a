#include "toolbars/toolbar_layout.h"

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
