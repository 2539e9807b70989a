#pragma once
// "pagelark-tso playlog": what a play log says, summed up for an owner.

#include <string>
#include <vector>

#include "platform/result.h"

namespace pagelark {

struct PlayLogText {
    std::string name;  // for the notes
    std::string text;
};

// Per page (number and address): the times shown, the time on show and the failures, with the
// period the lines cover. A line that is not one the kiosk writes (torn by a power cut) is left
// out with a note; a file with no line the kiosk writes is refused.
Result<std::string> SummarisePlayLog(const std::vector<PlayLogText>& files,
                                     std::vector<std::string>& notes);

}  // namespace pagelark
