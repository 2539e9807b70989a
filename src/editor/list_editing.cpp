#include "editor/list_editing.h"

#include <utility>

#include "platform/text.h"

namespace pagelark {
namespace {

template <class Entry>
int Count(const std::vector<Entry>& list) {
    return static_cast<int>(list.size());
}

std::size_t At(int entry) {
    return static_cast<std::size_t>(entry - 1);
}

}  // namespace

template <class Entry>
int ListInsert(std::vector<Entry>& list, int cur, Entry fresh) {
    if (cur < 1) cur = 1;
    if (cur > Count(list) + 1) cur = Count(list) + 1;
    list.insert(list.begin() + (cur - 1), std::move(fresh));
    return cur - 1;
}

template <class Entry>
int ListDelete(std::vector<Entry>& list, int cur) {
    if (cur < 1 || cur > Count(list)) return -1;
    list.erase(list.begin() + (cur - 1));
    // The last entry went: its predecessor is the new last line (none when it was the only one).
    return cur > Count(list) ? cur - 2 : cur - 1;
}

template <class Entry>
int ListUp(std::vector<Entry>& list, int cur) {
    if (cur < 1 || cur > Count(list)) return -1;
    if (cur == 1) return 0;
    std::swap(list[At(cur)], list[At(cur - 1)]);
    return cur - 2;
}

template <class Entry>
int ListDown(std::vector<Entry>& list, int cur) {
    if (cur < 1 || cur > Count(list)) return -1;
    if (cur == Count(list)) return cur - 1;
    std::swap(list[At(cur)], list[At(cur + 1)]);
    return cur;
}

UpDownEnabled PageMoveButtons(int count, int cur) {
    return {count > 0 && cur > 1, count > 0 && cur < count};
}

PresentationPage NewPage(std::chrono::seconds defaultTime) {
    return PresentationPage{"", true, defaultTime};
}

int LineOfLocation(const std::vector<PresentationPage>& pages, const std::string& location) {
    if (pages.empty()) return -1;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (EqualsNoCase(pages[i].URL, location)) return static_cast<int>(i);
    }
    return 0;
}

template int ListInsert(std::vector<PresentationPage>&, int, PresentationPage);
template int ListInsert(std::vector<std::string>&, int, std::string);
template int ListDelete(std::vector<PresentationPage>&, int);
template int ListDelete(std::vector<std::string>&, int);
template int ListUp(std::vector<PresentationPage>&, int);
template int ListDown(std::vector<PresentationPage>&, int);

}  // namespace pagelark
