#include "core/command_line.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

constexpr std::string_view kDefault = "/home/k/Documents/Pagelark.TSO";

TEST(CommandLine, EmptyOrConfigNamesTheDefaultFile) {
    EXPECT_EQ(ParseCommandLine("", kDefault), kDefault);
    EXPECT_EQ(ParseCommandLine("   ", kDefault), kDefault);
    EXPECT_EQ(ParseCommandLine(" config ", kDefault), kDefault);
}

TEST(CommandLine, PathsWithBlanksAndQuotes) {
    EXPECT_EQ(ParseCommandLine("\"/srv/My Files/show.TSO\" -x", kDefault),
              "/srv/My Files/show.TSO");
    EXPECT_EQ(ParseCommandLine("/srv/My Files/show.TSO", kDefault), "/srv/My Files/show.TSO");
    EXPECT_EQ(ParseCommandLine("/srv/show.tso", kDefault), "/srv/show.tso");
    // A switch is taken as the path itself; it normally names no file.
    EXPECT_EQ(ParseCommandLine("/C", kDefault), "/C");
    EXPECT_EQ(ParseCommandLine("\"unterminated", kDefault), "\"unterminated");
}

TEST(CommandLine, ArgumentsAreJoinedAsTheRawLine) {
    const std::string raw = JoinArguments({"/srv/My Shows/a.tso", "-x"});
    EXPECT_EQ(raw, "\"/srv/My Shows/a.tso\" -x");
    EXPECT_EQ(ParseCommandLine(raw, kDefault), "/srv/My Shows/a.tso");
    // A path the shell split at its blank comes back whole.
    EXPECT_EQ(ParseCommandLine(JoinArguments({"/srv/My", "Shows/a.tso"}), kDefault),
              "/srv/My Shows/a.tso");
    EXPECT_EQ(JoinArguments({}), "");
}

TEST(CommandLine, ConfigurationRequests) {
    for (const char* line : {"CONFIG", " config ", "/C", "-c", "/c:1234", "/config", "-Cx"})
        EXPECT_TRUE(IsConfigCommandLine(line)) << line;
    for (const char* line : {"", "CONFIGURE", "/srv/show.tso", "c", "x /C"})
        EXPECT_FALSE(IsConfigCommandLine(line)) << line;
}

}  // namespace
}  // namespace pagelark
