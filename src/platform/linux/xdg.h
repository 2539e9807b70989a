#pragma once
// Desktop entries' command lines in the form the shell layer starts.

#include <string>
#include <string_view>

namespace pagelark {

// An Exec= value (already taken out of its desktop file) as a command with "%1" for the file:
// %u %U %f %F become "%1", %% becomes %, every other field code is dropped.
std::string ExecToCommand(std::string_view exec);

}  // namespace pagelark
