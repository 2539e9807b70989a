#include "document/registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "document/file_registry.h"
#include "document/xdg.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

constexpr std::string_view kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Answers every call with fixed results and counts the calls.
class FakeBackend : public RegistryBackend {
  public:
    std::int32_t OpenKey(std::uint32_t, std::string_view) override { return Count(open); }
    std::int32_t CreateKey(std::uint32_t, std::string_view) override { return Count(create); }
    std::int32_t QueryValue(std::uint32_t, std::string_view, std::string_view,
                            RegValue& value) override {
        value = stored;
        return Count(query);
    }
    std::int32_t SetValue(std::uint32_t, std::string_view, std::string_view,
                          const RegValue& value) override {
        written = value;
        return Count(set);
    }
    std::int32_t DeleteValue(std::uint32_t, std::string_view, std::string_view) override {
        deleted = true;
        return Count(remove);
    }

    int calls = 0;
    std::int32_t open = 0, create = 0, query = 0, set = 0, remove = 0;
    RegValue stored;
    std::optional<RegValue> written;
    bool deleted = false;

  private:
    std::int32_t Count(std::int32_t result) {
        ++calls;
        return result;
    }
};

// A file registry in a temporary folder, with a desktop environment that has no settings.
struct Fixture {
    TempFolder temp;
    XdgEnvironment env = [this] {
        XdgEnvironment e;
        e.Home = temp.File("home");
        e.ConfigDirs = temp.File("etc");
        e.DataDirs = temp.File("share");
        return e;
    }();
    std::string folder = temp.File("registry");
    std::optional<FileRegistry> backend;
    std::optional<Registry> registry;

    Fixture() { Reopen(); }
    void Reopen() {
        registry.reset();
        backend.emplace(folder, env);
        registry.emplace(*backend);
    }
    Registry& reg() { return *registry; }
    std::string Write(const std::string& relative, std::string_view bytes) {
        const std::string path = temp.File(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        return temp.Write(relative, bytes);
    }
};

TEST(RegistryLayerTest, RefusesUnknownRootsAndEmptyPathsBeforeTheBackend) {
    FakeBackend fake;
    Registry reg(fake);
    for (std::uint32_t root : {HKEY_PERFORMANCE_DATA, 0u, 0x80000007u, 0x12345678u}) {
        EXPECT_FALSE(reg.RegOpenKey(root, "Software", KEY_READ));
        EXPECT_EQ(reg.LastRegError(), kRegErrorBadRoot);
        EXPECT_FALSE(reg.RegCreateKey(root, "Software", KEY_ALL_ACCESS));
        EXPECT_FALSE(reg.RegKeyExists(root, "Software"));
        EXPECT_EQ(reg.RegQueryValue(root, "Software", "x"), "");
        EXPECT_EQ(reg.LastRegError(), kRegErrorBadRoot);
        EXPECT_FALSE(reg.RegSetValue(root, "Software", "x", "y", REG_SZ));
        EXPECT_EQ(reg.LastRegError(), kRegErrorBadRoot);
        EXPECT_FALSE(reg.RegSetValue(root, "", "x", "y", REG_SZ));  // the root is checked first
        EXPECT_EQ(reg.LastRegError(), kRegErrorBadRoot);
    }
    for (std::uint32_t root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                               HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
        EXPECT_FALSE(reg.RegOpenKey(root, "", KEY_READ));
        EXPECT_EQ(reg.LastRegError(), kRegErrorEmptyPath);
        EXPECT_EQ(reg.RegQueryValue(root, "", "x"), "");
        EXPECT_EQ(reg.LastRegError(), kRegErrorEmptyPath);
        EXPECT_FALSE(reg.RegSetValue(root, "", "x", "y", REG_SZ));
        EXPECT_EQ(reg.LastRegError(), kRegErrorEmptyPath);
    }
    EXPECT_EQ(fake.calls, 0);
    EXPECT_TRUE(reg.RegOpenKey(HKEY_DYN_DATA, "x", KEY_READ));
    EXPECT_EQ(reg.LastRegError(), 0);
}

TEST(RegistryLayerTest, PassesBackendErrorsOnAndPreparesDataByType) {
    FakeBackend fake;
    Registry reg(fake);
    fake.open = ERROR_ACCESS_DENIED;
    EXPECT_EQ(reg.RegQueryValue(HKEY_LOCAL_MACHINE, "A", "v"), "");
    EXPECT_EQ(reg.LastRegError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(reg.RegKeyExists(HKEY_LOCAL_MACHINE, "A"));

    fake.open = 0;
    fake.query = ERROR_FILE_NOT_FOUND;
    EXPECT_EQ(reg.RegQueryValue(HKEY_LOCAL_MACHINE, "A", "v"), "");
    EXPECT_EQ(reg.LastRegError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.ValueType(), 0u);

    fake.query = 0;
    fake.stored = RegValue{REG_EXPAND_SZ, std::string("%PATH%\0", 7)};
    EXPECT_EQ(reg.RegQueryValue(HKEY_LOCAL_MACHINE, "A", "v"), std::string("%PATH%\0", 7));
    EXPECT_EQ(reg.ValueType(), REG_EXPAND_SZ);
    EXPECT_EQ(reg.ValueSize(), 7u);
    fake.stored = RegValue{REG_SZ, std::string("cut\0here", 8)};  // a C string ends at its zero
    EXPECT_EQ(reg.RegQueryValue(HKEY_LOCAL_MACHINE, "A", "v"), "cut");
    fake.stored = RegValue{REG_DWORD, "\x01"};
    EXPECT_EQ(reg.RegQueryValue(HKEY_LOCAL_MACHINE, "A", "v"), "&h00000001");

    fake.create = ERROR_ACCESS_DENIED;
    EXPECT_FALSE(reg.RegSetValue(HKEY_LOCAL_MACHINE, "A", "v", "x", REG_SZ));
    EXPECT_EQ(reg.LastRegError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(fake.written.has_value());

    fake.create = 0;
    fake.set = ERROR_WRITE_FAULT;
    EXPECT_FALSE(reg.RegSetValue(HKEY_LOCAL_MACHINE, "A", "v", "1,2C", REG_DWORD));
    EXPECT_EQ(reg.LastRegError(), ERROR_WRITE_FAULT);
    ASSERT_TRUE(fake.written.has_value());
    EXPECT_EQ(fake.written->type, REG_DWORD);
    EXPECT_EQ(fake.written->data, std::string("\x2C\x01\0\0", 4));
    EXPECT_EQ(reg.ValueType(), REG_DWORD);

    fake.set = 0;
    EXPECT_TRUE(reg.RegSetValue(HKEY_LOCAL_MACHINE, "A", "v", "text", REG_SZ));
    EXPECT_EQ(fake.written->data, "text");  // no terminating zero is stored
    EXPECT_TRUE(reg.RegSetValue(HKEY_LOCAL_MACHINE, "A", "v", "%x%", REG_EXPAND_SZ));
    EXPECT_EQ(fake.written->type, REG_EXPAND_SZ);
    EXPECT_EQ(fake.written->data, "%x%");
    EXPECT_FALSE(fake.deleted);

    // Text that prepares to no bytes removes the value, whatever the type.
    for (std::uint32_t type : {REG_BINARY, REG_DWORD}) {
        fake.deleted = false;
        EXPECT_TRUE(reg.RegSetValue(HKEY_LOCAL_MACHINE, "A", "v", " , ", type));
        EXPECT_TRUE(fake.deleted) << type;
    }
    fake.deleted = false;
    fake.written.reset();
    EXPECT_TRUE(reg.RegSetValue(HKEY_LOCAL_MACHINE, "A", "v", " , ", REG_SZ));
    EXPECT_FALSE(fake.deleted);
    EXPECT_EQ(fake.written->data, " , ");
    fake.remove = ERROR_FILE_NOT_FOUND;
    EXPECT_FALSE(reg.RegSetValue(HKEY_LOCAL_MACHINE, "A", "v", "", REG_SZ));
    EXPECT_TRUE(fake.deleted);
    EXPECT_EQ(reg.LastRegError(), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryLayerTest, SetCreatesTheKeyAndEmptyTextRemovesTheValue) {
    Fixture f;
    EXPECT_FALSE(f.reg().RegKeyExists(HKEY_CURRENT_USER, "Software\\Pagelark\\Options"));
    EXPECT_EQ(f.reg().LastRegError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(f.reg().RegSetValue(HKEY_CURRENT_USER, "Software\\Pagelark\\Options", "Name",
                                    "Value", REG_SZ));
    EXPECT_TRUE(f.reg().RegKeyExists(HKEY_CURRENT_USER, "software\\PAGELARK\\options"));
    EXPECT_EQ(f.reg().RegQueryValue(HKEY_CURRENT_USER, "Software\\Pagelark\\Options", "name"),
              "Value");
    EXPECT_EQ(f.reg().ValueType(), REG_SZ);
    EXPECT_EQ(f.reg().ValueSize(), 6u);

    EXPECT_TRUE(
        f.reg().RegSetValue(HKEY_CURRENT_USER, "Software\\Pagelark\\Options", "Name", "", REG_SZ));
    EXPECT_EQ(f.reg().RegQueryValue(HKEY_CURRENT_USER, "Software\\Pagelark\\Options", "Name"), "");
    EXPECT_EQ(f.reg().LastRegError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(f.reg().RegKeyExists(HKEY_CURRENT_USER, "Software\\Pagelark\\Options"));
    // Removing what is not there reports it.
    EXPECT_FALSE(
        f.reg().RegSetValue(HKEY_CURRENT_USER, "Software\\Pagelark\\Options", "Name", "", REG_SZ));
    EXPECT_EQ(f.reg().LastRegError(), ERROR_FILE_NOT_FOUND);

    // Everything survives a new session on the same folder.
    EXPECT_TRUE(
        f.reg().RegSetValue(HKEY_LOCAL_MACHINE, "Software\\Pagelark", "Count", "12C", REG_DWORD));
    EXPECT_TRUE(
        f.reg().RegCreateKey(HKEY_LOCAL_MACHINE, "Software\\Pagelark\\Empty", KEY_ALL_ACCESS));
    f.Reopen();
    EXPECT_EQ(f.reg().RegQueryValue(HKEY_LOCAL_MACHINE, "Software\\Pagelark", "Count"),
              "&h0000012C");
    EXPECT_TRUE(f.reg().RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Pagelark\\Empty"));
    EXPECT_TRUE(f.reg().RegKeyExists(HKEY_CURRENT_USER, "Software\\Pagelark\\Options"));
}

TEST(RegistryLayerTest, DwordAndBinaryReadBackAsWritten) {
    Fixture f;
    auto roundTrip = [&](std::string_view text, std::uint32_t type) {
        EXPECT_TRUE(f.reg().RegSetValue(HKEY_LOCAL_MACHINE, "A", "v", text, type)) << text;
        return f.reg().RegQueryValue(HKEY_LOCAL_MACHINE, "A", "v");
    };
    // 300 written as hex text comes back unchanged, most significant digit first.
    EXPECT_EQ(roundTrip("12C", REG_DWORD), "&h0000012C");
    EXPECT_EQ(f.reg().ValueType(), REG_DWORD);
    EXPECT_EQ(f.reg().ValueSize(), 4u);
    EXPECT_NE(TempFolder::Read(f.folder + "/machine.reg").find("\"v\"=dword:0000012c\r\n"),
              std::string::npos);
    EXPECT_EQ(roundTrip("de ad,be ef", REG_DWORD), "&hDEADBEEF");
    EXPECT_EQ(roundTrip("123456789", REG_DWORD), "&h23456789");

    EXPECT_EQ(roundTrip("01 ab,FF", REG_BINARY), "&h01ABFF");
    EXPECT_EQ(f.reg().ValueType(), REG_BINARY);
    EXPECT_EQ(f.reg().ValueSize(), 3u);
    EXPECT_EQ(roundTrip("ABC", REG_BINARY), "&hAB0C");

    EXPECT_TRUE(f.reg().RegSetValue(HKEY_LOCAL_MACHINE, "A", "v", "", REG_DWORD));
    EXPECT_EQ(f.reg().RegQueryValue(HKEY_LOCAL_MACHINE, "A", "v"), "");
    EXPECT_EQ(f.reg().LastRegError(), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryLayerTest, ReadsAtMost1024BytesCountingTheTerminator) {
    Fixture f;
    const std::string fits(1023, 's');
    ASSERT_TRUE(f.reg().RegSetValue(HKEY_LOCAL_MACHINE, "A", "s", fits, REG_SZ));
    EXPECT_EQ(f.reg().RegQueryValue(HKEY_LOCAL_MACHINE, "A", "s"), fits);
    EXPECT_EQ(f.reg().LastRegError(), 0);
    EXPECT_EQ(f.reg().ValueSize(), 1024u);

    ASSERT_TRUE(f.reg().RegSetValue(HKEY_LOCAL_MACHINE, "A", "s", fits + "s", REG_SZ));
    EXPECT_EQ(f.reg().RegQueryValue(HKEY_LOCAL_MACHINE, "A", "s"), "");
    EXPECT_EQ(f.reg().LastRegError(), ERROR_MORE_DATA);
    EXPECT_EQ(f.reg().ValueSize(), 1025u);
    EXPECT_EQ(f.reg().ValueType(), REG_SZ);

    const std::string kilobyte(2048, 'F');
    ASSERT_TRUE(f.reg().RegSetValue(HKEY_LOCAL_MACHINE, "A", "b", kilobyte, REG_BINARY));
    EXPECT_EQ(f.reg().RegQueryValue(HKEY_LOCAL_MACHINE, "A", "b"), "&h" + kilobyte);
    ASSERT_TRUE(f.reg().RegSetValue(HKEY_LOCAL_MACHINE, "A", "b", kilobyte + "00", REG_BINARY));
    EXPECT_EQ(f.reg().RegQueryValue(HKEY_LOCAL_MACHINE, "A", "b"), "");
    EXPECT_EQ(f.reg().LastRegError(), ERROR_MORE_DATA);
}

TEST(RegistryHexTest, ConvertsBetweenTextAndBytes) {
    EXPECT_EQ(HexByte("ff"), 255);
    EXPECT_EQ(HexByte("A"), 10);
    EXPECT_EQ(HexByte("0a"), 10);
    EXPECT_EQ(HexByte("G1"), 1);  // a character that is no digit counts 0
    EXPECT_EQ(HexByte("1G"), 16);
    EXPECT_EQ(HexByte("zz"), 0);
    EXPECT_EQ(HexByte(""), 0);

    EXPECT_EQ(HexToBytes(""), "");
    EXPECT_EQ(HexToBytes("ABC"), "\xAB\x0C");
    EXPECT_EQ(HexToBytes(" 0 1, 02 ,ff"), std::string("\x01\x02\xFF", 3));
    EXPECT_EQ(HexToBytes(","), "");

    EXPECT_EQ(HexToDword("12C"), std::string("\x2C\x01\0\0", 4));
    EXPECT_EQ(HexToDword("1 2 3 4 5 6 7 8 9"), "\x89\x67\x45\x23");
    EXPECT_EQ(HexToDword("0"), std::string(4, '\0'));
    EXPECT_EQ(HexToDword(" , "), "");

    EXPECT_EQ(BytesToHex(""), "&h");
    EXPECT_EQ(BytesToHex(std::string("\x00\x0A\xFF", 3)), "&h000AFF");
    EXPECT_EQ(DwordToHex("\x78\x56\x34\x12"), "&h12345678");
    EXPECT_EQ(DwordToHex(HexToDword("abcdef")), "&h00ABCDEF");
}

TEST(FileRegistryTest, PathsMatchWithoutCaseAndParentsExistImplicitly) {
    Fixture f;
    f.Write("registry/machine.reg",
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Vendor\\App]\r\n\"V\"=\"1\"\r\n");
    Registry& reg = f.reg();
    EXPECT_TRUE(reg.RegKeyExists(HKEY_LOCAL_MACHINE, "software\\VENDOR"));
    EXPECT_TRUE(reg.RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Vendor\\App\\"));
    EXPECT_FALSE(reg.RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Ven"));
    EXPECT_FALSE(reg.RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Vendor\\App\\Sub"));
    EXPECT_FALSE(reg.RegKeyExists(HKEY_CURRENT_USER, "Software\\Vendor"));
    // Opening or creating an implicit parent stores nothing.
    const std::string before = TempFolder::Read(f.folder + "/machine.reg");
    EXPECT_TRUE(reg.RegCreateKey(HKEY_LOCAL_MACHINE, "Software\\Vendor", KEY_ALL_ACCESS));
    EXPECT_EQ(TempFolder::Read(f.folder + "/machine.reg"), before);
    EXPECT_EQ(reg.RegQueryValue(HKEY_LOCAL_MACHINE, "Software\\Vendor", "V"), "");
    EXPECT_EQ(reg.LastRegError(), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(reg.RegSetValue(HKEY_LOCAL_MACHINE, "Software\\Vendor", "W", "2", REG_SZ));
    EXPECT_NE(TempFolder::Read(f.folder + "/machine.reg")
                  .find("[HKEY_LOCAL_MACHINE\\Software\\Vendor]\r\n\"W\"=\"2\"\r\n"),
              std::string::npos);

    // Names the text file could not hold are refused, not mangled.
    EXPECT_FALSE(
        reg.RegSetValue(HKEY_LOCAL_MACHINE, "Software\\Vendor", "two\nlines", "x", REG_SZ));
    EXPECT_EQ(reg.LastRegError(), ERROR_INVALID_NAME);
    EXPECT_FALSE(reg.RegCreateKey(HKEY_LOCAL_MACHINE, std::string("A\0B", 3), KEY_ALL_ACCESS));
    EXPECT_EQ(reg.LastRegError(), ERROR_INVALID_NAME);
}

TEST(FileRegistryTest, RootsWithoutAFileHaveNoKeysAndRefuseWrites) {
    Fixture f;
    for (std::uint32_t root : {HKEY_USERS, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
        EXPECT_FALSE(f.reg().RegKeyExists(root, "Software"));
        EXPECT_EQ(f.reg().LastRegError(), ERROR_FILE_NOT_FOUND);
        EXPECT_FALSE(f.reg().RegCreateKey(root, "Software", KEY_ALL_ACCESS));
        EXPECT_EQ(f.reg().LastRegError(), ERROR_ACCESS_DENIED);
        RegValue value{REG_SZ, "x"};
        EXPECT_EQ(f.backend->SetValue(root, "Software", "x", value), ERROR_ACCESS_DENIED);
        EXPECT_EQ(f.backend->DeleteValue(root, "Software", "x"), ERROR_ACCESS_DENIED);
        EXPECT_EQ(f.backend->QueryValue(root, "Software", "x", value), ERROR_FILE_NOT_FOUND);
    }
    EXPECT_FALSE(std::filesystem::exists(f.folder));
}

TEST(FileRegistryTest, ClassesRootMergesTheUserOverTheMachine) {
    Fixture f;
    f.Write("registry/machine.reg",
            "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\.show]\r\n@=\"machine\"\r\n"
            "\"Only\"=\"machine\"\r\n");
    f.Write("registry/user.reg",
            "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes\\.show]\r\n@=\"user\"\r\n");
    Registry& reg = f.reg();
    EXPECT_EQ(reg.RegQueryValue(HKEY_CLASSES_ROOT, ".show", ""), "user");
    EXPECT_EQ(reg.RegQueryValue(HKEY_CLASSES_ROOT, ".show", "Only"), "machine");

    // Values go where the user has the key; new keys go to the machine.
    EXPECT_TRUE(reg.RegSetValue(HKEY_CLASSES_ROOT, ".show", "Added", "1", REG_SZ));
    EXPECT_NE(TempFolder::Read(f.folder + "/user.reg").find("\"Added\"=\"1\""), std::string::npos);
    EXPECT_TRUE(reg.RegSetValue(HKEY_CLASSES_ROOT, "Pagelark.Show", "", "Show", REG_SZ));
    EXPECT_NE(TempFolder::Read(f.folder + "/machine.reg")
                  .find("[HKEY_LOCAL_MACHINE\\Software\\Classes\\Pagelark.Show]\r\n@=\"Show\""),
              std::string::npos);
    EXPECT_EQ(reg.RegQueryValue(HKEY_LOCAL_MACHINE, "Software\\Classes\\Pagelark.Show", ""),
              "Show");
    // Removing the user's value uncovers the machine's.
    EXPECT_TRUE(reg.RegSetValue(HKEY_CLASSES_ROOT, ".show", "", "", REG_SZ));
    EXPECT_EQ(reg.RegQueryValue(HKEY_CLASSES_ROOT, ".show", ""), "machine");
}

// --- values taken from the desktop settings ------------------------------------------------

TEST(XdgTest, DocumentsFolderFollowsUserDirsThenFallsBack) {
    Fixture f;
    const std::string home = f.env.Home;
    std::filesystem::create_directories(home);
    EXPECT_EQ(DocumentsFolder(f.env), home);
    std::filesystem::create_directories(home + "/Documents");
    EXPECT_EQ(DocumentsFolder(f.env), home + "/Documents");

    f.Write("home/.config/user-dirs.dirs",
            "# written by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
            "XDG_DOCUMENTS_DIR=\"$HOME/Papers/\"\n");
    EXPECT_EQ(DocumentsFolder(f.env), home + "/Papers");
    f.Write("home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"/data/My \\\"Docs\\\"\"\n");
    EXPECT_EQ(DocumentsFolder(f.env), "/data/My \"Docs\"");
    f.Write("home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n");
    EXPECT_EQ(DocumentsFolder(f.env), home);
    // A relative or $HOMEX value is not a folder the file may name.
    f.Write("home/.config/user-dirs.dirs",
            "XDG_DOCUMENTS_DIR=\"Docs\"\nXDG_DOCUMENTS_DIR=\"$HOMEX/a\"\n");
    EXPECT_EQ(DocumentsFolder(f.env), home + "/Documents");

    f.env.ConfigHome = f.temp.File("config");
    f.Write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Elsewhere\"\n");
    EXPECT_EQ(DocumentsFolder(f.env), home + "/Elsewhere");
    f.env.Home = home + "/";
    EXPECT_EQ(DocumentsFolder(f.env), home + "/Elsewhere");
    f.env.Home.clear();
    EXPECT_EQ(DocumentsFolder(f.env), "");
}

TEST(XdgTest, ExecLineBecomesACommandWithPercentOne) {
    EXPECT_EQ(ExecToCommand("firefox %u"), "firefox \"%1\"");
    EXPECT_EQ(ExecToCommand("browser --new-window %U"), "browser --new-window \"%1\"");
    EXPECT_EQ(ExecToCommand("viewer %f"), "viewer \"%1\"");
    EXPECT_EQ(ExecToCommand("viewer %F --x"), "viewer \"%1\" --x");
    EXPECT_EQ(ExecToCommand("app \"%u\""), "app \"%1\"");  // already quoted
    EXPECT_EQ(ExecToCommand("app --icon %i %c %k %u"), "app --icon \"%1\"");
    EXPECT_EQ(ExecToCommand("app 100%% %u"), "app 100% \"%1\"");
    EXPECT_EQ(ExecToCommand("app %"), "app");
    EXPECT_EQ(ExecToCommand("app"), "app");
}

TEST(XdgTest, DefaultHtmlHandlerFollowsTheLookupOrder) {
    Fixture f;
    EXPECT_EQ(DefaultHtmlCommand(f.env), "");
    f.Write("share/applications/sys-browser.desktop",
            "[Desktop Entry]\nName=Browser\nExec=sys-browser %U\n[Desktop Action new]\nExec=x\n");
    f.Write("share/applications/other.desktop", "[Desktop Entry]\nExec=other %u\n");
    f.Write("share/applications/hidden.desktop", "[Desktop Entry]\nExec=hidden %u\nHidden=true\n");
    f.Write("etc/mimeapps.list",
            "[Added Associations]\ntext/html=other.desktop\n"
            "[Default Applications]\ntext/plain=other.desktop\n"
            "text/html = missing.desktop;hidden.desktop;sys-browser.desktop;\n");
    EXPECT_EQ(DefaultHtmlCommand(f.env), "sys-browser \"%1\"");

    // The user's desktop file of the same id wins over the system's.
    f.Write("home/.local/share/applications/sys-browser.desktop",
            "[Desktop Entry]\nExec=sys-browser --private\\s%u\n");
    EXPECT_EQ(DefaultHtmlCommand(f.env), "sys-browser --private \"%1\"");

    // The user's configuration comes before the system's, a desktop's own list first.
    f.Write("home/.config/mimeapps.list", "[Default Applications]\ntext/html=other.desktop\n");
    EXPECT_EQ(DefaultHtmlCommand(f.env), "other \"%1\"");
    f.env.CurrentDesktop = "Fancy:Plain";
    f.Write("etc/plain-mimeapps.list", "[Default Applications]\ntext/html=hidden.desktop\n");
    f.Write("home/.config/plain-mimeapps.list",
            "[Default Applications]\ntext/html=sys-browser.desktop\n");
    EXPECT_EQ(DefaultHtmlCommand(f.env), "sys-browser --private \"%1\"");

    // Relative base directories are ignored.
    f.env.DataHome = "relative/share";
    EXPECT_EQ(DefaultHtmlCommand(f.env), "sys-browser --private \"%1\"");
}

TEST(SynthesizedValueTest, AnswersFromTheDesktopAndRefusesWrites) {
    Fixture f;
    std::filesystem::create_directories(f.env.Home + "/Documents");
    f.Write("share/applications/web.desktop", "[Desktop Entry]\nExec=web %u\n");
    f.Write("etc/mimeapps.list", "[Default Applications]\ntext/html=web.desktop\n");
    f.Reopen();
    Registry& reg = f.reg();

    EXPECT_EQ(reg.RegQueryValue(HKEY_CURRENT_USER, kShellFolders, "Personal"),
              f.env.Home + "/Documents");
    EXPECT_EQ(reg.ValueType(), REG_SZ);
    EXPECT_TRUE(reg.RegKeyExists(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows"));
    EXPECT_EQ(reg.RegQueryValue(HKEY_CLASSES_ROOT, ".htm", ""), "htmlfile");
    EXPECT_EQ(reg.RegQueryValue(HKEY_CLASSES_ROOT, ".HTML", ""), "htmlfile");
    EXPECT_EQ(reg.RegQueryValue(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", ""),
              "web \"%1\"");
    EXPECT_TRUE(reg.RegKeyExists(HKEY_CLASSES_ROOT, "htmlfile\\shell"));
    EXPECT_FALSE(reg.RegKeyExists(HKEY_CLASSES_ROOT, "htmlfile\\shell\\print"));

    EXPECT_FALSE(reg.RegSetValue(HKEY_CURRENT_USER, kShellFolders, "personal", "/x", REG_SZ));
    EXPECT_EQ(reg.LastRegError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(reg.RegSetValue(HKEY_CURRENT_USER, kShellFolders, "Personal", "", REG_SZ));
    EXPECT_EQ(reg.LastRegError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(reg.RegSetValue(HKEY_CLASSES_ROOT, ".htm", "", "other", REG_SZ));
    EXPECT_EQ(reg.LastRegError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(
        reg.RegSetValue(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", "", "x", REG_SZ));
    EXPECT_EQ(reg.LastRegError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(std::filesystem::exists(f.folder));
    // Other values beside them are ordinary ones.
    EXPECT_TRUE(reg.RegSetValue(HKEY_CLASSES_ROOT, ".htm", "Content Type", "text/html", REG_SZ));
    EXPECT_EQ(reg.RegQueryValue(HKEY_CLASSES_ROOT, ".htm", "Content Type"), "text/html");

    // Without a handler the HTML keys are missing.
    std::filesystem::remove(f.temp.File("share/applications/web.desktop"));
    EXPECT_FALSE(reg.RegKeyExists(HKEY_CLASSES_ROOT, "htmlfile"));
    EXPECT_EQ(reg.RegQueryValue(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", ""), "");
    EXPECT_EQ(reg.LastRegError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.RegQueryValue(HKEY_CLASSES_ROOT, ".html", ""), "");
    EXPECT_EQ(reg.LastRegError(), ERROR_FILE_NOT_FOUND);
}

TEST(FileRegistryTest, FolderComesFromTheEnvironment) {
    struct Saved {
        const char* name;
        std::optional<std::string> value;
    };
    std::vector<Saved> saved;
    for (const char* name : {"PAGELARK_REGISTRY_DIR", "XDG_CONFIG_HOME", "HOME"}) {
        const char* value = std::getenv(name);
        saved.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
    }
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    ::setenv("PAGELARK_REGISTRY_DIR", "/reg", 1);
    EXPECT_EQ(RegistryFolderFromEnvironment(), "/reg");
    ::setenv("PAGELARK_REGISTRY_DIR", "", 1);
    EXPECT_EQ(RegistryFolderFromEnvironment(), "/cfg/pagelark");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(RegistryFolderFromEnvironment(), "/home/someone/.config/pagelark");
    for (const auto& s : saved) {
        if (s.value) {
            ::setenv(s.name, s.value->c_str(), 1);
        } else {
            ::unsetenv(s.name);
        }
    }
}

}  // namespace
}  // namespace pagelark
