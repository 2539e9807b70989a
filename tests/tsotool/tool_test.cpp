// Runs the pagelark-tso binary in a folder, as an operator's script would.
//
// The golden files: every input in tests/golden against what the tool printed and
// saved for it before. NAME.tso gives NAME.json and NAME.saved.tso; NAME.reg, as the
// machine's store under an empty presentation, gives NAME.json, and a save leaves the store
// as it was; NAME.ini, as a managed file over an empty presentation, gives NAME.json and
// NAME.saved.tso. "{startup}" stands for the folder the tool runs in, with its separator; a file
// named windows*.tso is what the Windows version writes, and a save gives it back byte for
// byte.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <tuple>

#include "model/presentation.h"
#include "support/golden.h"
#include "support/temp_folder.h"
#include "tsotool/next_day.h"

namespace pagelark {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

struct Outcome {
    int exitCode;
    std::string out, err;
};

// args go through the shell; the settings store is folder/registry, the managed files are in
// folder/managed. The local time is Berlin's, whose clock changes.
Outcome RunTool(const std::string& folder, const std::string& args) {
    const std::string out = folder + "/stdout.txt", err = folder + "/stderr.txt";
    const int status =
        std::system(("cd '" + folder + "' && TZ=Europe/Berlin PAGELARK_REGISTRY_DIR='" + folder +
                     "/registry' " + "PAGELARK_MANAGED_DIR='" + folder +
                     "/managed' " PAGELARK_TSO_LAUNCHER " '" PAGELARK_TSO_BINARY "' " + args +
                     " >'" + out + "' 2>'" + err + "'")
                        .c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempFolder::Read(out),
            TempFolder::Read(err)};
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

TEST(GoldenFiles, ShowAndSaveGiveTheExpectedBytes) {
    int inputs = 0;
    for (const auto& entry : fs::directory_iterator(testing::GoldenFolder())) {
        const fs::path& input = entry.path();
        const std::string name = input.filename().string();
        const bool reg = input.extension() == ".reg", managed = input.extension() == ".ini";
        if ((!reg && !managed && input.extension() != ".tso") ||
            name.find(".saved.") != std::string::npos)
            continue;
        SCOPED_TRACE(name);
        ++inputs;
        TempFolder temp;
        const std::string registry = temp.File("registry");
        const std::string file = reg || managed ? "empty.tso" : name;
        const std::string startup = fs::canonical(temp.path()).string() + "/";
        const std::string bytes = TempFolder::Read(input.string());
        temp.Write(reg       ? "registry/machine.reg"
                   : managed ? "managed/" + name
                             : file,
                   Replaced(bytes, "{startup}", startup));
        if (reg || managed) temp.Write(file, "");

        auto shown = RunTool(temp.path(), "show '" + file + "'");
        ASSERT_EQ(shown.exitCode, 0) << shown.err;
        testing::CompareGolden(input.parent_path() / (input.stem().string() + ".json"),
                               Replaced(shown.out, startup, "{startup}"));

        const auto saved = RunTool(temp.path(), "save '" + file + "' out.tso");
        ASSERT_EQ(saved.exitCode, 0) << saved.err;
        // A save never changes the machine, whatever the file holds.
        if (reg) {
            EXPECT_EQ(TempFolder::Read(registry + "/machine.reg"),
                      TempFolder::Read(input.string()));
        } else {
            EXPECT_FALSE(fs::exists(registry)) << "the settings store was written";
            const std::string out =
                Replaced(TempFolder::Read(temp.File("out.tso")), startup, "{startup}");
            testing::CompareGolden(input.parent_path() / (input.stem().string() + ".saved.tso"),
                                   out);
            if (name.starts_with("windows")) {
                EXPECT_EQ(out, bytes);
            }
        }
    }
    EXPECT_GE(inputs, 14);
}

// That show leaves the settings store alone is the golden files' test's.
TEST(Tool, ShowWritesNoStarterAndFailuresExitWithOneOrForUsageTwo) {
    TempFolder temp;
    const std::string file = temp.Write("empty.tso", "");
    EXPECT_EQ(RunTool(temp.path(), "show empty.tso").exitCode, 0);
    EXPECT_EQ(TempFolder::Read(file), "");
    const std::pair<const char*, int> rows[] = {
        {"show missing.tso", 1},
        {"save empty.tso nowhere/out.tso", 1},
        {"", 2},
        {"frobnicate x", 2},
        {"next missing.tso", 1},
        {"next empty.tso --at '2026-02-30 10:00'", 2},
        {"next empty.tso --at '2026-03-29 02:30'", 2},  // the clock skips it
        {"next empty.tso --at tomorrow", 2},
    };
    for (const auto& [args, code] : rows) {
        const auto result = RunTool(temp.path(), args);
        EXPECT_EQ(result.exitCode, code) << args;
        EXPECT_EQ(result.out, "") << args;
        EXPECT_NE(result.err, "") << args;
    }
}

// The day ahead of schedule.tso from three moments: across midnight, and across the spring and
// the autumn change of the clock.
TEST(Tool, NextTellsThePagesDueAndTheScreensHoursOverTheDayAhead) {
    TempFolder temp;
    temp.Write("schedule.tso", TempFolder::Read(testing::GoldenFolder() + "/schedule.tso"));
    std::string out;
    for (const char* at : {"2026-06-05 06:00", "2026-03-28 20:00", "2026-10-24 20:00"}) {
        const auto next = RunTool(temp.path(), "next schedule.tso --at '" + std::string(at) + "'");
        ASSERT_EQ(next.exitCode, 0) << next.err;
        out += next.out;
    }
    testing::CompareGolden(testing::GoldenFolder() + "/schedule.next.txt", out);
    // A screen time that cannot be read is named, its control characters written out, and the
    // screen stays on; an idle or offline page the kiosk does not load is named, and the
    // program's own stands in.
    temp.Write("typo.tso",
               "[Tessaro]\nScreenOn=7\x1b[2Jam\nScreenOff=20:00\nIdlePage=htps://x/\n"
               "OfflinePage=about:x\n[Page1]\nURL=http://a/\nDays=Mon\n");
    const auto typo = RunTool(temp.path(), "next typo.tso --at '2026-06-05 06:00'");
    EXPECT_EQ(typo.exitCode, 0);
    EXPECT_PRED_FORMAT2(::testing::IsSubstring,
                        "ScreenOn cannot be \"7\\x1b[2Jam\", taken as the whole day", typo.err);
    EXPECT_EQ(typo.out.find("dark"), std::string::npos) << typo.out;
    EXPECT_PRED_FORMAT2(::testing::IsSubstring,
                        "no page due: a black page (the idle page htps://x/ cannot be shown: the "
                        "kiosk does not load \"htps:\" addresses)",
                        typo.out);
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "0001-01-01 00:00",
                        RunTool(temp.path(), "next typo.tso --at '0001-01-01 00:00'").out);
    // Past the years the system converts (on Windows past 3000): refused, never half a day.
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "the system cannot convert",
                        NextDayText({}, {}, std::numeric_limits<std::time_t>::max() / 2).Error());
    // The load names them all alike (ScreenOn above, IdlePage in the end-to-end schedule test).
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "typo.tso: OfflinePage \"about:x\" cannot be shown",
                        RunTool(temp.path(), "show typo.tso").err);
}

// A log and its rotated file in the state folder, read by default; a line torn by a power cut
// is left out with a note; a file named alone is read alone.
TEST(Tool, PlaylogSumsUpEachPageOfTheLogAndItsRotatedFiles) {
    TempFolder temp;
    const std::string sample = testing::GoldenFolder() + "/../tsotool/playlog/";
    for (const char* name : {"playlog.jsonl", "playlog.1.jsonl"})
        temp.Write(std::string("state/pagelark/") + name, TempFolder::Read(sample + name));
    ::setenv("XDG_STATE_HOME", temp.File("state").c_str(), 1);
    const auto all = RunTool(temp.path(), "playlog");
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "playlog.jsonl line 4 is no play log line",
                        all.err);
    testing::CompareGolden(sample + "summary.txt", all.out);
    const auto one = RunTool(temp.path(), "playlog state/pagelark/playlog.1.jsonl");
    EXPECT_EQ(std::tuple(one.exitCode, one.err), std::tuple(0, ""));
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "3 lines, from 2026-03-01T12:00:00+01:00", one.out);
    ::setenv("XDG_STATE_HOME", temp.File("nothing").c_str(), 1);
    EXPECT_EQ(RunTool(temp.path(), "playlog").exitCode, 1);
    // A file that is no play log is refused, said once, not line by line.
    temp.Write("show.tso", "[Tessaro]\nDefaultTime=10\n[Page1]\nURL=http://a/\n");
    const auto wrong = RunTool(temp.path(), "playlog show.tso");
    EXPECT_EQ(std::tuple(wrong.exitCode, wrong.out, wrong.err),
              std::tuple(1, "",
                         "pagelark-tso: cannot read 'show.tso': no line of it is one the "
                         "kiosk writes, so it is no play log\n"));
    ::unsetenv("XDG_STATE_HOME");
}

}  // namespace
}  // namespace pagelark
