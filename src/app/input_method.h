#pragma once
// The on-screen keyboard, chosen before Qt starts.

#include <optional>
#include <string>
#include <vector>

namespace pagelark {

// Qt takes its input method once, when the application is built: the setting is looked up
// before then, in the presentation the command line names (Qt's own options, when given,
// hide it and leave the stores to say).
void ChooseInputMethod(const std::vector<std::string>& arguments,
                       const std::optional<std::string>& configFile);

}  // namespace pagelark
