#include "toolbars/help_tip_placement.h"

#include <utility>

#include "ini/text.h"

namespace pagelark {
namespace {

constexpr int kTipBelowPointer = 18;
constexpr int kTipLeftOfPointer = 2;
constexpr int kTipExtraWidth = 4;  // border around the label
constexpr int kTipExtraHeight = 2;

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

PixelRect PlaceHelpTip(const HelpTipPlacementInput& input) {
    PixelRect tip{input.Pointer.X - kTipLeftOfPointer, input.Pointer.Y + kTipBelowPointer,
                  input.LabelWidth + kTipExtraWidth, input.LabelHeight + kTipExtraHeight};
    if (tip.Left + tip.Width > input.ScreenWidth) tip.Left = input.ScreenWidth - tip.Width;
    if (tip.Top + tip.Height > input.ScreenHeight) tip.Top = input.ScreenHeight - tip.Height;
    return tip;
}

bool PointerInsideWindow(const PixelRect& window, PixelPoint pointer) {
    return window.Left <= pointer.X && pointer.X <= window.Left + window.Width &&
           window.Top <= pointer.Y && pointer.Y <= window.Top + window.Height;
}

bool HelpTipMustHide(bool tipVisible, bool navigationMode, const PixelRect& toolNav,
                     const PixelRect& toolRun, PixelPoint pointer) {
    if (!tipVisible) return false;
    return !PointerInsideWindow(navigationMode ? toolNav : toolRun, pointer);
}

}  // namespace pagelark
