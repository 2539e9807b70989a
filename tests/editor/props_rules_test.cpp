#include "editor/props_rules.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

WorkingLists Lists() {
    WorkingLists lists;
    lists.pages = {{"a", false, 30}, {"b", true, 10}};
    lists.include = {"in"};
    lists.exclude = {"ex1", "ex2"};
    CreateButtonLists(lists.buttons);
    lists.buttons.ToolNavButtons[0].Icon = "pics\\back.gif";
    lists.buttons.ToolNavButtons[0].Visible = true;
    return lists;
}

TEST(PropsRules, WhatEachModeShows) {
    using P = PropsMode;
    const std::tuple<P, bool, bool, bool, bool> rows[] = {
        {P::Page, true, true, false, false},     {P::Include, true, false, false, false},
        {P::Exclude, true, false, false, false}, {P::ToolRun, false, false, true, true},
        {P::ToolNav, false, false, true, true},  {P::UrlBox, false, false, true, false},
    };
    for (const auto& [mode, address, time, visible, picture] : rows) {
        const PropsVisibility v = VisibleControls(mode);
        EXPECT_EQ(std::tuple(v.address, v.time, v.visible, v.picture),
                  std::tuple(address, time, visible, picture))
            << static_cast<int>(mode);
    }
}

TEST(PropsRules, FillCaptionAndKeep) {
    WorkingLists lists = Lists();
    PropsFields page = FillProps(PropsMode::Page, lists, 1);
    EXPECT_EQ(std::tuple(page.url, page.useDefaultTime, page.time), std::tuple("a", false, "30"));
    EXPECT_EQ(FillProps(PropsMode::Exclude, lists, 2).url, "ex2");
    EXPECT_EQ(PropsCaption(PropsMode::Include, lists, 1), "Include properties");
    EXPECT_EQ(PropsCaption(PropsMode::ToolRun, lists, 4), "Button properties: Quit");
    EXPECT_EQ(PropsCaption(PropsMode::UrlBox, lists, 0), "Text box properties: URL");

    for (const auto& [text, seconds] :
         {std::pair(" 45", 45), std::pair("12a", 0), std::pair("", 0), std::pair("2.5", 2)}) {
        page.time = text;
        KeepProps(PropsMode::Page, page, lists, 2);
        EXPECT_EQ(lists.pages[1].Time, seconds) << text;
    }
    EXPECT_EQ(lists.pages[1].URL, "a");

    PropsFields button = FillProps(PropsMode::ToolNav, lists, 0);
    EXPECT_EQ(std::tuple(button.visible, button.fileName, button.helpTip),
              std::tuple(true, "pics\\back.gif", "Back"));
    button.visible = false;  // a hidden button keeps its picture and tip as they stand
    button.helpTip = "Go back";
    KeepProps(PropsMode::ToolRun, button, lists, 7);
    const ToolbarButton& help = lists.buttons.ToolRunButtons[7];
    EXPECT_EQ(std::tuple(help.Name, help.HelpTip, help.Icon, help.Visible),
              std::tuple("Help", "Go back", "pics\\back.gif", false));

    PropsFields box = FillProps(PropsMode::UrlBox, lists, -1);
    EXPECT_TRUE(box.visible);
    box.visible = false;
    KeepProps(PropsMode::UrlBox, box, lists, -1);
    EXPECT_FALSE(lists.buttons.ToolNavUrlVisible);
}

TEST(PropsRules, AnIndexOutsideItsListTouchesNothing) {
    WorkingLists lists = Lists();
    EXPECT_EQ(FillProps(PropsMode::Page, lists, 3).url, "");
    EXPECT_EQ(FillProps(PropsMode::Include, lists, 0).url, "");
    EXPECT_EQ(FillProps(PropsMode::ToolRun, lists, 8).helpTip, "");
    EXPECT_EQ(PropsCaption(PropsMode::ToolNav, lists, 9), "Button properties: ");
    PropsFields fields;
    fields.url = "x";
    KeepProps(PropsMode::Page, fields, lists, 0);
    KeepProps(PropsMode::Exclude, fields, lists, 3);
    EXPECT_EQ(lists.pages[0].URL, "a");
    EXPECT_EQ(lists.exclude, (std::vector<std::string>{"ex1", "ex2"}));
}

}  // namespace
}  // namespace pagelark
