#include "editor/option_fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>

#include "ini/stored_values.h"
#include "model/address_scheme.h"
#include "model/product.h"

namespace pagelark {
namespace {

std::string Product() {
    return std::string(kProductName);
}

std::string Trimmed(std::string_view text) {
    return std::string(TrimBlanks(text));
}

// Entries left blank in the window are not kept; the others keep their order.
template <class Entry, class Address>
std::vector<Entry> WithoutBlanks(const std::vector<Entry>& list, Address address) {
    std::vector<Entry> kept;
    kept.reserve(list.size());
    for (const Entry& entry : list) {
        if (!TrimBlanks(address(entry)).empty()) kept.push_back(entry);
    }
    return kept;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string TwoDigits(int number) {
    const std::string digits = std::to_string(number);
    return number >= 0 && number < 10 ? "0" + digits : digits;
}

OptionFields FillOptions(const Presentation& presentation, const MachineSettings& machine) {
    OptionFields fields;
    fields.homePage = presentation.HomeURL;
    fields.autoHome = presentation.AutoHome;
    fields.screenSaveActive = machine.ScreenSaveActive;
    fields.screenSaveTimeOut = DelayText(machine.ScreenSaveTimeOut);
    // A stored number that names no option selects none.
    const auto mouseMove = static_cast<int>(machine.OnMouseMove);
    fields.mouseMove = mouseMove >= 0 && mouseMove <= 2 ? mouseMove : -1;
    fields.defaultTime = std::to_string(presentation.DefaultTime.count());
    fields.autoLoop = presentation.AutoLoop;
    fields.locked = machine.Locked;
    fields.clearVisitorData = machine.ClearVisitorData;
    fields.onScreenKeyboard = machine.OnScreenKeyboard;
    fields.reboot = machine.AutoReboot;
    fields.rebootHour = TwoDigits(machine.RebootHour);
    fields.rebootMinute = TwoDigits(machine.RebootMinute);
    fields.forceReboot = machine.ForceReboot;
    fields.autoLogin = machine.AutoLogin;
    fields.userName = machine.NTLogin;
    fields.password = machine.NTPassword;
    fields.domain = machine.NTDomain;
    fields.idlePage = presentation.IdlePage;
    fields.offlinePage = presentation.OfflinePage;
    fields.clockAligned = presentation.ClockAligned;
    fields.screenDays = machine.ScreenDays;
    fields.screenOn = machine.ScreenOn;
    fields.screenOff = machine.ScreenOff;
    fields.screenCec = machine.ScreenCec;
    fields.playLog = machine.PlayLog;
    fields.zoom = std::to_string(presentation.Zoom);
    fields.email = machine.EMail;
    fields.dontUseEmail = machine.DontUseEMail;
    return fields;
}

OptionFields FillOptions(const Presentation& presentation, const MachineSettings& machine,
                         const ManagedSettings& managed, double now) {
    Presentation shown = presentation;
    MachineSettings shownMachine = machine;
    managed.Apply(shown, shownMachine, now);
    return FillOptions(shown, shownMachine);
}

std::vector<ManagedControl> ManagedControls(const ManagedSettings& managed) {
    std::vector<ManagedControl> controls;
    for (const SettingRow& row : SettingTable()) {
        if (row.managed && !ControlStem(row).empty())
            controls.push_back({ControlStem(row), managed.Find(row.name) != nullptr});
    }
    return controls;
}

bool ControlNameShows(std::string_view objectName, std::string_view stem) {
    constexpr std::string_view kInputs[] = {"txt", "chk", "upd", "opt"};
    if (objectName.size() <= 3 ||
        std::ranges::find(kInputs, objectName.substr(0, 3)) == std::end(kInputs))
        return false;
    const std::string_view rest = objectName.substr(3);
    if (!rest.starts_with(stem)) return false;
    const std::string_view tail = rest.substr(stem.size());
    return tail.empty() || (tail.size() == 1 && (tail == "H" || tail == "M" || IsDigit(tail[0])));
}

WorkingLists FillLists(const Presentation& presentation, const ToolbarButtons& buttons) {
    return WorkingLists{presentation.Pages, presentation.Include, presentation.Exclude, buttons};
}

std::optional<FieldProblem> CheckFields(const OptionFields& fields) {
    constexpr int kGeneral = 1;
    constexpr int kReboot = 7;
    constexpr int kSchedule = 8;
    constexpr int kAbout = 9;
    const auto within = [](std::string_view text, const SettingRow& row) {
        const auto number = WholeNumber(text);
        return number && WithinRange(row, *number);
    };
    const SettingRow& email = *FindSetting("EMail");
    if (!Acceptable(email, std::string(TrimBlanks(fields.email))))
        return FieldProblem{kAbout, "Incorrect e-mail address !"};
    // Whole minutes within the setting's range of seconds.
    const SettingRow& delayRow = *FindSetting("ScreenSaveTimeOut");
    const auto delay = DelaySeconds(fields.screenSaveTimeOut);
    if (!delay || !WithinRange(delayRow, *delay) || *delay > delayRow.high / 60 * 60)
        return FieldProblem{kGeneral, "Screen save delay: enter a whole number of minutes."};
    const SettingRow& defaultTime = *FindSetting("DefaultTime");
    if (!within(fields.defaultTime, defaultTime))
        return FieldProblem{kGeneral,
                            "Default display time: enter a whole number of seconds, 0 or more."};
    const SettingRow& rebootTime = *FindSetting("RebootTime");
    const std::string hour(TrimBlanks(fields.rebootHour));
    if (!WholeNumber(hour) || !Acceptable(rebootTime, std::to_string(*WholeNumber(hour))))
        return FieldProblem{kReboot, "Reboot time: enter an hour from 0 to 23."};
    const auto minute = WholeNumber(fields.rebootMinute);
    if (!minute || !Acceptable(rebootTime, "0:" + std::to_string(*minute)))
        return FieldProblem{kReboot, "Reboot time: enter minutes from 0 to 59."};
    // Pages that stand in for the show: an address it would never load is refused here.
    const std::tuple<std::string_view, const std::string&, std::string_view> standIns[] = {
        {"Page while none is due", fields.idlePage, "a black page"},
        {"Page while the show is unreachable", fields.offlinePage, "the program's own page"},
    };
    for (const auto& [label, text, instead] : standIns) {
        if (const std::string why = WhyNotLoaded(Trimmed(text)); !why.empty())
            return FieldProblem{kSchedule, std::string(label) + " cannot be \"" + Trimmed(text) +
                                               "\": " + why +
                                               ". Enter a web address or a file, or nothing for " +
                                               std::string(instead) + "."};
    }
    if (!within(fields.zoom, *FindSetting("Zoom")))
        return FieldProblem{kSchedule, "Page zoom: enter a percentage from 25 to 500."};
    const std::tuple<std::string_view, std::string_view, const std::string&> times[] = {
        {"Screen on days", "ScreenDays", fields.screenDays},
        {"Screen on at", "ScreenOn", fields.screenOn},
        {"Screen off at", "ScreenOff", fields.screenOff},
    };
    for (const auto& [label, setting, text] : times) {
        if (auto problem = TimeFieldProblem(label, setting, text))
            return FieldProblem{kSchedule, std::move(*problem)};
    }
    return std::nullopt;
}

std::optional<std::string> TimeFieldProblem(std::string_view label, std::string_view setting,
                                            std::string_view text) {
    const SettingRow& row = *FindSetting(setting);
    if (Acceptable(row, TrimBlanks(text))) return std::nullopt;
    const std::string named = std::string(label) + " cannot be \"" + Trimmed(text) + "\": ";
    if (row.kind == Kind::Days)
        return named + "enter days such as Mon-Fri, Sat,Sun or Mon-Wed,Fri (empty: every day).";
    return named + "enter a time of day as HH:MM, such as 07:30 (empty: 00:00).";
}

void ConfigKeep(const OptionFields& fields, const WorkingLists& lists, EditedDocument& edited,
                double now) {
    Presentation& presentation = edited.presentation;
    MachineSettings& machine = edited.machine;
    presentation.HomeURL = fields.homePage;
    presentation.AutoHome = fields.autoHome;
    presentation.AutoLoop = fields.autoLoop;
    // With no option picked the stored number stays, whatever it is.
    if (fields.mouseMove >= 0 && fields.mouseMove <= 2)
        machine.OnMouseMove = static_cast<MouseMovePolicy>(fields.mouseMove);

    // Stored with the file once it is saved.
    if (fields.defaultFile) edited.document.IsDefaultFile = true;

    machine.ScreenSaveActive = fields.screenSaveActive;
    machine.Locked = fields.locked;
    machine.ClearVisitorData = fields.clearVisitorData;
    machine.OnScreenKeyboard = fields.onScreenKeyboard;
    // No delay at all would end every pause at once.
    const std::int64_t delay = DelaySeconds(fields.screenSaveTimeOut).value_or(300);
    machine.ScreenSaveTimeOut = std::chrono::seconds(delay <= 0 ? 60 : delay);
    if (const auto seconds = WholeNumber(fields.defaultTime))
        presentation.DefaultTime = std::chrono::seconds{*seconds};

    presentation.IdlePage = Trimmed(fields.idlePage);
    presentation.OfflinePage = Trimmed(fields.offlinePage);
    presentation.ClockAligned = fields.clockAligned;
    machine.ScreenDays = Trimmed(fields.screenDays);
    machine.ScreenOn = Trimmed(fields.screenOn);
    machine.ScreenOff = Trimmed(fields.screenOff);
    machine.ScreenCec = fields.screenCec;
    machine.PlayLog = fields.playLog;
    if (const auto zoom = WholeNumber(fields.zoom)) presentation.Zoom = *zoom;

    const std::string email = Trimmed(fields.email);
    if (email != machine.EMail) {
        machine.EMail = email;
        machine.EMailRegistered = false;
    }
    machine.DontUseEMail = fields.dontUseEmail;

    machine.AutoReboot = fields.reboot;
    machine.RebootHour = WholeNumber(fields.rebootHour).value_or(0);
    machine.RebootMinute = WholeNumber(fields.rebootMinute).value_or(0);
    machine.RebootMoment = RebootMomentAt({machine.RebootHour, machine.RebootMinute}, now);

    machine.ForceReboot = fields.forceReboot;
    machine.AutoLogin = fields.autoLogin;
    machine.NTLogin = Trimmed(fields.userName);
    machine.NTPassword = Trimmed(fields.password);
    machine.NTDomain = Trimmed(fields.domain);

    presentation.Pages =
        WithoutBlanks(lists.pages, [](const PresentationPage& page) { return page.URL; });
    auto address = [](const std::string& entry) { return entry; };
    presentation.Exclude = WithoutBlanks(lists.exclude, address);
    presentation.Include = WithoutBlanks(lists.include, address);

    edited.buttons = lists.buttons;
}

std::string DelayText(std::chrono::seconds delay) {
    const std::int64_t seconds = delay.count();
    if (seconds % 60 == 0) return std::to_string(seconds / 60);
    const std::int64_t magnitude = seconds < 0 ? -seconds : seconds;
    const std::int64_t rest = magnitude % 60;
    return (seconds < 0 ? "-" : "") + std::to_string(magnitude / 60) + (rest < 10 ? ":0" : ":") +
           std::to_string(rest);
}

std::optional<std::int64_t> DelaySeconds(std::string_view text) {
    text = TrimBlanks(text);
    const auto colon = text.find(':');
    const auto minutes = WholeNumber(text.substr(0, colon));
    if (!minutes) return std::nullopt;
    if (colon == std::string_view::npos) return std::int64_t{*minutes} * 60;
    const std::string_view rest = text.substr(colon + 1);
    if (rest.size() != 2 || !IsDigit(rest[0]) || rest[0] > '5' || !IsDigit(rest[1]))
        return std::nullopt;
    const int seconds = (rest[0] - '0') * 10 + (rest[1] - '0');
    const bool negative = TrimBlanks(text.substr(0, colon)).starts_with('-');
    return std::int64_t{*minutes} * 60 + (negative ? -seconds : seconds);
}

std::optional<std::int32_t> WholeNumber(std::string_view text) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int32_t number = 0;
    const auto read = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || read.ec != std::errc() || read.ptr != text.data() + text.size())
        return std::nullopt;
    return number;
}

std::string ConfigCaption(std::string_view currentFile) {
    return Product() + " - " + std::string(currentFile);
}

std::string ToolRunNote(int mouseMove) {
    if (mouseMove == 0) return "Tool Run is visible";
    if (mouseMove == 1)
        return "Tool Run is not visible because " + Product() +
               " switches to navigation mode when mouse moves";
    if (mouseMove == 2)
        return "Tool Run is not visible because " + Product() + " quits when mouse moves";
    return "Tool Run is not visible: the stored mouse-move choice is none of these";
}

std::string QuitOptionCaption() {
    return "&Quit " + Product();
}

std::string WebSiteMenuCaption() {
    return Product() + " help in the web browser";
}

std::string AboutCaption() {
    return "About " + Product() + ":";
}

std::string AboutVisitLine() {
    return "Read how to use it in the help (F1) and in \"man pagelark\".";
}

std::string AboutVersionLine() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

std::string VisitButtonCaption() {
    return "&Read about " + Product();
}

int LeadingNumber(std::string_view text) {
    return LeadingNumberOf(text).value_or(0);
}

std::optional<int> LeadingNumberOf(std::string_view text) {
    // Blanks may stand anywhere in the number; the first other character ends it.
    std::string number;
    bool negative = false;
    bool signSeen = false;
    bool point = false;
    bool exponent = false;
    bool digits = false;
    for (char c : text) {
        if (IsBlank(c)) continue;
        if ((c == '+' || c == '-') && number.empty() && !signSeen) {
            negative = c == '-';
            signSeen = true;
        } else if ((c == '+' || c == '-') && exponent && number.back() == 'e') {
            number += c;
        } else if (IsDigit(c)) {
            number += c;
            digits = true;
        } else if (c == '.' && !point && !exponent) {
            number += c;
            point = true;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && digits && !exponent) {
            number += 'e';
            exponent = true;
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    // Reads the longest number at the front, so a dangling exponent mark is left out; not
    // strtod, whose decimal point follows the locale.
    double value = 0.0;
    const auto read = std::from_chars(number.data(), number.data() + number.size(), value);
    if (read.ec == std::errc::result_out_of_range)
        value = number.find("e-") == std::string::npos ? HUGE_VAL : 0.0;
    if (negative) value = -value;
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    if (std::isnan(value)) return 0;
    const double whole = std::nearbyint(value);  // the default rounding is half to even
    if (whole >= static_cast<double>(kMax)) return kMax;
    if (whole <= static_cast<double>(kMin)) return kMin;
    return static_cast<int>(whole);
}

int ScreenSaveTimeOutValue(std::string_view text) {
    int minutes = LeadingNumber(text);
    if (minutes >= 61) minutes = 60;
    if (minutes < 1) minutes = 1;
    return kScreenSaveTimeOutScale.ValueFor(minutes);
}

std::optional<int> ScreenSaveTimeOutStep(std::string_view text, bool up) {
    const auto seconds = DelaySeconds(text);
    if (!seconds || *seconds % 60 == 0) return std::nullopt;
    // The whole minute below, also for a negative delay.
    const std::int64_t below = *seconds / 60 - (*seconds < 0 ? 1 : 0);
    const std::int64_t minutes = std::clamp<std::int64_t>(up ? below + 1 : below, 1, 60);
    if (up ? minutes * 60 < *seconds : minutes * 60 > *seconds) return std::nullopt;
    return static_cast<int>(minutes);
}

std::string ScreenSaveTimeOutOnLeave(std::string_view text) {
    const auto seconds = DelaySeconds(text);
    return LeadingNumber(text) > 60 || (seconds && *seconds > 3600) ? "60" : std::string(text);
}

}  // namespace pagelark
