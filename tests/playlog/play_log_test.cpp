#include "playlog/play_log.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <tuple>

#include "platform/clock.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "support/warning_log.h"

namespace pagelark::testing {
namespace {

struct FakeClock final : Clock {
    double now = DateTimeValue(2026, 3, 1, 23, 0);
    double Now() const override { return now; }
};

PlayRecord Record(std::string address, double seconds = 10.0) {
    return {.since = 1772406000.25,
            .zoneOffset = 3600,
            .seconds = seconds,
            .page = 2,
            .address = std::move(address),
            .loaded = true,
            .presentation = "/shows/a \"b\".tso",
            .version = "0123456789ab"};
}

std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream in(TempFolder::Read(path));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Any address, quotes, control characters and bytes that are no UTF-8 among them, gives one
// line of JSON that reads back as it was (the stray byte as Windows-1252 would show it).
TEST(PlayLogTest, ALineIsJsonThatReadsBackWhateverTheAddress) {
    const PlayRecord record = Record("http://s/\"q\"\\?\x01\t\n\x7F\xC3\xA9\xE9");
    const std::string line = PlayLogLine(record);
    EXPECT_EQ(
        line,
        "{\"shown\":\"2026-03-02T00:00:00+01:00\",\"since\":1772406000.250,\"seconds\":10.000,"
        "\"page\":2,\"address\":\"http://s/\\\"q\\\"\\\\?\\u0001\\t\\n\\u007f\xC3\xA9\xC3\xA9\","
        "\"loaded\":true,\"presentation\":\"/shows/a \\\"b\\\".tso\",\"version\":"
        "\"0123456789ab\"}");
    const auto back = ParsePlayLogLine(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(std::tuple(back->address, back->since, back->zoneOffset, back->page, back->loaded,
                         back->presentation),
              std::tuple(std::string("http://s/\"q\"\\?\x01\t\n\x7F\xC3\xA9\xC3\xA9"),
                         1772406000.25, 3600, 2, true, record.presentation));
    EXPECT_EQ(LocalIsoTime(1772406000.0, -34200), "2026-03-01T13:30:00-09:30");
    EXPECT_EQ(LocalIsoTime(-315619199.5, 3600), "1960-01-01T01:00:00+01:00");  // on every system
    EXPECT_EQ(LocalIsoTime(32535237600.0, 0), "3001-01-01T06:00:00+00:00");
    // Torn by a power cut, or anything but a line as written.
    for (const std::string& torn :
         {line.substr(0, line.size() - 1), line.substr(0, 40),
          std::string("{\"page\":01,\"since\":1}"), line + "x", std::string(),
          // Numbers out of range: a page past 32 bits, a time on show below 0, an overflow.
          std::string("{\"page\":99999999999,\"since\":1}"),
          std::string("{\"page\":1,\"since\":1,\"seconds\":-1}"),
          "{\"page\":1,\"since\":1" + std::string(400, '0') + "}"})
        EXPECT_FALSE(ParsePlayLogLine(torn)) << torn;
}

// A new file when a line would take it past the cap and when the day changes; the oldest of
// the rotated files go; also in a folder whose name is not ASCII (a profile's, on Windows).
TEST(PlayLogTest, RotatedBySizeAndDayAndCapped) {
    TempFolder temp;
    FakeClock clock;
    const std::string folder = temp.File("Jos\xC3\xA9/pagelark");
    const std::size_t line = PlayLogLine(Record("http://a/")).size() + 1;
    PlayLogFile log(folder, clock, {.maxBytes = 3 * line, .keep = 2});
    for (int i = 0; i < 4; ++i)
        log.PageShown(Record("http://a/"));
#ifndef _WIN32  // no permission bits
    EXPECT_EQ(ModeOf(folder), 0700u);
#endif
    EXPECT_EQ(std::tuple(Lines(folder + "/playlog.jsonl").size(),
                         Lines(folder + "/playlog.1.jsonl").size()),
              std::tuple(1u, 3u));
    clock.now += 1.0 / 24;  // midnight
    log.PageShown(Record("http://b/"));
    EXPECT_EQ(Lines(folder + "/playlog.jsonl").size(), 1u);
    clock.now += 1.0;
    log.PageShown(Record("http://c/"));
    EXPECT_EQ(PlayLogFiles(folder),
              (std::vector<std::string>{folder + "/playlog.2.jsonl", folder + "/playlog.1.jsonl",
                                        folder + "/playlog.jsonl"}));
    EXPECT_EQ(ParsePlayLogLine(Lines(folder + "/playlog.2.jsonl").at(0))->address, "http://a/");
    EXPECT_EQ(ParsePlayLogLine(Lines(folder + "/playlog.jsonl").at(0))->address, "http://c/");
    // Moved aside or removed behind its back: the next line starts a new file.
    ASSERT_EQ(RenameFile(folder + "/playlog.jsonl", folder + "/archived"), 0);
    log.PageShown(Record("http://d/"));
#ifdef _WIN32
    if (::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr)
        GTEST_SKIP() << "Wine keeps a removed file's name while it is open; Windows does not";
#endif
    ASSERT_EQ(RemoveFile(folder + "/playlog.jsonl"), 0);
    log.PageShown(Record("http://e/"));
    EXPECT_EQ(std::tuple(Lines(folder + "/archived").size(), Lines(folder + "/playlog.jsonl")),
              std::tuple(1u, std::vector<std::string>{PlayLogLine(Record("http://e/"))}));
}

// A rotation the system refuses (a reader holding the file without letting it be renamed on
// Windows, a folder in the way elsewhere) is said once; the lines go on in the current file and
// the rotation follows when it can, the older files kept.
TEST(PlayLogTest, ARefusedRotationKeepsEveryLineAndIsDoneLater) {
    TempFolder temp;
    FakeClock clock;
    const std::string folder = temp.File("pagelark");
    PlayLogFile log(folder, clock, {.keep = 2});
    log.PageShown(Record("http://a/"));
    clock.now += 1.0;
    log.PageShown(Record("http://b/"));
    WarningLog warnings;
    {
#ifdef _WIN32
        const std::filesystem::path path = folder + "/playlog.jsonl";
        const HANDLE reader =
            ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
#else
        std::filesystem::create_directories(folder + "/playlog.2.jsonl/in the way");
#endif
        for (const char* address : {"http://c/", "http://d/"}) {
            clock.now += 1.0;
            log.PageShown(Record(address));
        }
        EXPECT_TRUE(log.Writing());
        EXPECT_EQ(Lines(folder + "/playlog.jsonl").size(), 3u);
        EXPECT_EQ(warnings.lines.size(), 1u);
#ifdef _WIN32
        ::CloseHandle(reader);
#else
        std::filesystem::remove_all(folder + "/playlog.2.jsonl");
#endif
    }
    log.PageShown(Record("http://e/"));
    EXPECT_EQ(PlayLogFiles(folder).size(), 3u);
    EXPECT_EQ(Lines(folder + "/playlog.1.jsonl").size(), 3u);
    EXPECT_EQ(ParsePlayLogLine(Lines(folder + "/playlog.2.jsonl").at(0))->address, "http://a/");
}

// Said once; the show's lines still go on (to MQTT); written again once the folder takes them.
// A line torn before (a power cut) is left on a line of its own.
TEST(PlayLogTest, AFolderThatCannotBeWrittenIsSaidOnceAndWritingResumes) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows: chmod cannot take a folder's write permission away";
#else
    TempFolder temp;
    FakeClock clock;
    const std::string folder = temp.File("pagelark");
    temp.Write("pagelark/playlog.jsonl", "{\"torn");
    const bool root = ::geteuid() == 0;  // permissions do not bind root: a folder in the way
    if (root) std::filesystem::rename(folder + "/playlog.jsonl", folder + "/aside");
    if (root) std::filesystem::create_directory(folder + "/playlog.jsonl");
    ::chmod(folder.c_str(), 0500);
    WarningLog warnings;
    PlayLogFile log(folder, clock);
    int handed = 0;
    log.onLine = [&](const std::string&) { ++handed; };
    log.PageShown(Record("http://a/"));
    log.PageShown(Record("http://b/"));
    EXPECT_FALSE(log.Writing());
    ASSERT_EQ(warnings.lines.size(), 1u);
    EXPECT_NE(warnings.lines[0].find("playlog.jsonl: "), std::string::npos) << warnings.lines[0];
    ::chmod(folder.c_str(), 0700);
    if (root) std::filesystem::remove(folder + "/playlog.jsonl");
    if (root) std::filesystem::rename(folder + "/aside", folder + "/playlog.jsonl");
    log.PageShown(Record("http://c/"));
    EXPECT_TRUE(log.Writing());
    EXPECT_EQ(handed, 3);
    const auto lines = Lines(folder + "/playlog.jsonl");
    ASSERT_EQ(lines.size(), 2u) << TempFolder::Read(folder + "/playlog.jsonl");
    EXPECT_EQ(ParsePlayLogLine(lines[1])->address, "http://c/");
    EXPECT_EQ(warnings.lines.back(), "the play log is written again");
#endif
}

}  // namespace
}  // namespace pagelark::testing
