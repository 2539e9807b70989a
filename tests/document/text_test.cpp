#include "document/text.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(BoolWords, WordsIgnoreCaseAndBlanksAndOthersGiveTheDefault) {
    const struct {
        const char* text;
        int meaning;  // 1 true, 0 false, -1 no word (the default)
    } rows[] = {
        {"1", 1},   {"-1", 1},  {"on", 1},          {" YES ", 1},  {"True", 1}, {"0", 0},
        {"off", 0}, {" No", 0}, {"FALSE ", 0},      {"\tyes", -1},  // tabs are not blanks
        {"y", -1},  {"2", -1},  {"yes please", -1}, {"", -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ParseBool(row.text, true), row.meaning != 0) << row.text;
        EXPECT_EQ(ParseBool(row.text, false), row.meaning == 1) << row.text;
    }
    EXPECT_EQ(BoolWord(true) + BoolWord(false), "YesNo");
}

TEST(Numbers, DecimalRoundsHalfToEvenAndHexIsTwosComplement) {
    const std::pair<const char*, std::int32_t> numbers[] = {
        {"42", 42},
        {"  -17 ", -17},
        {"+8", 8},
        {"007", 7},
        {"&h0000012C", 300},
        {"&H12c", 300},
        {"&hFFFFFFFF", -1},
        {"&h80000000", INT32_MIN},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"-3.5", -4},
        {"2.50001", 3},
        {"2.4999", 2},
        {".5", 0},
        {"1.", 1},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(ParseLong(text, 77), value) << text;
    // More than 32 bits, out of range (after rounding) or no number at all.
    for (const char* text : {"", "   ", "&h100000000", "&h", "&hXYZ", ".", "2147483648",
                             "-2147483649", "2147483647.5", "99999999999999999999999999", "abc",
                             "12abc", "1 2", "1e3", "0x10", "--1", "1,000", "-&h1"})
        EXPECT_EQ(ParseLong(text, 77), 77) << text;
    // 16 bits; hexadecimal is read as 32 bits first, so &hFFFF is 65535: out of range.
    const std::pair<const char*, std::int16_t> shorts[] = {{"32767", 32767},   {"-32768", -32768},
                                                           {"32768", 3},       {"&hFFFF", 3},
                                                           {"&hFFFFFFFF", -1}, {"1.5", 2}};
    for (const auto& [text, value] : shorts)
        EXPECT_EQ(ParseInteger(text, 3), value) << text;
}

}  // namespace
}  // namespace pagelark
