#include "ini/text.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(BoolWords, WordsIgnoreCaseAndBlanksAndOthersGiveTheDefault) {
    const struct {
        const char* text;
        int meaning;  // 1 true, 0 false, -1 no word (the default)
    } rows[] = {
        {"-1", 1},  {" YES ", 1}, {"on", 1}, {"0", 0}, {"FALSE ", 0},
        {"off", 0}, {"y", -1},    {"2", -1}, {"", -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ParseBool(row.text, true), row.meaning != 0) << row.text;
        EXPECT_EQ(ParseBool(row.text, false), row.meaning == 1) << row.text;
    }
}

TEST(Numbers, DecimalRoundsHalfToEvenAndHexIsTwosComplement) {
    const std::pair<const char*, std::int32_t> numbers[] = {
        {"  -17 ", -17}, {"&H12c", 300}, {"&hFFFFFFFF", -1},        {"2.5", 2},
        {"3.5", 4},      {"-2.5", -2},   {"2147483647", INT32_MAX},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(ParseLong(text, 77), value) << text;
    // More than 32 bits, out of range (after rounding) or no number at all.
    for (const char* text : {"", "&h100000000", "2147483648", "2147483647.5", "12abc", "1e3"})
        EXPECT_EQ(ParseLong(text, 77), 77) << text;
    // 16 bits; hexadecimal is read as 32 bits first, so &hFFFF is 65535: out of range.
    EXPECT_EQ(ParseInteger("32768", 3), 3);
    EXPECT_EQ(ParseInteger("&hFFFF", 3), 3);
    EXPECT_EQ(ParseInteger("&hFFFFFFFF", 3), -1);
}

}  // namespace
}  // namespace pagelark
