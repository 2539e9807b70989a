#include "document/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

std::vector<std::string> Walk(std::string_view list, std::string_view separator) {
    std::vector<std::string> items;
    ItemWalker walker(list, separator);
    for (std::string item; walker.Next(item);)
        items.push_back(item);
    return items;
}
using namespace std::literals;

class ProfileTest : public ::testing::Test {
  protected:
    std::string Read(const std::string& file, std::string_view section, std::string_view key) {
        return store.ReadString(section, key, file);
    }
    // A new file holding text.
    std::string NewFile(std::string_view text) {
        return folder.Write("f" + std::to_string(++files) + ".ini", text);
    }
    // A write, or with no value a section deletion.
    struct Change {
        std::string_view section, key;
        std::optional<std::string_view> value = std::nullopt;
    };
    // The file holding before once the changes are flushed to it.
    std::string Changed(std::string_view before, std::initializer_list<Change> changes) {
        const std::string file = NewFile(before);
        for (const auto& c : changes) {
            if (c.value) {
                store.WriteString(c.section, c.key, *c.value, file);
            } else {
                store.DeleteProfileSection(c.section, file);
            }
        }
        EXPECT_TRUE(store.FlushProfileCache(file));
        return TempFolder::Read(file);
    }

    TempFolder folder;
    ProfileStore store;
    int files = 0;
};

// --- reading -------------------------------------------------------------------------------

TEST_F(ProfileTest, ReadingRules) {
    const std::string longValue(25000, 'v');
    const struct {
        std::string text;
        std::string_view section, key;
        std::string value;
    } rows[] = {
        // Quotes, blanks, comments, duplicates and headers read through a presentation in
        // the golden files (tests/document/data); these a presentation cannot show.
        {"[Main]\r\nMiXeD=case", " MAIN\t", "  mixed ", "case"},
        {"[Main]\r\n#hash=2", "Main", "#hash", "2"},
        {"[x]\r\n[open=5", "x", "[open", "5"},
        {"[s]\r\nlong=\"" + longValue + "\"", "s", "long", longValue.substr(0, kProfileValueLimit)},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Read(NewFile(row.text), row.section, row.key), row.value)
            << row.text.substr(0, 60) << " [" << row.section << "] " << row.key;
    }
    // A section of many keys is looked up by an index that must follow the same rules.
    std::string text = "[Long]\r\n";
    for (int i = 0; i < 40; ++i)
        text += " Key" + std::to_string(i) + " = " + std::to_string(i) + "\r\n";
    text += "key7=duplicate\r\n;key8=comment\r\n\r\n";
    const auto file = NewFile(text);
    EXPECT_EQ(Read(file, "long", "KEY7"), "7");
    EXPECT_EQ(Read(file, "long", "key39"), "39");
    store.WriteString("Long", "key40", "new", file);
    store.WriteString("Long", "KEY0", "zero", file);
    EXPECT_EQ(Read(file, "long", "key40"), "new");
    store.WriteString("long", "key41", "newer", file);
    ASSERT_TRUE(store.FlushProfileCache(file));
    const std::string written = TempFolder::Read(file);
    EXPECT_TRUE(written.starts_with("[Long]\r\nKey0=zero\r\n Key1 = 1\r\n"));
    EXPECT_TRUE(
        written.ends_with("key7=duplicate\r\nkey40=new\r\nkey41=newer\r\n;key8=comment\r\n\r\n"));
}

TEST_F(ProfileTest, SectionNamesAreListedInFileOrder) {
    EXPECT_EQ(ReadSectionNames(NewFile("[ Spaced Name ]\r\n[]\r\n  \t[Indented] x\r\n[unclosed\r\n"
                                       "[x]y]\r\n[ ]\r\n"),
                               "|"),
              " Spaced Name |Indented|x| |");  // inner blanks kept, "[]" left out, "[ ]" kept
    EXPECT_EQ(ReadSectionNames(NewFile("\xEF\xBB\xBF[a]\rk=1\r[b]"), ","), "a,b,");
    EXPECT_EQ(ReadSectionNames(folder.path(), ","), "");
    EXPECT_EQ(ReadSectionNames(folder.File("missing.ini"), ","), "");
}

// --- where writes go -----------------------------------------------------------------------

TEST_F(ProfileTest, WritesChangeTheFirstMatchAndKeepEverythingElse) {
    // A replaced key keeps its spelling; the first of duplicates is the one changed.
    EXPECT_EQ(Changed("[S]\r\n  KeyName =  old  \r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\n",
                      {{" s ", "keyname", " new value "}, {"s", "K", "9"}}),
              "[S]\r\nKeyName= new value \r\nk=9\r\nk=2\r\n[s]\r\nk=3\r\n");
    // A new key follows the last key of its section; comments and blanks stay at the end.
    EXPECT_EQ(Changed("[A]\nk=1\nstray line\n; note\n\n[C]\n; only a comment\n\n[B]\nx=1\n",
                      {{"A", "new", "2"}, {"a", "newer", "3"}, {"c", "first", "v"}}),
              "[A]\r\nk=1\r\nnew=2\r\nnewer=3\r\nstray line\r\n; note\r\n\r\n"
              "[C]\r\nfirst=v\r\n; only a comment\r\n\r\n[B]\r\nx=1\r\n");
    // A new section is appended without a blank line; a value ends at a zero byte.
    EXPECT_EQ(Changed("; head\n[A]\nk = v  \n  odd\tline\t",
                      {{" New Sec\t", " Key ", ""}, {"new sec", "two", "2"}}),
              "; head\r\n[A]\r\nk = v  \r\n  odd\tline\t\r\n[New Sec]\r\nKey=\r\ntwo=2\r\n");
    EXPECT_EQ(Changed("", {{"S", "k", "ab\0cd"sv}}), "[S]\r\nk=ab\r\n");
    // Binary lines and every kind of line end survive a rewrite (which ends lines with CR LF).
    EXPECT_EQ(
        Changed("[A]\n\x01\x02\0\xff=\0\n\0\0[\0]\n=\n[\n]\nk=v\n\xff\xfe"s, {{"A", "k", "w"}}),
        "[A]\r\n\x01\x02\0\xff=\0\r\n\0\0[\0]\r\n=\r\n[\r\n]\r\nk=w\r\n\xff\xfe\r\n"s);
    EXPECT_EQ(Changed("\xEF\xBB\xBF[a]\rk1=1\nk2=2\r\r\n[b]\n\rk4=4", {{"a", "k5", "5"}}),
              "\xEF\xBB\xBF[a]\r\nk1=1\r\nk2=2\r\nk5=5\r\n\r\n[b]\r\n\r\nk4=4\r\n");
    // Deleting takes the first section of the name up to the next header.
    EXPECT_EQ(Changed("pre\r\n[A]\r\nk=1\r\n;c\r\n\r\n[B]\r\nb=1\r\n[a]\r\nk=2\r\n",
                      {{" a ", ""}, {"A", "k", "3"}, {"b", ""}, {"B", "b", "new"}}),
              "pre\r\n[a]\r\nk=3\r\n[B]\r\nb=new\r\n");
    // Writes that change nothing leave the file alone, LF line ends and all.
    EXPECT_EQ(
        Changed("[A]\nk=1\n[B]\nb=2\n",
                {{" \t", "k", "v"}, {"A", "", "v"}, {"A", "k", "1"}, {"", ""}, {"missing", ""}}),
        "[A]\nk=1\n[B]\nb=2\n");
    store.WriteString("", "k", "v", folder.File("new.ini"));
    EXPECT_TRUE(store.FlushProfileCache(folder.File("new.ini")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("new.ini")));
}

TEST_F(ProfileTest, WritesCannotBreakTheLineStructure) {
    // Line breaks in a value become blanks; names that would end early are refused.
    EXPECT_EQ(Changed("[A]\r\nk=1\r\n", {{"A", "k", "x\r\n[Evil]\nk=2"},
                                         {"A]\r\n[B", "k", "v"},
                                         {"A", "a=b", "v"},
                                         {"A", "k\nj", "v"}}),
              "[A]\r\nk=x  [Evil] k=2\r\n");
}

// --- the cache -----------------------------------------------------------------------------

TEST_F(ProfileTest, PendingWritesAreSeenButReachTheDiskOnlyWhenFlushed) {
    const auto file = folder.Write("a.ini", "[A]\nk=1\n");
    store.WriteString("A", "k", "2", file);
    store.WriteString("New", "n", "3", file);
    EXPECT_EQ(Read(file, "a", "k"), "2");
    EXPECT_EQ(Read(file, "new", "n"), "3");
    EXPECT_EQ(TempFolder::Read(file), "[A]\nk=1\n");
    EXPECT_EQ(ReadSectionNames(file, ","), "A,");  // straight from the disk
    // Pending changes win over a change made on disk meanwhile, and over reads of many
    // other files.
    folder.Write("a.ini", "[A]\nk=changed outside\n");
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Read(NewFile("[A]\nk=o\n"), "A", "k"), "o");
    EXPECT_EQ(Read(file, "A", "k"), "2");
    std::string error = "stale";
    EXPECT_TRUE(store.FlushProfileCache(file, &error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(TempFolder::Read(file), "[A]\r\nk=2\r\n[New]\r\nn=3\r\n");
    {
        ProfileStore local;  // what is still pending when the store goes is written out
        local.WriteString("A", "k", "1", folder.File("late.ini"));
    }
    EXPECT_EQ(TempFolder::Read(folder.File("late.ini")), "[A]\r\nk=1\r\n");
}

TEST_F(ProfileTest, CleanCopyFollowsTheDisk) {
    const auto file = folder.Write("a.ini", "[A]\nk=1\n");
    EXPECT_EQ(Read(file, "A", "k"), "1");
    folder.Write("a.ini", "[A]\nk=22\n");
    EXPECT_EQ(Read(file, "A", "k"), "22");
    // Reading other files in between must not serve a stale copy either.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Read(NewFile("[A]\nk=o\n"), "A", "k"), "o");
    folder.Write("a.ini", "[A]\nk=333\n");
    EXPECT_EQ(Read(file, "A", "k"), "333");
    std::filesystem::remove(file);
    EXPECT_EQ(Read(file, "A", "k"), "");
}

TEST_F(ProfileTest, FailedFlushReportsAndDropsPendingChanges) {
    const auto lost = folder.File("no-such-folder/a.ini");
    store.WriteString("A", "k", "1", lost);
    EXPECT_EQ(Read(lost, "A", "k"), "1");
    std::string error;
    EXPECT_FALSE(store.FlushProfileCache(lost, &error));
    EXPECT_NE(error, "");
    EXPECT_EQ(Read(lost, "A", "k"), "");
    EXPECT_FALSE(std::filesystem::exists(folder.File("no-such-folder")));
}

TEST_F(ProfileTest, ReplaceProfileStartsAfreshAndOneFlushWritesIt) {
    const auto file = NewFile("[Old]\nk=1\n");
    EXPECT_EQ(Read(file, "Old", "k"), "1");
    store.ReplaceProfile(file, {"[New]", "a=1", "", "; tail"});
    EXPECT_EQ(Read(file, "Old", "k"), "");
    EXPECT_EQ(Read(file, "New", "a"), "1");
    store.WriteString("New", "b", "2", file);
    store.WriteString("Other", "c", "3", file);
    EXPECT_EQ(TempFolder::Read(file), "[Old]\nk=1\n");
    EXPECT_TRUE(store.FlushProfileCache(file));
    EXPECT_EQ(TempFolder::Read(file), "[New]\r\na=1\r\nb=2\r\n\r\n; tail\r\n[Other]\r\nc=3\r\n");
}

// --- files that are not what they should be ------------------------------------------------

TEST_F(ProfileTest, FilesWeCannotReadAreNeverOverwritten) {
    store.WriteString("A", "k", "1", folder.path());
    EXPECT_TRUE(store.FlushProfileCache(folder.path()));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path()));
    EXPECT_EQ(Read(folder.path(), "A", "k"), "");

    const auto huge = NewFile("[A]\nk=1\n");
    std::filesystem::resize_file(huge, 65u * 1024u * 1024u);  // sparse, beyond the read cap
    store.WriteString("A", "k", "2", huge);
    store.DeleteProfileSection("A", huge);
    EXPECT_TRUE(store.FlushProfileCache(huge));
    EXPECT_EQ(std::filesystem::file_size(huge), 65u * 1024u * 1024u);
    std::ifstream in(huge, std::ios::binary);
    std::string start(8, '\0');
    in.read(start.data(), 8);
    EXPECT_EQ(start, "[A]\nk=1\n");
}

TEST_F(ProfileTest, LargeFilesStayQuick) {
    std::string text;
    for (int i = 0; i < 100000; ++i)
        text += "[S" + std::to_string(i) + "]\r\na=" + std::to_string(i) + "\r\nb=x\r\n";
    const auto file = NewFile(text);
    for (int i = 0; i < 100000; i += 7)
        ASSERT_EQ(Read(file, "s" + std::to_string(i), "A"), std::to_string(i));
    EXPECT_EQ(Walk(ReadSectionNames(file, ","), ",").size(), 100000u);
    const std::string megabytes(3u * 1024u * 1024u, 'x');
    const auto wide = NewFile("[" + megabytes + "\n[A]\nbig=" + megabytes);
    EXPECT_EQ(Read(wide, "A", "big").size(), kProfileValueLimit);
    // The presentation save: a fresh file of many small sections built in the cache.
    const auto saved = folder.File("saved.ini");
    store.ReplaceProfile(saved, {"[Head]", "v=1"});
    for (int i = 0; i < 10000; ++i) {
        for (const char* key : {"a", "b", "c", "d"})
            store.WriteString("P" + std::to_string(i), key, key, saved);
    }
    ASSERT_TRUE(store.FlushProfileCache(saved));
    EXPECT_EQ(Walk(ReadSectionNames(saved, "\x01"), "\x01").size(), 10001u);
    EXPECT_EQ(Read(saved, "P9999", "d"), "d");
}

// --- section lists -------------------------------------------------------------------------

TEST(ItemListTest, WalkTakesEveryItemInOrder) {
    const struct {
        std::string_view list, separator;
        std::vector<std::string> items;
    } rows[] = {
        {"a,,c,", ",", {"a", "", "c"}},  // a final separator ends the last item
        {"a,,c", ",", {"a", "", "c"}},   // or is assumed
        {",", ",", {""}},
        {",,", ",", {"", ""}},
        {"one||two||", "||", {"one", "two"}},
        {"", ",", {}},
        {"abc", "", {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Walk(row.list, row.separator), row.items) << row.list << " by " << row.separator;
}

}  // namespace
}  // namespace pagelark
