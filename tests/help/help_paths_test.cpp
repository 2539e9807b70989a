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

TEST(HelpPaths, StartPagesLiveInTheHelpFolder) {
    const HelpDocumentList docs = BuildHelpDocuments("/run/user/1000/");
    EXPECT_EQ(docs[0], "/run/user/1000/Pagelark/index.html");
    EXPECT_EQ(docs[1], "/run/user/1000/Pagelark/pagelark.html");
    EXPECT_EQ(docs[2], "/run/user/1000/Pagelark/link.html");
    EXPECT_EQ(docs[3], "/run/user/1000/Pagelark/documentation.html");
}

}  // namespace
}  // namespace pagelark
