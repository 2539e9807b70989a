#pragma once
// Every setting, described once: its name as stored, where it may stand, its kind, default and
// range, whether a managed file may set it and whether the Windows version knows it. The
// presentation's reader and writer, the machine settings lookup, the managed files, the JSON
// of "pagelark-tso show" and the configuration window's checks and greying all work from it.

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pagelark {

struct MachineSettings;
struct OsFeatures;
struct Presentation;
struct PresentationPage;

// Where a setting may stand, and so where a managed file may set it.
enum class Home {
    Options,  // the presentation's [Tessaro] alone; a managed file's [Tessaro]
    Both,     // [Tessaro], then the user's store, then the machine's; either managed section
    Machine,  // the same lookup; a managed file's [Machine]
    Stores,   // the user's store, then the machine's, never a presentation; [Machine]
    Page,     // each [PageN] section of the presentation, for that page; never managed
};

enum class Kind {
    Bool,
    Seconds,       // whole seconds that fit a Long
    Number,        // a Long within the range; outside it, the default
    Choice,        // an Integer within the range, naming one of a few things
    Minutes,       // with a fraction if need be ("0.5" or "0,5")
    Text,          // as stored; empty is the default
    Folder,        // ends with a separator
    TimeOfDay,     // "h:m" or "h"
    EMail,         // empty, or an address that looks like one
    Presentation,  // empty, an absolute path or a web address
    Days,          // days of the week: "Mon-Fri", "Sat,Sun"; empty is every day
    HourMinute,    // "HH:MM"; empty is midnight
    Scroll,        // "No", "Yes" or a speed within the range; as stored
    Zoom,          // a whole percent (ParseZoom); a page's as stored, the presentation's a number
};

// A typed value: bool, a whole number (seconds, choices), minutes, or text.
using SettingValue = std::variant<bool, std::int64_t, double, std::string>;

// What a save does with a [Tessaro] key.
enum class SaveRule {
    Held,    // written back as the file held it, or as edited
    Always,  // written by every save, in the table's order
    Hand,    // set only by hand: left out by a save, so that it falls back to its default
};

struct SettingRow {
    using Get = SettingValue (*)(const Presentation&, const MachineSettings&);
    using Set = void (*)(const SettingValue&, Presentation&, MachineSettings&);
    // A rule of its own: the text looked up, into the model (now places a moment).
    using Rule = void (*)(std::string_view text, Presentation&, MachineSettings&, double now);
    // A page's own (Home::Page).
    using PageGet = SettingValue (*)(const PresentationPage&);
    using PageSet = void (*)(const SettingValue&, PresentationPage&);

    std::string_view name;
    Home home;
    Kind kind;
    std::string_view defaultText;  // as stored
    std::int64_t low = std::numeric_limits<std::int32_t>::min();
    std::int64_t high = std::numeric_limits<std::int32_t>::max();
    bool managed = true;       // a managed file may set it
    bool windowsKnows = true;  // else written only when the file held it or it is not the default
    SaveRule save = SaveRule::Held;
    bool shown = false;         // in "pagelark-tso show"
    bool shownWhenSet = false;  // there only when it is not the default
    bool logon = false;         // only where the system logs on by itself
    // The setting whose value is this one's default: taken after the others, and again
    // whenever that one is.
    std::string_view follows = {};
    bool storesTrueOnly = false;  // the false state is stored as no value at all
    bool storeDefault = false;    // found nowhere at start-up: the default goes to the store
    // The window's settings that the store keeps, in the order it writes them; 0: none of these.
    int storeOrder = 0;
    // The stem of the window's control names ("txt" + stem...); "-" when the window has none,
    // "" when it is the setting's name.
    std::string_view control = "-";
    Get get = nullptr;  // none: the setting is looked up where it acts
    Set set = nullptr;
    Rule rule = nullptr;
    PageGet pageGet = nullptr;
    PageSet pageSet = nullptr;
};

std::span<const SettingRow> SettingTable();
const SettingRow* FindSetting(std::string_view name);
// The name to find the window's controls by; empty when the window has none.
std::string_view ControlStem(const SettingRow& row);

// The row's reading of stored text: its kind's, with the row's default for none or nonsense.
SettingValue ParseSetting(const SettingRow& row, std::string_view text);
SettingValue DefaultValue(const SettingRow& row);
// The text into the model, by the row's rule or its kind.
void TakeSetting(const SettingRow& row, std::string_view text, Presentation& presentation,
                 MachineSettings& machine, double now);
// The value as stored.
std::string StoredText(const SettingRow& row, const Presentation& presentation,
                       const MachineSettings& machine);
std::string StoredText(const SettingRow& row, const SettingValue& value);
// Whether a managed file's text is one the setting can take.
bool Acceptable(const SettingRow& row, std::string_view text);
bool WithinRange(const SettingRow& row, std::int64_t number);
// Whether "pagelark-tso show" prints this value of the row.
bool Shows(const SettingRow& row, const SettingValue& value);

// The settings a presentation file carries besides its own options, from one model to another.
void CopyFileSettings(const MachineSettings& from, MachineSettings& to);

// The machine settings the configuration window edits that the settings store keeps, each as
// stored, in the order the store is written.
std::vector<std::pair<std::string_view, std::string>> EditedStoreTexts(
    const MachineSettings& machine, const OsFeatures& os);
// Those and the ones a presentation may carry that a save does not always write.
std::vector<std::pair<std::string_view, std::string>> EditedTexts(const MachineSettings& machine);

// "h:m" or "h"; each part a number, hour modulo 24 and minute modulo 60.
struct RebootTimeOfDay {
    std::int32_t hour = 0;
    std::int32_t minute = 0;
};
RebootTimeOfDay ParseRebootTime(std::string_view text);
// "HH:MM" as stored.
std::string FormatRebootTime(std::int32_t hour, std::int32_t minute);
// Today at that time, or tomorrow when that is already past.
double RebootMomentAt(RebootTimeOfDay time, double now);

}  // namespace pagelark
