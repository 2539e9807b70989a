#include "editor/list_editing.h"

#include <gtest/gtest.h>

#include "editor/props_rules.h"

namespace pagelark {
namespace {

using namespace std::chrono_literals;

TEST(ListEditing, OperationsAndTheLineSelectedAfter) {
    enum Op { Insert, Delete, Up, Down };
    const std::tuple<Op, std::string, int, std::string, int> rows[] = {
        {Insert, "", 0, "_", 0},         {Insert, "abcd", 3, "ab_cd", 2},
        {Insert, "ab", 0, "_ab", 0},     {Delete, "abcde", 5, "abcd", 3},
        {Delete, "abcde", 2, "acde", 1}, {Delete, "a", 1, "", -1},
        {Delete, "abc", 0, "abc", -1},   {Up, "abc", 3, "acb", 1},
        {Up, "abc", 1, "abc", 0},        {Up, "abc", 0, "abc", -1},
        {Down, "abc", 1, "bac", 1},      {Down, "abc", 3, "abc", 2},
    };
    for (const auto& [op, before, cur, after, line] : rows) {
        std::vector<PresentationPage> pages;
        for (char c : before)
            pages.push_back({std::string(1, c), false, 7s});
        using Move = int (*)(std::vector<PresentationPage>&, int);
        const Move moves[] = {nullptr, ListDelete<PresentationPage>, ListUp<PresentationPage>,
                              ListDown<PresentationPage>};
        const int selected =
            op == Insert ? ListInsert(pages, cur, NewPage(20s)) : moves[op](pages, cur);
        std::string letters;
        for (const auto& page : pages)
            letters += page.URL.empty() ? "_" : page.URL;
        EXPECT_EQ(std::tuple(letters, selected), std::tuple(after, line)) << before << cur;
    }
    std::vector<PresentationPage> pages;
    ListInsert(pages, 0, NewPage(20s));
    EXPECT_EQ(std::tuple(pages[0].UseDefaultTime, pages[0].Time), std::tuple(true, 20s));
}

TEST(ListEditing, MoveButtonsAndTheFirstSelection) {
    const std::tuple<int, int, bool, bool> rows[] = {
        {0, 0, false, false}, {3, 0, false, true}, {3, 1, false, true},
        {3, 2, true, true},   {3, 3, true, false}, {1, 1, false, false},
    };
    for (const auto& [count, cur, up, down] : rows) {
        const UpDownEnabled buttons = PageMoveButtons(count, cur);
        EXPECT_EQ(std::pair(buttons.up, buttons.down), std::pair(up, down)) << count << cur;
    }
    const std::vector<PresentationPage> pages = {{"a"}, {"b"}, {"c"}, {"b"}};
    EXPECT_EQ(LineOfLocation(pages, "B"), 1);
    EXPECT_EQ(LineOfLocation(pages, "x"), 0);
    EXPECT_EQ(LineOfLocation({}, "a"), -1);
}

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

    // A page's own time is kept only as a whole number of seconds, 0 (stays) or more; on the
    // default time a box holding none leaves the time as it was.
    for (const auto& [text, useDefault, refused, seconds] :
         {std::tuple(" 45", false, false, 45s), std::tuple("12a", false, true, 45s),
          std::tuple("0", false, false, 0s), std::tuple("-1", false, true, 0s),
          std::tuple("", true, false, 0s), std::tuple("7", true, false, 7s)}) {
        page.time = text;
        page.useDefaultTime = useDefault;
        EXPECT_EQ(CheckProps(PropsMode::Page, page).Ok(), !refused) << text;
        if (!refused) KeepProps(PropsMode::Page, page, lists, 2);
        EXPECT_EQ(std::tuple(lists.pages[1].URL, lists.pages[1].Time), std::tuple("a", seconds));
    }
    // A page's zoom: 25 to 500 percent, or none (the presentation's); anything else is refused.
    for (const auto& [text, zoom] :
         {std::pair(" 200", "200"), std::pair("24", "200"), std::pair("501", "200"),
          std::pair("2x", "200"), std::pair("125.5", "200"), std::pair("", "")}) {
        page.zoom = text;
        if (CheckProps(PropsMode::Page, page)) KeepProps(PropsMode::Page, page, lists, 2);
        EXPECT_EQ(lists.pages[1].Zoom, zoom) << text;
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
    // A picture under the start-up folder (compared as normalised paths) is stored relative to
    // it; any other as it was chosen; none relative to the root, which holds every path.
    const std::tuple<const char*, const char*, const char*> icons[] = {
        {"/srv/b.gif", "/kiosk/", "/srv/b.gif"},
        {"/kiosk/./pics//a.gif", "/kiosk", "pics/a.gif"},
        {"/kiosk/../pics2/p.png", "/kiosk/", "/kiosk/../pics2/p.png"},
        {"/tmp/pics/home.png", "/", "/tmp/pics/home.png"},
    };
    for (const auto& [icon, startup, stored] : icons)
        EXPECT_EQ(StoredIconPath(icon, startup), stored) << icon << " from " << startup;
}

}  // namespace
}  // namespace pagelark
