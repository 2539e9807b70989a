#pragma once
// The option controls of the configuration window as plain values: filled from the model
// and the settings, and kept back into them. Texts are what the boxes hold, so the number
// rules of the keep step live here and not in the widgets.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/file_commands.h"
#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "settings/settings.h"

namespace pagelark {

struct OptionFields {
    // General: home page
    std::string homePage;  // txtHomePage
    bool autoHome = false;
    // General: screen saver
    bool screenSaveActive = true;
    std::string screenSaveTimeOut;  // minutes, or minutes:seconds
    int mouseMove = 0;              // optMouseMove index 0..2; -1 when none is selected
    std::string defaultTime;        // seconds
    bool autoLoop = true;
    bool locked = false;            // chkLocked
    bool clearVisitorData = true;   // chkClearVisitorData
    bool onScreenKeyboard = false;  // chkOnScreenKeyboard
    // chkDefaultSS: ticked, and enabled only while not ticked when filled
    bool defaultFile = false;
    // Reboot
    bool reboot = false;
    std::string rebootHour;
    std::string rebootMinute;
    bool forceReboot = false;
    bool autoLogin = false;
    std::string userName;
    std::string password;
    std::string domain;
    // Schedule: as stored, the times checked by their rows
    std::string idlePage;       // txtIdlePage
    std::string offlinePage;    // txtOfflinePage
    bool clockAligned = false;  // chkClockAligned
    std::string screenDays;     // txtScreenDays
    std::string screenOn;       // txtScreenOn
    std::string screenOff;      // txtScreenOff
    bool screenCec = true;      // chkScreenCec
    bool playLog = false;       // chkPlayLog
    std::string zoom;           // txtZoom: percent, for pages without their own
    // About
    std::string email;
    bool dontUseEmail = false;
};

// The working copies of the lists the window edits.
struct WorkingLists {
    std::vector<PresentationPage> pages;
    std::vector<std::string> include;
    std::vector<std::string> exclude;
    ToolbarButtons buttons;  // both bars and the address box's visibility
};

OptionFields FillOptions(const Presentation& presentation, const MachineSettings& machine);
// With the managed values shown in place of the document's own.
OptionFields FillOptions(const Presentation& presentation, const MachineSettings& machine,
                         const ManagedSettings& managed, double now);

inline constexpr std::string_view kManagedNote = "Set by your administrator";
// The control of each setting a managed file may set, by its row's control name, and whether
// the setting is managed now.
struct ManagedControl {
    std::string_view stem;
    bool managed;
};
std::vector<ManagedControl> ManagedControls(const ManagedSettings& managed);
// Whether an input control's object name ("txt", "chk", "upd" or "opt", the stem, then at most
// an "H", an "M" or a digit) shows the setting of that control name.
bool ControlNameShows(std::string_view objectName, std::string_view stem);
WorkingLists FillLists(const Presentation& presentation, const ToolbarButtons& buttons);

// The first field the window cannot keep as it is shown: its tab and the message naming it.
struct FieldProblem {
    int tab;
    std::string message;
};
std::optional<FieldProblem> CheckFields(const OptionFields& fields);
// A message naming the field (by its label) when the text is not one the setting's row takes
// for days of the week or a time of day; none when it is.
std::optional<std::string> TimeFieldProblem(std::string_view label, std::string_view setting,
                                            std::string_view text);

// Copies fields that passed CheckFields into the edited document: options into the
// presentation and machine settings (the reboot moment from now, a day count; a delay of 0
// minutes as 1; no mouse-move option selected keeps the stored number), the default-file
// choice, the lists with blank entries dropped, the buttons. Nothing is written anywhere.
void ConfigKeep(const OptionFields& fields, const WorkingLists& lists, EditedDocument& edited,
                double now);

// The whole text as a decimal number, blanks around it allowed; none when it is anything else.
std::optional<std::int32_t> WholeNumber(std::string_view text);
// The screen saver delay box's text: whole minutes, or minutes:seconds ("0:42") for a delay
// that is not, so that the stored delay is shown and kept exactly.
std::string DelayText(std::chrono::seconds delay);
// The seconds such a text stands for; none when it is neither form.
std::optional<std::int64_t> DelaySeconds(std::string_view text);

// The window caption: "Pagelark - " and the file.
std::string ConfigCaption(std::string_view currentFile);
// The Tool Run tab's note for the selected mouse-move option (-1: none).
std::string ToolRunNote(int mouseMove);
// The caption of the third mouse-move option and of the Help menu's web site item.
std::string QuitOptionCaption();
std::string WebSiteMenuCaption();
// The About tab's lines.
std::string AboutCaption();
std::string AboutVisitLine();
std::string AboutVersionLine();
std::string VisitButtonCaption();

// A clock's hours or minutes as shown: "04", "30".
std::string TwoDigits(int number);

// The leading number of a box's text rounded to a whole number; none (or 0) when it has none.
std::optional<int> LeadingNumberOf(std::string_view text);
int LeadingNumber(std::string_view text);

// A vertical scroll bar used as an up-down: its value runs against the number, so the up
// arrow raises it. value = sum - number.
struct UpDownScale {
    int minimum;
    int maximum;
    int sum;
    int ValueFor(int number) const { return sum - number; }
    int NumberFor(int value) const { return sum - value; }
};
inline constexpr UpDownScale kScreenSaveTimeOutScale{1, 60, 61};
inline constexpr UpDownScale kDefaultTimeScale{1, 1000, 1000};
inline constexpr UpDownScale kRebootHourScale{1, 24, 24};
inline constexpr UpDownScale kRebootMinuteScale{1, 60, 60};
inline constexpr UpDownScale kPageTimeScale{1, 1000, 1000};
inline constexpr UpDownScale kZoomScale{kLeastZoom, kMostZoom, kLeastZoom + kMostZoom};

// The screen saver delay box's up-down value for its text (the number held to 1..60).
int ScreenSaveTimeOutValue(std::string_view text);
// The minutes a click on the up-down's arrow (up or down) gives a delay of minutes and seconds:
// the whole minute beyond it that way, within 1..60; none for a delay of whole minutes (the
// up-down's own step) or when no such minute is within.
std::optional<int> ScreenSaveTimeOutStep(std::string_view text, bool up);
// The delay box's text once it loses the focus: "60" when it reads above 60 minutes, else
// unchanged.
std::string ScreenSaveTimeOutOnLeave(std::string_view text);

}  // namespace pagelark
