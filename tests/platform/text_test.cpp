#include "platform/text.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(TextHelpers, CaseAndTrimming) {
    EXPECT_EQ(TrimBlanks("  a b \t"), "a b \t");
    EXPECT_EQ(TrimBlanksAndTabs(" \ta b \t"), "a b");
    EXPECT_TRUE(EqualsNoCase("Tessaro", "TESSARO"));
    EXPECT_FALSE(EqualsNoCase("Page", "Pages"));
    EXPECT_EQ(ToUpper("\xe9t\xe9"), "\xe9T\xe9");  // bytes above ASCII are left alone
    EXPECT_EQ(CutAtNul(std::string("ab\0cd", 5)), "ab");
}

}  // namespace
}  // namespace pagelark
