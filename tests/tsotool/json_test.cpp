#include "tsotool/json.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(StoredText, Utf8PassesAndOtherBytesAreWindows1252) {
    EXPECT_EQ(StoredTextToUtf8("caf\xc3\xa9"), "caf\xc3\xa9");
    EXPECT_EQ(StoredTextToUtf8("caf\xe9"), "caf\xc3\xa9");
    EXPECT_EQ(StoredTextToUtf8("\x80"), "\xe2\x82\xac");  // euro sign
    EXPECT_EQ(StoredTextToUtf8("\x81"), "\xc2\x81");      // unassigned: kept as a C1 control
    // A mix: the valid sequence stays, the stray byte is converted.
    EXPECT_EQ(StoredTextToUtf8("\xc3\xa9\xe9"), "\xc3\xa9\xc3\xa9");
    // Overlong forms, surrogates and truncated sequences are not UTF-8.
    EXPECT_EQ(StoredTextToUtf8("\xc0\xaf"), "\xc3\x80\xc2\xaf");
    EXPECT_EQ(StoredTextToUtf8("\xed\xa0\x80"), "\xc3\xad\xc2\xa0\xe2\x82\xac");
    EXPECT_EQ(StoredTextToUtf8("\xe2\x82"), "\xc3\xa2\xe2\x80\x9a");
    EXPECT_EQ(StoredTextToUtf8("\xf0\x9f\x98\x80"), "\xf0\x9f\x98\x80");
}

TEST(JsonString, EscapesWhatJsonRequires) {
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("\t\r\n\x01\x7f"), "\"\\t\\r\\n\\u0001\\u007f\"");
    EXPECT_EQ(JsonString("/"), "\"/\"");
}

}  // namespace
}  // namespace pagelark
