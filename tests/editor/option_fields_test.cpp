#include "editor/option_fields.h"

#include <gtest/gtest.h>

#include "document/product.h"
#include "document/profile.h"
#include "document/registry.h"
#include "support/fake_registry.h"

namespace pagelark {
namespace {

constexpr double kDay = 45000.0;

class ConfigKeepTest : public ::testing::Test {
  protected:
    ConfigKeepTest() {
        p.CurrentFile = "/srv/show.tso";
        p.Pages = {{"a", true, 5}};
        machine.EMail = "me@x.org";
        machine.EMailRegistered = true;
        machine.ScreenSaveTimeOut = 330;
        machine.RebootHour = 9;
        machine.RebootMinute = 30;
        machine.NTLogin = "op";
        machine.OnMouseMove = MouseMovePolicy::EndShow;
        CreateButtonLists(buttons);
        fields = FillOptions(p, machine);
        lists = FillLists(p, buttons);
    }
    void Keep(double now = kDay + 10.0 / 24) {
        ConfigKeep(fields, lists, p, machine, buttons, settings, now);
    }

    testing::FakeRegistry fake;
    Registry registry{fake};
    ProfileStore profiles;
    Presentation p;
    Settings settings{profiles, registry, p.CurrentFile};
    MachineSettings machine;
    ToolbarButtons buttons;
    OptionFields fields;
    WorkingLists lists;
};

TEST_F(ConfigKeepTest, FilledFieldsKeepTheModelAsItWas) {
    EXPECT_EQ(fields.screenSaveTimeOut, "5");  // minutes, rounded down
    EXPECT_EQ(std::tuple(fields.rebootHour, fields.rebootMinute, fields.mouseMove),
              std::tuple("9", "30", 2));
    const MachineSettings before = machine;
    Keep();
    EXPECT_EQ(machine.ScreenSaveTimeOut, 300);
    EXPECT_EQ(std::tuple(machine.EMail, machine.EMailRegistered, machine.NTLogin),
              std::tuple(before.EMail, true, before.NTLogin));
    EXPECT_EQ(machine.OnMouseMove, MouseMovePolicy::EndShow);
    EXPECT_EQ(p.Pages.size(), 1u);
    EXPECT_EQ(fake.Get(RegRoot::LocalMachine, kMachineKey, "DefaultFile"), "<missing>");
}

TEST_F(ConfigKeepTest, BlankEntriesAreDroppedAndTheRestKeepTheirOrder) {
    lists.pages = {{"b", false, 3}, {"  ", true, 1}, {""}, {" c ", true, 2}};
    lists.include = {" ", "x "};
    lists.exclude = {"y", "", "z"};
    lists.buttons.ToolNavButtons[2].Icon = "pics\\stop.gif";
    Keep();
    ASSERT_EQ(p.Pages.size(), 2u);
    EXPECT_EQ(std::tuple(p.Pages[0].URL, p.Pages[0].Time, p.Pages[1].URL),
              std::tuple("b", 3, " c "));
    EXPECT_EQ(p.Include, std::vector<std::string>{"x "});
    EXPECT_EQ(p.Exclude, (std::vector<std::string>{"y", "z"}));
    EXPECT_EQ(buttons.ToolNavButtons[2].Icon, "pics\\stop.gif");
}

TEST_F(ConfigKeepTest, TextsAreTrimmedAndNumbersFallBackToDefaults) {
    fields.email = "  me@x.org ";  // the same address: still registered
    fields.password = "  secret ";
    fields.screenSaveTimeOut = "ten";
    fields.defaultTime = "";
    fields.rebootHour = "x";
    fields.mouseMove = 0;
    fields.defaultFile = true;
    Keep();
    EXPECT_TRUE(machine.EMailRegistered);
    EXPECT_EQ(std::tuple(machine.NTPassword, machine.ScreenSaveTimeOut, p.DefaultTime),
              std::tuple("secret", 300, 0));
    EXPECT_EQ(machine.RebootHour, 0);
    EXPECT_EQ(machine.OnMouseMove, MouseMovePolicy::ShowToolRun);
    EXPECT_TRUE(p.IsDefaultFile);
    EXPECT_EQ(fake.Get(RegRoot::LocalMachine, kMachineKey, "DefaultFile"), "/srv/show.tso");

    fields.email = " you@x.org";
    fields.screenSaveTimeOut = "0";  // a delay of 0 survives as 0 seconds
    Keep();
    EXPECT_EQ(std::tuple(machine.EMail, machine.EMailRegistered, machine.ScreenSaveTimeOut),
              std::tuple("you@x.org", false, 0));
}

TEST_F(ConfigKeepTest, TheRebootMomentIsTheNextOneAfterNow) {
    const std::tuple<const char*, double> rows[] = {
        {"9", kDay + 1 + 9.5 / 24},  // 09:30 has passed at 10:00: tomorrow
        {"10", kDay + 10.5 / 24},    // 10:30 is still to come today
    };
    for (const auto& [hour, moment] : rows) {
        fields.rebootHour = hour;
        Keep(kDay + 10.0 / 24);
        EXPECT_DOUBLE_EQ(machine.RebootMoment, moment) << hour;
    }
}

TEST(OptionFields, EMailValidity) {
    const std::pair<const char*, bool> rows[] = {
        {"me@x.org", true}, {" @. ", true}, {"a.b@c", false},  {"me.x.org", false},
        {"   ", false},     {"@x.", true},  {"me@org", false},
    };
    for (const auto& [text, valid] : rows)
        EXPECT_EQ(IsEMailValid(text), valid) << text;
}

TEST(OptionFields, LeadingNumbers) {
    const std::pair<const char*, int> rows[] = {
        {"45", 45}, {" 12a", 12}, {"2.5", 2},   {"3.5", 4}, {"-7x", -7}, {"abc", 0},
        {"", 0},    {"1 2", 12},  {"1e2", 100}, {".", 0},   {"+.6", 1},  {"7e", 7},
    };
    for (const auto& [text, number] : rows)
        EXPECT_EQ(LeadingNumber(text), number) << text;
}

TEST(OptionFields, DelayBoxAndItsUpDown) {
    const auto& scale = kScreenSaveTimeOutScale;
    const std::pair<const char*, int> rows[] = {
        {"75", 60}, {"61", 60}, {"60", 60}, {"7", 7}, {"0", 1}, {"x", 1}, {"-3", 1},
    };
    for (const auto& [text, minutes] : rows)
        EXPECT_EQ(ScreenSaveTimeOutValue(text), scale.ValueFor(minutes)) << text;
    EXPECT_EQ(scale.NumberFor(scale.ValueFor(60)), 60);
    EXPECT_EQ(kDefaultTimeScale.ValueFor(45), 955);
    EXPECT_EQ(ScreenSaveTimeOutOnLeave("75"), "60");
    EXPECT_EQ(ScreenSaveTimeOutOnLeave("60"), "60");
    EXPECT_EQ(ScreenSaveTimeOutOnLeave("0"), "0");
}

TEST(OptionFields, Texts) {
    EXPECT_EQ(ToolRunNote(0), "Tool Run is visible");
    EXPECT_EQ(ToolRunNote(1),
              "Tool Run is not visible because Pagelark switches to navigation "
              "mode when mouse moves");
    EXPECT_EQ(ToolRunNote(2), "Tool Run is not visible because Pagelark quits when mouse moves");
    EXPECT_EQ(ConfigCaption("/srv/a.tso"), "Pagelark - /srv/a.tso");
    EXPECT_EQ(AboutVersionLine(), "Version " PAGELARK_PROJECT_VERSION);
}

}  // namespace
}  // namespace pagelark
