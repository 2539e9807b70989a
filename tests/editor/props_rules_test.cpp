#include "editor/props_rules.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

using namespace std::chrono_literals;

TEST(PropsRules, FillCaptionAndKeep) {
    WorkingLists lists;
    lists.pages = {{"a", false, 30s}, {"b", true, 10s}};
    lists.exclude = {"ex1", "ex2"};
    CreateButtonLists(lists.buttons);
    PropsFields page = FillProps(PropsMode::Page, lists, 1);
    EXPECT_EQ(std::tuple(page.url, page.useDefaultTime, page.time), std::tuple("a", false, "30"));
    EXPECT_EQ(FillProps(PropsMode::Exclude, lists, 2).url, "ex2");
    EXPECT_EQ(FillProps(PropsMode::Page, lists, 3).url, "");  // outside the list
    EXPECT_EQ(PropsCaption(PropsMode::ToolRun, lists, 4), "Button properties: Quit");

    // A page's own time is kept only as a whole number of seconds; on the default time a box
    // holding none leaves the time as it was.
    for (const auto& [text, useDefault, refused, seconds] :
         {std::tuple(" 45", false, false, 45s), std::tuple("12a", false, true, 45s),
          std::tuple("0", false, true, 45s), std::tuple("", true, false, 45s),
          std::tuple("7", true, false, 7s)}) {
        page.time = text;
        page.useDefaultTime = useDefault;
        EXPECT_EQ(CheckProps(PropsMode::Page, page).empty(), !refused) << text;
        if (!refused) KeepProps(PropsMode::Page, page, lists, 2);
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
    // A browsed picture is stored relative to the start-up folder when it lies under it.
    EXPECT_EQ(StoredIconPath("/kiosk/pics/a.gif", "/kiosk/"), "pics/a.gif");
    EXPECT_EQ(StoredIconPath("/srv/b.gif", "/kiosk/"), "/srv/b.gif");
}

}  // namespace
}  // namespace pagelark
