#pragma once
// The boolean words and number parsing of stored values; trimming and case folding come
// from platform/text.h.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace pagelark {

// 1, -1, On, Yes, True and 0, Off, No, False, in any case and between blanks; any other text
// gives defaultValue.
bool ParseBool(std::string_view text, bool defaultValue);
std::string BoolWord(bool value);

// Decimal (fractions rounded half to even) or "&h" hexadecimal read as a two's-complement
// 32-bit number; anything else, or a value out of range, gives defaultValue.
std::int32_t ParseLong(std::string_view text, std::int32_t defaultValue);
std::int16_t ParseInteger(std::string_view text, std::int16_t defaultValue);

}  // namespace pagelark
