#include "document/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

// A string literal with its zero bytes.
template <std::size_t N>
std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

class ProfileTest : public ::testing::Test {
  protected:
    std::string Read(const std::string& file, std::string_view section, std::string_view key) {
        return store.ReadProfileString(section, key, file);
    }
    // Writes one key and flushes, returning the file as it then stands.
    std::string WriteAndFlush(const std::string& file, std::string_view section,
                              std::string_view key, std::string_view value) {
        store.WriteProfileString(section, key, value, file);
        EXPECT_TRUE(store.FlushProfileCache(file));
        return TempFolder::Read(file);
    }

    TempFolder folder;
    ProfileStore store;
};

// --- reading -------------------------------------------------------------------------------

TEST_F(ProfileTest, ValuesAreTrimmedAndLoseOnePairOfQuotes) {
    const auto file = folder.Write("a.ini",
                                   "[Main]\r\n"
                                   "plain = some value \t\r\n"
                                   "\tpadded\t=\t tabbed \t\r\n"
                                   "dq=\"quoted\"\r\n"
                                   "sq=' single '\r\n"
                                   "mixed=\"a'\r\n"
                                   "one=\"\r\n"
                                   "inner=a\"b\"\r\n"
                                   "twice=\"\"x\"\"\r\n"
                                   "empty=\r\n"
                                   "more=a=b\r\n");
    EXPECT_EQ(Read(file, "Main", "plain"), "some value");
    EXPECT_EQ(Read(file, "Main", "padded"), "tabbed");
    EXPECT_EQ(Read(file, "Main", "dq"), "quoted");
    EXPECT_EQ(Read(file, "Main", "sq"), " single ");
    EXPECT_EQ(Read(file, "Main", "mixed"), "\"a'");
    EXPECT_EQ(Read(file, "Main", "one"), "\"");
    EXPECT_EQ(Read(file, "Main", "inner"), "a\"b\"");
    EXPECT_EQ(Read(file, "Main", "twice"), "\"x\"");
    EXPECT_EQ(Read(file, "Main", "empty"), "");
    EXPECT_EQ(Read(file, "Main", "more"), "a=b");
}

TEST_F(ProfileTest, CommentsCaseAndDuplicates) {
    const auto file = folder.Write("a.ini",
                                   "top=before any section\r\n"
                                   "[Main]\r\n"
                                   ";semi=1\r\n"
                                   "  ;indented=1\r\n"
                                   "#hash=2\r\n"
                                   "noequals\r\n"
                                   "=nameless\r\n"
                                   "MiXeD=case\r\n"
                                   "dup=first\r\n"
                                   "DUP=second\r\n"
                                   "[main]\r\n"
                                   "dup=other\r\n"
                                   "late=hidden\r\n");
    EXPECT_EQ(Read(file, "Main", "top"), "");
    EXPECT_EQ(Read(file, "Main", ";semi"), "");
    EXPECT_EQ(Read(file, "Main", "semi"), "");
    EXPECT_EQ(Read(file, "Main", "indented"), "");
    EXPECT_EQ(Read(file, "Main", "#hash"), "2");
    EXPECT_EQ(Read(file, "Main", "hash"), "");
    EXPECT_EQ(Read(file, "Main", "noequals"), "");
    EXPECT_EQ(Read(file, "Main", ""), "");
    EXPECT_EQ(Read(file, " MAIN\t", "  mixed "), "case");
    EXPECT_EQ(Read(file, "main", "dup"), "first");
    EXPECT_EQ(Read(file, "Main", "late"), "");
}

TEST_F(ProfileTest, HeaderCornerCases) {
    const auto file = folder.Write("a.ini",
                                   "[ Spaced Name ]\r\n"
                                   "a=1\r\n"
                                   "[]\r\n"
                                   "n=1\r\n"
                                   "  \t[Indented] trailing ; text\r\n"
                                   "b=2\r\n"
                                   "[unclosed\r\n"
                                   "c=3\r\n"
                                   "[x]y]\r\n"
                                   "d=4\r\n"
                                   "[open=5\r\n"
                                   "[ ]\r\n");
    EXPECT_EQ(Read(file, "spaced name", "a"), "1");
    EXPECT_EQ(Read(file, " ", "n"), "");
    EXPECT_EQ(Read(file, "spaced name", "n"), "");  // "[]" ends the section above
    EXPECT_EQ(Read(file, "Indented", "b"), "2");
    EXPECT_EQ(Read(file, "Indented", "c"), "3");  // "[unclosed" is not a header
    EXPECT_EQ(Read(file, "unclosed", "c"), "");
    EXPECT_EQ(Read(file, "x", "d"), "4");
    EXPECT_EQ(Read(file, "x]y", "d"), "");
    EXPECT_EQ(Read(file, "x", "[open"), "5");
    // Names as listed: inner blanks kept, "[]" left out, "[ ]" kept.
    EXPECT_EQ(ReadSectionNames(file, "|"), " Spaced Name |Indented|x| |");
}

TEST_F(ProfileTest, MixedLineEndsAndByteOrderMark) {
    const auto file = folder.Write("a.ini", "\xEF\xBB\xBF[a]\rk1=1\nk2=2\r\nk3=3\r\r\n[b]\n\rk4=4");
    EXPECT_EQ(Read(file, "a", "k1"), "1");
    EXPECT_EQ(Read(file, "a", "k2"), "2");
    EXPECT_EQ(Read(file, "a", "k3"), "3");
    EXPECT_EQ(Read(file, "b", "k4"), "4");
    EXPECT_EQ(ReadSectionNames(file, ","), "a,b,");
    EXPECT_EQ(WriteAndFlush(file, "a", "k5", "5"),
              "\xEF\xBB\xBF[a]\r\nk1=1\r\nk2=2\r\nk3=3\r\nk5=5\r\n\r\n[b]\r\n\r\nk4=4\r\n");
}

TEST_F(ProfileTest, ValuesAreCutAtNulAndAtTheLimit) {
    const std::string longValue(25000, 'v');
    const auto file = folder.Write(
        "a.ini", Bytes("[s]\r\nnul=abc\0def\r\nafter=ok\r\nlong=\"") + longValue + "\"");
    EXPECT_EQ(Read(file, "s", "nul"), "abc");
    EXPECT_EQ(Read(file, "s", "after"), "ok");
    EXPECT_EQ(Read(file, "s", "long"), longValue.substr(0, kProfileValueLimit));
}

TEST_F(ProfileTest, LongSectionsFollowTheSameRules) {
    std::string text = "[Long]\r\n";
    for (int i = 0; i < 40; ++i)
        text += " Key" + std::to_string(i) + " = " + std::to_string(i) + "\r\n";
    text += "key7=duplicate\r\n;key8=comment\r\n\r\n";
    const auto file = folder.Write("a.ini", text);
    EXPECT_EQ(Read(file, "long", "KEY7"), "7");
    EXPECT_EQ(Read(file, "long", "key39"), "39");
    EXPECT_EQ(Read(file, "long", "key40"), "");
    store.WriteProfileString("Long", "key40", "new", file);
    store.WriteProfileString("Long", "KEY0", "zero", file);
    EXPECT_EQ(Read(file, "long", "key40"), "new");
    const std::string written = WriteAndFlush(file, "long", "key41", "newer");
    const std::string head = "[Long]\r\nKey0=zero\r\n Key1 = 1\r\n";
    const std::string tail = "key7=duplicate\r\nkey40=new\r\nkey41=newer\r\n;key8=comment\r\n\r\n";
    EXPECT_EQ(written.substr(0, head.size()), head);
    EXPECT_EQ(written.substr(written.size() - tail.size()), tail);
}

// --- where writes go -----------------------------------------------------------------------

TEST_F(ProfileTest, ReplacedKeyKeepsItsSpellingAndFirstDuplicateIsChanged) {
    const auto file =
        folder.Write("a.ini", "[S]\r\n  KeyName =  old  \r\nk=1\r\nk=2\r\n[s]\r\nk=3\r\n");
    store.WriteProfileString(" s ", "keyname", " new value ", file);
    EXPECT_EQ(WriteAndFlush(file, "s", "K", "9"),
              "[S]\r\nKeyName= new value \r\nk=9\r\nk=2\r\n[s]\r\nk=3\r\n");
}

TEST_F(ProfileTest, NewKeyFollowsTheLastKeyOfItsSection) {
    const auto file = folder.Write("a.ini",
                                   "[A]\nk=1\nstray line\n; note\n\n"
                                   "[C]\n; only a comment\n\n"
                                   "[B]\nx=1\n");
    store.WriteProfileString("A", "new", "2", file);
    store.WriteProfileString("a", "newer", "3", file);
    EXPECT_EQ(WriteAndFlush(file, "c", "first", "v"),
              "[A]\r\nk=1\r\nnew=2\r\nnewer=3\r\nstray line\r\n; note\r\n\r\n"
              "[C]\r\nfirst=v\r\n; only a comment\r\n\r\n"
              "[B]\r\nx=1\r\n");
}

TEST_F(ProfileTest, NewSectionIsAppendedWithoutBlankLine) {
    const auto file = folder.Write("a.ini", "; head\n[A]\nk = v  \n  odd\tline\t");
    store.WriteProfileString(" New Sec\t", " Key ", "", file);
    EXPECT_EQ(WriteAndFlush(file, "new sec", "two", "2"),
              "; head\r\n[A]\r\nk = v  \r\n  odd\tline\t\r\n[New Sec]\r\nKey=\r\ntwo=2\r\n");
    const auto empty = folder.Write("empty.ini", "");
    EXPECT_EQ(WriteAndFlush(empty, "S", "k", Bytes("ab\0cd")), "[S]\r\nk=ab\r\n");
}

TEST_F(ProfileTest, WritesThatChangeNothingLeaveTheFileAlone) {
    const std::string original = "[A]\nk=1\n[B]\nb=2\n";
    const auto file = folder.Write("a.ini", original);
    store.WriteProfileString(" \t", "k", "v", file);
    store.WriteProfileString("A", "", "v", file);
    store.WriteProfileString("A", "k", "1", file);
    store.DeleteProfileSection("", file);
    store.DeleteProfileSection("missing", file);
    EXPECT_TRUE(store.FlushProfileCache(file));
    EXPECT_EQ(TempFolder::Read(file), original);  // a rewrite would have turned LF into CR LF

    store.WriteProfileString("", "k", "v", folder.File("new.ini"));
    EXPECT_TRUE(store.FlushProfileCache(folder.File("new.ini")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("new.ini")));
}

TEST_F(ProfileTest, WritesCannotBreakTheLineStructure) {
    const auto file = folder.Write("a.ini", "[A]\r\nk=1\r\n");
    // A value typed with line breaks must not smuggle in keys or sections.
    EXPECT_EQ(WriteAndFlush(file, "A", "k", "x\r\n[Evil]\nk=2"), "[A]\r\nk=x  [Evil] k=2\r\n");
    store.WriteProfileString("A]\r\n[B", "k", "v", file);
    store.WriteProfileString("A", "a=b", "v", file);
    store.WriteProfileString("A", "k\nj", "v", file);
    EXPECT_TRUE(store.FlushProfileCache(file));
    EXPECT_EQ(TempFolder::Read(file), "[A]\r\nk=x  [Evil] k=2\r\n");
    EXPECT_EQ(ReadSectionNames(file, ","), "A,");
}

TEST_F(ProfileTest, DeleteRemovesFirstSectionUpToTheNextHeader) {
    const auto file =
        folder.Write("a.ini", "pre\r\n[A]\r\nk=1\r\n;c\r\n\r\n[B]\r\nb=1\r\n[a]\r\nk=2\r\n");
    store.DeleteProfileSection(" a ", file);
    EXPECT_EQ(Read(file, "A", "k"), "2");
    store.WriteProfileString("A", "k", "3", file);
    store.DeleteProfileSection("b", file);
    store.WriteProfileString("B", "b", "new", file);
    EXPECT_TRUE(store.FlushProfileCache(file));
    EXPECT_EQ(TempFolder::Read(file), "pre\r\n[a]\r\nk=3\r\n[B]\r\nb=new\r\n");
}

// --- the cache -----------------------------------------------------------------------------

TEST_F(ProfileTest, PendingWritesAreSeenButReachTheDiskOnlyWhenFlushed) {
    const auto file = folder.Write("a.ini", "[A]\nk=1\n");
    store.WriteProfileString("A", "k", "2", file);
    store.WriteProfileString("New", "n", "3", file);
    EXPECT_EQ(Read(file, "a", "k"), "2");
    EXPECT_EQ(Read(file, "new", "n"), "3");
    EXPECT_EQ(TempFolder::Read(file), "[A]\nk=1\n");
    EXPECT_EQ(ReadSectionNames(file, ","), "A,");  // straight from the disk

    // Pending changes win over a change made on disk meanwhile.
    folder.Write("a.ini", "[A]\nk=changed outside\n");
    EXPECT_EQ(Read(file, "A", "k"), "2");
    std::string error = "stale";
    EXPECT_TRUE(store.FlushProfileCache(file, &error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(TempFolder::Read(file), "[A]\r\nk=2\r\n[New]\r\nn=3\r\n");
    EXPECT_EQ(ReadSectionNames(file, ","), "A,New,");
}

TEST_F(ProfileTest, CleanCopyFollowsTheDisk) {
    const auto file = folder.Write("a.ini", "[A]\nk=1\n");
    EXPECT_EQ(Read(file, "A", "k"), "1");
    folder.Write("a.ini", "[A]\nk=22\n");
    EXPECT_EQ(Read(file, "A", "k"), "22");
    // Reading other files in between must not serve a stale copy either.
    for (int i = 0; i < 6; ++i) {
        const auto other = folder.Write("o" + std::to_string(i) + ".ini", "[A]\nk=o\n");
        EXPECT_EQ(Read(other, "A", "k"), "o");
    }
    folder.Write("a.ini", "[A]\nk=333\n");
    EXPECT_EQ(Read(file, "A", "k"), "333");
    std::filesystem::remove(file);
    EXPECT_EQ(Read(file, "A", "k"), "");
}

TEST_F(ProfileTest, PendingChangesOutliveReadsOfManyOtherFiles) {
    const auto file = folder.File("pending.ini");
    store.WriteProfileString("A", "k", "1", file);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Read(folder.Write("o" + std::to_string(i) + ".ini", "[A]\nk=o\n"), "A", "k"),
                  "o");
    }
    EXPECT_TRUE(store.FlushProfileCache(file));
    EXPECT_EQ(TempFolder::Read(file), "[A]\r\nk=1\r\n");
}

TEST_F(ProfileTest, FailedFlushReportsAndDropsPendingChanges) {
    const auto lost = folder.File("no-such-folder/a.ini");
    store.WriteProfileString("A", "k", "1", lost);
    EXPECT_EQ(Read(lost, "A", "k"), "1");
    std::string error;
    EXPECT_FALSE(store.FlushProfileCache(lost, &error));
    EXPECT_NE(error, "");
    EXPECT_EQ(Read(lost, "A", "k"), "");
    EXPECT_FALSE(std::filesystem::exists(folder.File("no-such-folder")));
}

TEST_F(ProfileTest, ReplaceProfileStartsAfreshAndOneFlushWritesIt) {
    const auto file = folder.Write("a.ini", "[Old]\nk=1\n");
    EXPECT_EQ(Read(file, "Old", "k"), "1");
    store.ReplaceProfile(file, {"[New]", "a=1", "", "; tail"});
    EXPECT_EQ(Read(file, "Old", "k"), "");
    EXPECT_EQ(Read(file, "New", "a"), "1");
    store.WriteProfileString("New", "b", "2", file);
    store.WriteProfileString("Other", "c", "3", file);
    EXPECT_EQ(TempFolder::Read(file), "[Old]\nk=1\n");
    EXPECT_TRUE(store.FlushProfileCache(file));
    EXPECT_EQ(TempFolder::Read(file), "[New]\r\na=1\r\nb=2\r\n\r\n; tail\r\n[Other]\r\nc=3\r\n");
}

TEST_F(ProfileTest, DestructorWritesPendingChanges) {
    const auto file = folder.File("a.ini");
    {
        ProfileStore local;
        local.WriteProfileString("A", "k", "1", file);
    }
    EXPECT_EQ(TempFolder::Read(file), "[A]\r\nk=1\r\n");
}

// --- files that are not what they should be ------------------------------------------------

TEST_F(ProfileTest, FilesWeCannotReadAreNeverOverwritten) {
    store.WriteProfileString("A", "k", "1", folder.path());
    EXPECT_TRUE(store.FlushProfileCache(folder.path()));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path()));
    EXPECT_EQ(Read(folder.path(), "A", "k"), "");
    EXPECT_EQ(ReadSectionNames(folder.path(), ","), "");
    EXPECT_EQ(ReadSectionNames(folder.File("missing.ini"), ","), "");

    const auto huge = folder.Write("huge.ini", "[A]\nk=1\n");
    std::filesystem::resize_file(huge, 65u * 1024u * 1024u);  // sparse, beyond the read cap
    store.WriteProfileString("A", "k", "2", huge);
    store.DeleteProfileSection("A", huge);
    EXPECT_TRUE(store.FlushProfileCache(huge));
    EXPECT_EQ(std::filesystem::file_size(huge), 65u * 1024u * 1024u);
    std::ifstream in(huge, std::ios::binary);
    std::string start(8, '\0');
    in.read(start.data(), 8);
    EXPECT_EQ(start, "[A]\nk=1\n");
}

TEST_F(ProfileTest, BinaryAndUnendedContent) {
    const auto binary =
        folder.Write("bin.ini", Bytes("[A]\n\x01\x02\0\xff=\0\n\0\0[\0]\n=\n[\n]\nk=v\n\xff\xfe"));
    EXPECT_EQ(Read(binary, "A", "k"), "v");
    EXPECT_EQ(WriteAndFlush(binary, "A", "k", "w").substr(0, 4), "[A]\r");
    EXPECT_EQ(Read(binary, "A", "k"), "w");

    const auto single = folder.Write("one.ini", "[A]k=v");
    EXPECT_EQ(Read(single, "A", "k"), "");
    EXPECT_EQ(Read(single, "A", "[A]k"), "");

    const std::string megabytes(3u * 1024u * 1024u, 'x');
    const auto wide = folder.Write("wide.ini", "[" + megabytes + "\n[A]\nbig=" + megabytes);
    EXPECT_EQ(Read(wide, "A", "big").size(), kProfileValueLimit);
}

TEST_F(ProfileTest, ManySectionsStayQuick) {
    std::string text;
    for (int i = 0; i < 100000; ++i) {
        text += "[S" + std::to_string(i) + "]\r\na=" + std::to_string(i) + "\r\nb=x\r\n";
    }
    const auto file = folder.Write("big.ini", text);
    for (int i = 0; i < 100000; i += 7) {
        ASSERT_EQ(Read(file, "s" + std::to_string(i), "A"), std::to_string(i));
    }
    EXPECT_EQ(CountItems(ReadSectionNames(file, ","), ","), 100000);

    // The presentation save: a fresh file of many small sections built in the cache.
    const auto saved = folder.File("saved.ini");
    store.ReplaceProfile(saved, {"[Head]", "v=1"});
    for (int i = 0; i < 10000; ++i) {
        const std::string section = "P" + std::to_string(i);
        for (const char* key : {"a", "b", "c", "d"})
            store.WriteProfileString(section, key, key, saved);
    }
    ASSERT_TRUE(store.FlushProfileCache(saved));
    EXPECT_EQ(CountItems(ReadSectionNames(saved, "\x01"), "\x01"), 10001);
    EXPECT_EQ(Read(saved, "P9999", "d"), "d");
}

// --- section lists -------------------------------------------------------------------------

TEST(ItemListTest, CountAndNth) {
    EXPECT_EQ(CountItems("a,b", ","), 2);
    EXPECT_EQ(CountItems("a,b,", ","), 2);
    EXPECT_EQ(CountItems(",", ","), 1);
    EXPECT_EQ(CountItems(",,", ","), 2);
    EXPECT_EQ(CountItems("a||b||", "||"), 2);
    EXPECT_EQ(CountItems("", ","), 0);
    EXPECT_EQ(CountItems("a,b", ""), 0);

    EXPECT_EQ(NthItem("a,,c", ",", 1), "a");
    EXPECT_EQ(NthItem("a,,c", ",", 2), "");
    EXPECT_EQ(NthItem("a,,c", ",", 3), "c");
    EXPECT_EQ(NthItem("a,,c,", ",", 4), "");
    EXPECT_EQ(NthItem("a,,c", ",", 0), "");
    EXPECT_EQ(NthItem("a,,c", ",", -1), "");
    EXPECT_EQ(NthItem("one||two", "||", 2), "two");
}

TEST(ItemListTest, WalkerReturnsEveryItemInOrder) {
    auto walk = [](std::string_view list, std::string_view separator) {
        std::vector<std::string> items;
        ItemWalker walker(list, separator);
        std::string item;
        while (walker.Next(item))
            items.push_back(item);
        return items;
    };
    using Items = std::vector<std::string>;
    EXPECT_EQ(walk("a,,c,", ","), (Items{"a", "", "c"}));
    EXPECT_EQ(walk("x;y", ";"), (Items{"x", "y"}));
    EXPECT_EQ(walk(",", ","), (Items{""}));
    EXPECT_EQ(walk("", ","), Items{});
    EXPECT_EQ(walk("abc", ""), Items{});

    std::string list;
    for (int i = 0; i < 200000; ++i)
        list += std::to_string(i) + "\x01";
    ItemWalker walker(list, "\x01");
    std::string item;
    int count = 0;
    while (walker.Next(item))
        ASSERT_EQ(item, std::to_string(count++));
    EXPECT_EQ(count, 200000);
}

}  // namespace
}  // namespace pagelark
