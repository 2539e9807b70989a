#include "settings/managed.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <set>
#include <tuple>

#include "ini/ini_document.h"
#include "ini/ini_store.h"
#include "ini/stored_values.h"
#include "model/presentation.h"
#include "model/product.h"
#include "platform/file_io.h"
#include "platform/folder_entries.h"
#include "platform/log.h"
#include "platform/paths.h"
#include "settings/settings.h"

namespace pagelark {
namespace {

constexpr std::string_view kMachineSection = "Machine";
constexpr std::string_view kLocks = ": the kiosk is locked";
constexpr std::string_view kLocked = "Locked";
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
        const SettingRow* rule = FindSetting(key);
        const bool machine = EqualsNoCase(section, kMachineSection);
        const bool fits = rule != nullptr && rule->managed &&
                          (machine ? rule->home != Home::Options
                                   : (rule->home == Home::Options || rule->home == Home::Both));
        if (!fits) return leaveOut("no key " + key + " is known in [" + section + "]");
        if (!seen.insert(ToUpper(section + "/" + key)).second) return leaveOut(key + " again");
        std::string value = document.Read(section, key);
        // As in the presentation and the stores: an empty flag sets nothing.
        if (rule->kind == Kind::Bool && TrimBlanksAndTabs(value).empty()) return;
        if (!Acceptable(*rule, value)) return leaveOut(key + " cannot be \"" + value + "\"");
        values[std::string(rule->name)] = std::move(value);
    });
    return lockedUnread;
}

// The names read, in byte order; others receives the other names of files, hidden ones apart.
std::vector<std::string> ManagedFileNames(const std::string& folder,
                                          std::vector<std::string>* others = nullptr) {
    std::vector<std::string> names;
    for (FolderEntry& entry : FolderEntries(folder)) {
        if (entry.name.starts_with('.')) continue;
        if (HasExtension(entry.name, ".ini")) {
            names.push_back(std::move(entry.name));
        } else if (others != nullptr && entry.kind != EntryKind::Folder) {
            others->push_back(std::move(entry.name));
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
    for (const bool following : {false, true}) {
        for (const SettingRow& row : SettingTable()) {
            if (row.follows.empty() == following) continue;
            if (const std::string* text = Find(row.name))
                TakeSetting(row, *text, presentation, machine, now);
        }
    }
}

ManagedRead ReadManagedFolder(const std::string& folder) {
    ManagedRead read;
    if (folder.empty()) return read;
    bool lockedUnread = false;
    std::vector<std::string> others;
    for (const std::string& name : ManagedFileNames(folder, &others)) {
        const std::string path = WithTrailingSeparator(folder) + name;
        const ReadResult file = ReadWholeFile(path, kMaxManagedFileBytes);
        std::vector<std::string> problems;
        std::map<std::string, std::string, std::less<>> values;
        // A file left out whole locks when it may set Locked: when it names it, or cannot be
        // read at all (gone since it was listed, or named in a way that reaches no file).
        bool locks = file.status == ReadStatus::Unreadable || file.status == ReadStatus::Missing;
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
    TakeManaged(settings, std::move(next), ReadSettingsFile(file), presentation, machine, now);
}

void TakeManaged(Settings& settings, ManagedSettings next, const SettingsFile& file,
                 Presentation& presentation, MachineSettings& machine, double now) {
    const auto managedBefore = [&](std::string_view name) {
        return settings.Managed().Find(name) != nullptr;
    };
    for (const bool following : {false, true}) {
        for (const SettingRow& row : SettingTable()) {
            if (row.follows.empty() == following || !row.managed) continue;
            if (const std::string* text = next.Find(row.name)) {
                TakeSetting(row, *text, presentation, machine, now);
            } else if (row.name == kLocked && managedBefore(row.name)) {
                machine.Locked = settings.ReadLocked(file);  // failing closed, as at start-up
            } else if (managedBefore(row.name) ||
                       (following && (next.Find(row.follows) || managedBefore(row.follows)))) {
                std::string own;
                if (row.home == Home::Options)
                    own = TrimBlanks(file.Read(kOptionsSection, row.name));
                else if (row.home == Home::Stores)
                    own = settings.ReadStoreSetting(row.name);
                else
                    own = settings.ReadSetting(file, row.name);
                TakeSetting(row, own, presentation, machine, now);
            }
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
