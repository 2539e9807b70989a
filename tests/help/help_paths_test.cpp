#include "help/help_paths.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(HelpPaths, PlaceholderIsReplacedEverywhereInExactCase) {
    EXPECT_EQ(ExpandTempPath("{TempPath}/Pagelark", "/tmp/my dir/"), "/tmp/my dir/Pagelark");
    EXPECT_EQ(ExpandTempPath("\"{TempPath}/a\" {TempPath}/b", "/t/"), "\"/t/a\" /t/b");
    EXPECT_EQ(ExpandTempPath("{temppath}/a", "/t/"), "{temppath}/a");
    EXPECT_EQ(ExpandTempPath("{TempPath}/a", ""), "a");  // no temporary folder known
}

}  // namespace
}  // namespace pagelark
