#pragma once
// The JSON form of a presentation printed by "pagelark-tso show".

#include <string>

namespace pagelark {

struct MachineSettings;
struct Presentation;
struct ToolbarButtons;

std::string PresentationJson(const Presentation& presentation, const MachineSettings& machine,
                             const ToolbarButtons& buttons);

}  // namespace pagelark
