#include "toolbars/toolbar_layout.h"

namespace pagelark {

int FormBorderWidth(BorderStyle style, const BorderMetrics& metrics) {
    int pixels = 0;
    switch (style) {
        case BorderStyle::None:
            pixels = 0;
            break;
        case BorderStyle::FixedSingle:
            pixels = metrics.BorderPixels;
            break;
        case BorderStyle::Sizable:
        case BorderStyle::SizableToolWindow:
            pixels = metrics.FramePixels;
            break;
        case BorderStyle::FixedDialog:
        case BorderStyle::FixedToolWindow:
            pixels = metrics.DialogFramePixels;
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
    layout.Buttons.reserve(input.Buttons.size());

    auto pixelsOf = [&](std::size_t i) {
        return i < input.ButtonPixels.size() ? input.ButtonPixels[i] : kDefaultPicturePixels;
    };

    int x = 0;
    int rowHeight = 0;
    for (std::size_t i = 0; i < input.Buttons.size(); ++i) {
        const bool visible = input.Buttons[i].Visible;
        layout.Buttons.push_back({x, visible});
        if (!visible) continue;
        const PixelSize size = pixelsOf(i);
        ++layout.VisibleCount;
        x += size.Width;
        if (size.Height > rowHeight) rowHeight = size.Height;
    }

    // Taking the designed row off every time would let a window with a tall picture grow by
    // the difference at each re-layout.
    layout.RowHeight = rowHeight;
    int height = input.OuterHeight - input.PreviousRowHeight + rowHeight;
    if (input.UrlBox) {
        const UrlBoxState& box = *input.UrlBox;
        if (input.Pass == LayoutPass::First) {
            if (!box.VisibleWanted) height -= box.Height;
        } else if (box.VisibleWanted != box.VisibleNow) {
            height += box.VisibleWanted ? box.Height : -box.Height;
        }
    }

    const int width = x + 2 * FormBorderWidth(input.Border, input.Metrics);
    layout.Window = {input.ScreenWidth - width, 0, width, height};

    if (input.UrlBox) {
        // Under button 0 whatever its height, even when that button is hidden.
        layout.UrlBox = UrlBoxPlacement{{0, pixelsOf(0).Height, width, input.UrlBox->Height},
                                        input.UrlBox->VisibleWanted};
    }
    return layout;
}

}  // namespace pagelark
