#include "ini/ini_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ini/stored_values.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;
using namespace std::literals;

class IniStoreTest : public ::testing::Test {
  protected:
    std::string Read(const std::string& file, std::string_view section, std::string_view key) {
        return store.ReadString(section, key, file);
    }
    std::string NewFile(std::string_view text) {
        return folder.Write("f" + std::to_string(++files) + ".ini", text);
    }
    struct Change {
        std::string_view section, key, value;
    };
    // The file holding before once the changes are flushed to it.
    std::string Changed(std::string_view before, std::initializer_list<Change> changes) {
        const std::string file = NewFile(before);
        for (const auto& c : changes)
            store.WriteString(c.section, c.key, c.value, file);
        EXPECT_TRUE(store.FlushIniCache(file));
        return TempFolder::Read(file);
    }

    TempFolder folder;
    IniStore store;
    int files = 0;
};

// Quotes, blanks, comments, duplicates and headers read through a presentation in the golden
// files (tests/golden); here what a presentation cannot show. Deleting a section and listing
// the section names serve the fuzzer only.
TEST_F(IniStoreTest, ReadingRules) {
    const std::string longValue(25000, 'v');
    EXPECT_EQ(Read(NewFile("[Main]\r\nMiXeD=case"), " MAIN\t", "  mixed "), "case");
    EXPECT_EQ(Read(NewFile("[s]\r\nlong=\"" + longValue + "\""), "s", "long"), longValue);
    // A section of many keys is looked up by an index; writes must land where reads look.
    std::string text = "[Long]\r\n";
    for (int i = 0; i < 40; ++i)
        text += " Key" + std::to_string(i) + " = " + std::to_string(i) + "\r\n";
    text += "key7=duplicate\r\n;key8=comment\r\n";
    const auto file = NewFile(text);
    EXPECT_EQ(Read(file, "long", "KEY7"), "7");
    store.WriteString("Long", "key40", "new", file);
    store.WriteString("Long", "KEY0", "zero", file);
    EXPECT_EQ(Read(file, "long", "key40"), "new");
    ASSERT_TRUE(store.FlushIniCache(file));
    const std::string written = TempFolder::Read(file);
    EXPECT_TRUE(written.starts_with("[Long]\r\nKey0=zero\r\n Key1 = 1\r\n"));
    EXPECT_TRUE(written.ends_with("key7=duplicate\r\nkey40=new\r\n;key8=comment\r\n"));
}

TEST_F(IniStoreTest, WritesChangeTheFirstMatchAndKeepEverythingElse) {
    // A replaced key keeps its spelling; the first of duplicates is the one changed.
    EXPECT_EQ(Changed("[S]\r\n  KeyName =  old  \r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\n",
                      {{" s ", "keyname", " new value "}, {"s", "K", "9"}}),
              "[S]\r\nKeyName= new value \r\nk=9\r\nk=2\r\n[s]\r\nk=3\r\n");
    // A new key follows the last key of its section; a new section is appended; a file of LF
    // lines keeps them.
    EXPECT_EQ(Changed("[A]\nk=1\nstray line\n; note\n\n[B]\nx=1\n",
                      {{"A", "new", "2"}, {" New\t", "k", "ab\0cd"sv}}),
              "[A]\nk=1\nnew=2\nstray line\n; note\n\n[B]\nx=1\n[New]\nk=ab\n");
    // Binary lines and every kind of line end survive a rewrite (which ends lines with CR LF
    // unless the first ends with LF alone).
    EXPECT_EQ(Changed("\xEF\xBB\xBF[A]\r\x01\0\xff=\0\r\r\nk=v\n\xff\xfe"s, {{"A", "k", "w"}}),
              "\xEF\xBB\xBF[A]\r\n\x01\0\xff=\0\r\n\r\nk=w\r\n\xff\xfe\r\n"s);
    // Writes that change nothing leave the file alone, LF line ends and all.
    EXPECT_EQ(Changed("[A]\nk=1\n", {{" \t", "k", "v"}, {"A", "", "v"}, {"A", "k", "1"}}),
              "[A]\nk=1\n");
    // Line breaks in a value become blanks; names that would end early are refused.
    EXPECT_EQ(Changed("[A]\r\nk=1\r\n", {{"A", "k", "x\r\n[Evil]\nk=2"},
                                         {"A]\r\n[B", "k", "v"},
                                         {"A", "a=b", "v"},
                                         {"A", "k\nj", "v"},
                                         {"a]b", "k", "v"}}),
              "[A]\r\nk=x  [Evil] k=2\r\n");
}

// Files saved as "Unicode" by Windows tools: read as their text, written back in their form.
TEST_F(IniStoreTest, UnicodeFilesAreReadAndKeepTheirForm) {
    const std::string le = "\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\xE9\0"s;  // [A] k=é
    const std::string be = "\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\0\xE9"s;
    for (const std::string& bytes : {le, be}) {
        const std::string file = NewFile(bytes);
        EXPECT_EQ(Read(file, "a", "K"), "\xC3\xA9");
    }
    // One character beyond the first 65536 needs two units.
    EXPECT_EQ(Changed(le, {{"A", "k", "\xF0\x9F\x98\x80"}}),
              "\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\x3D\xD8\x00\xDE\r\0\n\0"s);
    // A save replaces the whole text, still in the file's form.
    const std::string file = NewFile(be);
    store.ReplaceIniFile(file, {"[B]", "x=1"}, "\r\n");
    ASSERT_TRUE(store.FlushIniCache(file));
    EXPECT_EQ(TempFolder::Read(file),
              "\xFE\xFF\0[\0B\0]\0\r\0\n\0x\0=\0"
              "1\0\r\0\n"s);
}

TEST_F(IniStoreTest, PendingWritesAreSeenButReachTheDiskOnlyWhenFlushed) {
    const auto file = folder.Write("a.ini", "[A]\nk=1\n");
    store.WriteString("A", "k", "2", file);
    EXPECT_EQ(Read(file, "a", "k"), "2");
    EXPECT_EQ(TempFolder::Read(file), "[A]\nk=1\n");
    // Pending changes win over a change made on disk meanwhile, and over reads of many
    // other files.
    folder.Write("a.ini", "[A]\nk=changed outside\n");
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Read(NewFile("[A]\nk=o\n"), "A", "k"), "o");
    EXPECT_EQ(Read(file, "A", "k"), "2");
    EXPECT_TRUE(store.FlushIniCache(file));
    EXPECT_EQ(TempFolder::Read(file), "[A]\nk=2\n");
    // A clean copy follows the disk.
    folder.Write("a.ini", "[A]\nk=22\n");
    EXPECT_EQ(Read(file, "A", "k"), "22");
    {
        IniStore local;  // what is still pending when the store goes is written out
        local.WriteString("A", "k", "1", folder.File("late.ini"));
    }
    EXPECT_EQ(TempFolder::Read(folder.File("late.ini")), "[A]\r\nk=1\r\n");
}

// A write that cannot be made is dropped, and a file that cannot be read is never replaced.
TEST_F(IniStoreTest, FailedFlushesWriteNothing) {
    const auto lost = folder.File("no-such-folder/a.ini");
    store.WriteString("A", "k", "1", lost);
    EXPECT_FALSE(store.FlushIniCache(lost));
    EXPECT_EQ(Read(lost, "A", "k"), "");
    EXPECT_FALSE(std::filesystem::exists(folder.File("no-such-folder")));

    store.WriteString("A", "k", "1", folder.path());
    EXPECT_TRUE(store.FlushIniCache(folder.path()));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path()));

    const auto huge = NewFile("[A]\nk=1\n");
    std::filesystem::resize_file(huge, 65u * 1024u * 1024u);  // sparse, beyond the read cap
    store.WriteString("A", "k", "2", huge);
    EXPECT_TRUE(store.FlushIniCache(huge));
    EXPECT_EQ(std::filesystem::file_size(huge), 65u * 1024u * 1024u);
    std::string start(8, '\0');
    std::ifstream(huge, std::ios::binary).read(start.data(), 8);
    EXPECT_EQ(start, "[A]\nk=1\n");
}

// What words and numbers mean is in the golden file values.tso; here what a file cannot give.
TEST(Numbers, BlanksAroundANumberAndSixteenBitsForAnInteger) {
    EXPECT_EQ(ParseLong(" -17 ", 77), -17);  // as a store's value may stand
    // Hexadecimal is read as 32 bits first, so &hFFFF is 65535: out of range.
    EXPECT_EQ(ParseInteger("32768", 3), 3);
    EXPECT_EQ(ParseInteger("&hFFFF", 3), 3);
}

}  // namespace
}  // namespace pagelark
