#pragma once
// The JSON form of a presentation printed by "pagelark-tso show".

#include <string>

namespace pagelark {

struct MachineSettings;
struct ManagedSettings;
struct Presentation;
struct ToolbarButtons;

// Tool bar pictures are resolved against startupFolder, as the kiosk resolves them; "Managed"
// names the settings the managed files gave.
std::string PresentationJson(const Presentation& presentation, const MachineSettings& machine,
                             const ToolbarButtons& buttons, const std::string& startupFolder,
                             const ManagedSettings& managed);

}  // namespace pagelark
