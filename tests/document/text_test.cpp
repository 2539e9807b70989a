#include "document/text.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(BoolWords, TrueAndFalseWordsIgnoreCaseAndBlanks) {
    for (const char* word : {"1", "-1", "on", " YES ", "True", "  yes  "})
        EXPECT_TRUE(IsTrueWord(word)) << word;
    for (const char* word : {"0", "off", " No", "FALSE "})
        EXPECT_TRUE(IsFalseWord(word)) << word;
    // Tabs are not blanks, and other spellings are no words at all.
    for (const char* word : {"\tyes", "y", "2", "yes please", ""}) {
        EXPECT_FALSE(IsTrueWord(word)) << word;
        EXPECT_FALSE(IsFalseWord(word)) << word;
    }
}

TEST(BoolWords, UnknownWordGivesTheDefault) {
    EXPECT_TRUE(ParseBool(" yes ", false));
    EXPECT_FALSE(ParseBool("no", true));
    EXPECT_TRUE(ParseBool("", true));
    EXPECT_FALSE(ParseBool("", false));
    EXPECT_TRUE(ParseBool("maybe", true));
    EXPECT_EQ(BoolWord(true), "Yes");
    EXPECT_EQ(BoolWord(false), "No");
}

TEST(ParseLong, DecimalWithSignAndBlanks) {
    EXPECT_EQ(ParseLong("42", 0), 42);
    EXPECT_EQ(ParseLong("  -17 ", 0), -17);
    EXPECT_EQ(ParseLong("+8", 0), 8);
    EXPECT_EQ(ParseLong("007", 0), 7);
    EXPECT_EQ(ParseLong("", 5), 5);
    EXPECT_EQ(ParseLong("   ", 5), 5);
}

TEST(ParseLong, HexadecimalIsTwosComplement) {
    EXPECT_EQ(ParseLong("&h0000012C", 0), 300);
    EXPECT_EQ(ParseLong("&H12c", 0), 300);
    EXPECT_EQ(ParseLong("&hFFFFFFFF", 0), -1);
    EXPECT_EQ(ParseLong("&h80000000", 0), INT32_MIN);
    EXPECT_EQ(ParseLong("&h100000000", 9), 9);  // more than 32 bits
    EXPECT_EQ(ParseLong("&h", 9), 9);
    EXPECT_EQ(ParseLong("&hXYZ", 9), 9);
}

TEST(ParseLong, FractionsRoundHalfToEven) {
    EXPECT_EQ(ParseLong("2.5", 0), 2);
    EXPECT_EQ(ParseLong("3.5", 0), 4);
    EXPECT_EQ(ParseLong("-2.5", 0), -2);
    EXPECT_EQ(ParseLong("-3.5", 0), -4);
    EXPECT_EQ(ParseLong("2.50001", 0), 3);
    EXPECT_EQ(ParseLong("2.4999", 0), 2);
    EXPECT_EQ(ParseLong(".5", 7), 0);
    EXPECT_EQ(ParseLong("1.", 7), 1);
    EXPECT_EQ(ParseLong(".", 7), 7);
}

TEST(ParseLong, OutOfRangeOrNotANumberGivesTheDefault) {
    EXPECT_EQ(ParseLong("2147483647", 0), INT32_MAX);
    EXPECT_EQ(ParseLong("2147483648", 1), 1);
    EXPECT_EQ(ParseLong("-2147483648", 0), INT32_MIN);
    EXPECT_EQ(ParseLong("-2147483649", 1), 1);
    EXPECT_EQ(ParseLong("2147483647.5", 1), 1);  // rounds out of range
    EXPECT_EQ(ParseLong("99999999999999999999999999", 1), 1);
    for (const char* text : {"abc", "12abc", "1 2", "1e3", "0x10", "--1", "1,000", "-&h1"})
        EXPECT_EQ(ParseLong(text, 77), 77) << text;
}

TEST(ParseInteger, SixteenBitRange) {
    EXPECT_EQ(ParseInteger("32767", 0), 32767);
    EXPECT_EQ(ParseInteger("-32768", 0), -32768);
    EXPECT_EQ(ParseInteger("32768", 3), 3);
    // Hexadecimal is read as a 32-bit number first, so &hFFFF is 65535: out of range.
    EXPECT_EQ(ParseInteger("&hFFFF", 3), 3);
    EXPECT_EQ(ParseInteger("&hFFFFFFFF", 3), -1);
    EXPECT_EQ(ParseInteger("1.5", 0), 2);
}

TEST(TextHelpers, CaseAndTrimming) {
    EXPECT_EQ(TrimBlanks("  a b \t"), "a b \t");
    EXPECT_EQ(TrimBlanksAndTabs(" \ta b \t"), "a b");
    EXPECT_TRUE(EqualsNoCase("Tessaro", "TESSARO"));
    EXPECT_FALSE(EqualsNoCase("Page", "Pages"));
    EXPECT_TRUE(StartsWithNoCase("page_7", "PAGE"));
    EXPECT_EQ(ToUpper("\xe9t\xe9"), "\xe9T\xe9");  // bytes above ASCII are left alone
    EXPECT_EQ(CutAtNul(std::string("ab\0cd", 5)), "ab");
}

}  // namespace
}  // namespace pagelark
