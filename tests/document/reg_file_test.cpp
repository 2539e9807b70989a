#include "document/reg_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "document/file_registry.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;
using namespace std::string_literals;

// Every kind of value the writer produces, in the writer's own layout.
const std::string kSample =
    "REGEDIT4\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Pagelark]\r\n"
    "\"Path\"=\"C:\\\\Shows\\\\\\\"Best\\\"\"\r\n"
    "@=\"default\"\r\n"
    "\"Count\"=dword:0000012c\r\n"
    "\"Blob\"=hex:01,ab,ff\r\n"
    "\"Expand\"=hex(2):25,00\r\n"
    "\"Multi\"=hex(7):61,00,00\r\n"
    "\"Nothing\"=hex(0):\r\n"
    "\"Wide\"=hex(b):01,00,00,00,00,00,00,00\r\n"
    "\"Odd\\\\Name\"=\"\"\r\n"
    "\r\n"
    "[HKEY_USERS\\.DEFAULT\\Kept]\r\n"
    "\"Other\"=\"root\"\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Empty]\r\n"
    "\r\n";

RegDocument Parse(std::string_view text) {
    auto result = ParseRegFile(text);
    EXPECT_TRUE(result.Ok) << "line " << result.Line << ": " << result.Reason;
    return std::move(result.Document);
}

std::string Utf16(std::u16string_view text, bool bom = true) {
    std::string bytes = bom ? "\xFF\xFE" : "";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST(RegFileTest, RoundTripKeepsTypesEscapesOrderAndOtherRoots) {
    const RegDocument document = Parse(kSample);
    const auto keys = document.Keys();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0]->Path(), "HKEY_LOCAL_MACHINE\\Software\\Pagelark");
    EXPECT_EQ(keys[1]->Path(), "HKEY_USERS\\.DEFAULT\\Kept");
    EXPECT_EQ(keys[2]->ValueCount(), 0u);

    const RegKey& key = *keys[0];
    const auto values = key.Values();
    ASSERT_EQ(values.size(), 9u);
    EXPECT_EQ(values[0].Name, "Path");
    EXPECT_EQ(values[1].Name, "");
    EXPECT_EQ(values[8].Name, "Odd\\Name");

    EXPECT_EQ(key.Find("path")->data, "C:\\Shows\\\"Best\"");
    EXPECT_EQ(key.Find("PATH")->type, REG_SZ);
    EXPECT_EQ(key.Find("Count")->type, REG_DWORD);
    EXPECT_EQ(key.Find("Count")->data, std::string("\x2C\x01\x00\x00", 4));
    EXPECT_EQ(key.Find("Blob")->type, REG_BINARY);
    EXPECT_EQ(key.Find("Blob")->data, "\x01\xAB\xFF");
    EXPECT_EQ(key.Find("Expand")->type, REG_EXPAND_SZ);
    EXPECT_EQ(key.Find("Expand")->data, std::string("%\0", 2));  // v4 bytes stay as they are
    EXPECT_EQ(key.Find("Multi")->type, REG_MULTI_SZ);
    EXPECT_EQ(key.Find("Nothing")->type, REG_NONE);
    EXPECT_EQ(key.Find("Nothing")->data, "");
    EXPECT_EQ(key.Find("Wide")->type, 11u);
    EXPECT_EQ(key.Find("")->data, "default");

    EXPECT_EQ(WriteRegFile(document), kSample);
}

TEST(RegFileTest, WriterFallsBackToHexForWhatALineCannotHold) {
    RegDocument document;
    RegKey& key = document.Add("HKEY_CURRENT_USER\\A");
    key.Set("lines", RegValue{REG_SZ, "one\r\ntwo"});
    key.Set("zero", RegValue{REG_SZ, std::string("a\0", 2)});
    key.Set("short", RegValue{REG_DWORD, "\x01\x02"});
    key.Set("long", RegValue{REG_BINARY, std::string(100, '\x5A')});
    const std::string text = WriteRegFile(document);
    EXPECT_NE(text.find("\"lines\"=hex(1):6f,6e,65,0d,0a,74,77,6f,00\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"short\"=hex(4):01,02\r\n"), std::string::npos);

    // Long data wraps like the system's editor: "xx," items, a trailing backslash, two blanks.
    std::istringstream lines(text);
    std::string line;
    int continued = 0;
    while (std::getline(lines, line)) {
        EXPECT_LE(line.size(), 81u) << line;  // 80 columns and the CR
        if (line.starts_with("  ")) ++continued;
    }
    EXPECT_GE(continued, 3);

    const RegDocument again = Parse(text);
    const RegKey* back = again.Find("hkey_current_user\\a");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Find("lines")->data, "one\r\ntwo");
    EXPECT_EQ(back->Find("lines")->type, REG_SZ);
    EXPECT_EQ(back->Find("zero")->data, std::string("a\0", 2));
    EXPECT_EQ(back->Find("short")->type, REG_DWORD);
    EXPECT_EQ(back->Find("short")->data, "\x01\x02");
    EXPECT_EQ(back->Find("long")->data, std::string(100, '\x5A'));
    EXPECT_EQ(WriteRegFile(again), text);
}

TEST(RegFileTest, KeysAndNamesMatchWithoutCaseAndKeepTheirFirstSpelling) {
    const RegDocument document = Parse(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Soft\\App]\n\"Name\"=\"1\"\n\"Next\"=\"2\"\n"
        "[hkey_local_machine\\\\SOFT\\app\\]\n\"NAME\"=\"3\"\n\"\"=\"default\"\n");
    ASSERT_EQ(document.KeyCount(), 1u);
    const RegKey* key = document.Find("HKEY_LOCAL_MACHINE\\soft\\APP");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->Path(), "HKEY_LOCAL_MACHINE\\Soft\\App");
    const auto values = key->Values();
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].Name, "Name");  // replaced in place
    EXPECT_EQ(values[0].Value->data, "3");
    EXPECT_EQ(values[2].Name, "");  // "" is the default value, written as @
    EXPECT_NE(WriteRegFile(document).find("\r\n@=\"default\"\r\n"), std::string::npos);

    EXPECT_TRUE(document.Exists("HKEY_LOCAL_MACHINE\\soft"));
    EXPECT_TRUE(document.Exists("HKEY_LOCAL_MACHINE"));
    EXPECT_FALSE(document.Exists("HKEY_LOCAL_MACHINE\\So"));
    EXPECT_FALSE(document.Exists("HKEY_LOCAL_MACHINE\\Soft\\App\\Sub"));
}

TEST(RegFileTest, ReadsVersion5AsUtf16AndAsUtf8) {
    // hex(2) of a version 5 file holds UTF-16LE: "%é" and its terminating zero.
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\Caf\u00e9]\r\n"
        u"\"Name\"=\"\u00e9t\u00e9 \u20ac\"\r\n"
        u"\"Expand\"=hex(2):25,00,e9,00,00,00\r\n"
        u"\"Multi\"=hex(7):61,00,00,00,00,00\r\n"
        u"\"Bytes\"=hex:25,00\r\n"
        u"\"Number\"=dword:00000010\r\n";
    for (const std::string& bytes :
         {Utf16(text), std::string("\xEF\xBB\xBF") +
                           "Windows Registry Editor Version 5.00\r\n"
                           "[HKEY_CURRENT_USER\\Caf\xC3\xA9]\r\n"
                           "\"Name\"=\"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\"\r\n"
                           "\"Expand\"=hex(2):25,00,e9,00,00,00\r\n"
                           "\"Multi\"=hex(7):61,00,00,00,00,00\r\n"
                           "\"Bytes\"=hex:25,00\r\n"
                           "\"Number\"=dword:00000010\r\n"}) {
        const RegDocument document = Parse(bytes);
        const RegKey* key = document.Find("HKEY_CURRENT_USER\\Caf\xC3\xA9");
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->Find("Name")->data, "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");
        EXPECT_EQ(key->Find("Expand")->data, std::string("%\xC3\xA9\0", 4));
        EXPECT_EQ(key->Find("Multi")->data, std::string("a\0\0", 3));
        EXPECT_EQ(key->Find("Bytes")->data, std::string("%\0", 2));  // binary is not text
        EXPECT_EQ(key->Find("Number")->data, std::string("\x10\0\0\0", 4));
        // Written back as version 4, where the same text stays as it is.
        EXPECT_EQ(WriteRegFile(Parse(WriteRegFile(document))), WriteRegFile(document));
    }

    // Text outside the BMP comes through as one character; broken UTF-16 is refused.
    const RegDocument emoji = Parse(Utf16(u"REGEDIT4\r\n[A\U0001F600]\r\n"));
    EXPECT_NE(emoji.Find("A\xF0\x9F\x98\x80"), nullptr);
    EXPECT_FALSE(ParseRegFile(Utf16(u"REGEDIT4\r\n[A\xD800]\r\n")).Ok);
    EXPECT_FALSE(ParseRegFile(Utf16(u"REGEDIT4\r\n") + "x").Ok);
}

TEST(RegFileTest, ReadsContinuationLines) {
    const RegDocument document = Parse(
        "REGEDIT4\r\n[A]\r\n\"b\"=hex:01,02,\\\r\n    03,04,\\\r\n  05\r\n"
        "\"c\"=hex(2):41,\\\r\n  00\r\n\"d\"=\"after\"\r\n\"e\"=hex:01,\\");
    const RegKey* key = document.Find("A");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->Find("b")->data, "\x01\x02\x03\x04\x05");
    EXPECT_EQ(key->Find("c")->data, std::string("A\0", 2));
    EXPECT_EQ(key->Find("d")->data, "after");
    EXPECT_EQ(key->Find("e")->data, "\x01");  // the file may end on a continuation
}

TEST(RegFileTest, AppliesDeletionLinesInFileOrder) {
    const RegDocument document = Parse(
        "REGEDIT4\n"
        "; a comment\n"
        "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"1\"\n\"y\"=\"2\"\n"
        "[HKEY_LOCAL_MACHINE\\A\\B]\n\"z\"=\"3\"\n"
        "[HKEY_LOCAL_MACHINE\\A B]\n"
        "[HKEY_LOCAL_MACHINE\\C]\n"
        "  ;indented comment\n"
        "[-HKEY_LOCAL_MACHINE\\a]\n\"ignored\"=\"because the key is being deleted\"\n"
        "[HKEY_LOCAL_MACHINE\\C]\n\"gone\"=\"1\"\n\"kept\"=\"1\"\n\"GONE\"=-\n\"never\"=-\n"
        "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"new\"\n");
    const auto keys = document.Keys();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0]->Path(), "HKEY_LOCAL_MACHINE\\A B");  // a sibling, not below A
    EXPECT_EQ(keys[1]->Path(), "HKEY_LOCAL_MACHINE\\C");
    EXPECT_EQ(keys[2]->Path(), "HKEY_LOCAL_MACHINE\\A");  // re-created: appended, fresh
    EXPECT_EQ(document.Find("HKEY_LOCAL_MACHINE\\A\\B"), nullptr);
    ASSERT_EQ(keys[1]->Values().size(), 1u);
    EXPECT_EQ(keys[1]->Values()[0].Name, "kept");
    ASSERT_EQ(keys[2]->Values().size(), 1u);
    EXPECT_EQ(keys[2]->Find("x")->data, "new");
}

TEST(RegFileTest, RefusesMalformedFilesNamingTheLine) {
    struct Case {
        std::string text;
        std::size_t line;
    };
    const Case cases[] = {
        {"REGEDIT5\r\n[A]\r\n", 1},
        {"\r\nREGEDIT4\r\n", 1},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\r\n", 2},
        {"REGEDIT4\r\n[]\r\n", 2},
        {"REGEDIT4\r\n[-\\]\r\n", 2},
        {"REGEDIT4\r\n\"a\"=\"b\"\r\n", 2},
        {"REGEDIT4\r\n[A]\r\n\"a\"=\"b\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a=\"b\"\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=\"b\" c\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=dword:123456789\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=dword:\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=hex:1,,2\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=hex:123\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=hex(1g):00\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=hex(2)00\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=hex:01,\\\r\n  zz\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\"a\"=string\r\n", 3},
        {"REGEDIT4\r\n[A]\r\nrandom words\r\n", 3},
        {"REGEDIT4\r\n[A]\r\n\r\n\"a\"=\"b\0\"\r\n"s, 4},
    };
    for (const auto& c : cases) {
        const auto result = ParseRegFile(c.text);
        EXPECT_FALSE(result.Ok) << c.text;
        EXPECT_EQ(result.Line, c.line) << c.text;
        EXPECT_FALSE(result.Reason.empty());
        EXPECT_EQ(result.Document.KeyCount(), 0u);
    }
    // Nothing at all is an empty registry rather than a broken one.
    for (const std::string empty : {"", "\r\n  \r\n", "\xEF\xBB\xBF", "\xFF\xFE"}) {
        const auto result = ParseRegFile(empty);
        EXPECT_TRUE(result.Ok);
        EXPECT_EQ(result.Document.KeyCount(), 0u);
    }
}

TEST(RegFileTest, HandlesLargeAndGarbageInputInLinearTime) {
    // 100 000 keys, each later deleted again in a second pass over half of them.
    std::string text = "REGEDIT4\n";
    for (int i = 0; i < 100000; ++i) {
        text += "[HKEY_LOCAL_MACHINE\\K" + std::to_string(i) +
                "]\n\"v\"=dword:" + std::to_string(i % 10) + "\n";
    }
    for (int i = 0; i < 100000; i += 2)
        text += "[-HKEY_LOCAL_MACHINE\\K" + std::to_string(i) + "]\n";
    RegDocument many = Parse(text);
    EXPECT_EQ(many.KeyCount(), 50000u);
    EXPECT_EQ(many.Keys()[0]->Path(), "HKEY_LOCAL_MACHINE\\K1");
    EXPECT_EQ(many.RemoveTree("HKEY_LOCAL_MACHINE"), 50000u);

    // One key with 100 000 values, most removed again.
    text = "REGEDIT4\n[A]\n";
    for (int i = 0; i < 100000; ++i)
        text += "\"v" + std::to_string(i) + "\"=\"x\"\n";
    for (int i = 1; i < 100000; ++i)
        text += "\"v" + std::to_string(i) + "\"=-\n";
    EXPECT_EQ(Parse(text).Find("A")->ValueCount(), 1u);

    // Megabyte lines, a long continuation, no line end at all.
    const std::string big(3 << 20, 'x');
    EXPECT_EQ(Parse("REGEDIT4\n[A]\n\"v\"=\"" + big + "\"").Find("A")->Find("v")->data, big);
    text = "REGEDIT4\n[A]\n\"b\"=hex:00,\\\n";
    for (int i = 0; i < 200000; ++i)
        text += "  01,02,\\\n";
    text += "  03";
    EXPECT_EQ(Parse(text).Find("A")->Find("b")->data.size(), 400002u);
    EXPECT_FALSE(ParseRegFile("REGEDIT4\n[" + big).Ok);
    EXPECT_FALSE(ParseRegFile(big).Ok);

    // Binary garbage behind a valid first line.
    std::string garbage = "REGEDIT4\n";
    for (int i = 0; i < 1 << 20; ++i)
        garbage += static_cast<char>((i * 7919) & 0xFF);
    EXPECT_FALSE(ParseRegFile(garbage).Ok);
}

// --- the store files ---------------------------------------------------------------------

XdgEnvironment EmptyEnvironment(const TempFolder& temp) {
    XdgEnvironment env;
    env.Home = temp.File("home");
    env.ConfigDirs = temp.File("none");
    env.DataDirs = temp.File("none");
    return env;
}

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    return st.st_mode & 07777;
}

class UmaskGuard {
  public:
    explicit UmaskGuard(mode_t mask) : old_(::umask(mask)) {}
    ~UmaskGuard() { ::umask(old_); }
    UmaskGuard(const UmaskGuard&) = delete;
    UmaskGuard& operator=(const UmaskGuard&) = delete;

  private:
    mode_t old_;
};

TEST(RegStoreTest, CreatesFolderAndFilesPrivatelyAndOnlyOnWrites) {
    UmaskGuard umask(022);
    TempFolder temp;
    const std::string folder = temp.File("a/b/store");
    std::ostringstream errors;
    FileRegistry store(folder, EmptyEnvironment(temp), errors);
    RegValue value;
    EXPECT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "Software"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.QueryValue(HKEY_CURRENT_USER, "Software", "x", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.DeleteValue(HKEY_CURRENT_USER, "Software", "x"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(std::filesystem::exists(temp.File("a")));

    EXPECT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Pagelark"), ERROR_SUCCESS);
    EXPECT_EQ(store.SetValue(HKEY_LOCAL_MACHINE, "Software\\Pagelark", "Size",
                             RegValue{REG_DWORD, std::string("\x2C\x01\0\0", 4)}),
              ERROR_SUCCESS);
    for (const char* created : {"a", "a/b", "a/b/store"})
        EXPECT_EQ(ModeOf(temp.File(created)), 0700u);
    EXPECT_EQ(ModeOf(folder + "/machine.reg"), 0600u);
    EXPECT_FALSE(std::filesystem::exists(folder + "/user.reg"));
    EXPECT_EQ(TempFolder::Read(folder + "/machine.reg"),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Pagelark]\r\n"
              "\"Size\"=dword:0000012c\r\n\r\n");
    EXPECT_EQ(errors.str(), "");
}

TEST(RegStoreTest, KeepsKeysOfOtherRootsAndOrderOnRewrite) {
    TempFolder temp;
    const std::string original =
        "REGEDIT4\r\n\r\n[HKEY_USERS\\S-1\\Kept]\r\n\"a\"=\"b\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\One]\r\n\"x\"=\"1\"\r\n\r\n";
    temp.Write("machine.reg", original);
    FileRegistry store(temp.path(), EmptyEnvironment(temp));
    EXPECT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "HKEY_USERS\\S-1"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.OpenKey(HKEY_USERS, "S-1\\Kept"), ERROR_FILE_NOT_FOUND);  // no file root
    EXPECT_EQ(store.CreateKey(HKEY_USERS, "S-1\\Kept"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(store.SetValue(HKEY_LOCAL_MACHINE, "Software\\One", "y", RegValue{REG_SZ, "2"}),
              ERROR_SUCCESS);
    EXPECT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Two"), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::Read(temp.File("machine.reg")),
              original.substr(0, original.size() - 2) +
                  "\"y\"=\"2\"\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Two]\r\n\r\n");
}

TEST(RegStoreTest, ReadsAVersion5ExportAsTheStore) {
    TempFolder temp;
    temp.Write("user.reg", Utf16(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                 u"[HKEY_CURRENT_USER\\Software\\App]\r\n\"Name\"=\"\u00e9\"\r\n"));
    FileRegistry store(temp.path(), EmptyEnvironment(temp));
    RegValue value;
    EXPECT_EQ(store.QueryValue(HKEY_CURRENT_USER, "software\\app", "name", value), ERROR_SUCCESS);
    EXPECT_EQ(value.data, "\xC3\xA9");
}

TEST(RegStoreTest, BadFileIsReportedOnceReadAsEmptyAndKeptBeforeRewrite) {
    TempFolder temp;
    const std::string original = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=\"1\"\r\nbroken\r\n";
    temp.Write("machine.reg", original);
    temp.Write("machine.reg.bad", "an older copy");
    std::ostringstream errors;
    FileRegistry store(temp.path(), EmptyEnvironment(temp), errors);

    RegValue value;
    EXPECT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "A"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.QueryValue(HKEY_LOCAL_MACHINE, "A", "v", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.OpenKey(HKEY_CLASSES_ROOT, "A"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(TempFolder::Read(temp.File("machine.reg.bad")), "an older copy");  // reads keep it

    EXPECT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "B"), ERROR_SUCCESS);
    EXPECT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "C"), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::Read(temp.File("machine.reg.bad")), original);
    EXPECT_EQ(ModeOf(temp.File("machine.reg.bad")), 0600u);
    const auto now = ParseRegFile(TempFolder::Read(temp.File("machine.reg")));
    ASSERT_TRUE(now.Ok);
    EXPECT_EQ(now.Document.KeyCount(), 2u);

    const std::string report = errors.str();
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
    EXPECT_NE(report.find(temp.File("machine.reg")), std::string::npos);
    EXPECT_NE(report.find("line 4"), std::string::npos);

    // Only the file as first read is kept; later rewrites leave the copy alone.
    temp.Write("machine.reg", "garbage");
    EXPECT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "D"), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::Read(temp.File("machine.reg.bad")), original);
}

TEST(RegStoreTest, RefusesWritesWhenTheBadFileCannotBeKept) {
    TempFolder temp;
    const std::string original = "REGEDIT4\r\n[A]\0\r\n"s;  // a NUL in version 4 text
    temp.Write("user.reg", original);
    std::filesystem::create_directories(temp.File("user.reg.bad/inside"));
    std::ostringstream errors;
    FileRegistry store(temp.path(), EmptyEnvironment(temp), errors);

    EXPECT_EQ(store.CreateKey(HKEY_CURRENT_USER, "Pagelark"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(store.OpenKey(HKEY_CURRENT_USER, "Pagelark"), ERROR_FILE_NOT_FOUND);  // undone
    EXPECT_EQ(store.CreateKey(HKEY_CURRENT_USER, "Pagelark"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(TempFolder::Read(temp.File("user.reg")), original);
    const std::string report = errors.str();
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 2) << report;  // bad, then kept
    EXPECT_NE(report.find("NUL"), std::string::npos);

    // The machine file is unaffected by the user file's trouble.
    EXPECT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "Software"), ERROR_SUCCESS);
}

TEST(RegStoreTest, StoreThatIsNotAFileIsReadAsEmptyAndNeverReplaced) {
    TempFolder temp;
    std::filesystem::create_directories(temp.File("machine.reg/x"));
    std::ostringstream errors;
    FileRegistry store(temp.path(), EmptyEnvironment(temp), errors);
    EXPECT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "A"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "A"), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(std::filesystem::is_directory(temp.File("machine.reg/x")));
    EXPECT_NE(errors.str().find("machine.reg"), std::string::npos);
}

TEST(RegStoreTest, FailedWriteIsUndoneAndLeavesTheOldFile) {
    TempFolder temp;
    // The folder's parent is a regular file: nothing can be created there, even by root.
    temp.Write("plain", "x");
    FileRegistry nowhere(temp.File("plain/registry"), EmptyEnvironment(temp));
    EXPECT_EQ(nowhere.CreateKey(HKEY_CURRENT_USER, "Pagelark"), ERROR_WRITE_FAULT);
    EXPECT_EQ(nowhere.OpenKey(HKEY_CURRENT_USER, "Pagelark"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(TempFolder::Read(temp.File("plain")), "x");

    // A loaded store whose folder is swapped for a file: the change fails and is undone.
    const std::string folder = temp.File("store");
    std::filesystem::create_directory(folder);
    const std::string original = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"old\"\r\n\r\n";
    temp.Write("store/user.reg", original);
    FileRegistry store(folder, EmptyEnvironment(temp));
    RegValue value;
    ASSERT_EQ(store.QueryValue(HKEY_CURRENT_USER, "A", "v", value), ERROR_SUCCESS);
    std::filesystem::rename(folder, temp.File("moved"));
    temp.Write("store", "not a folder");

    EXPECT_EQ(store.SetValue(HKEY_CURRENT_USER, "A", "v", RegValue{REG_SZ, "new"}),
              ERROR_WRITE_FAULT);
    EXPECT_EQ(store.SetValue(HKEY_CURRENT_USER, "A", "w", RegValue{REG_SZ, "added"}),
              ERROR_WRITE_FAULT);
    EXPECT_EQ(store.DeleteValue(HKEY_CURRENT_USER, "A", "v"), ERROR_WRITE_FAULT);
    EXPECT_EQ(store.CreateKey(HKEY_CURRENT_USER, "B"), ERROR_WRITE_FAULT);
    ASSERT_EQ(store.QueryValue(HKEY_CURRENT_USER, "A", "v", value), ERROR_SUCCESS);
    EXPECT_EQ(value.data, "old");
    EXPECT_EQ(store.QueryValue(HKEY_CURRENT_USER, "A", "w", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(store.OpenKey(HKEY_CURRENT_USER, "B"), ERROR_FILE_NOT_FOUND);

    std::filesystem::remove(temp.File("store"));
    std::filesystem::rename(temp.File("moved"), folder);
    EXPECT_EQ(TempFolder::Read(folder + "/user.reg"), original);
    EXPECT_EQ(store.CreateKey(HKEY_CURRENT_USER, "C"), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::Read(folder + "/user.reg"), original + "[HKEY_CURRENT_USER\\C]\r\n\r\n");
}

}  // namespace
}  // namespace pagelark
