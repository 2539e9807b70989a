#include "model/address_scheme.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace pagelark {

bool SchemeLoads(std::string_view scheme) {
    static constexpr std::array<std::string_view, 12> kLoaded = {
        "http",        "https",  "file",     "about",           "data",        "blob", "qrc",
        "view-source", "chrome", "devtools", "chrome-devtools", "chrome-error"};
    return std::ranges::any_of(kLoaded, [scheme](std::string_view loaded) {
        return std::ranges::equal(scheme, loaded, [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == b;
        });
    });
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
    if (scheme.empty() || SchemeLoads(scheme)) return {};
    return "the kiosk does not load \"" + std::string(scheme) + ":\" addresses";
}

}  // namespace pagelark
