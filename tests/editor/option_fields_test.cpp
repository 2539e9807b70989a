#include "editor/option_fields.h"

#include <gtest/gtest.h>

#include "settings/registry.h"
#include "support/document_world.h"

namespace pagelark {
namespace {

using namespace std::chrono_literals;

constexpr double kDay = 45000.0;  // a midnight, as the clock counts days

class ConfigKeepTest : public ::testing::Test, public testing::DocumentWorld {};

TEST_F(ConfigKeepTest, CopiesTheWindowIntoTheEditedDocumentOnly) {
    d.CurrentFile = "/srv/show.tso";
    machine.EMail = "me@x.org";
    machine.EMailRegistered = true;
    machine.ScreenSaveTimeOut = std::chrono::seconds(330);
    machine.RebootHour = 9;
    machine.RebootMinute = 30;
    machine.ClearVisitorData = false;
    machine.OnScreenKeyboard = true;
    EditedDocument edited{p, machine, buttons, d};
    OptionFields fields = FillOptions(p, machine);
    WorkingLists lists = FillLists(p, buttons);
    // How the delay, the mouse move and the reboot time are shown is the window's test's.
    EXPECT_EQ(std::pair(fields.clearVisitorData, fields.onScreenKeyboard), std::pair(false, true));

    lists.pages = {{"b", false, 3s}, {"  ", true, 1s}, {" c ", true, 2s}};
    lists.exclude = {"y", "", " z "};
    fields.email = "  me@x.org ";  // the same address: still registered
    fields.password = "  secret ";
    fields.defaultTime = " 25";
    fields.screenSaveTimeOut = "0";  // kept as one minute
    fields.mouseMove = 2;
    fields.defaultFile = true;
    fields.clearVisitorData = true;
    fields.onScreenKeyboard = false;
    EXPECT_FALSE(CheckFields(fields));
    auto keep = [&] { ConfigKeep(fields, lists, edited, kDay + 10.0 / 24); };
    keep();
    const Presentation& kept = edited.presentation;
    EXPECT_EQ(std::tuple(kept.Pages.size(), kept.Pages[1].URL), std::tuple(2u, " c "));
    EXPECT_EQ(kept.Exclude, (std::vector<std::string>{"y", " z "}));
    EXPECT_EQ(std::tuple(edited.machine.EMailRegistered, edited.machine.NTPassword,
                         edited.machine.ScreenSaveTimeOut.count(), kept.DefaultTime,
                         edited.document.IsDefaultFile, edited.machine.ClearVisitorData,
                         edited.machine.OnScreenKeyboard, edited.machine.OnMouseMove),
              std::tuple(true, "secret", 60, 25s, true, true, false, MouseMovePolicy::EndShow));
    EXPECT_DOUBLE_EQ(edited.machine.RebootMoment, kDay + 1 + 9.5 / 24);  // 09:30 is past at 10:00
    // Nothing but the copy changed.
    EXPECT_EQ(std::tuple(d.IsDefaultFile, machine.ScreenSaveTimeOut.count(), p.DefaultTime),
              std::tuple(false, 330, 10s));
    EXPECT_EQ(fake.Get(RegRoot::LocalMachine, kMachineKey, "DefaultFile"), "<missing>");

    fields.email = " you@x.org";
    fields.rebootHour = "10";
    fields.rebootMinute = "0";
    keep();
    EXPECT_EQ(std::tuple(edited.machine.EMail, edited.machine.EMailRegistered),
              std::tuple("you@x.org", false));
    EXPECT_DOUBLE_EQ(edited.machine.RebootMoment, kDay + 10.0 / 24);  // due today to the minute
}

TEST(OptionFields, EMailValidity) {
    const std::pair<const char*, bool> rows[] = {
        {"me@x.org", true}, {" @. ", true},    {"a.b@c", false},     {"me.x.org", false},
        {"   ", false},     {"me@org", false}, {"me @x.org", false},
    };
    for (const auto& [text, valid] : rows)
        EXPECT_EQ(IsEMailValid(text), valid) << text;
}

TEST(OptionFields, BoxNumbersAndUpDowns) {
    const std::pair<const char*, int> numbers[] = {
        {" 12a", 12}, {"2.5", 2},   {"3.5", 4}, {"-7x", -7}, {"abc", 0},
        {"1 2", 12},  {"1e2", 100}, {".", 0},   {"+.6", 1},  {"7e", 7},
    };
    for (const auto& [text, number] : numbers)
        EXPECT_EQ(LeadingNumber(text), number) << text;
    const std::pair<const char*, std::optional<int>> whole[] = {
        {" 12 ", 12}, {"+7", 7},   {"-5", -5},  {"15s", {}},
        {"", {}},     {"1 2", {}}, {"2.5", {}}, {"99999999999", {}},
    };
    for (const auto& [text, number] : whole)
        EXPECT_EQ(WholeNumber(text), number) << text;
    // The delay's up-down holds 1 to 60: typing 75 moves it to 60, while 0 leaves it at 1.
    const std::pair<const char*, int> delays[] = {{"75", 60}, {"60", 60}, {"7", 7}, {"0", 1}};
    for (const auto& [text, minutes] : delays)
        EXPECT_EQ(ScreenSaveTimeOutValue(text), kScreenSaveTimeOutScale.ValueFor(minutes)) << text;
    for (const auto& [typed, left] :
         {std::pair{"75", "60"}, {"0", "0"}, {"60:01", "60"}, {"59:59", "59:59"}})
        EXPECT_EQ(ScreenSaveTimeOutOnLeave(typed), left) << typed;
    // Its arrows, from minutes and seconds: to the whole minute that way, within 1 to 60.
    const std::tuple<const char*, bool, std::optional<int>> steps[] = {
        {"0:42", false, {}}, {"120:30", true, {}}, {"120:30", false, 60},
        {"-0:30", true, 1},  {"5", true, {}},
    };
    for (const auto& [text, up, minutes] : steps)
        EXPECT_EQ(ScreenSaveTimeOutStep(text, up), minutes) << text << (up ? " up" : " down");
    // The delay box: whole minutes, or minutes:seconds for a delay that is not.
    const std::pair<std::chrono::seconds, const char*> shown[] = {
        {42s, "0:42"}, {300s, "5"}, {0s, "0"}, {3605s, "60:05"}, {-5s, "-0:05"}};
    for (const auto& [delay, text] : shown) {
        EXPECT_EQ(DelayText(delay), text);
        EXPECT_EQ(DelaySeconds(text), delay.count()) << text;
    }
    for (const char* text : {"1:5", "1:60", "1:5x", ":30", "2.5", "a"})
        EXPECT_EQ(DelaySeconds(text), std::nullopt) << text;
    EXPECT_EQ(AboutVersionLine(), "Version " PAGELARK_PROJECT_VERSION);
}

}  // namespace
}  // namespace pagelark
