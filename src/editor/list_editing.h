#pragma once
// The list operations of the configuration window's page, include and exclude tabs, on
// working copies. Lists hold entry k at [k - 1]; "cur" is the 1-based current entry, 0 when
// no line is selected. Each operation returns the line to select afterwards (0-based, -1 for
// none); the window mirrors the list and marks the presentation changed.

#include <string>
#include <vector>

#include "model/presentation.h"

namespace pagelark {

// A new entry before entry cur, or at the top when cur is 0; returns its line.
template <class Entry>
int ListInsert(std::vector<Entry>& list, int cur, Entry fresh);
// Removes entry cur and returns the line to select: the entry that moved into its place, or the
// new last entry; -1 when nothing was selected or the list became empty.
template <class Entry>
int ListDelete(std::vector<Entry>& list, int cur);
// Swaps entry cur with its neighbour above / below when there is one; returns the line of the
// moved entry (cur's own line when nothing moved, -1 when nothing was selected).
template <class Entry>
int ListUp(std::vector<Entry>& list, int cur);
template <class Entry>
int ListDown(std::vector<Entry>& list, int cur);

struct UpDownEnabled {
    bool up = false;
    bool down = false;
};
// count lines in the list, cur the 1-based current entry.
UpDownEnabled PageMoveButtons(int count, int cur);

// The page entry Insert and Grab create: empty address, default time, on the default time.
PresentationPage NewPage(std::chrono::seconds defaultTime);

// The line to select when the window is filled: the first page showing location (letter case
// ignored), else line 0; -1 for an empty list.
int LineOfLocation(const std::vector<PresentationPage>& pages, const std::string& location);

extern template int ListInsert(std::vector<PresentationPage>&, int, PresentationPage);
extern template int ListInsert(std::vector<std::string>&, int, std::string);
extern template int ListDelete(std::vector<PresentationPage>&, int);
extern template int ListDelete(std::vector<std::string>&, int);
extern template int ListUp(std::vector<PresentationPage>&, int);
extern template int ListDown(std::vector<PresentationPage>&, int);

}  // namespace pagelark
