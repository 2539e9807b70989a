#include "settings/settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "ini/ini_document.h"
#include "ini/ini_store.h"
#include "ini/stored_values.h"
#include "model/presentation.h"
#include "model/product.h"
#include "model/toolbar_buttons.h"
#include "platform/desktop_defaults.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "settings/registry.h"

namespace pagelark {
namespace {

constexpr std::string_view kLocked = "Locked";

// The line of the file's [Tessaro] sections, or of the lines before any section, that may set
// Locked but is not the line the INI reader takes for it; 0 when there is none.
std::size_t UnreadLockedLine(std::string_view bytes) {
    std::size_t number = 0, found = 0;
    bool options = true;
    int optionSections = 0;
    bool taken = false;
    ForEachLine(DecodeIni(bytes).text, [&](std::string_view line) {
        ++number;
        if (const auto header = IniHeaderName(line)) {
            options = EqualsNoCase(*header, kOptionsSection);
            optionSections += options ? 1 : 0;
        } else if (found == 0 && options && MayName(line, "Locked")) {
            const auto key = ParseIniKeyLine(line);
            // The reader takes the first Locked key of the first section only.
            if (optionSections == 1 && !taken && key && EqualsNoCase(key->key, "Locked")) {
                taken = true;
            } else {
                found = number;
            }
        }
    });
    return found;
}

}  // namespace

SettingsFile::SettingsFile() : SettingsFile({}, {}) {}

SettingsFile::SettingsFile(std::string path, std::string bytes)
    : path_(std::move(path)),
      bytes_(std::move(bytes)),
      document_(std::make_shared<IniDocument>(bytes_)) {}

std::string SettingsFile::Read(std::string_view section, std::string_view key) const {
    // Names as the INI functions take them from a caller.
    const std::string sectionName(TrimBlanksAndTabs(CutAtNul(section)));
    const std::string keyName(TrimBlanksAndTabs(CutAtNul(key)));
    if (sectionName.empty() || keyName.empty()) return {};
    return document_->Read(sectionName, keyName);
}

SettingsFile ReadSettingsFile(const std::string& path) {
    ReadResult read = ReadWholeFile(path);
    return SettingsFile(path, read.status == ReadStatus::Ok ? std::move(read.data) : std::string());
}

std::string Settings::ReadSetting(const SettingsFile& file, std::string_view name,
                                  std::string_view subKey) {
    return OrFromStores(file.Read(subKey.empty() ? kOptionsSection : subKey, name), name, subKey);
}

std::string Settings::ReadSetting(const std::string& file, std::string_view name,
                                  std::string_view subKey) {
    const std::string_view section = subKey.empty() ? kOptionsSection : subKey;
    return OrFromStores(iniFiles_.ReadString(section, name, file), name, subKey);
}

std::string Settings::OrFromStores(std::string value, std::string_view name,
                                   std::string_view subKey) {
    if (!value.empty()) return value;
    value = registry_.ReadSetting(Scope::User, name, subKey);
    if (!value.empty()) return value;
    return registry_.ReadSetting(Scope::Machine, name, subKey);
}

std::string Settings::ReadStoreSetting(std::string_view name) {
    return OrFromStores({}, name, {});
}

bool Settings::ReadLocked(const SettingsFile& file) {
    const auto locked = [](const std::string& where, const std::string& why) {
        Warn(LogArea::Settings, where, ": ", why, ": the kiosk is locked");
        return true;
    };
    if (const std::size_t line = UnreadLockedLine(file.Bytes()); line != 0)
        return locked(file.Path(),
                      "line " + std::to_string(line) + " names Locked but is not read");
    for (const Scope scope : {Scope::User, Scope::Machine}) {
        if (std::string why = registry_.UnreadSetting(scope, kLocked); !why.empty())
            return locked(registry_.Where(scope), why);
    }
    std::string where = file.Path();
    std::string text = file.Read(kOptionsSection, kLocked);
    for (const Scope scope : {Scope::User, Scope::Machine}) {
        if (!text.empty()) break;
        text = registry_.ReadSetting(scope, kLocked);
        where = registry_.Where(scope);
    }
    if (!TrimBlanksAndTabs(text).empty() && ParseBool(text, false) != ParseBool(text, true))
        return locked(where, "Locked is \"" + text + "\", neither yes nor no");
    return ParseBool(text, false);
}

Result<> Settings::WriteMachineSetting(std::string_view name, std::string_view text) {
    return registry_.WriteSetting(name, text);
}

void Settings::EnsureSettingKeys() {
    registry_.EnsureSettingKeys();
}

std::string Settings::DocumentsFolder() const {
    return WithTrailingSeparator(documentsFolder_.empty() ? pagelark::DocumentsFolder()
                                                          : documentsFolder_);
}

SettingValue Settings::Value(const std::string& file, std::string_view name) {
    return Value(ReadSettingsFile(file), name);
}

SettingValue Settings::Value(const SettingsFile& file, std::string_view name) {
    const SettingRow& row = *FindSetting(name);
    const std::string* managed = row.managed ? managed_.Find(row.name) : nullptr;
    if (managed != nullptr) return ParseSetting(row, *managed);
    if (row.home == Home::Stores) return ParseSetting(row, ReadStoreSetting(row.name));
    return ParseSetting(row, ReadSetting(file, row.name));
}

std::string Settings::DefaultFilePath(const std::string& file) {
    return DefaultFilePath(ReadSettingsFile(file));
}

std::string Settings::DefaultFilePath(const SettingsFile& file) {
    std::string path = std::get<std::string>(Value(file, "DefaultFile"));
    if (!path.empty()) return path;
    return DocumentsFolder() + std::string(kProductName) + "." +
           std::string(kPresentationExtension);
}

bool Settings::DebugEnabled(const std::string& file) {
    return std::get<bool>(Value(file, "Debug"));
}

bool IsEMailValid(std::string_view text) {
    text = TrimBlanks(text);
    const auto at = text.find('@');
    return !text.empty() && at != std::string_view::npos &&
           text.find('.', at) != std::string_view::npos &&
           text.find_first_of(" \t\n\r") == std::string_view::npos;
}

void LoadButtonSettings(Settings& settings, const SettingsFile& file, std::span<ToolbarButton> list,
                        std::size_t first, std::size_t last, std::string_view prefix) {
    for (std::size_t i = first; i <= last && i < list.size(); ++i) {
        ToolbarButton& button = list[i];
        const std::string key = std::string(prefix) + button.Name;
        std::string tip = settings.ReadSetting(file, "HelpTip", key);
        if (!tip.empty()) button.HelpTip = std::move(tip);
        button.Icon = settings.ReadSetting(file, "Icon", key);
        button.Visible = ParseBool(settings.ReadSetting(file, "Visible", key), true);
    }
}

void ReadToolbarButtons(Settings& settings, const SettingsFile& file, ToolbarButtons& buttons) {
    CreateButtonLists(buttons);
    LoadButtonSettings(settings, file, buttons.ToolNavButtons, 0, 8, kToolNavPrefix);
    LoadButtonSettings(settings, file, buttons.ToolRunButtons, 0, 7, kToolRunPrefix);
    buttons.ToolNavUrlVisible =
        ParseBool(settings.ReadSetting(file, "Visible", kToolNavUrlSection), true);
}

void LoadMachineSettings(Settings& settings, const SettingsFile& file, double now,
                         MachineSettings& machine, ToolbarButtons& buttons, const OsFeatures& os) {
    settings.EnsureSettingKeys();
    Presentation unused;
    for (const SettingRow& row : SettingTable()) {
        if (row.home == Home::Options || (row.set == nullptr && row.rule == nullptr)) continue;
        if (row.logon && !os.automaticLogon) continue;
        if (row.name == kLocked) {
            machine.Locked = settings.ReadLocked(file);
            continue;
        }
        const std::string text = row.home == Home::Stores ? settings.ReadStoreSetting(row.name)
                                                          : settings.ReadSetting(file, row.name);
        if (text.empty() && row.storeDefault)
            (void)settings.WriteMachineSetting(row.name, row.defaultText);
        TakeSetting(row, text, unused, machine, now);
    }
    // Kept only where snapshots are taken.
    if (!machine.Snap) machine.SnapPath.clear();
    ReadToolbarButtons(settings, file, buttons);
}

void ReadFileSettings(Settings& settings, const SettingsFile& file, MachineSettings& machine,
                      ToolbarButtons& buttons) {
    Presentation unused;
    for (const SettingRow& row : SettingTable()) {
        if (row.home == Home::Both)
            TakeSetting(row, settings.ReadSetting(file, row.name), unused, machine, 0.0);
    }
    ReadToolbarButtons(settings, file, buttons);
}

std::optional<double> ParseMinutes(std::string_view text) {
    std::string number(TrimBlanks(text));
    std::replace(number.begin(), number.end(), ',', '.');
    double minutes = 0.0;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), minutes);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(minutes))
        return std::nullopt;
    return minutes;
}

std::chrono::duration<double, std::ratio<60>> ParseRefreshMinutes(std::string_view text) {
    // A slip of the pen must not flood the owner's server from every screen.
    return std::chrono::duration<double, std::ratio<60>>(
        std::clamp(ParseMinutes(text).value_or(5.0), 0.05, 24.0 * 60.0));
}

bool OnScreenKeyboardSetting(Settings& settings, const std::string& file) {
    return std::get<bool>(settings.Value(file, "OnScreenKeyboard"));
}

Result<> WriteEditedMachineSettings(Settings& settings, const MachineSettings& machine,
                                    const OsFeatures& os) {
    for (const auto& [name, text] : EditedStoreTexts(machine, os)) {
        if (settings.Managed().Find(name) != nullptr) continue;
        if (Result<> written = settings.WriteMachineSetting(name, text); !written) return written;
    }
    return Done();
}

}  // namespace pagelark
