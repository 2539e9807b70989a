#pragma once
// Machine settings: looked up in the presentation file, then the user's key, then the
// machine's key; written to one fixed place each.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/modes.h"
#include "platform/os_features.h"
#include "platform/result.h"
#include "settings/managed.h"
#include "settings/setting_table.h"

namespace pagelark {

class IniDocument;
class IniStore;
class Registry;
struct ToolbarButton;
struct ToolbarButtons;

inline constexpr std::string_view kDefaultSpecialURL = "about:NavigationCanceled,";

struct MachineSettings {
    bool ScreenSaveActive = true;
    std::chrono::seconds ScreenSaveTimeOut{300};
    std::string EMail;
    bool DontUseEMail = false;
    bool EMailRegistered = false;
    std::string SpecialURL{kDefaultSpecialURL};
    bool AutoReboot = false;
    bool ForceReboot = false;
    std::int32_t RebootHour = 0;
    std::int32_t RebootMinute = 0;
    double RebootMoment = 0.0;
    bool AutoLogin = false;
    std::string NTDomain;
    std::string NTLogin;
    std::string NTPassword;
    bool Snap = false;
    std::string SnapPath;
    pagelark::WindowState WindowState = WindowState::Maximized;
    pagelark::MouseMovePolicy OnMouseMove = MouseMovePolicy::EnterNavigation;
    // A kiosk for the public: nothing on the screen ends the show or reaches the machine.
    bool Locked = false;
    // Each return to the show starts the browsers on a fresh profile: nothing of a visitor
    // (cookies, storage, cache, logins) reaches the next one.
    bool ClearVisitorData = true;
    // Qt Virtual Keyboard for text entry while a visitor browses, with or without a touch
    // screen; taken at start-up only, since Qt chooses its input method once.
    bool OnScreenKeyboard = false;
    // When the screen is on, as a page's Days, From and To say when it is due; all empty:
    // always. Outside it the display sleeps and the show stops.
    std::string ScreenDays;
    std::string ScreenOn;
    std::string ScreenOff;
    // A television on HDMI-CEC goes to standby with the display, where the machine can say so.
    bool ScreenCec = true;
    // A line for each page shown, in the state folder's play log (and on MQTT).
    bool PlayLog = false;
    // The kiosk's commands and status on the session bus; taken at start-up.
    bool DBus = false;
    // The engine's low-memory mode and a ceiling on the kiosk's memory, also on a machine too
    // large to need them; taken at start-up.
    bool LowMemory = false;
    // How often a presentation published on a web server is fetched again.
    std::chrono::duration<double, std::ratio<60>> RefreshMinutes{5.0};
    // A fleet's broker: "" (off), mqtt://host[:port] or mqtts://host[:port]; the CA file that
    // signed an mqtts broker's certificate ("" for the system's); a file of the user name and
    // the password. Read from the stores alone: a presentation travels, and must not send the
    // kiosk and its credentials to a broker of its author's choice.
    std::string MqttBroker;
    std::string MqttCaFile;
    std::string MqttCredentials;
};

// A presentation file's text as the settings lookup reads it: read once, parsed once.
class SettingsFile {
  public:
    SettingsFile();
    // Bytes of "" for a file that is not there or cannot be read.
    SettingsFile(std::string path, std::string bytes);
    const std::string& Path() const { return path_; }
    const std::string& Bytes() const { return bytes_; }
    // As the INI functions read it: "" for no such section or key.
    std::string Read(std::string_view section, std::string_view key) const;

  private:
    std::string path_;
    std::string bytes_;
    std::shared_ptr<IniDocument> document_;  // its lookups build an index as they go
};

// The file at path as it is now ("" when it cannot be read).
SettingsFile ReadSettingsFile(const std::string& path);

class Settings {
  public:
    Settings(IniStore& iniFiles, Registry& registry) : iniFiles_(iniFiles), registry_(registry) {}

    // Looked up in the presentation file first: callers name the file, so a lookup never
    // depends on which presentation happens to be open at the time.
    std::string ReadSetting(const SettingsFile& file, std::string_view name,
                            std::string_view subKey = {});
    // The same, reading the file now.
    std::string ReadSetting(const std::string& file, std::string_view name,
                            std::string_view subKey = {});
    // The user's store, then the machine's: for settings no presentation may give.
    std::string ReadStoreSetting(std::string_view name);
    // Locked as the file and the stores set it, failing closed: text in any of them that may
    // set it but is not read as a yes or no word locks, with a warning naming the file.
    bool ReadLocked(const SettingsFile& file);
    // Removing a value that is not there succeeds.
    Result<> WriteMachineSetting(std::string_view name, std::string_view text);
    void EnsureSettingKeys();
    // The user's documents folder with a trailing separator: the desktop's unless one is set.
    std::string DocumentsFolder() const;
    void SetDocumentsFolder(std::string folder) { documentsFolder_ = std::move(folder); }
    // A setting of the table, typed: the managed value, or as looked up (file then stores).
    SettingValue Value(const SettingsFile& file, std::string_view name);
    SettingValue Value(const std::string& file, std::string_view name);
    std::string DefaultFilePath(const SettingsFile& file);
    std::string DefaultFilePath(const std::string& file);
    bool DebugEnabled(const std::string& file);

    IniStore& IniFiles() { return iniFiles_; }

    // What configuration management sets over the stores and the presentation: shown, never
    // written (TakeManaged brings the model along).
    const ManagedSettings& Managed() const { return managed_; }
    void SetManaged(ManagedSettings managed) { managed_ = std::move(managed); }

  private:
    // The stores' value when the file gives none.
    std::string OrFromStores(std::string value, std::string_view name, std::string_view subKey);

    IniStore& iniFiles_;
    Registry& registry_;
    std::string documentsFolder_;
    ManagedSettings managed_;
};

// Trimmed: non-empty, no blank inside, an "@", and a "." at or after it.
bool IsEMailValid(std::string_view text);

// Icon keeps the stored text, so a save writes it back unchanged; ResolveIconPath gives the
// picture's path where it is loaded.
void LoadButtonSettings(Settings& settings, const SettingsFile& file, std::span<ToolbarButton> list,
                        std::size_t first, std::size_t last, std::string_view prefix);

// Creates both lists, reads their settings and the address box's visibility.
void ReadToolbarButtons(Settings& settings, const SettingsFile& file, ToolbarButtons& buttons);

// Reads every machine setting and the tool bar button settings at start-up; the logon
// settings only where the system has automatic logon.
void LoadMachineSettings(Settings& settings, const SettingsFile& file, double now,
                         MachineSettings& machine, ToolbarButtons& buttons,
                         const OsFeatures& os = kOsFeatures);

// Minutes, with a fraction if need be ("0.5" or "0,5"); none when the text is no number.
std::optional<double> ParseMinutes(std::string_view text);
// None or nonsense is 5, and the period stays between 3 seconds and a day.
std::chrono::duration<double, std::ratio<60>> ParseRefreshMinutes(std::string_view text);

// Read apart as well, since Qt must know it before the program's windows exist; a managed
// value wins.
bool OnScreenKeyboardSetting(Settings& settings, const std::string& file);

// The settings a presentation file carries: the screen saver's and the tool bar buttons.
void ReadFileSettings(Settings& settings, const SettingsFile& file, MachineSettings& machine,
                      ToolbarButtons& buttons);

// The machine settings the configuration window edits, stored once the presentation is saved;
// a managed one keeps what the store holds. Stops at the first write that fails.
Result<> WriteEditedMachineSettings(Settings& settings, const MachineSettings& machine,
                                    const OsFeatures& os = kOsFeatures);

}  // namespace pagelark
