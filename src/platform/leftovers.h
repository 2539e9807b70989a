#pragma once
// Temporary files named after the process that made them ("<prefix><pid>-XXXXXX"), so that a
// later run can tell what a crashed run left from the files of a run still alive.

#include <string>
#include <string_view>

namespace pagelark {

// "<prefix><pid>-XXXXXX", the X's to be made unique.
std::string TaggedTemplate(std::string_view prefix);
// TaggedTemplate with its X's made letters and digits at random.
std::string TaggedUniqueName(std::string_view prefix);
// Whether a file name is "<prefix><pid>-XXXXXX" of a process that is gone. This process's own
// pid counts as gone: it is asked before this run makes any such file.
bool IsLeftover(std::string_view name, std::string_view prefix);
// Removes the files of folder that IsLeftover names.
void RemoveLeftovers(const std::string& folder, std::string_view prefix);

// The system's part: whether another process of that id runs.
bool ProcessAlive(int pid);

}  // namespace pagelark
