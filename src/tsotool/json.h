#pragma once
// The JSON form of a presentation printed by "pagelark-tso show".

#include <string>
#include <string_view>

namespace pagelark {

struct MachineSettings;
struct Presentation;
struct ToolbarButtons;

// Stored text as UTF-8: valid UTF-8 sequences pass, any other byte is read as Windows-1252.
std::string StoredTextToUtf8(std::string_view bytes);

// A JSON string literal of stored text.
std::string JsonString(std::string_view bytes);

std::string PresentationJson(const Presentation& presentation, const MachineSettings& machine,
                             const ToolbarButtons& buttons);

}  // namespace pagelark
