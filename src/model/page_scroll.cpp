#include "model/page_scroll.h"

#include <algorithm>

#include "model/presentation.h"
#include "platform/text.h"

namespace pagelark {

std::optional<PageScroll> ParseScroll(std::string_view text) {
    text = TrimBlanksAndTabs(text);
    const auto isOneOf = [text](std::initializer_list<std::string_view> words) {
        return std::ranges::any_of(words, [text](auto word) { return EqualsNoCase(text, word); });
    };
    if (text.empty() || isOneOf({"No", "False", "Off"})) return PageScroll{};
    if (isOneOf({"Yes", "True", "On"})) return PageScroll{.paced = true};
    // Digits alone: "-1" is a true word elsewhere, but no speed.
    if (text.size() > 5 || !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int speed = 0;
    for (const char c : text)
        speed = speed * 10 + (c - '0');
    if (speed > kFastestScroll) return std::nullopt;
    return PageScroll{.pixelsPerSecond = speed};
}

PageScroll ScrollOf(const PresentationPage& page) {
    return ParseScroll(page.Scroll).value_or(PageScroll{});
}

}  // namespace pagelark
