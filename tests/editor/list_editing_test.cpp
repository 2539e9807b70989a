#include "editor/list_editing.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

enum class Op { Insert, Delete, Up, Down };

std::vector<PresentationPage> Pages(const std::string& letters) {
    std::vector<PresentationPage> pages;
    for (char c : letters)
        pages.push_back({std::string(1, c), false, 7});
    return pages;
}

std::string Letters(const std::vector<PresentationPage>& pages) {
    std::string letters;
    for (const PresentationPage& page : pages)
        letters += page.URL.empty() ? "_" : page.URL;
    return letters;
}

TEST(ListEditing, OperationsAndTheLineSelectedAfter) {
    struct Row {
        Op op;
        const char* before;
        int cur;
        const char* after;
        int line;
    } rows[] = {
        {Op::Insert, "", 0, "_", 0},  // empty list: the new entry is line 0
        {Op::Insert, "abcd", 3, "ab_cd", 2},
        {Op::Insert, "ab", 0, "_ab", 0},
        {Op::Insert, "ab", 2, "a_b", 1},
        {Op::Delete, "abcde", 5, "abcd", 3},  // the new last entry
        {Op::Delete, "abcde", 2, "acde", 1},  // the entry that moved up
        {Op::Delete, "a", 1, "", -1},
        {Op::Delete, "abc", 0, "abc", -1},
        {Op::Up, "abc", 3, "acb", 1},
        {Op::Up, "abc", 1, "abc", 0},
        {Op::Up, "abc", 0, "abc", -1},
        {Op::Down, "abc", 1, "bac", 1},
        {Op::Down, "abc", 3, "abc", 2},
        {Op::Down, "abc", 0, "abc", -1},
    };
    for (const Row& row : rows) {
        std::vector<PresentationPage> pages = Pages(row.before);
        int line = 0;
        switch (row.op) {
            case Op::Insert:
                line = ListInsert(pages, row.cur, NewPage(20));
                break;
            case Op::Delete:
                line = ListDelete(pages, row.cur);
                break;
            case Op::Up:
                line = ListUp(pages, row.cur);
                break;
            case Op::Down:
                line = ListDown(pages, row.cur);
                break;
        }
        const std::string where = std::string(row.before) + " @" + std::to_string(row.cur);
        EXPECT_EQ(Letters(pages), row.after) << where;
        EXPECT_EQ(line, row.line) << where;
        // The address lists take the same inserts and deletes.
        if (row.op == Op::Insert || row.op == Op::Delete) {
            std::vector<std::string> addresses;
            for (const PresentationPage& page : Pages(row.before))
                addresses.push_back(page.URL);
            const int addressLine = row.op == Op::Insert ? ListInsert(addresses, row.cur, {})
                                                         : ListDelete(addresses, row.cur);
            EXPECT_EQ(addressLine, row.line) << where;
            EXPECT_EQ(addresses.size(), pages.size()) << where;
        }
    }
    std::vector<PresentationPage> pages;
    ListInsert(pages, 0, NewPage(20));
    EXPECT_EQ(std::tuple(pages[0].URL, pages[0].UseDefaultTime, pages[0].Time),
              std::tuple("", true, 20));
}

TEST(ListEditing, MoveButtonsFollowTheSelection) {
    const std::tuple<int, int, bool, bool> rows[] = {
        {0, 0, false, false}, {3, 0, false, true}, {3, 1, false, true},
        {3, 2, true, true},   {3, 3, true, false}, {1, 1, false, false},
    };
    for (const auto& [count, cur, up, down] : rows) {
        const UpDownEnabled buttons = PageMoveButtons(count, cur);
        EXPECT_EQ(std::pair(buttons.up, buttons.down), std::pair(up, down)) << count << "," << cur;
    }
}

TEST(ListEditing, TheLineOfTheAddressOnShowIsSelectedFirst) {
    const auto pages = Pages("abcb");
    EXPECT_EQ(LineOfLocation(pages, "B"), 1);
    EXPECT_EQ(LineOfLocation(pages, "x"), 0);
    EXPECT_EQ(LineOfLocation({}, "a"), -1);
}

}  // namespace
}  // namespace pagelark
