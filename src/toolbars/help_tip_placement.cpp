#include "toolbars/help_tip_placement.h"

#include <utility>

#include "ini/stored_values.h"
#include "platform/text.h"

namespace pagelark {
namespace {

constexpr int kTipBelowPointer = 18;
constexpr int kTipAbovePointer = 2;
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
    return StoredTextToUtf8(Padded(tipText));
}

PixelRect PlaceHelpTip(const HelpTipPlacementInput& input) {
    PixelRect tip{input.pointer.x - kTipLeftOfPointer, input.pointer.y + kTipBelowPointer,
                  input.labelWidth + kTipExtraWidth, input.labelHeight + kTipExtraHeight};
    if (tip.left + tip.width > input.screenWidth) tip.left = input.screenWidth - tip.width;
    // Above the pointer rather than pushed up under it, over the buttons it could reach.
    if (tip.top + tip.height > input.screenHeight)
        tip.top = input.pointer.y - kTipAbovePointer - tip.height;
    return tip;
}

bool PointerInsideWindow(const PixelRect& window, PixelPoint pointer) {
    return window.left <= pointer.x && pointer.x <= window.left + window.width &&
           window.top <= pointer.y && pointer.y <= window.top + window.height;
}

bool HelpTipMustHide(bool tipVisible, bool navigationMode, const PixelRect& toolNav,
                     const PixelRect& toolRun, PixelPoint pointer) {
    if (!tipVisible) return false;
    return !PointerInsideWindow(navigationMode ? toolNav : toolRun, pointer);
}

}  // namespace pagelark
