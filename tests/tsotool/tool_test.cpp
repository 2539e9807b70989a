// What the tool shows and saves is in the golden files; here its exits and side effects.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "run_tool.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

class ToolTest : public ::testing::Test {
  protected:
    testing::Outcome Run(const std::string& args) {
        return testing::RunTool(temp.path(), registryDir, args);
    }

    TempFolder temp;
    std::string registryDir = temp.File("registry");
};

TEST_F(ToolTest, ShowChangesNothing) {
    const std::string file = temp.Write("empty.tso", "");
    EXPECT_EQ(Run("show empty.tso").exitCode, 0);
    EXPECT_EQ(TempFolder::Read(file), "");  // no starter presentation written into it
    EXPECT_FALSE(std::filesystem::exists(registryDir));
}

TEST_F(ToolTest, FailuresExitWithOneAndNameThePath) {
    std::filesystem::create_directory(temp.File("folder.tso"));
    temp.Write("in.tso", "[Page1]\r\nURL=a\r\n");
    const struct {
        const char* args;
        const char* reason;
    } rows[] = {
        {"show missing.tso", "missing.tso': No such file"},
        {"show folder.tso", "folder.tso': Is a directory"},
        {"save in.tso nowhere/out.tso", "nowhere/out.tso'"},
    };
    for (const auto& row : rows) {
        const auto result = Run(row.args);
        EXPECT_EQ(result.exitCode, 1) << row.args;
        EXPECT_NE(result.err.find(row.reason), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(ToolTest, UsageErrorsExitWithTwo) {
    for (const char* args : {"", "show", "show a b", "save a", "frobnicate x", "--bogus"}) {
        const auto result = Run(args);
        EXPECT_EQ(result.exitCode, 2) << args;
        EXPECT_NE(result.err.find("usage:"), std::string::npos) << args;
    }
    EXPECT_EQ(Run("--help").exitCode, 0);
    const auto version = Run("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("pagelark-tso ", 0), 0u);
}

}  // namespace
}  // namespace pagelark
