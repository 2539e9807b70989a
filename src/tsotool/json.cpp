#include "tsotool/json.h"

#include <charconv>
#include <cstdint>
#include <span>

#include "ini/stored_values.h"
#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "platform/text.h"
#include "settings/setting_table.h"
#include "settings/settings.h"

namespace pagelark {
namespace {

// Pictures as the kiosk loads them.
void AppendButtons(std::string& out, std::span<const ToolbarButton> list,
                   const std::string& startupFolder) {
    out += "[\n";
    for (std::size_t i = 0; i < list.size(); ++i) {
        const ToolbarButton& b = list[i];
        out += "    {\"Name\": " + JsonString(b.Name) + ", \"HelpTip\": " + JsonString(b.HelpTip) +
               ", \"Icon\": " + JsonString(ResolveIconPath(b.Icon, startupFolder)) +
               ", \"Visible\": " + (b.Visible ? "true" : "false") + "}";
        out += i + 1 < list.size() ? ",\n" : "\n";
    }
    out += "  ]";
}

void AppendStrings(std::string& out, const std::vector<std::string>& list) {
    if (list.empty()) {
        out += "[]";
        return;
    }
    out += "[\n";
    for (std::size_t i = 0; i < list.size(); ++i) {
        out += "    " + JsonString(list[i]);
        out += i + 1 < list.size() ? ",\n" : "\n";
    }
    out += "  ]";
}

const char* Bool(bool value) {
    return value ? "true" : "false";
}

}  // namespace

// The shortest text that reads back as the same number.
std::string Number(double value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

namespace {

std::string JsonOf(const SettingValue& value) {
    if (const bool* flag = std::get_if<bool>(&value)) return Bool(*flag);
    if (const std::int64_t* number = std::get_if<std::int64_t>(&value))
        return std::to_string(*number);
    if (const double* minutes = std::get_if<double>(&value)) return Number(*minutes);
    return JsonString(std::get<std::string>(value));
}

}  // namespace

std::string PresentationJson(const Presentation& presentation, const MachineSettings& machine,
                             const ToolbarButtons& buttons, const std::string& startupFolder,
                             const ManagedSettings& managed) {
    const Presentation& p = presentation;
    std::string out = "{\n";
    for (const SettingRow& row : SettingTable()) {
        if (row.get == nullptr) continue;
        const SettingValue value = row.get(p, machine);
        if (!Shows(row, value)) continue;
        out += "  " + JsonString(row.name) + ": " + JsonOf(value) + ",\n";
    }
    out += "  \"Pages\": ";
    if (p.Pages.empty()) {
        out += "[]";
    } else {
        out += "[\n";
        for (std::size_t i = 0; i < p.Pages.size(); ++i) {
            const PresentationPage& page = p.Pages[i];
            out += "    {\"URL\": " + JsonString(page.URL) +
                   ", \"UseDefaultTime\": " + Bool(page.UseDefaultTime) +
                   ", \"Time\": " + std::to_string(page.Time.count());
            for (const SettingRow& row : SettingTable()) {
                if (row.home != Home::Page) continue;
                const SettingValue value = row.pageGet(page);
                if (Shows(row, value)) out += ", " + JsonString(row.name) + ": " + JsonOf(value);
            }
            out += "}";
            out += i + 1 < p.Pages.size() ? ",\n" : "\n";
        }
        out += "  ]";
    }
    out += ",\n  \"Include\": ";
    AppendStrings(out, p.Include);
    out += ",\n  \"Exclude\": ";
    AppendStrings(out, p.Exclude);
    out += ",\n  \"ToolRun\": ";
    AppendButtons(out, buttons.ToolRunButtons, startupFolder);
    out += ",\n  \"ToolNav\": ";
    AppendButtons(out, buttons.ToolNavButtons, startupFolder);
    out += ",\n  \"ToolNavURL\": " + std::string(Bool(buttons.ToolNavUrlVisible));
    std::vector<std::string> names;
    for (const auto& [name, value] : managed.values)
        names.push_back(name);
    out += ",\n  \"Managed\": ";
    AppendStrings(out, names);
    out += "\n}\n";
    return out;
}

}  // namespace pagelark
