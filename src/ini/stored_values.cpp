#include "ini/stored_values.h"

#include <array>
#include <optional>

namespace pagelark {
namespace {

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> words) {
    const std::string normal = ToUpper(TrimBlanks(text));
    for (auto word : words) {
        if (normal == word) return true;
    }
    return false;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of text as a whole number, or nothing when it does not convert.
std::optional<std::int64_t> ParseWhole(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) return std::nullopt;
    if (text.size() > 2 && text[0] == '&' && UpperAscii(text[1]) == 'H') {
        const auto digits = text.substr(2);
        if (digits.size() > 8) return std::nullopt;
        std::uint32_t value = 0;
        for (char c : digits) {
            const int v = HexDigitValue(c);
            if (v < 0) return std::nullopt;
            value = value * 16u + static_cast<std::uint32_t>(v);
        }
        return static_cast<std::int32_t>(value);
    }
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        text = TrimBlanks(text.substr(1));
    }
    const auto point = text.find('.');
    const auto whole = text.substr(0, point);
    const auto fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (whole.empty() && fraction.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : whole) {
        if (!IsDigit(c)) return std::nullopt;
        if (value > (std::int64_t{1} << 40)) return std::nullopt;  // far out of any range
        value = value * 10 + (c - '0');
    }
    for (char c : fraction) {
        if (!IsDigit(c)) return std::nullopt;
    }
    if (!fraction.empty()) {
        const int first = fraction[0] - '0';
        const bool restNonZero = fraction.find_first_not_of('0', 1) != std::string_view::npos;
        if (first > 5 || (first == 5 && (restNonZero || value % 2 == 1))) ++value;
    }
    return negative ? -value : value;
}

bool IsTrueWord(std::string_view text) {
    return IsOneOf(text, {"1", "-1", "ON", "YES", "TRUE"});
}

bool IsFalseWord(std::string_view text) {
    return IsOneOf(text, {"0", "OFF", "NO", "FALSE"});
}

}  // namespace

bool ParseBool(std::string_view text, bool defaultValue) {
    if (IsTrueWord(text)) return true;
    if (IsFalseWord(text)) return false;
    return defaultValue;
}

std::string BoolWord(bool value) {
    return value ? "Yes" : "No";
}

std::int32_t ParseLong(std::string_view text, std::int32_t defaultValue) {
    const auto value = ParseWhole(text);
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return defaultValue;
    return static_cast<std::int32_t>(*value);
}

std::int16_t ParseInteger(std::string_view text, std::int16_t defaultValue) {
    const auto value = ParseWhole(text);
    if (!value || *value < INT16_MIN || *value > INT16_MAX) return defaultValue;
    return static_cast<std::int16_t>(*value);
}

}  // namespace pagelark
