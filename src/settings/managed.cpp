#include "settings/managed.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <set>
#include <tuple>

#include "ini/ini_document.h"
#include "ini/ini_store.h"
#include "ini/stored_values.h"
#include "model/presentation.h"
#include "model/product.h"
#include "platform/file_io.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "settings/settings.h"

namespace pagelark {
namespace {

constexpr std::string_view kMachineSection = "Machine";
constexpr std::string_view kLocks = ": the kiosk is locked";
constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();

// Where a key may stand: the presentation's options are read from the file alone, machine
// settings from the file and then the stores, and some machine settings from the stores alone.
enum class Home { Machine, Options, Both, Stores };
enum class Kind { Flag, Number, Minutes, Time, EMail, Presentation, Text };

using P = Presentation;
using M = MachineSettings;
using Text = std::string_view;

// Each key read as its loader reads it, so an own value taken back gives what a start gives.
struct KeyRule {
    std::string_view name;
    Home home;
    Kind kind;
    void (*apply)(Text text, P& p, M& m, double now);
    std::int32_t low = 0;
    std::int32_t high = kMost;
};

const KeyRule kRules[] = {
    {"HomeURL", Home::Options, Kind::Text,
     [](Text t, P& p, M&, double) { p.HomeURL = t.empty() ? "about:blank" : std::string(t); }},
    {"AutoHome", Home::Options, Kind::Flag,
     [](Text t, P& p, M&, double) { p.AutoHome = ParseBool(t, false); }},
    {"AutoLoop", Home::Options, Kind::Flag,
     [](Text t, P& p, M&, double) { p.AutoLoop = ParseBool(t, true); }},
    // The pages on the default time move with it, as when the file's own is read.
    {"DefaultTime", Home::Options, Kind::Number,
     [](Text t, P& p, M&, double) {
         const std::chrono::seconds time{ParseLong(t, 10)};
         for (PresentationPage& page : p.Pages) {
             if (page.UseDefaultTime && page.Time == p.DefaultTime) page.Time = time;
         }
         p.DefaultTime = time;
     },
     1},
    {"WaitComplete", Home::Options, Kind::Flag,
     [](Text t, P& p, M&, double) { p.WaitComplete = ParseBool(t, true); }},
    {"AllowRestrictions", Home::Options, Kind::Flag,
     [](Text t, P& p, M&, double) { p.AllowRestrictions = ParseBool(t, true); }},
    {"ScreenSaveActive", Home::Both, Kind::Flag,
     [](Text t, P&, M& m, double) { m.ScreenSaveActive = ParseBool(t, true); }},
    {"ScreenSaveTimeOut", Home::Both, Kind::Number,
     [](Text t, P&, M& m, double) {
         const std::int32_t seconds = ParseLong(t, 300);
         m.ScreenSaveTimeOut = std::chrono::seconds(seconds == 0 ? 300 : seconds);
     }},
    // After the screen saver's delay, which is its default.
    {"MaxTime", Home::Options, Kind::Number,
     [](Text t, P& p, M& m, double) {
         p.MaxTime = std::chrono::seconds{
             ParseLong(t, static_cast<std::int32_t>(m.ScreenSaveTimeOut.count()))};
     }},
    {"OnMouseMove", Home::Both, Kind::Number,
     [](Text t, P&, M& m, double) {
         m.OnMouseMove = static_cast<MouseMovePolicy>(ParseInteger(t, 1));
     },
     0, 2},
    {"ClearVisitorData", Home::Both, Kind::Flag,
     [](Text t, P&, M& m, double) { m.ClearVisitorData = ParseBool(t, true); }},
    {"OnScreenKeyboard", Home::Both, Kind::Flag,
     [](Text t, P&, M& m, double) { m.OnScreenKeyboard = ParseBool(t, false); }},
    {"Locked", Home::Machine, Kind::Flag,
     [](Text t, P&, M& m, double) { m.Locked = ParseBool(t, false); }},
    {"DBus", Home::Machine, Kind::Flag,
     [](Text t, P&, M& m, double) { m.DBus = ParseBool(t, false); }},
    {"AutoReboot", Home::Machine, Kind::Flag,
     [](Text t, P&, M& m, double) { m.AutoReboot = ParseBool(t, false); }},
    {"RebootTime", Home::Machine, Kind::Time,
     [](Text t, P&, M& m, double now) {
         const RebootTimeOfDay time = ParseRebootTime(t);
         m.RebootHour = time.hour;
         m.RebootMinute = time.minute;
         m.RebootMoment = RebootMomentAt(time, now);
     }},
    {"ForceReboot", Home::Machine, Kind::Flag,
     [](Text t, P&, M& m, double) { m.ForceReboot = ParseBool(t, false); }},
    // The window refuses an address that does not look like one, and could not take another.
    {"EMail", Home::Machine, Kind::EMail, [](Text t, P&, M& m, double) { m.EMail = t; }},
    {"DontUseEMail", Home::Machine, Kind::Flag,
     [](Text t, P&, M& m, double) { m.DontUseEMail = ParseBool(t, false); }},
    {"SpecialURL", Home::Machine, Kind::Text,
     [](Text t, P&, M& m, double) { m.SpecialURL = t.empty() ? kDefaultSpecialURL : t; }},
    {"Snap", Home::Machine, Kind::Flag,
     [](Text t, P&, M& m, double) { m.Snap = ParseBool(t, false); }},
    {"SnapPath", Home::Machine, Kind::Text,
     [](Text t, P&, M& m, double) { m.SnapPath = WithTrailingSeparator(t); }},
    // Looked up where the kiosk starts (Settings::DefaultFilePath); a running one keeps its show.
    {"DefaultFile", Home::Machine, Kind::Presentation, [](Text, P&, M&, double) {}},
    {"WindowState", Home::Machine, Kind::Number,
     [](Text t, P&, M& m, double) { m.WindowState = static_cast<WindowState>(ParseInteger(t, 2)); },
     0, 2},
    {"LowMemory", Home::Machine, Kind::Flag,
     [](Text t, P&, M& m, double) { m.LowMemory = ParseBool(t, false); }},
    {"RefreshMinutes", Home::Machine, Kind::Minutes,
     [](Text t, P&, M& m, double) { m.RefreshMinutes = ParseRefreshMinutes(t); }},
    // Checked by the MQTT client at start-up, which says what is wrong with them.
    {"MqttBroker", Home::Stores, Kind::Text, [](Text t, P&, M& m, double) { m.MqttBroker = t; }},
    {"MqttCaFile", Home::Stores, Kind::Text, [](Text t, P&, M& m, double) { m.MqttCaFile = t; }},
    {"MqttCredentials", Home::Stores, Kind::Text,
     [](Text t, P&, M& m, double) { m.MqttCredentials = t; }},
};

const KeyRule* FindRule(std::string_view name) {
    const auto* rule = std::find_if(std::begin(kRules), std::end(kRules),
                                    [&](const KeyRule& r) { return EqualsNoCase(r.name, name); });
    return rule == std::end(kRules) ? nullptr : rule;
}

bool IsNumber(std::string_view text) {
    return ParseLong(text, 0) == ParseLong(text, 1);
}

bool WithinRange(std::string_view text, std::int32_t low, std::int32_t high) {
    const std::int32_t number = ParseLong(text, 0);
    return IsNumber(text) && number >= low && number <= high;
}

bool Acceptable(const KeyRule& rule, std::string_view text) {
    switch (rule.kind) {
        case Kind::Flag:
            return ParseBool(text, false) == ParseBool(text, true);
        case Kind::Number:
            return WithinRange(text, rule.low, rule.high);
        case Kind::Time: {
            const auto colon = text.find(':');
            return WithinRange(text.substr(0, colon), 0, 23) &&
                   (colon == std::string_view::npos || WithinRange(text.substr(colon + 1), 0, 59));
        }
        case Kind::EMail:
            return text.empty() || IsEMailValid(text);
        case Kind::Minutes:
            return ParseMinutes(text).has_value();
        case Kind::Presentation:  // a path relative to wherever the kiosk starts is no use
            return text.empty() || IsAbsolutePath(text) || StartsWithNoCase(text, "http://") ||
                   StartsWithNoCase(text, "https://");
        case Kind::Text:
            break;
    }
    return true;
}

// Reads the lines that can be taken into values; each line left out adds "line N: why" to
// problems. True when a line left out named Locked: what it meant is not known.
bool ReadManagedText(std::string_view bytes,
                     std::map<std::string, std::string, std::less<>>& values,
                     std::vector<std::string>& problems) {
    IniDocument document(bytes);
    bool lockedUnread = false;
    std::string section;
    bool sectionRead = false;
    std::set<std::string> seen;  // upper-cased sections, and section/key pairs
    int number = 0;
    ForEachLine(DecodeIni(bytes).text, [&](std::string_view line) {
        ++number;
        const std::string_view text = TrimBlanksAndTabs(line);
        if (text.empty() || text[0] == ';' || text[0] == '#') return;
        const auto leaveOut = [&](const std::string& why) {
            problems.push_back("line " + std::to_string(number) + ": " + why);
            if (MayName(text, "Locked")) {
                lockedUnread = true;
                problems.back() += kLocks;
            }
        };
        if (const auto header = IniHeaderName(line)) {
            section = std::string(*header);
            sectionRead = false;
            if (!EqualsNoCase(section, kMachineSection) && !EqualsNoCase(section, kOptionsSection))
                return leaveOut("no section [" + section + "] is known");
            // The reader would take the first one only.
            if (!seen.insert(ToUpper(section)).second) return leaveOut("[" + section + "] again");
            sectionRead = true;
            return;
        }
        const auto keyLine = ParseIniKeyLine(line);
        if (!keyLine) return leaveOut("no section, key or comment");
        if (section.empty()) return leaveOut("a key before any section");
        const std::string key(keyLine->key);
        if (!sectionRead) return leaveOut(key + " in [" + section + "], which is left out");
        const KeyRule* rule = FindRule(key);
        const bool machine = EqualsNoCase(section, kMachineSection);
        const bool fits = rule != nullptr &&
                          (machine ? rule->home != Home::Options
                                   : (rule->home == Home::Options || rule->home == Home::Both));
        if (!fits) return leaveOut("no key " + key + " is known in [" + section + "]");
        if (!seen.insert(ToUpper(section + "/" + key)).second) return leaveOut(key + " again");
        std::string value = document.Read(section, key);
        // As in the presentation and the stores: an empty flag sets nothing.
        if (rule->kind == Kind::Flag && TrimBlanksAndTabs(value).empty()) return;
        if (!Acceptable(*rule, value)) return leaveOut(key + " cannot be \"" + value + "\"");
        values[std::string(rule->name)] = std::move(value);
    });
    return lockedUnread;
}

// The names read, in byte order; others receives the other names of files, hidden ones apart.
std::vector<std::string> ManagedFileNames(const std::string& folder,
                                          std::vector<std::string>* others = nullptr) {
    std::vector<std::string> names;
    std::error_code error, kind;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.starts_with('.')) continue;
        if (name.ends_with(".ini")) {
            names.push_back(std::move(name));
        } else if (others != nullptr && !it->is_directory(kind)) {
            others->push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    if (others != nullptr) std::sort(others->begin(), others->end());
    return names;
}

}  // namespace

const std::string* ManagedSettings::Find(std::string_view key) const {
    const auto found = values.find(key);
    return found == values.end() ? nullptr : &found->second;
}

void ManagedSettings::Apply(Presentation& presentation, MachineSettings& machine,
                            double now) const {
    for (const KeyRule& rule : kRules) {
        if (const std::string* text = Find(rule.name))
            rule.apply(*text, presentation, machine, now);
    }
}

ManagedRead ReadManagedFolder(const std::string& folder) {
    ManagedRead read;
    bool lockedUnread = false;
    std::vector<std::string> others;
    for (const std::string& name : ManagedFileNames(folder, &others)) {
        const std::string path = WithTrailingSeparator(folder) + name;
        const ReadResult file = ReadWholeFile(path, kMaxManagedFileBytes);
        std::vector<std::string> problems;
        std::map<std::string, std::string, std::less<>> values;
        // A file left out whole locks when it may set Locked: when it names it, or cannot be
        // read at all.
        bool locks = file.status == ReadStatus::Unreadable;
        if (file.status == ReadStatus::TooLarge) {
            problems.push_back("larger than " + std::to_string(kMaxManagedFileBytes) + " bytes");
            locks = FileNamesWord(path, "Locked").value_or(true);
        } else if (file.status != ReadStatus::Ok) {
            problems.push_back(file.error.empty() ? "not a file" : file.error);
        } else {
            lockedUnread = ReadManagedText(file.data, values, problems) || lockedUnread;
        }
        if (locks) {
            lockedUnread = true;
            problems.back() += kLocks;
        }
        for (const std::string& problem : problems)
            read.skipped.push_back(path + ": " + problem);
        for (auto& [key, value] : values)
            read.settings.values[key] = std::move(value);
    }
    for (const std::string& name : others) {
        read.skipped.push_back(WithTrailingSeparator(folder) + name +
                               ": not read, only files named *.ini are");
    }
    // Whatever a later file says: the administrator has yet to say it plainly.
    if (lockedUnread) read.settings.values["Locked"] = "Yes";
    return read;
}

ManagedSettings LoadManagedFolder(const std::string& folder) {
    ManagedRead read = ReadManagedFolder(folder);
    for (const std::string& line : read.skipped)
        Warn(LogArea::Settings, "managed settings left out: ", line);
    return std::move(read.settings);
}

void TakeManaged(Settings& settings, ManagedSettings next, const std::string& file,
                 Presentation& presentation, MachineSettings& machine, double now) {
    const auto managedBefore = [&](std::string_view name) {
        return settings.Managed().Find(name) != nullptr;
    };
    // The presentation's own MaxTime defaults to the screen saver's delay, managed or not.
    const bool delayMoved = next.Find("ScreenSaveTimeOut") || managedBefore("ScreenSaveTimeOut");
    for (const KeyRule& rule : kRules) {
        if (const std::string* text = next.Find(rule.name)) {
            rule.apply(*text, presentation, machine, now);
        } else if (rule.name == "Locked" && managedBefore(rule.name)) {
            machine.Locked = settings.ReadLocked(file);  // failing closed, as at start-up
        } else if (managedBefore(rule.name) || (rule.name == "MaxTime" && delayMoved)) {
            std::string own;
            if (rule.home == Home::Options)
                own = TrimBlanks(settings.IniFiles().ReadString(kOptionsSection, rule.name, file));
            else if (rule.home == Home::Stores)
                own = settings.ReadStoreSetting(rule.name);
            else
                own = settings.ReadSetting(file, rule.name);
            rule.apply(own, presentation, machine, now);
        }
    }
    settings.SetManaged(std::move(next));
}

bool ManagedFolderWatch::Changed() {
    std::vector<std::pair<std::string, FileSignature>> now;
    for (std::string& name : ManagedFileNames(folder_)) {
        FileSignature signature = SignatureOf(WithTrailingSeparator(folder_) + name);
        now.emplace_back(std::move(name), signature);
    }
    const auto same = [](const auto& a, const auto& b) {
        const auto fields = [](const FileSignature& s) {
            return std::tuple(s.kind, s.device, s.inode, s.size, s.mtimeNs, s.ctimeNs);
        };
        return a.first == b.first && fields(a.second) == fields(b.second);
    };
    const bool changed = !std::equal(now.begin(), now.end(), seen_.begin(), seen_.end(), same);
    seen_ = std::move(now);
    return changed;
}

}  // namespace pagelark
