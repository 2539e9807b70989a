#include "settings/setting_table.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <type_traits>

#include "ini/stored_values.h"
#include "model/page_schedule.h"
#include "model/page_scroll.h"
#include "model/presentation.h"
#include "platform/os_features.h"
#include "platform/paths.h"
#include "settings/settings.h"

namespace pagelark {
namespace {

using P = Presentation;
using M = MachineSettings;
using Text = std::string_view;

template <typename T>
struct MemberOf;
template <typename C, typename T>
struct MemberOf<T C::*> {
    using Class = C;
    using Type = T;
};

template <typename C>
auto& Owner(auto& p, auto& m) {
    if constexpr (std::is_same_v<C, P>) {
        return p;
    } else {
        return m;
    }
}

template <typename T>
SettingValue ToValue(const T& value) {
    if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::string>) {
        return value;
    } else if constexpr (std::is_enum_v<T> || std::is_integral_v<T>) {
        return static_cast<std::int64_t>(value);
    } else if constexpr (std::is_same_v<T, std::chrono::seconds>) {
        return static_cast<std::int64_t>(value.count());
    } else {
        return static_cast<double>(value.count());
    }
}

template <typename T>
T FromValue(const SettingValue& value) {
    if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::string>) {
        return std::get<T>(value);
    } else if constexpr (std::is_enum_v<T> || std::is_integral_v<T>) {
        return static_cast<T>(std::get<std::int64_t>(value));
    } else if constexpr (std::is_same_v<T, std::chrono::seconds>) {
        return T{std::get<std::int64_t>(value)};
    } else {
        return T{std::get<double>(value)};
    }
}

template <auto Member>
SettingValue Get(const P& p, const M& m) {
    using Of = MemberOf<decltype(Member)>;
    return ToValue(Owner<typename Of::Class>(p, m).*Member);
}

template <auto Member>
void Set(const SettingValue& value, P& p, M& m) {
    using Of = MemberOf<decltype(Member)>;
    Owner<typename Of::Class>(p, m).*Member = FromValue<typename Of::Type>(value);
}

// A row's access to its field of the model.
template <auto Member>
constexpr SettingRow Field(SettingRow row) {
    row.get = &Get<Member>;
    row.set = &Set<Member>;
    return row;
}

template <auto Member>
SettingValue GetOfPage(const PresentationPage& page) {
    return ToValue(page.*Member);
}

template <auto Member>
void SetOfPage(const SettingValue& value, PresentationPage& page) {
    page.*Member = FromValue<typename MemberOf<decltype(Member)>::Type>(value);
}

// A page row's access to its field of each page.
template <auto Member>
constexpr SettingRow PageField(SettingRow row) {
    row.pageGet = &GetOfPage<Member>;
    row.pageSet = &SetOfPage<Member>;
    return row;
}

// Unknown to the Windows version and to managed files, in "show" where a page has it.
constexpr SettingRow PageKey(std::string_view name, Kind kind) {
    return {.name = name,
            .home = Home::Page,
            .kind = kind,
            .defaultText = "",
            .managed = false,
            .windowsKnows = false,
            .shown = true,
            .shownWhenSet = true};
}

constexpr SettingRow ScrollKey() {
    SettingRow row = PageKey("Scroll", Kind::Scroll);
    row.low = 0;  // still, as No
    row.high = kFastestScroll;
    return row;
}

// A key the Windows version does not know, in "show" where it is set. Home::Both: a presentation
// or a fleet's managed file may say.
constexpr SettingRow NewKey(std::string_view name, Home home, Kind kind,
                            std::string_view defaultText) {
    return {.name = name,
            .home = home,
            .kind = kind,
            .defaultText = defaultText,
            .windowsKnows = false,
            .shown = true,
            .shownWhenSet = true,
            .control = ""};
}

// A page's zoom as the kiosk plays it, a number; a bad one as it stands, as a bad Scroll.
SettingValue PageZoomValue(const PresentationPage& page) {
    if (const auto zoom = ParseZoom(page.Zoom)) return std::int64_t{*zoom};
    return page.Zoom;
}

constexpr SettingRow ZoomKey(Home home) {
    SettingRow row =
        home == Home::Page ? PageKey("Zoom", Kind::Zoom) : NewKey("Zoom", home, Kind::Zoom, "100");
    row.low = kLeastZoom;
    row.high = kMostZoom;
    return row;
}

std::int64_t Whole(const SettingValue& value) {
    return std::get<std::int64_t>(value);
}

// The pages on the default time move with it, as when the file's own is read.
void DefaultTimeRule(Text text, P& p, M&, double) {
    const std::chrono::seconds time{Whole(ParseSetting(*FindSetting("DefaultTime"), text))};
    for (PresentationPage& page : p.Pages) {
        if (page.UseDefaultTime && page.Time == p.DefaultTime) page.Time = time;
    }
    p.DefaultTime = time;
}

// No delay at all, or one below it, would end every pause and every wake at once.
void DelayRule(Text text, P&, M& m, double) {
    const std::int32_t seconds = ParseLong(text, 300);
    m.ScreenSaveTimeOut = std::chrono::seconds(seconds <= 0 ? 300 : seconds);
}

// After the screen saver's delay, which is its default.
void MaxTimeRule(Text text, P& p, M& m, double) {
    p.MaxTime = std::chrono::seconds{
        ParseLong(text, static_cast<std::int32_t>(m.ScreenSaveTimeOut.count()))};
}

void RebootTimeRule(Text text, P&, M& m, double now) {
    const RebootTimeOfDay time = ParseRebootTime(text);
    m.RebootHour = time.hour;
    m.RebootMinute = time.minute;
    m.RebootMoment = RebootMomentAt(time, now);
}

SettingValue RebootTimeText(const P&, const M& m) {
    return FormatRebootTime(m.RebootHour, m.RebootMinute);
}

// Looked up where the kiosk starts (Settings::DefaultFilePath); a running one keeps its show.
void NoRule(Text, P&, M&, double) {}

constexpr std::int64_t kLong = std::numeric_limits<std::int32_t>::max();

// In the order "pagelark-tso show" prints them; a save writes the Always keys in this order.
const SettingRow kTable[] = {
    Field<&P::HomeURL>({.name = "HomeURL",
                        .home = Home::Options,
                        .kind = Kind::Text,
                        .defaultText = "about:blank",
                        .save = SaveRule::Always,
                        .shown = true,
                        .control = "HomePage"}),
    Field<&P::AutoHome>({.name = "AutoHome",
                         .home = Home::Options,
                         .kind = Kind::Bool,
                         .defaultText = "No",
                         .save = SaveRule::Always,
                         .shown = true,
                         .control = ""}),
    Field<&P::AutoLoop>({.name = "AutoLoop",
                         .home = Home::Options,
                         .kind = Kind::Bool,
                         .defaultText = "Yes",
                         .save = SaveRule::Always,
                         .shown = true,
                         .control = ""}),
    // 0 holds a page until a command moves the show on.
    Field<&P::DefaultTime>({.name = "DefaultTime",
                            .home = Home::Options,
                            .kind = Kind::Seconds,
                            .defaultText = "10",
                            .low = 0,
                            .high = kLong,
                            .save = SaveRule::Always,
                            .shown = true,
                            .control = "",
                            .rule = DefaultTimeRule}),
    Field<&P::WaitComplete>({.name = "WaitComplete",
                             .home = Home::Options,
                             .kind = Kind::Bool,
                             .defaultText = "Yes",
                             .save = SaveRule::Hand,
                             .shown = true}),
    Field<&P::MaxTime>({.name = "MaxTime",
                        .home = Home::Options,
                        .kind = Kind::Seconds,
                        .defaultText = "300",
                        .low = 0,
                        .high = kLong,
                        .save = SaveRule::Hand,
                        .shown = true,
                        .follows = "ScreenSaveTimeOut",
                        .rule = MaxTimeRule}),
    Field<&P::AllowRestrictions>({.name = "AllowRestrictions",
                                  .home = Home::Options,
                                  .kind = Kind::Bool,
                                  .defaultText = "Yes",
                                  .save = SaveRule::Hand,
                                  .shown = true}),
    Field<&P::FirstPage>({.name = "FirstPage",
                          .home = Home::Options,
                          .kind = Kind::Number,
                          .defaultText = "1",
                          .managed = false,
                          .save = SaveRule::Hand,
                          .shown = true}),
    Field<&P::IdlePage>(NewKey("IdlePage", Home::Options, Kind::Text, "")),
    Field<&P::OfflinePage>(NewKey("OfflinePage", Home::Options, Kind::Text, "")),
    Field<&P::ClockAligned>(NewKey("ClockAligned", Home::Options, Kind::Bool, "No")),
    // The size pages are laid out at: the presentation's, and a page's own (none: 0).
    Field<&P::Zoom>(ZoomKey(Home::Options)),
    [] {
        SettingRow row = PageField<&PresentationPage::Zoom>(ZoomKey(Home::Page));
        row.pageGet = &PageZoomValue;
        return row;
    }(),
    // When a page is due; read together (ReadSchedule), since a window needs both ends.
    PageField<&PresentationPage::Days>(PageKey("Days", Kind::Days)),
    PageField<&PresentationPage::From>(PageKey("From", Kind::HourMinute)),
    PageField<&PresentationPage::To>(PageKey("To", Kind::HourMinute)),
    // A long page moving on show; ScrollOf reads it.
    PageField<&PresentationPage::Scroll>(ScrollKey()),
    Field<&M::ScreenSaveActive>({.name = "ScreenSaveActive",
                                 .home = Home::Both,
                                 .kind = Kind::Bool,
                                 .defaultText = "Yes",
                                 .save = SaveRule::Always,
                                 .shown = true,
                                 .control = ""}),
    Field<&M::ScreenSaveTimeOut>({.name = "ScreenSaveTimeOut",
                                  .home = Home::Both,
                                  .kind = Kind::Seconds,
                                  .defaultText = "300",
                                  .low = 0,
                                  .high = kLong,
                                  .save = SaveRule::Always,
                                  .shown = true,
                                  .control = "",
                                  .rule = DelayRule}),
    Field<&M::OnMouseMove>({.name = "OnMouseMove",
                            .home = Home::Both,
                            .kind = Kind::Choice,
                            .defaultText = "1",
                            .low = 0,
                            .high = 2,
                            .save = SaveRule::Always,
                            .shown = true,
                            .control = "MouseMove"}),
    // Each return to the show starts the browsers on a fresh profile.
    Field<&M::ClearVisitorData>({.name = "ClearVisitorData",
                                 .home = Home::Both,
                                 .kind = Kind::Bool,
                                 .defaultText = "Yes",
                                 .windowsKnows = false,
                                 .shown = true,
                                 .control = ""}),
    Field<&M::OnScreenKeyboard>({.name = "OnScreenKeyboard",
                                 .home = Home::Both,
                                 .kind = Kind::Bool,
                                 .defaultText = "No",
                                 .windowsKnows = false,
                                 .shown = true,
                                 .control = ""}),
    Field<&M::ScreenDays>(NewKey("ScreenDays", Home::Both, Kind::Days, "")),
    Field<&M::ScreenOn>(NewKey("ScreenOn", Home::Both, Kind::HourMinute, "")),
    Field<&M::ScreenOff>(NewKey("ScreenOff", Home::Both, Kind::HourMinute, "")),
    Field<&M::ScreenCec>(NewKey("ScreenCec", Home::Both, Kind::Bool, "Yes")),
    // Each page shown gets a line in the play log (src/playlog), and on MQTT.
    Field<&M::PlayLog>(NewKey("PlayLog", Home::Both, Kind::Bool, "No")),
    Field<&M::AutoReboot>({.name = "AutoReboot",
                           .home = Home::Machine,
                           .kind = Kind::Bool,
                           .defaultText = "No",
                           .shown = true,
                           .storeOrder = 4,
                           .control = "Reboot"}),
    Field<&M::ForceReboot>({.name = "ForceReboot",
                            .home = Home::Machine,
                            .kind = Kind::Bool,
                            .defaultText = "No",
                            .shown = true,
                            .storeOrder = 6,
                            .control = ""}),
    {.name = "RebootTime",
     .home = Home::Machine,
     .kind = Kind::TimeOfDay,
     .defaultText = "00:00",
     .shown = true,
     .storeOrder = 5,
     .control = "",
     .get = RebootTimeText,
     .rule = RebootTimeRule},
    Field<&M::Snap>({.name = "Snap",
                     .home = Home::Machine,
                     .kind = Kind::Bool,
                     .defaultText = "No",
                     .shown = true}),
    Field<&M::SnapPath>({.name = "SnapPath",
                         .home = Home::Machine,
                         .kind = Kind::Folder,
                         .defaultText = "",
                         .shown = true}),
    // A kiosk for the public: read failing closed (Settings::ReadLocked).
    Field<&M::Locked>({.name = "Locked",
                       .home = Home::Machine,
                       .kind = Kind::Bool,
                       .defaultText = "No",
                       .shown = true,
                       .storeOrder = 7,
                       .control = ""}),
    Field<&M::DBus>({.name = "DBus",
                     .home = Home::Machine,
                     .kind = Kind::Bool,
                     .defaultText = "No",
                     .shown = true}),
    Field<&M::LowMemory>({.name = "LowMemory",
                          .home = Home::Machine,
                          .kind = Kind::Bool,
                          .defaultText = "No",
                          .shown = true}),
    Field<&M::RefreshMinutes>({.name = "RefreshMinutes",
                               .home = Home::Machine,
                               .kind = Kind::Minutes,
                               .defaultText = "5",
                               .shown = true}),
    // Checked by the MQTT client at start-up, which says what is wrong with them.
    Field<&M::MqttBroker>({.name = "MqttBroker",
                           .home = Home::Stores,
                           .kind = Kind::Text,
                           .defaultText = "",
                           .shown = true}),
    Field<&M::MqttCaFile>({.name = "MqttCaFile",
                           .home = Home::Stores,
                           .kind = Kind::Text,
                           .defaultText = "",
                           .shown = true}),
    Field<&M::MqttCredentials>({.name = "MqttCredentials",
                                .home = Home::Stores,
                                .kind = Kind::Text,
                                .defaultText = "",
                                .shown = true}),
    // The window refuses an address that does not look like one, and could not take another.
    Field<&M::EMail>({.name = "EMail",
                      .home = Home::Machine,
                      .kind = Kind::EMail,
                      .defaultText = "",
                      .storeOrder = 1,
                      .control = ""}),
    Field<&M::DontUseEMail>({.name = "DontUseEMail",
                             .home = Home::Machine,
                             .kind = Kind::Bool,
                             .defaultText = "No",
                             .storeOrder = 2,
                             .control = "Private"}),
    Field<&M::EMailRegistered>({.name = "EMailRegistered",
                                .home = Home::Machine,
                                .kind = Kind::Bool,
                                .defaultText = "No",
                                .managed = false,
                                .storesTrueOnly = true,
                                .storeOrder = 3}),
    Field<&M::SpecialURL>({.name = "SpecialURL",
                           .home = Home::Machine,
                           .kind = Kind::Text,
                           .defaultText = kDefaultSpecialURL,
                           .storeDefault = true}),
    Field<&M::AutoLogin>({.name = "AutoLogin",
                          .home = Home::Machine,
                          .kind = Kind::Bool,
                          .defaultText = "No",
                          .managed = false,
                          .logon = true,
                          .storeOrder = 8}),
    Field<&M::NTDomain>({.name = "NTDomain",
                         .home = Home::Machine,
                         .kind = Kind::Text,
                         .defaultText = "",
                         .managed = false,
                         .logon = true,
                         .storeOrder = 9}),
    Field<&M::NTLogin>({.name = "NTLogin",
                        .home = Home::Machine,
                        .kind = Kind::Text,
                        .defaultText = "",
                        .managed = false,
                        .logon = true,
                        .storeOrder = 10}),
    Field<&M::NTPassword>({.name = "NTPassword",
                           .home = Home::Machine,
                           .kind = Kind::Text,
                           .defaultText = "",
                           .managed = false,
                           .logon = true,
                           .storeOrder = 11}),
    {.name = "DefaultFile",
     .home = Home::Machine,
     .kind = Kind::Presentation,
     .defaultText = "",
     .control = "DefaultSS",
     .rule = NoRule},
    Field<&M::WindowState>({.name = "WindowState",
                            .home = Home::Machine,
                            .kind = Kind::Choice,
                            .defaultText = "2",
                            .low = 0,
                            .high = 2}),
    // The diagnostic key's, read when it is pressed.
    {.name = "Debug",
     .home = Home::Machine,
     .kind = Kind::Bool,
     .defaultText = "No",
     .managed = false},
    {.name = "IEPath",
     .home = Home::Machine,
     .kind = Kind::Text,
     .defaultText = "",
     .managed = false},
};

bool IsNumber(Text text) {
    return ParseLong(text, 0) == ParseLong(text, 1);
}

bool NumberWithin(Text text, std::int64_t low, std::int64_t high) {
    const std::int32_t number = ParseLong(text, 0);
    return IsNumber(text) && number >= low && number <= high;
}

}  // namespace

std::span<const SettingRow> SettingTable() {
    return kTable;
}

const SettingRow* FindSetting(std::string_view name) {
    const auto* row = std::find_if(std::begin(kTable), std::end(kTable),
                                   [&](const SettingRow& r) { return EqualsNoCase(r.name, name); });
    return row == std::end(kTable) ? nullptr : row;
}

std::string_view ControlStem(const SettingRow& row) {
    if (row.control == "-") return {};
    return row.control.empty() ? row.name : row.control;
}

SettingValue ParseSetting(const SettingRow& row, std::string_view text) {
    switch (row.kind) {
        case Kind::Bool:
            return ParseBool(text, ParseBool(row.defaultText, false));
        case Kind::Seconds:
            return std::int64_t{ParseLong(text, ParseLong(row.defaultText, 0))};
        case Kind::Number: {
            const std::int64_t fallback = ParseLong(row.defaultText, 0);
            const std::int64_t number = ParseLong(text, static_cast<std::int32_t>(fallback));
            return WithinRange(row, number) ? number : fallback;
        }
        case Kind::Choice:
            return std::int64_t{ParseInteger(text, ParseInteger(row.defaultText, 0))};
        case Kind::Zoom:  // a page's as stored, so that a save keeps a bad one; ZoomOf reads it
            if (row.home == Home::Page) break;
            return std::int64_t{ParseZoom(text).value_or(ParseLong(row.defaultText, 0))};
        case Kind::Minutes:
            return ParseRefreshMinutes(text).count();
        case Kind::Folder:
            return WithTrailingSeparator(text);
        case Kind::TimeOfDay: {
            const RebootTimeOfDay time = ParseRebootTime(text);
            return FormatRebootTime(time.hour, time.minute);
        }
        case Kind::Text:
        case Kind::EMail:
        case Kind::Presentation:
        case Kind::Days:  // as stored, so that a save keeps it; ReadSchedule reads it
        case Kind::HourMinute:
        case Kind::Scroll:
            break;
    }
    return std::string(text.empty() ? row.defaultText : text);
}

SettingValue DefaultValue(const SettingRow& row) {
    return ParseSetting(row, row.defaultText);
}

void TakeSetting(const SettingRow& row, std::string_view text, Presentation& presentation,
                 MachineSettings& machine, double now) {
    if (row.rule != nullptr) {
        row.rule(text, presentation, machine, now);
    } else if (row.set != nullptr) {
        row.set(ParseSetting(row, text), presentation, machine);
    }
}

std::string StoredText(const SettingRow& row, const SettingValue& value) {
    if (const bool* flag = std::get_if<bool>(&value))
        return row.storesTrueOnly && !*flag ? "" : BoolWord(*flag);
    if (const std::int64_t* number = std::get_if<std::int64_t>(&value))
        return std::to_string(*number);
    if (const double* minutes = std::get_if<double>(&value)) return std::to_string(*minutes);
    return std::get<std::string>(value);
}

std::string StoredText(const SettingRow& row, const Presentation& presentation,
                       const MachineSettings& machine) {
    return StoredText(row, row.get(presentation, machine));
}

bool WithinRange(const SettingRow& row, std::int64_t number) {
    return number >= row.low && number <= row.high;
}

bool Acceptable(const SettingRow& row, std::string_view text) {
    switch (row.kind) {
        case Kind::Bool:
            return ParseBool(text, false) == ParseBool(text, true);
        case Kind::Seconds:
        case Kind::Number:
        case Kind::Choice:
            return NumberWithin(text, row.low, row.high);
        case Kind::TimeOfDay: {
            const auto colon = text.find(':');
            return NumberWithin(text.substr(0, colon), 0, 23) &&
                   (colon == std::string_view::npos || NumberWithin(text.substr(colon + 1), 0, 59));
        }
        case Kind::EMail:
            return text.empty() || IsEMailValid(text);
        case Kind::Minutes:
            return ParseMinutes(text).has_value();
        case Kind::Presentation:  // a path relative to wherever the kiosk starts is no use
            return text.empty() || IsAbsolutePath(text) || StartsWithNoCase(text, "http://") ||
                   StartsWithNoCase(text, "https://");
        case Kind::Days:
            return ParseDays(text).has_value();
        case Kind::HourMinute:
            return TrimBlanksAndTabs(text).empty() || ParseHourMinute(text).has_value();
        case Kind::Scroll:
            return ParseScroll(text).has_value();
        case Kind::Zoom:
            return ParseZoom(text).has_value();
        case Kind::Text:
        case Kind::Folder:
            break;
    }
    return true;
}

bool Shows(const SettingRow& row, const SettingValue& value) {
    return row.shown && (!row.shownWhenSet || value != DefaultValue(row));
}

void CopyFileSettings(const MachineSettings& from, MachineSettings& to) {
    const Presentation none;
    Presentation unused;
    for (const SettingRow& row : kTable) {
        if (row.home == Home::Both) row.set(row.get(none, from), unused, to);
    }
}

std::vector<std::pair<std::string_view, std::string>> EditedStoreTexts(
    const MachineSettings& machine, const OsFeatures& os) {
    std::vector<const SettingRow*> rows;
    for (const SettingRow& row : kTable) {
        if (row.storeOrder > 0 && (!row.logon || os.automaticLogon)) rows.push_back(&row);
    }
    std::ranges::sort(rows, {}, &SettingRow::storeOrder);
    const Presentation none;
    std::vector<std::pair<std::string_view, std::string>> texts;
    texts.reserve(rows.size());
    for (const SettingRow* row : rows)
        texts.emplace_back(row->name, StoredText(*row, none, machine));
    return texts;
}

std::vector<std::pair<std::string_view, std::string>> EditedTexts(const MachineSettings& machine) {
    auto texts = EditedStoreTexts(machine, kOsFeatures);
    const Presentation none;
    for (const SettingRow& row : kTable) {
        if (row.home == Home::Both && row.save == SaveRule::Held && !ControlStem(row).empty())
            texts.emplace_back(row.name, StoredText(row, none, machine));
    }
    return texts;
}

RebootTimeOfDay ParseRebootTime(std::string_view text) {
    RebootTimeOfDay time;
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        time.hour = ParseLong(text, 0);
    } else {
        time.hour = ParseLong(text.substr(0, colon), 0);
        time.minute = ParseLong(text.substr(colon + 1), 0);
    }
    // The remainder keeps the sign, as stored times have always been read.
    time.hour %= 24;
    time.minute %= 60;
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
    double moment = std::floor(now) + time.hour / 24.0 + time.minute / 1440.0;
    if (moment < now) moment += 1.0;
    return moment;
}

}  // namespace pagelark
