#include "model/address_scheme.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace pagelark {

namespace {

// Equal in any letter case; lower is in lower case.
bool SameLetters(std::string_view text, std::string_view lower) {
    return std::ranges::equal(text, lower, [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

}  // namespace

bool SchemeLoads(std::string_view scheme) {
    static constexpr std::array<std::string_view, 12> kLoaded = {
        "http",        "https",  "file",     "about",           "data",        "blob", "qrc",
        "view-source", "chrome", "devtools", "chrome-devtools", "chrome-error"};
    return std::ranges::any_of(
        kLoaded, [scheme](std::string_view loaded) { return SameLetters(scheme, loaded); });
}

std::string_view SchemeOf(std::string_view address) {
    const std::size_t colon = address.find(':');
    if (colon == std::string_view::npos || colon == 0) return {};
    const std::string_view scheme = address.substr(0, colon);
    if (std::isalpha(static_cast<unsigned char>(scheme[0])) == 0) return {};
    const bool valid = std::ranges::all_of(scheme, [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '+' || c == '-' || c == '.';
    });
    return valid ? scheme : std::string_view{};
}

std::string WhyNotLoaded(std::string_view address) {
    const std::string_view scheme = SchemeOf(address);
    if (scheme.empty()) return {};
    if (!SchemeLoads(scheme))
        return "the kiosk does not load \"" + std::string(scheme) + ":\" addresses";
    // The engine blocks every "about:" page but the blank one, showing a white page instead.
    std::string_view name = address.substr(scheme.size() + 1);
    name = name.substr(0, name.find_first_of("?#"));
    if (SameLetters(scheme, "about") && !SameLetters(name, "blank"))
        return "the kiosk shows no \"about:\" page but about:blank";
    return {};
}

bool EngineBlocked(std::string_view address) {
    return SameLetters(address, "about:blank#blocked");
}

}  // namespace pagelark
