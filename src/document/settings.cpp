#include "document/settings.h"

#include <cmath>

#include "document/file_utils.h"
#include "document/product.h"
#include "document/profile.h"
#include "document/registry.h"
#include "document/text.h"
#include "document/toolbar_buttons.h"
#include "platform/desktop.h"

namespace pagelark {
namespace {

std::string KeyPath(std::string_view base, std::string_view subKey) {
    std::string path(base);
    if (!subKey.empty()) path += "\\" + std::string(subKey);
    return path;
}

}  // namespace

std::string Settings::ReadSetting(std::string_view name, std::string_view subKey) {
    const std::string_view section = subKey.empty() ? kOptionsSection : subKey;
    std::string value = profiles_.ReadString(section, name, currentFile_);
    if (!value.empty()) return value;
    value = CutAtNul(registry_.QueryValue(RegRoot::CurrentUser, KeyPath(kUserKey, subKey), name));
    if (!value.empty()) return value;
    return CutAtNul(
        registry_.QueryValue(RegRoot::LocalMachine, KeyPath(kMachineKey, subKey), name));
}

bool Settings::WriteFileSetting(std::string_view name, std::string_view text,
                                std::string_view subKey) {
    profiles_.WriteString(subKey.empty() ? kOptionsSection : subKey, name, text, currentFile_);
    return true;
}

bool Settings::WriteMachineSetting(std::string_view name, std::string_view text) {
    if (registry_.SetValue(RegRoot::LocalMachine, kMachineKey, name, text, RegType::String))
        return true;
    return text.empty() && registry_.LastRegError() == RegError::FileNotFound;
}

std::string Settings::MachineWriteError() const {
    std::string store = registry_.Where(RegRoot::LocalMachine);
    if (store.empty()) store = "the settings store";
    switch (registry_.LastRegError()) {
        case RegError::AccessDenied:
            return store + ": access denied";
        case RegError::WriteFault:
            return store + ": the file could not be written";
        default:
            return store + ": error " + std::to_string(static_cast<int>(registry_.LastRegError()));
    }
}

void Settings::EnsureSettingKeys() {
    if (!registry_.KeyExists(RegRoot::LocalMachine, kMachineKey))
        registry_.CreateKey(RegRoot::LocalMachine, kMachineKey, RegAccess::AllAccess);
    if (!registry_.KeyExists(RegRoot::CurrentUser, kUserKey))
        registry_.CreateKey(RegRoot::CurrentUser, kUserKey, RegAccess::AllAccess);
}

std::string Settings::DocumentsFolder() const {
    return EnsureTrailingBackslash(documentsFolder_.empty() ? pagelark::DocumentsFolder()
                                                            : documentsFolder_);
}

std::string Settings::DefaultFilePath() {
    std::string path = ReadSetting("DefaultFile");
    if (!path.empty()) return path;
    return DocumentsFolder() + std::string(kProductName) + "." +
           std::string(kPresentationExtension);
}

bool Settings::DebugEnabled() {
    return ParseBool(ReadSetting("Debug"), false);
}

RebootTimeOfDay ParseRebootTime(std::string_view text) {
    RebootTimeOfDay time;
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        time.Hour = ParseLong(text, 0);
    } else {
        time.Hour = ParseLong(text.substr(0, colon), 0);
        time.Minute = ParseLong(text.substr(colon + 1), 0);
    }
    // The remainder keeps the sign, as stored times have always been read.
    time.Hour %= 24;
    time.Minute %= 60;
    return time;
}

std::string FormatRebootTime(std::int32_t hour, std::int32_t minute) {
    auto twoDigits = [](std::int32_t n) {
        std::string digits = std::to_string(n);
        return digits.size() < 2 ? "0" + digits : digits;
    };
    return twoDigits(hour) + ":" + twoDigits(minute);
}

double RebootMomentAt(RebootTimeOfDay time, double now) {
    double moment = std::floor(now) + time.Hour / 24.0 + time.Minute / 1440.0;
    if (moment < now) moment += 1.0;
    return moment;
}

void LoadMachineSettings(Settings& settings, double now, MachineSettings& machine,
                         ToolbarButtons& buttons, const OsFeatures& os) {
    auto flag = [&](std::string_view name, bool defaultValue) {
        return ParseBool(settings.ReadSetting(name), defaultValue);
    };
    settings.EnsureSettingKeys();

    machine.EMail = settings.ReadSetting("EMail");
    machine.DontUseEMail = flag("DontUseEMail", false);
    machine.EMailRegistered = flag("EMailRegistered", false);

    machine.SpecialURL = settings.ReadSetting("SpecialURL");
    if (machine.SpecialURL.empty()) {
        machine.SpecialURL = kDefaultSpecialURL;
        settings.WriteMachineSetting("SpecialURL", machine.SpecialURL);
    }

    machine.AutoReboot = flag("AutoReboot", false);
    machine.ForceReboot = flag("ForceReboot", false);
    machine.Locked = flag("Locked", false);

    const RebootTimeOfDay reboot = ParseRebootTime(settings.ReadSetting("RebootTime"));
    machine.RebootHour = reboot.Hour;
    machine.RebootMinute = reboot.Minute;
    machine.RebootMoment = RebootMomentAt(reboot, now);

    if (os.automaticLogon) {
        machine.AutoLogin = flag("AutoLogin", false);
        machine.NTDomain = settings.ReadSetting("NTDomain");
        machine.NTLogin = settings.ReadSetting("NTLogin");
        machine.NTPassword = settings.ReadSetting("NTPassword");
    }

    machine.Snap = flag("Snap", false);
    if (machine.Snap) machine.SnapPath = EnsureTrailingBackslash(settings.ReadSetting("SnapPath"));

    machine.WindowState =
        static_cast<WindowState>(ParseInteger(settings.ReadSetting("WindowState"), 2));
    ReadFileSettings(settings, machine, buttons);
}

void ReadFileSettings(Settings& settings, MachineSettings& machine, ToolbarButtons& buttons) {
    machine.ScreenSaveActive = ParseBool(settings.ReadSetting("ScreenSaveActive"), true);
    const std::int32_t timeOut = ParseLong(settings.ReadSetting("ScreenSaveTimeOut"), 300);
    machine.ScreenSaveTimeOut = std::chrono::seconds(timeOut == 0 ? 300 : timeOut);
    machine.OnMouseMove =
        static_cast<MouseMovePolicy>(ParseInteger(settings.ReadSetting("OnMouseMove"), 1));
    ReadToolbarButtons(settings, buttons);
}

bool WriteEditedMachineSettings(Settings& settings, const MachineSettings& machine,
                                const OsFeatures& os) {
    std::vector<std::pair<std::string_view, std::string>> values = {
        {"EMail", machine.EMail},
        {"DontUseEMail", BoolWord(machine.DontUseEMail)},
        // Only the true state is stored; clearing the flag removes the value.
        {"EMailRegistered", machine.EMailRegistered ? "Yes" : ""},
        {"AutoReboot", BoolWord(machine.AutoReboot)},
        {"RebootTime", FormatRebootTime(machine.RebootHour, machine.RebootMinute)},
        {"ForceReboot", BoolWord(machine.ForceReboot)},
        {"Locked", BoolWord(machine.Locked)},
    };
    if (os.automaticLogon) {
        values.insert(values.end(), {{"AutoLogin", BoolWord(machine.AutoLogin)},
                                     {"NTDomain", machine.NTDomain},
                                     {"NTLogin", machine.NTLogin},
                                     {"NTPassword", machine.NTPassword}});
    }
    for (const auto& [name, text] : values) {
        if (!settings.WriteMachineSetting(name, text)) return false;
    }
    return true;
}

}  // namespace pagelark
