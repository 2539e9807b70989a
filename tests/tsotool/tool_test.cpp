// Runs the installed-to-be pagelark-tso binary as an operator's script would.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ToolTest : public ::testing::Test {
  protected:
    Outcome Run(const std::string& args) {
        const std::string errFile = temp.File("stderr.txt");
        const std::string command = "cd '" + temp.path() + "' && PAGELARK_REGISTRY_DIR='" +
                                    registryDir + "' '" PAGELARK_TSO_BINARY "' " + args + " 2>'" +
                                    errFile + "'";
        Outcome outcome;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) return outcome;
        std::array<char, 4096> buffer{};
        std::size_t n;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
            outcome.out.append(buffer.data(), n);
        const int status = ::pclose(pipe);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.err = TempFolder::Read(errFile);
        return outcome;
    }

    TempFolder temp;
    std::string registryDir = temp.File("registry");
};

TEST_F(ToolTest, ShowPrintsThePresentationAsTheKioskLoadsIt) {
    temp.Write("show.tso",
               "[Tessaro]\r\nHomeURL=http://home/\r\nSnap=Yes\r\nOnMouseMove=2\r\n"
               "[Page1]\r\nURL=http://a/\"q\"\r\n[Page2]\r\nURL=caf\xe9\r\nDefaultTime=No\r\n"
               "Time=4\r\n[Include1]\r\nURL=http://a/\r\n[ToolRunQuit]\r\nVisible=No\r\n"
               "[ToolNavBack]\r\nIcon=pics\\back.gif\r\nHelpTip=Go back\r\n");
    const Outcome result = Run("show show.tso");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string& out = result.out;
    EXPECT_EQ(out.rfind("{\n  \"HomeURL\": \"http://home/\",\n  \"AutoHome\": false,\n", 0), 0u)
        << out;
    EXPECT_NE(out.find("\"DefaultTime\": 1,"), std::string::npos);  // snapshot mode
    EXPECT_NE(out.find("\"OnMouseMove\": 2,"), std::string::npos);
    EXPECT_NE(out.find("{\"URL\": \"http://a/\\\"q\\\"\", \"UseDefaultTime\": true, \"Time\": 1}"),
              std::string::npos);
    EXPECT_NE(out.find("{\"URL\": \"caf\xc3\xa9\", \"UseDefaultTime\": false, \"Time\": 4}"),
              std::string::npos);
    EXPECT_NE(out.find("\"Include\": [\n    \"http://a/\"\n  ],\n  \"Exclude\": [],"),
              std::string::npos);
    EXPECT_NE(
        out.find("{\"Name\": \"Quit\", \"HelpTip\": \"Quit\", \"Icon\": \"\", \"Visible\": false}"),
        std::string::npos);
    const std::string icon = temp.path() + "/pics/back.gif";
    EXPECT_NE(out.find("{\"Name\": \"Back\", \"HelpTip\": \"Go back\", \"Icon\": \"" + icon +
                       "\", \"Visible\": true}"),
              std::string::npos);
    EXPECT_NE(out.find("\"ToolNavURL\": true\n}\n"), std::string::npos);
    // Keys come in their documented order.
    std::size_t at = 0;
    for (const char* key :
         {"HomeURL", "AutoHome", "AutoLoop", "DefaultTime", "WaitComplete", "MaxTime",
          "AllowRestrictions", "FirstPage", "ScreenSaveActive", "ScreenSaveTimeOut", "OnMouseMove",
          "Pages", "Include", "Exclude", "ToolRun", "ToolNav", "ToolNavURL"}) {
        const auto next = out.find("\n  \"" + std::string(key) + "\":", at);
        ASSERT_NE(next, std::string::npos) << key;
        at = next;
    }
}

TEST_F(ToolTest, ShowChangesNothing) {
    const std::string file = temp.Write("empty.tso", "");
    const Outcome result = Run("show empty.tso");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.out.find("\"Pages\": [],"), std::string::npos);
    EXPECT_EQ(TempFolder::Read(file), "");  // no starter presentation written into it
    EXPECT_FALSE(std::filesystem::exists(registryDir));
}

TEST_F(ToolTest, SaveWritesWhatTheEditorWouldSave) {
    temp.Write("in.tso", "[Page9]\r\nURL=http://a/\r\n[Tessaro]\r\nWaitComplete=No\r\n");
    const Outcome result = Run("save in.tso out.tso");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string saved = TempFolder::Read(temp.File("out.tso"));
    EXPECT_EQ(saved.rfind(";This is a Pagelark file\r\n", 0), 0u);
    EXPECT_NE(saved.find("[Page1]\r\nURL=http://a/\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("WaitComplete"), std::string::npos);
    EXPECT_NE(saved.find("[ToolNavURL]\r\nVisible=Yes\r\n"), std::string::npos);
    // The machine settings the editor stores went to the machine store.
    EXPECT_NE(TempFolder::Read(registryDir + "/machine.reg").find("\"AutoReboot\"=\"No\""),
              std::string::npos);
    // The saved file shows the same pages.
    const Outcome again = Run("show out.tso");
    EXPECT_NE(again.out.find("{\"URL\": \"http://a/\", \"UseDefaultTime\": true, \"Time\": 10}"),
              std::string::npos);
}

TEST_F(ToolTest, FailuresExitWithOneAndNameThePath) {
    Outcome result = Run("show missing.tso");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("missing.tso"), std::string::npos);
    EXPECT_NE(result.err.find("No such file"), std::string::npos);
    EXPECT_EQ(result.out, "");

    std::filesystem::create_directory(temp.File("folder.tso"));
    result = Run("show folder.tso");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("directory"), std::string::npos);

    temp.Write("in.tso", "[Page1]\r\nURL=a\r\n");
    result = Run("save in.tso nowhere/out.tso");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("nowhere/out.tso"), std::string::npos);
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
}

TEST_F(ToolTest, UsageErrorsExitWithTwo) {
    for (const char* args : {"", "show", "show a b", "save a", "frobnicate x", "--bogus"}) {
        const Outcome result = Run(args);
        EXPECT_EQ(result.exitCode, 2) << args;
        EXPECT_NE(result.err.find("usage:"), std::string::npos) << args;
    }
    EXPECT_EQ(Run("--help").exitCode, 0);
    const Outcome version = Run("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("pagelark-tso ", 0), 0u);
}

}  // namespace
}  // namespace pagelark
