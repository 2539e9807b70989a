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
using namespace std::string_literals;

constexpr std::uint32_t kMachine = HKEY_LOCAL_MACHINE;
constexpr std::uint32_t kUser = HKEY_CURRENT_USER;
constexpr std::uint32_t kClasses = HKEY_CLASSES_ROOT;
constexpr std::string_view kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::string_view kHtmlCommand = "htmlfile\\shell\\open\\command";

// The registry layer over a file registry in a temporary folder, under a desktop environment
// with no settings.
class RegistryTest : public ::testing::Test {
  protected:
    RegistryTest() {
        env.Home = temp.File("home");
        env.ConfigDirs = temp.File("etc");
        env.DataDirs = temp.File("share");
        Reopen();
    }
    void Reopen() {
        backend.emplace(folder, env);
        reg.emplace(*backend);
    }
    std::string Get(std::uint32_t root, std::string_view path, std::string_view name) {
        return reg->RegQueryValue(root, path, name);
    }
    bool Set(std::uint32_t root, std::string_view path, std::string_view name,
             std::string_view text, std::uint32_t type = REG_SZ) {
        return reg->RegSetValue(root, path, name, text, type);
    }
    bool Holds(const std::string& file, std::string_view text) {
        return TempFolder::Read(folder + "/" + file).find(text) != std::string::npos;
    }
    void Write(const std::string& relative, std::string_view bytes) {
        std::filesystem::create_directories(
            std::filesystem::path(temp.File(relative)).parent_path());
        temp.Write(relative, bytes);
    }

    TempFolder temp;
    XdgEnvironment env;
    std::string folder = temp.File("registry");
    std::optional<FileRegistry> backend;
    std::optional<Registry> reg;
};
using FileRegistryTest = RegistryTest;
using XdgTest = RegistryTest;

TEST_F(RegistryTest, ChecksRootThenPathBeforeTheBackendAndPassesItsErrorsOn) {
    auto refused = [&](std::uint32_t root, std::string_view path, std::int32_t readError,
                       std::int32_t writeError) {
        SCOPED_TRACE(std::to_string(root) + " '" + std::string(path) + "'");
        EXPECT_FALSE(reg->RegOpenKey(root, path, KEY_READ));
        EXPECT_EQ(reg->LastRegError(), readError);
        EXPECT_FALSE(reg->RegKeyExists(root, path));
        EXPECT_EQ(Get(root, path, "x"), "");
        EXPECT_EQ(reg->LastRegError(), readError);
        EXPECT_FALSE(reg->RegCreateKey(root, path, KEY_ALL_ACCESS));
        EXPECT_EQ(reg->LastRegError(), writeError);
        EXPECT_FALSE(Set(root, path, "x", "y"));
        EXPECT_EQ(reg->LastRegError(), writeError);
    };
    for (std::uint32_t root : {HKEY_PERFORMANCE_DATA, 0u, 0x80000007u, 0x12345678u}) {
        refused(root, "Software", kRegErrorBadRoot, kRegErrorBadRoot);
        refused(root, "", kRegErrorBadRoot, kRegErrorBadRoot);
    }
    for (std::uint32_t root :
         {kClasses, kUser, kMachine, HKEY_USERS, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
        refused(root, "", kRegErrorEmptyPath, kRegErrorEmptyPath);
    }
    // Roots without a store file have no keys and take no writes.
    for (std::uint32_t root : {HKEY_USERS, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA}) {
        refused(root, "Software", ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED);
        EXPECT_EQ(backend->SetValue(root, "Software", "x", {}), ERROR_ACCESS_DENIED);
        EXPECT_EQ(backend->DeleteValue(root, "Software", "x"), ERROR_ACCESS_DENIED);
    }
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST_F(RegistryTest, ValuesReadBackByTypeUpTo1024BytesWithTheTerminator) {
    const std::string text(1023, 's'), bytes(2048, 'F');
    const struct {
        std::string name, text;
        std::uint32_t type;
        std::string read;  // "": too big to read
        std::uint32_t size;
    } rows[] = {
        {"sz", "text", REG_SZ, "text", 5},  // stored without its terminating zero
        {"cut", "cut\0here"s, REG_SZ, "cut", 9},
        {"blank", " , ", REG_SZ, " , ", 4},
        {"expand", "%P%\0"s, REG_EXPAND_SZ, "%P%\0"s, 4},
        {"dword", "1,2C", REG_DWORD, "&h0000012C", 4},  // 300, most significant digit first
        {"dword2", "123456789", REG_DWORD, "&h23456789", 4},
        {"dword3", "0", REG_DWORD, "&h00000000", 4},
        {"binary", "01 ab,FF", REG_BINARY, "&h01ABFF", 3},
        {"binary2", "G1,1G 0G,c", REG_BINARY, "&h0110000C", 4},  // a non-digit counts 0
        {"fits", text, REG_SZ, text, 1024},
        {"over", text + "s", REG_SZ, "", 1025},
        {"fitsb", bytes, REG_BINARY, "&h" + bytes, 1024},
        {"overb", bytes + "00", REG_BINARY, "", 1025},
    };
    for (const auto& row : rows)
        EXPECT_TRUE(Set(kMachine, "Software\\Pagelark", row.name, row.text, row.type)) << row.name;
    backend->SetValue(kMachine, "Software\\Pagelark", "short", {REG_DWORD, "\x01"});
    EXPECT_TRUE(Holds("machine.reg", "\"dword\"=dword:0000012c\r\n"));
    EXPECT_TRUE(Holds("machine.reg", "\"binary\"=hex:01,ab,ff\r\n"));
    EXPECT_TRUE(reg->RegCreateKey(kMachine, "Software\\Pagelark\\Empty", KEY_ALL_ACCESS));
    Reopen();  // a new session reads everything back from the file
    EXPECT_TRUE(reg->RegKeyExists(kMachine, "Software\\Pagelark\\Empty"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Get(kMachine, "Software\\Pagelark", row.name), row.read);
        EXPECT_EQ(reg->LastRegError(), row.read.empty() ? ERROR_MORE_DATA : ERROR_SUCCESS);
        EXPECT_EQ(reg->ValueType(), row.type);
        EXPECT_EQ(reg->ValueSize(), row.size);
    }
    EXPECT_EQ(Get(kMachine, "Software\\Pagelark", "short"), "&h00000001");
}

TEST_F(RegistryTest, SetCreatesTheKeyAndTextOfNoBytesRemovesTheValue) {
    EXPECT_FALSE(reg->RegKeyExists(kUser, "A"));
    EXPECT_EQ(reg->LastRegError(), ERROR_FILE_NOT_FOUND);
    for (auto [text, type] : {std::pair{"", REG_SZ}, {" , ", REG_DWORD}, {",", REG_BINARY}}) {
        ASSERT_TRUE(Set(kUser, "A", "v", "1", type));
        EXPECT_TRUE(Set(kUser, "A", "v", text, type)) << type;
        EXPECT_EQ(Get(kUser, "A", "v"), "");
        EXPECT_EQ(reg->LastRegError(), ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(reg->ValueType(), 0u);
    }
    EXPECT_TRUE(reg->RegKeyExists(kUser, "A"));
    EXPECT_FALSE(Set(kUser, "A", "v", ""));  // removing what is not there reports it
    EXPECT_EQ(reg->LastRegError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(FileRegistryTest, PathsMatchWithoutCaseParentsExistImplicitlyAndBadNamesAreRefused) {
    Write("registry/machine.reg",
          "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Vendor\\App]\r\n\"V\"=\"1\"\r\n");
    EXPECT_EQ(Get(kMachine, "software\\\\VENDOR\\app\\", "v"), "1");
    EXPECT_TRUE(reg->RegKeyExists(kMachine, "Software\\Vendor"));
    EXPECT_FALSE(reg->RegKeyExists(kMachine, "Software\\Ven"));
    EXPECT_FALSE(reg->RegKeyExists(kMachine, "Software\\Vendor\\App\\Sub"));
    EXPECT_FALSE(reg->RegKeyExists(kUser, "Software\\Vendor"));
    // Opening or creating an implicit parent stores nothing; setting a value in it does.
    const std::string before = TempFolder::Read(folder + "/machine.reg");
    EXPECT_TRUE(reg->RegCreateKey(kMachine, "Software\\Vendor", KEY_ALL_ACCESS));
    EXPECT_EQ(TempFolder::Read(folder + "/machine.reg"), before);
    EXPECT_EQ(Get(kMachine, "Software\\Vendor", "V"), "");
    EXPECT_TRUE(Set(kMachine, "Software\\Vendor", "W", "2"));
    EXPECT_TRUE(Holds("machine.reg", "[HKEY_LOCAL_MACHINE\\Software\\Vendor]\r\n\"W\"=\"2\"\r\n"));
    // Names the text file could not hold are refused, not mangled.
    EXPECT_FALSE(Set(kMachine, "Software\\Vendor", "two\nlines", "x"));
    EXPECT_EQ(reg->LastRegError(), ERROR_INVALID_NAME);
    EXPECT_FALSE(reg->RegCreateKey(kMachine, "A\0B"s, KEY_ALL_ACCESS));
    EXPECT_EQ(reg->LastRegError(), ERROR_INVALID_NAME);
}

TEST_F(FileRegistryTest, ClassesRootMergesTheUserOverTheMachine) {
    Write("registry/machine.reg",
          "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\.show]\r\n@=\"machine\"\r\n"
          "\"Only\"=\"machine\"\r\n");
    Write("registry/user.reg",
          "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Classes\\.show]\r\n@=\"user\"\r\n");
    EXPECT_EQ(Get(kClasses, ".show", ""), "user");
    EXPECT_EQ(Get(kClasses, ".show", "Only"), "machine");
    // Values go where the user has the key; new keys go to the machine.
    EXPECT_TRUE(Set(kClasses, ".show", "Added", "1"));
    EXPECT_TRUE(Holds("user.reg", "\"Added\"=\"1\""));
    EXPECT_TRUE(Set(kClasses, "Pagelark.Show", "", "Show"));
    EXPECT_TRUE(Holds("machine.reg",
                      "[HKEY_LOCAL_MACHINE\\Software\\Classes\\Pagelark.Show]\r\n@=\"Show\""));
    // Removing the user's value uncovers the machine's.
    EXPECT_TRUE(Set(kClasses, ".show", "", ""));
    EXPECT_EQ(Get(kClasses, ".show", ""), "machine");
}

TEST_F(FileRegistryTest, DesktopValuesAreReadOnlyAndVanishWithoutAHandler) {
    std::filesystem::create_directories(env.Home + "/Documents");
    Write("share/applications/web.desktop", "[Desktop Entry]\nExec=web %u\n");
    Write("etc/mimeapps.list", "[Default Applications]\ntext/html=web.desktop\n");
    Reopen();
    EXPECT_EQ(Get(kUser, kShellFolders, "Personal"), env.Home + "/Documents");
    EXPECT_TRUE(reg->RegKeyExists(kUser, "Software\\Microsoft\\Windows"));
    EXPECT_EQ(Get(kClasses, ".htm", ""), "htmlfile");
    EXPECT_EQ(Get(kClasses, ".HTML", ""), "htmlfile");
    EXPECT_EQ(Get(kClasses, kHtmlCommand, ""), "web \"%1\"");
    EXPECT_TRUE(reg->RegKeyExists(kClasses, "htmlfile\\shell"));
    EXPECT_FALSE(reg->RegKeyExists(kClasses, "htmlfile\\shell\\print"));
    // The desktop's values are read-only, for a change and for a removal.
    EXPECT_FALSE(Set(kUser, kShellFolders, "personal", ""));
    EXPECT_EQ(reg->LastRegError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Set(kClasses, ".htm", "", "other"));
    EXPECT_EQ(reg->LastRegError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Set(kClasses, kHtmlCommand, "", "x"));
    EXPECT_EQ(reg->LastRegError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(std::filesystem::exists(folder));
    // Other values beside them are ordinary ones.
    EXPECT_TRUE(Set(kClasses, ".htm", "Content Type", "text/html"));
    EXPECT_EQ(Get(kClasses, ".htm", "Content Type"), "text/html");

    std::filesystem::remove(temp.File("share/applications/web.desktop"));
    EXPECT_FALSE(reg->RegKeyExists(kClasses, "htmlfile"));
    for (std::string_view path : {kHtmlCommand, std::string_view(".html")}) {
        EXPECT_EQ(Get(kClasses, path, ""), "");
        EXPECT_EQ(reg->LastRegError(), ERROR_FILE_NOT_FOUND);
    }
}

TEST(FileRegistryFolderTest, ComesFromTheEnvironment) {
    const char* names[] = {"HOME", "XDG_CONFIG_HOME", "PAGELARK_REGISTRY_DIR"};
    std::vector<std::optional<std::string>> saved;
    for (const char* name : names)
        saved.push_back(std::getenv(name) ? std::optional<std::string>(std::getenv(name))
                                          : std::nullopt);
    const char* rows[][4] = {{"/home/someone", "/cfg", "/reg", "/reg"},
                             {"/home/someone", "/cfg", "", "/cfg/pagelark"},
                             {"/home/someone", "relative", "", "/home/someone/.config/pagelark"}};
    for (const auto& row : rows) {
        for (int i = 0; i < 3; ++i)
            ::setenv(names[i], row[i], 1);
        EXPECT_EQ(RegistryFolderFromEnvironment(), row[3]);
    }
    for (std::size_t i = 0; i < saved.size(); ++i) {
        if (saved[i]) {
            ::setenv(names[i], saved[i]->c_str(), 1);
        } else {
            ::unsetenv(names[i]);
        }
    }
}

// --- the desktop settings behind those values ---------------------------------------------

TEST_F(XdgTest, DocumentsFolderFollowsUserDirsThenFallsBack) {
    const std::string home = env.Home;
    std::filesystem::create_directories(home);
    EXPECT_EQ(DocumentsFolder(env), home);
    std::filesystem::create_directories(home + "/Documents");
    const std::pair<std::string_view, std::string> rows[] = {
        {"", home + "/Documents"},
        {"# by the desktop\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"/first\"\n"
         "XDG_DOCUMENTS_DIR=\"$HOME/Papers/\"\n",
         home + "/Papers"},  // the last valid line wins
        {"XDG_DOCUMENTS_DIR=\"/data/My \\\"Docs\\\"\"\n", "/data/My \"Docs\""},
        {"XDG_DOCUMENTS_DIR=\"$HOME/\"\n", home},
        // A relative or $HOMEX value is not a folder the file may name.
        {"XDG_DOCUMENTS_DIR=\"Docs\"\nXDG_DOCUMENTS_DIR=\"$HOMEX/a\"\n", home + "/Documents"},
    };
    for (const auto& [text, expected] : rows) {
        Write("home/.config/user-dirs.dirs", text);
        EXPECT_EQ(DocumentsFolder(env), expected) << text;
    }
    env.ConfigHome = temp.File("config");
    Write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Elsewhere\"\n");
    env.Home = home + "/";
    EXPECT_EQ(DocumentsFolder(env), home + "/Elsewhere");
    env.Home.clear();
    EXPECT_EQ(DocumentsFolder(env), "");
}

TEST(XdgExecTest, ExecLineBecomesACommandWithPercentOne) {
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"app %u %U %f %F --x", "app \"%1\" \"%1\" \"%1\" \"%1\" --x"},
        {"app \"%u\"", "app \"%1\""},  // already quoted
        {"app --icon %i %c %k %u", "app --icon \"%1\""},
        {"app 100%% %", "app 100%"},
    };
    for (const auto& [exec, command] : rows)
        EXPECT_EQ(ExecToCommand(exec), command) << exec;
}

TEST_F(XdgTest, DefaultHtmlHandlerFollowsTheLookupOrder) {
    EXPECT_EQ(DefaultHtmlCommand(env), "");
    Write("share/applications/sys-browser.desktop",
          "[Desktop Entry]\nName=Browser\nExec=sys-browser %U\n[Desktop Action new]\nExec=x\n");
    Write("share/applications/other.desktop", "[Desktop Entry]\nExec=other %u\n");
    Write("share/applications/hidden.desktop", "[Desktop Entry]\nExec=hidden %u\nHidden=true\n");
    Write("etc/mimeapps.list",
          "[Added Associations]\ntext/html=other.desktop\n"
          "[Default Applications]\ntext/plain=other.desktop\n"
          "text/html = missing.desktop;hidden.desktop;sys-browser.desktop;\n");
    EXPECT_EQ(DefaultHtmlCommand(env), "sys-browser \"%1\"");
    // The user's desktop file of the same id wins over the system's.
    Write("home/.local/share/applications/sys-browser.desktop",
          "[Desktop Entry]\nExec=sys-browser --private\\s%u\n");
    EXPECT_EQ(DefaultHtmlCommand(env), "sys-browser --private \"%1\"");
    // The user's configuration comes before the system's, a desktop's own list first.
    Write("home/.config/mimeapps.list", "[Default Applications]\ntext/html=other.desktop\n");
    EXPECT_EQ(DefaultHtmlCommand(env), "other \"%1\"");
    env.CurrentDesktop = "Fancy:Plain";
    Write("etc/plain-mimeapps.list", "[Default Applications]\ntext/html=hidden.desktop\n");
    Write("home/.config/plain-mimeapps.list",
          "[Default Applications]\ntext/html=sys-browser.desktop\n");
    EXPECT_EQ(DefaultHtmlCommand(env), "sys-browser --private \"%1\"");
    env.DataHome = "relative/share";  // ignored
    EXPECT_EQ(DefaultHtmlCommand(env), "sys-browser --private \"%1\"");
}

}  // namespace
}  // namespace pagelark
