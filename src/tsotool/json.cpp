#include "tsotool/json.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <span>

#include "ini/text.h"
#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "settings/settings.h"

namespace pagelark {
namespace {

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of the well-formed UTF-8 sequence at the start of text, 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    }
    return length;
}

void AppendButtons(std::string& out, std::span<const ToolbarButton> list) {
    out += "[\n";
    for (std::size_t i = 0; i < list.size(); ++i) {
        const ToolbarButton& b = list[i];
        out += "    {\"Name\": " + JsonString(b.Name) + ", \"HelpTip\": " + JsonString(b.HelpTip) +
               ", \"Icon\": " + JsonString(b.Icon) +
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

std::string StoredTextToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const std::size_t length = Utf8SequenceLength(bytes);
        if (length > 0) {
            out.append(bytes.substr(0, length));
            bytes.remove_prefix(length);
            continue;
        }
        const auto c = static_cast<unsigned char>(bytes[0]);
        AppendUtf8(out, c >= 0x80 && c <= 0x9F ? kCp1252High[c - 0x80] : char32_t{c});
        bytes.remove_prefix(1);
    }
    return out;
}

std::string JsonString(std::string_view bytes) {
    std::string out = "\"";
    for (char ch : StoredTextToUtf8(bytes)) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    static constexpr char kHex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += kHex[c >> 4];
                    out += kHex[c & 0xF];
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

std::string PresentationJson(const Presentation& presentation, const MachineSettings& machine,
                             const ToolbarButtons& buttons) {
    const Presentation& p = presentation;
    std::string out = "{\n";
    out += "  \"HomeURL\": " + JsonString(p.HomeURL) + ",\n";
    out += "  \"AutoHome\": " + std::string(Bool(p.AutoHome)) + ",\n";
    out += "  \"AutoLoop\": " + std::string(Bool(p.AutoLoop)) + ",\n";
    out += "  \"DefaultTime\": " + std::to_string(p.DefaultTime.count()) + ",\n";
    out += "  \"WaitComplete\": " + std::string(Bool(p.WaitComplete)) + ",\n";
    out += "  \"MaxTime\": " + std::to_string(p.MaxTime.count()) + ",\n";
    out += "  \"AllowRestrictions\": " + std::string(Bool(p.AllowRestrictions)) + ",\n";
    out += "  \"FirstPage\": " + std::to_string(p.CurrentPage) + ",\n";
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
    out += "  \"RefreshMinutes\": " + Number(machine.RefreshMinutes.count()) + ",\n";
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
    AppendButtons(out, buttons.ToolRunButtons);
    out += ",\n  \"ToolNav\": ";
    AppendButtons(out, buttons.ToolNavButtons);
    out += ",\n  \"ToolNavURL\": " + std::string(Bool(buttons.ToolNavUrlVisible)) + "\n}\n";
    return out;
}

}  // namespace pagelark
