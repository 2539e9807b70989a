// The Windows adapters against the system's own registry and files (Wine's, on the build
// machine): what the layers above would only see through them.

#include <windows.h>

#include <gtest/gtest.h>
#include <sddl.h>
#include <shlobj.h>

#include <filesystem>

#include "maintenance/reboot.h"
#include "maintenance/windows_only/auto_logon.h"
#include "platform/desktop_defaults.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/system_registry.h"
#include "platform/temp_dir.h"
#include "platform/text.h"
#include "platform/windows/wide.h"
#include "settings/managed.h"
#include "settings/registry.h"
#include "settings/registry_store.h"
#include "settings/settings.h"
#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

constexpr const wchar_t* kTestKey = L"Software\\Halvaro\\PagelarkAdapterTest";

// The value as the system holds it, read with its own function.
std::wstring SystemText(HKEY root, const wchar_t* key, const wchar_t* name, DWORD* type = nullptr) {
    wchar_t buffer[512] = {};
    DWORD size = sizeof buffer;
    if (::RegGetValueW(root, key, name, RRF_RT_ANY | RRF_NOEXPAND, type, buffer, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

struct TestKeys {
    ~TestKeys() {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestKey);
    }
};

TEST(WindowsRegistry, ValuesRoundTripAsTheSystemStoresThem) {
    TestKeys cleanup;
    auto backend = SystemRegistry();
    ASSERT_NE(backend, nullptr);
    Registry registry(*backend);
    const std::string key = Narrow(kTestKey);
    const struct {
        RegRoot root;
        HKEY hkey;
        const char* name;
        RegType type;
        std::string written, read;
        std::wstring stored;  // as RegGetValueW gives it back; empty: not text
    } cases[] = {
        // UTF-8 in, UTF-16 in the registry: what another program reads there.
        {RegRoot::CurrentUser, HKEY_CURRENT_USER, "Text", RegType::String, "Grüße € \"x\"",
         "Grüße € \"x\"", L"Grüße € \"x\""},
        // A stored Windows-1252 byte is the character it stands for.
        {RegRoot::LocalMachine, HKEY_LOCAL_MACHINE, "Old", RegType::String, "caf\xe9", "café",
         L"café"},
        {RegRoot::CurrentUser, HKEY_CURRENT_USER, "Number", RegType::Dword, "12C", "&h0000012C",
         L""},
        {RegRoot::LocalMachine, HKEY_LOCAL_MACHINE, "Bytes", RegType::Binary, "0A, 0b 1",
         "&h0A0B01", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(registry.SetValue(c.root, key, c.name, c.written, c.type));
        EXPECT_EQ(registry.QueryValue(c.root, key, c.name), c.read);
        DWORD type = 0;
        const std::wstring stored = SystemText(c.hkey, kTestKey, Wide(c.name).c_str(), &type);
        EXPECT_EQ(type, static_cast<DWORD>(c.type));
        if (!c.stored.empty()) {
            EXPECT_EQ(stored, c.stored);
        }
        // An empty text removes the value.
        ASSERT_TRUE(registry.SetValue(c.root, key, c.name, "", c.type));
        EXPECT_EQ(SystemText(c.hkey, kTestKey, Wide(c.name).c_str()), L"<missing>");
    }
    EXPECT_EQ(backend->QueryValue(RegRoot::CurrentUser, key + "\\Missing", "x").error,
              RegError::FileNotFound);
    EXPECT_EQ(registry.QueryValue(RegRoot::PerformanceData, key, "x"), "");
}

struct RecordingReboot final : RebootSystem {
    std::string calls;
    void EnableShutdownPrivilege() override { calls += "privilege,"; }
    bool RequestReboot(bool force) override {
        calls += force ? "forced" : "reboot";
        return true;
    }
};

// The Winlogon key is the real one: written only as the logon settings say, nothing else.
TEST(WindowsRegistry, TheRebootWritesTheLogonValuesUnderWinlogonAsTheSystemReadsThem) {
    // On Windows itself this would switch the machine's automatic logon on.
    if (::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr)
        GTEST_SKIP() << "the real Winlogon key is written only under Wine";
    auto backend = SystemRegistry();
    Registry registry(*backend);
    const std::wstring winlogon = Wide(kWinlogonKey);
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, winlogon.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t earlier[] = L"EARLIER";
    ::RegSetValueExW(key, L"DefaultDomainName", 0, REG_SZ, reinterpret_cast<const BYTE*>(earlier),
                     sizeof earlier);
    ::RegCloseKey(key);
    MachineSettings machine;
    machine.NTLogin = "kiosk";
    machine.NTPassword = "pässword";
    RecordingReboot system;
    EXPECT_TRUE(KioskMaintenance(registry, machine, system).RebootSequence(true, false));
    EXPECT_EQ(system.calls, "privilege,reboot");
    const struct {
        const wchar_t* name;
        const wchar_t* text;
    } expected[] = {{L"AutoAdminLogon", L"1"},
                    {L"DontDisplayLastUserName", L"0"},
                    {L"DefaultDomainName", L"EARLIER"},  // an empty domain leaves it
                    {L"DefaultUserName", L"kiosk"},
                    {L"DefaultPassword", L"pässword"}};
    for (const auto& value : expected) {
        DWORD type = 0;
        EXPECT_EQ(SystemText(HKEY_LOCAL_MACHINE, winlogon.c_str(), value.name, &type), value.text)
            << Narrow(value.name);
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << Narrow(value.name);
    }
}

TEST(WindowsDesktop, DocumentsFolderAndBrowserAreTheShellsOwn) {
    // The documents folder the shell folders key names (where the program always looked),
    // existing, without a trailing separator.
    const std::string documents = DocumentsFolder();
    EXPECT_TRUE(DirExists(documents)) << documents;
    EXPECT_FALSE(documents.ends_with('\\'));
    wchar_t personal[MAX_PATH] = {};
    ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, personal),
              S_OK);
    EXPECT_TRUE(EqualsNoCase(documents, Narrow(personal))) << Narrow(personal);
    // The open command of the .htm association, with the document as "%1" (Wine's own
    // browser here), naming a program that exists.
    const std::string command = DefaultHtmlCommand();
    EXPECT_NE(command.find("%1"), std::string::npos) << command;
    const std::string program = command.starts_with('"')
                                    ? command.substr(1, command.find('"', 1) - 1)
                                    : command.substr(0, command.find(' '));
    EXPECT_TRUE(FileExists(program)) << command;
}

// Named in the environment's UTF-16, not its ANSI code page's reading; LOCK.INI is an .ini.
TEST(WindowsSettings, AManagedFolderIsNamedAsTheSystemHoldsItAndItsIniFilesInAnyCase) {
    TempFolder temp;
    const std::string folder = temp.File("M\xC3\xA9nag\xC3\xA9");
    temp.Write("M\xC3\xA9nag\xC3\xA9\\LOCK.INI", "[Machine]\r\nLocked=Yes\r\n");
    ASSERT_TRUE(::SetEnvironmentVariableW(L"PAGELARK_MANAGED_DIR", Wide(folder).c_str()));
    EXPECT_EQ(ManagedFolderFromEnvironment(), folder);
    EXPECT_EQ(ReadManagedFolder(folder).settings.values["Locked"], "Yes");
}

// \etc on the current drive is a folder any user, or a stick, may bring.
TEST(WindowsSettings, NoManagedSettingsFolderUnlessOneIsNamed) {
    ASSERT_EQ(::_putenv_s("PAGELARK_MANAGED_DIR", ""), 0);
    EXPECT_EQ(ManagedFolderFromEnvironment(), "");
}

TEST(WindowsFiles, AReplacementKeepsItsBytesAndReplacesAFileOthersHoldOpen) {
    TempFolder temp;
    const std::string file = temp.Write("show.tso", "old");
    const auto open = [&](DWORD sharing) {
        return Handle(::CreateFileW(Wide(file).c_str(), GENERIC_READ, sharing, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    };
    // A reader that shares the file, as an editor or a virus scanner does.
    Handle reader = open(FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(reader.Valid());
    const std::string bytes = "[Tessaro]\r\nName=caf\xe9\n\x1a\r\n";  // CR LF, LF, ^Z kept
    ASSERT_TRUE(ReplaceFileAtomically(file, bytes).Ok());
    EXPECT_EQ(ReadWholeFile(file).data, bytes);
    // One that lets no one move it: the replacement fails, saying the file is in use, and the
    // file stays as it was.
    Handle holder = open(FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(holder.Valid());
    const Result<> held = ReplaceFileAtomically(file, "lost");
    ASSERT_FALSE(held);
    EXPECT_EQ(held.Error(), SystemReason(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(ReadWholeFile(file).data, bytes);
    // The old file's backup, removed while the reader held it, goes when the reader closes it.
    reader = Handle();
    holder = Handle();
    EXPECT_EQ(FilesIn(temp.path()).size(), 1u) << [&] {  // no temporary file or backup left
        std::string names;
        for (const auto& entry : std::filesystem::directory_iterator(temp.path()))
            names += entry.path().filename().string() + " ";
        return names;
    }();
    EXPECT_EQ(RenameFile(temp.Write("new.tso", "new"), file), 0);  // over an existing file
    EXPECT_EQ(ReadWholeFile(file).data, "new");
    // The temporary folder the system gives, with its separator, and a reserved file in it.
    const std::string folder = TempDir();
    ASSERT_TRUE(folder.ends_with('\\')) << folder;
    const std::string reserved = ReserveTempFile(folder);
    EXPECT_TRUE(FileExists(reserved)) << reserved;
    EXPECT_TRUE(reserved.starts_with(folder + "TMP"));
    EXPECT_EQ(RemoveFile(reserved), 0);
}

// A name in Windows-1252 (an old presentation's) reaches the file its characters name; a
// listed name no UTF-8 path can reach is passed over, not taken for a U+FFFD name.
TEST(WindowsFiles, NamesCrossTheBoundaryToTheSameFile) {
    TempFolder temp;
    ASSERT_TRUE(WritePrivateFile(temp.File("caf\xc3\xa9.tso"), "x"));
    EXPECT_TRUE(FileExists(temp.File("caf\xe9.tso")));
    EXPECT_EQ(NarrowName(L"a\xd800"), std::nullopt);
    EXPECT_EQ(NarrowName(L"caf\xe9"), "caf\xc3\xa9");
    ASSERT_TRUE(WritePrivateFile(temp.File("a\xef\xbf\xbd"), ""));  // U+FFFD
    Handle lone(::CreateFileW(Wide(temp.File("a")).append(L"\xd800").c_str(), GENERIC_WRITE, 0,
                              nullptr, CREATE_NEW, 0, nullptr));
    if (!lone.Valid()) GTEST_SKIP() << "Wine makes no file with an unpaired surrogate in its name";
    // Not the U+FFFD file twice.
    EXPECT_EQ(FilesIn(temp.path()).size(), 2u);
}

std::string AccessList(const std::string& path) {
    DWORD size = 0;
    ::GetFileSecurityW(Wide(path).c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::string descriptor(size, '\0');
    wchar_t* text = nullptr;
    if (!::GetFileSecurityW(Wide(path).c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size,
                            &size) ||
        !::ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr))
        return "<unreadable>";
    const std::string list = Narrow(text);
    ::LocalFree(text);
    return list;
}

// As chmod 0700 on Linux: a folder of ours found open to others is closed to them as a new
// one is. Wine keeps an access list as permission bits: the owner-rights entry is lost there.
TEST(WindowsFiles, AFolderOfOursFoundOpenIsMadeAsPrivateAsANewOne) {
    TempFolder temp;
    const std::string made = temp.File("made"), found = temp.File("found");
    ASSERT_TRUE(::CreateDirectoryW(Wide(found).c_str(), nullptr));
    ASSERT_TRUE(MakePrivateFolder(made));
    ASSERT_TRUE(MakePrivateFolder(found));
    EXPECT_EQ(AccessList(found), AccessList(made));
    for (const char* others : {";WD)", ";BU)", ";AU)"})
        EXPECT_EQ(AccessList(made).find(others), std::string::npos) << AccessList(made);
}

}  // namespace
}  // namespace pagelark
