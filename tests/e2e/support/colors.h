#pragma once
// Colours shared by the page server and the screen reader: a page named after a colour is
// painted in exactly that colour, so the screen tells which page is on show.

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark::e2e {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline std::string ToHex(Rgb color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", color.r, color.g, color.b);
    return text;
}

// Rendering may round a channel by a step or two; nothing we compare is that close.
inline bool Near(Rgb a, Rgb b, int tolerance = 24) {
    auto close = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
    return close(a.r, b.r) && close(a.g, b.g) && close(a.b, b.b);
}

struct NamedColor {
    std::string_view name;
    Rgb rgb;
};

inline constexpr NamedColor kRed{"red", {0xff, 0x00, 0x00}};
inline constexpr NamedColor kGreen{"green", {0x00, 0xff, 0x00}};
inline constexpr NamedColor kBlue{"blue", {0x00, 0x00, 0xff}};
inline constexpr NamedColor kYellow{"yellow", {0xff, 0xff, 0x00}};
inline constexpr NamedColor kCyan{"cyan", {0x00, 0xff, 0xff}};
inline constexpr NamedColor kMagenta{"magenta", {0xff, 0x00, 0xff}};
inline constexpr NamedColor kOrange{"orange", {0xff, 0x80, 0x00}};
inline constexpr NamedColor kPurple{"purple", {0x80, 0x00, 0xff}};

inline constexpr std::array kPageColors{kRed,  kGreen,   kBlue,   kYellow,
                                        kCyan, kMagenta, kOrange, kPurple};

inline std::optional<Rgb> ColorByName(std::string_view name) {
    for (const auto& color : kPageColors)
        if (color.name == name) return color.rgb;
    return std::nullopt;
}

}  // namespace pagelark::e2e
