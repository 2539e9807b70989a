#pragma once
// Temporary files named after the process that made them ("<prefix><pid>-XXXXXX"), so that a
// later run can tell what a crashed run left from the files of a run still alive.

#include <string>
#include <string_view>

namespace pagelark {

// "<prefix><pid>-XXXXXX" for mkstemp.
std::string TaggedTemplate(std::string_view prefix);
// Removes the files of folder named "<prefix><pid>-XXXXXX" whose process is gone. This
// process's own pid counts as gone: it is called before this run makes any such file.
void RemoveLeftovers(const std::string& folder, std::string_view prefix);

}  // namespace pagelark
