#pragma once
// Text conventions shared by every stored value: trimming, case folding, the boolean words
// and number parsing. Stored text is bytes; case folding touches ASCII letters only.

#include <cstdint>
#include <string>
#include <string_view>

namespace pagelark {

std::string_view TrimBlanks(std::string_view text);         // spaces only
std::string_view TrimBlanksAndTabs(std::string_view text);  // spaces and tabs
std::string ToUpper(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

bool IsTrueWord(std::string_view text);
bool IsFalseWord(std::string_view text);
bool ParseBool(std::string_view text, bool defaultValue);
std::string BoolWord(bool value);

// Decimal (fractions rounded half to even) or "&h" hexadecimal read as a two's-complement
// 32-bit number; anything else, or a value out of range, gives defaultValue.
std::int32_t ParseLong(std::string_view text, std::int32_t defaultValue);
std::int16_t ParseInteger(std::string_view text, std::int16_t defaultValue);

// Appends one code point encoded as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// Cuts text at its first zero byte, as C strings handed over by the system are cut.
std::string CutAtNul(std::string_view text);

}  // namespace pagelark
