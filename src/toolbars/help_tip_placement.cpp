#include "toolbars/help_tip_placement.h"

#include <cmath>
#include <utility>

#include "ini/text.h"

namespace pagelark {
namespace {

constexpr int kTipBelowPointer = 18;  // pixels
constexpr int kTipLeftOfPointer = 2;
constexpr int kTipExtraWidth = 4;  // pixels of border around the label
constexpr int kTipExtraHeight = 2;

// Whole twips, halves to even, as the toolkit's integer conversion rounds.
std::int64_t WholeTwips(double twips) {
    return static_cast<std::int64_t>(std::llrint(twips));
}

std::string Padded(std::string_view text) {
    std::string padded;
    padded.reserve(text.size() + 2);
    padded += ' ';
    padded += text;
    padded += ' ';
    return padded;
}

}  // namespace

HelpTipRequest DecideHelpTip(std::string_view text, std::string_view currentTipText,
                             bool tipShownBefore) {
    const std::string_view trimmed = TrimBlanks(text);
    if (trimmed.empty()) {
        return {tipShownBefore ? HelpTipAction::Hide : HelpTipAction::Nothing, ""};
    }
    std::string tipText = Padded(trimmed);
    if (tipText == currentTipText) return {HelpTipAction::Nothing, ""};
    return {HelpTipAction::Place, std::move(tipText)};
}

std::string HelpTipLabelCaption(std::string_view tipText) {
    return Padded(tipText);
}

HelpTipPlacement PlaceHelpTip(const HelpTipPlacementInput& input) {
    HelpTipPlacement tip;
    // The vertical factor converts both coordinates; screens have square pixels anyway.
    const double factor = input.TwipsPerPixelY;
    tip.Top = WholeTwips((input.Pointer.Y + kTipBelowPointer) * factor);
    tip.Left = WholeTwips((input.Pointer.X - kTipLeftOfPointer) * factor);
    tip.Width = input.LabelWidth + static_cast<float>(kTipExtraWidth) * input.TwipsPerPixelX;
    tip.Height = input.LabelHeight + static_cast<float>(kTipExtraHeight) * input.TwipsPerPixelY;

    if (static_cast<double>(tip.Left) + tip.Width > input.ScreenWidth)
        tip.Left = WholeTwips(static_cast<double>(input.ScreenWidth) - tip.Width);
    if (static_cast<double>(tip.Top) + tip.Height > input.ScreenHeight)
        tip.Top = WholeTwips(static_cast<double>(input.ScreenHeight) - tip.Height);
    return tip;
}

bool PointerInsideWindow(const TwipsRect& window, PixelPoint pointer, float twipsPerPixelX,
                         float twipsPerPixelY) {
    const double x = pointer.X;
    const double y = pointer.Y;
    const double left = static_cast<double>(window.Left) / twipsPerPixelX;
    const double right = (static_cast<double>(window.Left) + window.Width) / twipsPerPixelX;
    const double top = static_cast<double>(window.Top) / twipsPerPixelY;
    const double bottom = (static_cast<double>(window.Top) + window.Height) / twipsPerPixelY;
    return left <= x && x <= right && top <= y && y <= bottom;
}

bool HelpTipMustHide(bool tipVisible, bool navigationMode, const TwipsRect& toolNav,
                     const TwipsRect& toolRun, PixelPoint pointer, float twipsPerPixelX,
                     float twipsPerPixelY) {
    if (!tipVisible) return false;
    const TwipsRect& inUse = navigationMode ? toolNav : toolRun;
    return !PointerInsideWindow(inUse, pointer, twipsPerPixelX, twipsPerPixelY);
}

}  // namespace pagelark
