#include "platform/linux/reg_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <tuple>

#include "platform/linux/file_registry.h"
#include "platform/text.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;
using namespace std::string_literals;

// Every kind of value the writer produces, in the writer's own layout.
const std::string kSample =
    "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Pagelark]\r\n"
    "\"Path\"=\"C:\\\\Shows\\\\\\\"Best\\\"\"\r\n@=\"default\"\r\n\"Count\"=dword:0000012c\r\n"
    "\"Blob\"=hex:01,ab,ff\r\n\"Expand\"=hex(2):25,00\r\n\"Multi\"=hex(7):61,00,00\r\n"
    "\"Nothing\"=hex(0):\r\n\"Wide\"=hex(b):01,00,00,00,00,00,00,00\r\n\"Odd\\\\Name\"=\"\"\r\n\r\n"
    "[HKEY_USERS\\.DEFAULT\\Kept]\r\n\"Other\"=\"root\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Empty]\r\n\r\n";

RegDocument Parse(std::string_view bytes) {
    auto result = ParseRegFile(bytes);
    EXPECT_TRUE(result.Ok) << "line " << result.Line << ": " << result.Reason;
    return std::move(result.Document);
}

// What a file holds, as the writer (pinned by the round trip below) puts it back.
std::string Rewritten(std::string_view bytes) {
    return WriteRegFile(Parse(bytes));
}

// The same text as UTF-16LE and as UTF-8, each with its byte order mark.
std::string Utf16(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}
std::string Utf8(std::u16string_view text) {
    std::string bytes = "\xEF\xBB\xBF";
    for (char16_t c : text)
        AppendUtf8(bytes, c);
    return bytes;
}

TEST(RegFileTest, RoundTripKeepsTypesEscapesOrderAndOtherRoots) {
    const RegDocument document = Parse(kSample);
    const auto keys = document.Keys();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[1]->Path(), "HKEY_USERS\\.DEFAULT\\Kept");
    EXPECT_EQ(keys[2]->ValueCount(), 0u);
    std::vector<std::tuple<std::string, RegType, std::string>> values;
    for (const auto& value : keys[0]->Values())
        values.emplace_back(value.Name, value.Value->type, value.Value->data);
    EXPECT_EQ(values,
              (decltype(values){
                  {"Path", RegType::String, "C:\\Shows\\\"Best\""},
                  {"", RegType::String, "default"},
                  {"Count", RegType::Dword, "\x2C\x01\0\0"s},
                  {"Blob", RegType::Binary, "\x01\xAB\xFF"},
                  {"Expand", RegType::ExpandString, "%\0"s},  // version 4 bytes stay as they are
                  {"Multi", RegType::MultiString, "a\0\0"s},
                  {"Nothing", RegType::None, ""},
                  {"Wide", static_cast<RegType>(11), "\x01\0\0\0\0\0\0\0"s},
                  {"Odd\\Name", RegType::String, ""},
              }));
    EXPECT_EQ(keys[0]->Find("PATH"), keys[0]->Values()[0].Value);
    EXPECT_EQ(WriteRegFile(document), kSample);
}

TEST(RegFileTest, WriterFallsBackToHexForWhatALineCannotHold) {
    RegDocument document;
    RegKey& key = document.Add("HKEY_CURRENT_USER\\A");
    key.Set("lines", RegValue{RegType::String, "one\r\ntwo"});
    key.Set("zero", RegValue{RegType::String, "a\0"s});
    key.Set("short", RegValue{RegType::Dword, "\x01\x02"});
    key.Set("long", RegValue{RegType::Binary, std::string(100, '\x5A')});
    const std::string text = WriteRegFile(document);
    EXPECT_NE(text.find("\"lines\"=hex(1):6f,6e,65,0d,0a,74,77,6f,00\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"zero\"=hex(1):61,00,00\r\n"), std::string::npos);
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
    EXPECT_EQ(Rewritten(text), text);  // and every value reads back as it was
}

TEST(RegFileTest, KeysAndNamesMatchWithoutCaseAndKeepTheirFirstSpelling) {
    const RegDocument document = Parse(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Soft\\App]\n\"Name\"=\"1\"\n\"Next\"=\"2\"\n"
        "[hkey_local_machine\\\\SOFT\\app\\]\n\"NAME\"=\"3\"\n\"\"=\"default\"\n");
    EXPECT_EQ(WriteRegFile(document),  // replaced in place; "" is the default value
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Soft\\App]\r\n\"Name\"=\"3\"\r\n"
              "\"Next\"=\"2\"\r\n@=\"default\"\r\n\r\n");
    EXPECT_NE(document.Find("HKEY_LOCAL_MACHINE\\soft\\APP"), nullptr);
    EXPECT_TRUE(document.Exists("HKEY_LOCAL_MACHINE\\soft"));
    EXPECT_TRUE(document.Exists("HKEY_LOCAL_MACHINE"));
    EXPECT_FALSE(document.Exists("HKEY_LOCAL_MACHINE\\So"));
    EXPECT_FALSE(document.Exists("HKEY_LOCAL_MACHINE\\Soft\\App\\Sub"));
}

TEST(RegFileTest, ReadsVersion5AsUtf16OrUtf8AndWritesVersion4) {
    // hex(2) and hex(7) of a version 5 file hold UTF-16LE text; hex: bytes stay bytes.
    const std::u16string text =
        u"Windows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\Caf\u00e9]\r\n"
        u"\"Name\"=\"\u00e9t\u00e9 \u20ac\"\r\n"
        u"\"Expand\"=hex(2):25,00,e9,00,00,00\r\n"
        u"\"Multi\"=hex(7):61,00,00,00,00,00\r\n"
        u"\"Bytes\"=hex:25,00\r\n";
    for (const std::string& bytes : {Utf16(text), Utf8(text)}) {
        EXPECT_EQ(Rewritten(bytes),
                  "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Caf\xC3\xA9]\r\n"
                  "\"Name\"=\"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\"\r\n\"Expand\"=hex(2):25,c3,a9,00\r\n"
                  "\"Multi\"=hex(7):61,00,00\r\n\"Bytes\"=hex:25,00\r\n\r\n");
    }
    // Text outside the BMP comes through as one character; broken UTF-16 is refused.
    EXPECT_NE(Parse(Utf16(u"REGEDIT4\r\n[A\U0001F600]\r\n")).Find("A\xF0\x9F\x98\x80"), nullptr);
    EXPECT_FALSE(ParseRegFile(Utf16(u"REGEDIT4\r\n[A\xD800]\r\n")).Ok);
    EXPECT_FALSE(ParseRegFile(Utf16(u"REGEDIT4\r\n") + "x").Ok);
}

TEST(RegFileTest, ReadsContinuationAndDeletionLinesInFileOrder) {
    EXPECT_EQ(Rewritten("REGEDIT4\r\n[A]\r\n\"b\"=hex:01,02,\\\r\n    03,04,\\\r\n  05\r\n"
                        "\"c\"=hex(2):41,\\\r\n  00\r\n\"d\"=\"after\"\r\n\"e\"=hex:01,\\"),
              "REGEDIT4\r\n\r\n[A]\r\n\"b\"=hex:01,02,03,04,05\r\n\"c\"=hex(2):41,00\r\n"
              "\"d\"=\"after\"\r\n\"e\"=hex:01\r\n\r\n");  // a file may end on a continuation
    // A deleted key takes its subkeys (not its siblings) and the values that follow it; a
    // re-created key is appended afresh.
    EXPECT_EQ(Rewritten("REGEDIT4\n; a comment\n"
                        "[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"1\"\n\"y\"=\"2\"\n"
                        "[HKEY_LOCAL_MACHINE\\A\\B]\n\"z\"=\"3\"\n[HKEY_LOCAL_MACHINE\\A B]\n"
                        "[HKEY_LOCAL_MACHINE\\C]\n  ;indented comment\n"
                        "[-HKEY_LOCAL_MACHINE\\a]\n\"ignored\"=\"because the key is deleted\"\n"
                        "[HKEY_LOCAL_MACHINE\\C]\n\"gone\"=\"1\"\n\"kept\"=\"1\"\n\"GONE\"=-\n"
                        "\"never\"=-\n[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"new\"\n"),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A B]\r\n\r\n[HKEY_LOCAL_MACHINE\\C]\r\n"
              "\"kept\"=\"1\"\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"x\"=\"new\"\r\n\r\n");
}

TEST(RegFileTest, RefusesMalformedFilesNamingTheLine) {
    auto refused = [](const std::string& text, std::size_t line) {
        const auto result = ParseRegFile(text);
        EXPECT_FALSE(result.Ok) << text;
        EXPECT_EQ(result.Line, line) << text;
        EXPECT_FALSE(result.Reason.empty());
        EXPECT_EQ(result.Document.KeyCount(), 0u);
    };
    refused("REGEDIT5\r\n[A]\r\n", 1);
    refused("\r\nREGEDIT4\r\n", 1);
    for (std::string key : {"[HKEY_LOCAL_MACHINE\\A", "[]", "[-\\]", "\"a\"=\"b\""})
        refused("REGEDIT4\r\n" + key + "\r\n", 2);
    for (std::string value :
         {"\"a\"=\"b", "\"a=\"b\"", "\"a\"=\"b\" c", "\"a\"=", "\"a\"", "\"a\"=dword:123456789",
          "\"a\"=dword:", "\"a\"=hex:1,,2", "\"a\"=hex:123", "\"a\"=hex(1g):00", "\"a\"=hex(2)00",
          "\"a\"=hex:01,\\\r\n  zz", "\"a\"=string", "random words"}) {
        refused("REGEDIT4\r\n[A]\r\n" + value + "\r\n", 3);
    }
    refused("REGEDIT4\r\n[A]\r\n\r\n\"a\"=\"b\0\"\r\n"s, 4);
    // Nothing at all is an empty registry rather than a broken one.
    for (const std::string empty : {"", "\r\n  \r\n", "\xEF\xBB\xBF", "\xFF\xFE"}) {
        const auto result = ParseRegFile(empty);
        EXPECT_TRUE(result.Ok);
        EXPECT_EQ(result.Document.KeyCount(), 0u);
    }
}

TEST(RegFileTest, HandlesLargeAndGarbageInputInLinearTime) {
    // 100 000 keys, half of them deleted again.
    std::string text = "REGEDIT4\n";
    for (int i = 0; i < 100000; ++i)
        text += "[HKEY_LOCAL_MACHINE\\K" + std::to_string(i) + "]\n\"v\"=dword:1\n";
    for (int i = 0; i < 100000; i += 2)
        text += "[-HKEY_LOCAL_MACHINE\\K" + std::to_string(i) + "]\n";
    RegDocument many = Parse(text);
    EXPECT_EQ(many.KeyCount(), 50000u);
    EXPECT_EQ(many.Keys()[0]->Path(), "HKEY_LOCAL_MACHINE\\K1");
    EXPECT_EQ(many.RemoveTree("HKEY_LOCAL_MACHINE"), 50000u);
    // One key with 100 000 values, all but one removed again.
    text = "REGEDIT4\n[A]\n";
    for (int i = 0; i < 100000; ++i)
        text += "\"v" + std::to_string(i) + "\"=\"x\"\n";
    for (int i = 1; i < 100000; ++i)
        text += "\"v" + std::to_string(i) + "\"=-\n";
    EXPECT_EQ(Parse(text).Find("A")->ValueCount(), 1u);
    // Megabyte lines, a long continuation, no line end at all, binary garbage.
    const std::string big(3 << 20, 'x');
    EXPECT_EQ(Parse("REGEDIT4\n[A]\n\"v\"=\"" + big + "\"").Find("A")->Find("v")->data, big);
    text = "REGEDIT4\n[A]\n\"b\"=hex:00,\\\n";
    for (int i = 0; i < 200000; ++i)
        text += "  01,02,\\\n";
    EXPECT_EQ(Parse(text + "  03").Find("A")->Find("b")->data.size(), 400002u);
    EXPECT_FALSE(ParseRegFile("REGEDIT4\n[" + big).Ok);
    EXPECT_FALSE(ParseRegFile(big).Ok);
    std::string garbage = "REGEDIT4\n";
    for (int i = 0; i < 1 << 20; ++i)
        garbage += static_cast<char>((i * 7919) & 0xFF);
    EXPECT_FALSE(ParseRegFile(garbage).Ok);
}

// --- the store files ---------------------------------------------------------------------

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

class RegStoreTest : public ::testing::Test {
  protected:
    RegStoreTest() {
        env.Home = temp.File("home");
        env.ConfigDirs = env.DataDirs = temp.File("none");
    }
    FileRegistry Store(const std::string& folder) { return FileRegistry(folder, env, errors); }
    std::string Read(const std::string& name) { return TempFolder::Read(temp.File(name)); }
    long ReportedLines() { return std::ranges::count(errors.str(), '\n'); }
    RegError Query(FileRegistry& store, RegRoot root, std::string_view path,
                   std::string_view name) {
        auto read = store.QueryValue(root, path, name);
        value = read.value;
        return read.error;
    }

    TempFolder temp;
    XdgEnvironment env;
    std::ostringstream errors;
    RegValue value;
};

TEST_F(RegStoreTest, CreatesFolderAndFilesPrivatelyAndOnlyOnWrites) {
    const mode_t oldMask = ::umask(022);
    FileRegistry store = Store(temp.File("a/b/store"));
    EXPECT_EQ(store.OpenKey(RegRoot::LocalMachine, "Software"), RegError::FileNotFound);
    EXPECT_EQ(Query(store, RegRoot::CurrentUser, "Software", "x"), RegError::FileNotFound);
    EXPECT_EQ(store.DeleteValue(RegRoot::CurrentUser, "Software", "x"), RegError::FileNotFound);
    EXPECT_FALSE(std::filesystem::exists(temp.File("a")));

    EXPECT_EQ(store.CreateKey(RegRoot::LocalMachine, "Software\\Pagelark"), RegError::Success);
    EXPECT_EQ(store.SetValue(RegRoot::LocalMachine, "Software\\Pagelark", "Size",
                             RegValue{RegType::Dword, "\x2C\x01\0\0"s}),
              RegError::Success);
    ::umask(oldMask);
    for (const char* created : {"a", "a/b", "a/b/store"})
        EXPECT_EQ(ModeOf(temp.File(created)), 0700u);
    EXPECT_EQ(ModeOf(temp.File("a/b/store/machine.reg")), 0600u);
    EXPECT_FALSE(std::filesystem::exists(temp.File("a/b/store/user.reg")));
    EXPECT_EQ(Read("a/b/store/machine.reg"),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Pagelark]\r\n"
              "\"Size\"=dword:0000012c\r\n\r\n");
    EXPECT_EQ(errors.str(), "");
}

TEST_F(RegStoreTest, RewriteKeepsOtherRootsAndOrderAndTakesAVersion5Export) {
    const std::string original =
        "REGEDIT4\r\n\r\n[HKEY_USERS\\S-1\\Kept]\r\n\"a\"=\"b\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\One]\r\n\"x\"=\"1\"\r\n\r\n";
    temp.Write("machine.reg", original);
    temp.Write("user.reg", Utf16(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                 u"[HKEY_CURRENT_USER\\Software\\App]\r\n\"Name\"=\"\u00e9\"\r\n"));
    FileRegistry store = Store(temp.path());
    EXPECT_EQ(
        store.SetValue(RegRoot::LocalMachine, "Software\\One", "y", RegValue{RegType::String, "2"}),
        RegError::Success);
    EXPECT_EQ(store.CreateKey(RegRoot::LocalMachine, "Software\\Two"), RegError::Success);
    EXPECT_EQ(Read("machine.reg"),
              original.substr(0, original.size() - 2) +
                  "\"y\"=\"2\"\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Two]\r\n\r\n");
    EXPECT_EQ(Query(store, RegRoot::CurrentUser, "software\\app", "name"), RegError::Success);
    EXPECT_EQ(value.data, "\xC3\xA9");
    EXPECT_EQ(store.CreateKey(RegRoot::CurrentUser, "B"), RegError::Success);
    EXPECT_EQ(Read("user.reg"),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\App]\r\n\"Name\"=\"\xC3\xA9\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\B]\r\n\r\n");
    EXPECT_EQ(errors.str(), "");
}

TEST_F(RegStoreTest, BadFileIsReportedOnceReadAsEmptyAndKeptBeforeRewrite) {
    const std::string original = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=\"1\"\r\nbroken\r\n";
    temp.Write("machine.reg", original);
    temp.Write("machine.reg.bad", "an older copy");
    FileRegistry store = Store(temp.path());
    EXPECT_EQ(store.OpenKey(RegRoot::LocalMachine, "A"), RegError::FileNotFound);
    EXPECT_EQ(Query(store, RegRoot::LocalMachine, "A", "v"), RegError::FileNotFound);
    EXPECT_EQ(Read("machine.reg.bad"), "an older copy");  // reads keep it

    EXPECT_EQ(store.CreateKey(RegRoot::LocalMachine, "B"), RegError::Success);
    EXPECT_EQ(store.CreateKey(RegRoot::LocalMachine, "C"), RegError::Success);
    EXPECT_EQ(Read("machine.reg.bad"), original);
    EXPECT_EQ(ModeOf(temp.File("machine.reg.bad")), 0600u);
    EXPECT_EQ(Read("machine.reg"),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\B]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\C]\r\n\r\n");
    EXPECT_EQ(ReportedLines(), 1) << errors.str();
    EXPECT_NE(errors.str().find(temp.File("machine.reg")), std::string::npos);
    EXPECT_NE(errors.str().find("line 4"), std::string::npos);
    // Only the file as first read is kept; later rewrites leave the copy alone.
    temp.Write("machine.reg", "garbage");
    EXPECT_EQ(store.CreateKey(RegRoot::LocalMachine, "D"), RegError::Success);
    EXPECT_EQ(Read("machine.reg.bad"), original);
}

TEST_F(RegStoreTest, RefusesWritesWhileTheBadFileCannotBeKept) {
    const std::string original = "REGEDIT4\r\n[A]\0\r\n"s;  // a NUL in version 4 text
    temp.Write("user.reg", original);
    std::filesystem::create_directories(temp.File("user.reg.bad/inside"));
    FileRegistry store = Store(temp.path());
    EXPECT_EQ(store.CreateKey(RegRoot::CurrentUser, "Pagelark"), RegError::AccessDenied);
    EXPECT_EQ(store.OpenKey(RegRoot::CurrentUser, "Pagelark"), RegError::FileNotFound);  // undone
    EXPECT_EQ(store.CreateKey(RegRoot::CurrentUser, "Pagelark"), RegError::AccessDenied);
    EXPECT_EQ(Read("user.reg"), original);
    EXPECT_EQ(ReportedLines(), 2) << errors.str();  // bad, then not kept: once each
    EXPECT_NE(errors.str().find("NUL"), std::string::npos);
    // The machine file is unaffected by the user file's trouble.
    EXPECT_EQ(store.CreateKey(RegRoot::LocalMachine, "Software"), RegError::Success);

    // A store that is not a file is read as empty and never replaced.
    std::filesystem::create_directories(temp.File("other/machine.reg/x"));
    FileRegistry other = Store(temp.File("other"));
    EXPECT_EQ(other.OpenKey(RegRoot::LocalMachine, "A"), RegError::FileNotFound);
    EXPECT_EQ(other.CreateKey(RegRoot::LocalMachine, "A"), RegError::AccessDenied);
    EXPECT_TRUE(std::filesystem::is_directory(temp.File("other/machine.reg/x")));
    EXPECT_NE(errors.str().find(temp.File("other/machine.reg")), std::string::npos);
}

TEST_F(RegStoreTest, FailedWriteIsUndoneAndLeavesTheOldFile) {
    // A loaded store whose folder is swapped for a file: every change fails and is undone.
    const std::string original = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"v\"=\"old\"\r\n\r\n";
    std::filesystem::create_directory(temp.File("store"));
    temp.Write("store/user.reg", original);
    FileRegistry store = Store(temp.File("store"));
    ASSERT_EQ(Query(store, RegRoot::CurrentUser, "A", "v"), RegError::Success);
    std::filesystem::rename(temp.File("store"), temp.File("moved"));
    temp.Write("store", "not a folder");
    EXPECT_EQ(store.SetValue(RegRoot::CurrentUser, "A", "v", RegValue{RegType::String, "new"}),
              RegError::WriteFault);
    EXPECT_EQ(store.SetValue(RegRoot::CurrentUser, "A", "w", RegValue{RegType::String, "added"}),
              RegError::WriteFault);
    EXPECT_EQ(store.DeleteValue(RegRoot::CurrentUser, "A", "v"), RegError::WriteFault);
    EXPECT_EQ(store.CreateKey(RegRoot::CurrentUser, "B"), RegError::WriteFault);
    ASSERT_EQ(Query(store, RegRoot::CurrentUser, "A", "v"), RegError::Success);
    EXPECT_EQ(value.data, "old");
    EXPECT_EQ(Query(store, RegRoot::CurrentUser, "A", "w"), RegError::FileNotFound);
    EXPECT_EQ(store.OpenKey(RegRoot::CurrentUser, "B"), RegError::FileNotFound);

    std::filesystem::remove(temp.File("store"));
    std::filesystem::rename(temp.File("moved"), temp.File("store"));
    EXPECT_EQ(Read("store/user.reg"), original);
    EXPECT_EQ(store.CreateKey(RegRoot::CurrentUser, "C"), RegError::Success);
    EXPECT_EQ(Read("store/user.reg"), original + "[HKEY_CURRENT_USER\\C]\r\n\r\n");
}

}  // namespace
}  // namespace pagelark
