#include "editor/list_editing.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace pagelark
