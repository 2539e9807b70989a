// Every row of the settings table against the code that works from it: its default reaches the
// model a load gives and the window's fields; its range is the one a managed file and the
// window's check keep to.

#include "settings/setting_table.h"

#include <gtest/gtest.h>

#include "editor/option_fields.h"
#include "editor/props_rules.h"
#include "ini/ini_document.h"
#include "model/page_scroll.h"
#include "model/product.h"
#include "settings/managed.h"
#include "storage/presentation_file.h"
#include "support/document_world.h"
#include "support/warning_log.h"

namespace pagelark::testing {
namespace {

class SettingTableTest : public ::testing::Test, public DocumentWorld {
  protected:
    // A presentation and machine settings as a start from an empty file gives them.
    void LoadEmpty() {
        d.CurrentFile = temp.Write("empty.tso", "");
        const PresentationSource source = ReadPresentation(d.CurrentFile);
        LoadMachineSettings(settings, source.file, 0.0, machine, buttons, {.automaticLogon = true});
        LoadPresentation(p, d, context, source);
    }
    // Whether a page's Scroll is taken as written: by the load without a warning, and by the
    // properties dialog.
    bool ScrollTaken(const std::string& text) {
        d.CurrentFile =
            temp.Write("page.tso", "[Page1]\r\nURL=http://a/\r\nScroll=" + text + "\r\n");
        const WarningLog warnings;
        LoadPresentation(p, d, context, ReadPresentation(d.CurrentFile));
        const PropsFields fields = FillProps(PropsMode::Page, {p.Pages, {}, {}, {}}, 1);
        EXPECT_EQ(CheckProps(PropsMode::Page, fields).Ok(), warnings.lines.empty()) << text;
        return warnings.lines.empty();
    }
};

// What "pagelark-tso show" prints and a save writes of the defaults is in the golden files
// (plain.json, plain.saved.tso); here the model and the window.
TEST_F(SettingTableTest, EveryDefaultReachesTheModelAndTheWindow) {
    // The machine settings' own initial values are the table's too.
    const Presentation fresh;
    const MachineSettings freshMachine;
    LoadEmpty();
    for (const SettingRow& row : SettingTable()) {
        SCOPED_TRACE(row.name);
        if (row.get == nullptr) continue;  // looked up where it acts
        const SettingValue value = DefaultValue(row);
        // A folder is kept only while snapshots are taken.
        if (row.kind != Kind::Folder) {
            EXPECT_EQ(row.get(p, machine), value);
        }
        if (row.home != Home::Options) {
            EXPECT_EQ(row.get(fresh, freshMachine), value);
        }
    }
    // What the window shows of them.
    const OptionFields fields = FillOptions(p, machine);
    EXPECT_EQ(std::tuple(fields.homePage, fields.screenSaveTimeOut, fields.defaultTime,
                         fields.mouseMove, fields.clearVisitorData, fields.onScreenKeyboard,
                         fields.rebootHour + ":" + fields.rebootMinute),
              std::tuple("about:blank", "5", "10", 1, true, false, "00:00"));
}

TEST_F(SettingTableTest, ASettingTheWindowsVersionDoesNotKnowIsWrittenOnceItIsChanged) {
    LoadEmpty();
    for (const SettingRow& row : SettingTable()) {
        if (row.windowsKnows || (row.home != Home::Both && row.home != Home::Options)) continue;
        SCOPED_TRACE(row.name);
        Presentation changedOptions = p;
        MachineSettings changed = machine;
        const SettingValue value = DefaultValue(row);
        if (const bool* flag = std::get_if<bool>(&value))
            row.set(!*flag, changedOptions, changed);
        else if (std::holds_alternative<std::int64_t>(value))
            row.set(row.low, changedOptions, changed);
        else
            row.set(std::string("http://127.0.0.1/changed"), changedOptions, changed);
        DocumentContext own{settings, files, changed, buttons, help, startupFolder};
        Document savedFile = d;
        ASSERT_TRUE(SavePresentation(changedOptions, savedFile, own, temp.File("changed.tso")));
        IniDocument written(TempFolder::Read(temp.File("changed.tso")));
        EXPECT_EQ(written.Read(kOptionsSection, row.name),
                  StoredText(row, row.get(changedOptions, changed)));
    }
}

TEST_F(SettingTableTest, EveryRangeIsTheOneAManagedFileAndTheWindowKeepTo) {
    for (const SettingRow& row : SettingTable()) {
        if (row.kind != Kind::Seconds && row.kind != Kind::Number && row.kind != Kind::Choice &&
            row.kind != Kind::Scroll && row.kind != Kind::Zoom)
            continue;
        SCOPED_TRACE(row.name);
        for (const std::int64_t number : {row.low - 1, row.low, row.high, row.high + 1}) {
            const bool within = number >= row.low && number <= row.high;
            if (row.managed) {
                EXPECT_EQ(Acceptable(row, std::to_string(number)), within) << number;
            }
            if (row.kind == Kind::Scroll) {
                EXPECT_EQ(ScrollTaken(std::to_string(number)), within) << number;
            }
            // A hand-edited file's number out of range reads as the default.
            if ((row.kind == Kind::Number || (row.kind == Kind::Zoom && row.home != Home::Page)) &&
                number >= INT32_MIN && number <= INT32_MAX) {
                EXPECT_EQ(ParseSetting(row, std::to_string(number)),
                          within ? SettingValue(number) : DefaultValue(row))
                    << number;
            }
        }
    }
    // Besides its speeds, a true or false word; anything else keeps the page still.
    for (const std::string text : {"yes", "No", "fast", "-1"}) {
        EXPECT_EQ(ScrollTaken(text), text != "fast" && text != "-1") << text;
        EXPECT_EQ(ScrollOf(p.Pages[0]).Moves(), text == "yes") << text;
    }
    // And with a warning naming it; a page's zoom is then the presentation's. So for every key
    // of ours.
    const WarningLog log;
    LoadPresentation(
        p, d, context,
        temp.Write("bad.tso",
                   "[Tessaro]\nZoom=125.5\nPlayLog=perhaps\n[Page1]\nURL=http://a/\nZoom=big\n"
                   "[Page2]\nURL=http://b/\nZoom=25\n"));
    EXPECT_EQ(std::tuple(p.Zoom, ZoomOf(p.Pages[0], p), ZoomOf(p.Pages[1], p)),
              std::tuple(100, 100, 25));
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{
                  temp.File("bad.tso") + " page 1: Zoom cannot be \"big\", taken as "
                                         "the presentation's (100 %)",
                  temp.File("bad.tso") + ": Zoom cannot be \"125.5\", taken as 100",
                  temp.File("bad.tso") + ": PlayLog cannot be \"perhaps\", taken as No"}));
    // A save keeps them as they stood while they read the same.
    ASSERT_TRUE(SavePresentation(p, d, context, temp.File("bad.tso")));
    IniDocument saved(TempFolder::Read(temp.File("bad.tso")));
    EXPECT_EQ(std::tuple(saved.Read(kOptionsSection, "Zoom"), saved.Read("Page1", "Zoom")),
              std::tuple("125.5", "big"));
    // The window's boxes of those it checks: the default time in seconds, the delay in minutes.
    LoadEmpty();
    const auto problem = [&](auto change) {
        OptionFields fields = FillOptions(p, machine);
        change(fields);
        return CheckFields(fields).has_value();
    };
    const SettingRow& time = *FindSetting("DefaultTime");
    const SettingRow& delay = *FindSetting("ScreenSaveTimeOut");
    const std::pair<std::int64_t, bool> times[] = {
        {time.low - 1, true}, {time.low, false}, {time.high, false}};
    for (const auto& [seconds, refused] : times) {
        EXPECT_EQ(problem([&](OptionFields& f) { f.defaultTime = std::to_string(seconds); }),
                  refused)
            << seconds;
    }
    const std::pair<std::int64_t, bool> delays[] = {
        {delay.low - 1, true}, {delay.low, false}, {delay.high / 60, false}};
    for (const auto& [minutes, refused] : delays) {
        EXPECT_EQ(problem([&](OptionFields& f) { f.screenSaveTimeOut = std::to_string(minutes); }),
                  refused)
            << minutes;
    }
}

// A setting whose default follows another (MaxTime) is SettingsTest's.
TEST_F(SettingTableTest, AManagedValueIsTakenAsTheRowReadsIt) {
    LoadEmpty();
    ManagedSettings managed;
    for (const SettingRow& row : SettingTable()) {
        if (row.managed && row.set != nullptr && row.kind == Kind::Bool)
            managed.values[std::string(row.name)] =
                StoredText(row, !std::get<bool>(DefaultValue(row)));
    }
    TakeManaged(settings, managed, d.CurrentFile, p, machine, 0.0);
    for (const auto& [name, text] : managed.values) {
        const SettingRow& row = *FindSetting(name);
        EXPECT_EQ(row.get(p, machine), ParseSetting(row, text)) << name;
    }
}

}  // namespace
}  // namespace pagelark::testing
