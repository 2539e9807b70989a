#include "tsotool/json.h"

#include <charconv>
#include <cstdint>
#include <span>

#include "ini/stored_values.h"
#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "platform/text.h"
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

std::string PresentationJson(const Presentation& presentation, const MachineSettings& machine,
                             const ToolbarButtons& buttons, const std::string& startupFolder,
                             const ManagedSettings& managed) {
    const Presentation& p = presentation;
    std::string out = "{\n";
    out += "  \"HomeURL\": " + JsonString(p.HomeURL) + ",\n";
    out += "  \"AutoHome\": " + std::string(Bool(p.AutoHome)) + ",\n";
    out += "  \"AutoLoop\": " + std::string(Bool(p.AutoLoop)) + ",\n";
    out += "  \"DefaultTime\": " + std::to_string(p.DefaultTime.count()) + ",\n";
    out += "  \"WaitComplete\": " + std::string(Bool(p.WaitComplete)) + ",\n";
    out += "  \"MaxTime\": " + std::to_string(p.MaxTime.count()) + ",\n";
    out += "  \"AllowRestrictions\": " + std::string(Bool(p.AllowRestrictions)) + ",\n";
    out += "  \"FirstPage\": " + std::to_string(p.FirstPage) + ",\n";
    out += "  \"ScreenSaveActive\": " + std::string(Bool(machine.ScreenSaveActive)) + ",\n";
    out += "  \"ScreenSaveTimeOut\": " + std::to_string(machine.ScreenSaveTimeOut.count()) + ",\n";
    out += "  \"OnMouseMove\": " + std::to_string(static_cast<int>(machine.OnMouseMove)) + ",\n";
    out += "  \"ClearVisitorData\": " + std::string(Bool(machine.ClearVisitorData)) + ",\n";
    out += "  \"OnScreenKeyboard\": " + std::string(Bool(machine.OnScreenKeyboard)) + ",\n";
    out += "  \"AutoReboot\": " + std::string(Bool(machine.AutoReboot)) + ",\n";
    out += "  \"ForceReboot\": " + std::string(Bool(machine.ForceReboot)) + ",\n";
    out += "  \"RebootTime\": " +
           JsonString(FormatRebootTime(machine.RebootHour, machine.RebootMinute)) + ",\n";
    out += "  \"Snap\": " + std::string(Bool(machine.Snap)) + ",\n";
    out += "  \"SnapPath\": " + JsonString(machine.SnapPath) + ",\n";
    out += "  \"Locked\": " + std::string(Bool(machine.Locked)) + ",\n";
    out += "  \"DBus\": " + std::string(Bool(machine.DBus)) + ",\n";
    out += "  \"LowMemory\": " + std::string(Bool(machine.LowMemory)) + ",\n";
    out += "  \"RefreshMinutes\": " + Number(machine.RefreshMinutes.count()) + ",\n";
    out += "  \"MqttBroker\": " + JsonString(machine.MqttBroker) + ",\n";
    out += "  \"MqttCaFile\": " + JsonString(machine.MqttCaFile) + ",\n";
    out += "  \"MqttCredentials\": " + JsonString(machine.MqttCredentials) + ",\n";
    out += "  \"Pages\": ";
    if (p.Pages.empty()) {
        out += "[]";
    } else {
        out += "[\n";
        for (std::size_t i = 0; i < p.Pages.size(); ++i) {
            const PresentationPage& page = p.Pages[i];
            out += "    {\"URL\": " + JsonString(page.URL) +
                   ", \"UseDefaultTime\": " + Bool(page.UseDefaultTime) +
                   ", \"Time\": " + std::to_string(page.Time.count()) + "}";
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
