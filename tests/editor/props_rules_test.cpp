#include "editor/props_rules.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

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
                  std::tuple(address, time, visible, picture));
    }
}

TEST(PropsRules, FillCaptionAndKeep) {
    WorkingLists lists;
    lists.pages = {{"a", false, 30}, {"b", true, 10}};
    lists.exclude = {"ex1", "ex2"};
    CreateButtonLists(lists.buttons);
    PropsFields page = FillProps(PropsMode::Page, lists, 1);
    EXPECT_EQ(std::tuple(page.url, page.useDefaultTime, page.time), std::tuple("a", false, "30"));
    EXPECT_EQ(FillProps(PropsMode::Exclude, lists, 2).url, "ex2");
    EXPECT_EQ(FillProps(PropsMode::Page, lists, 3).url, "");  // outside the list
    EXPECT_EQ(PropsCaption(PropsMode::ToolRun, lists, 4), "Button properties: Quit");

    for (const auto& [text, seconds] :
         {std::pair(" 45", 45), std::pair("12a", 0), std::pair("", 0), std::pair("2.5", 2)}) {
        page.time = text;
        KeepProps(PropsMode::Page, page, lists, 2);
        EXPECT_EQ(std::tuple(lists.pages[1].URL, lists.pages[1].Time), std::tuple("a", seconds));
    }
    KeepProps(PropsMode::Exclude, page, lists, 3);  // outside the list: nothing happens
    EXPECT_EQ(lists.exclude, (std::vector<std::string>{"ex1", "ex2"}));

    PropsFields button = FillProps(PropsMode::ToolNav, lists, 0);
    button.visible = false;  // a hidden button keeps the picture and tip given
    button.fileName = "pics\\back.gif";
    KeepProps(PropsMode::ToolRun, button, lists, 7);
    const ToolbarButton& help = lists.buttons.ToolRunButtons[7];
    EXPECT_EQ(std::tuple(help.Name, help.HelpTip, help.Icon, help.Visible),
              std::tuple("Help", "Back", "pics\\back.gif", false));
    lists.buttons.ToolNavUrlVisible = true;
    KeepProps(PropsMode::UrlBox, button, lists, -1);
    EXPECT_FALSE(lists.buttons.ToolNavUrlVisible);
}

}  // namespace
}  // namespace pagelark
