#include "regfile/reg_file.h"

#include <cstdint>

namespace pagelark {
namespace {

constexpr std::size_t kWrapColumn = 80;

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
}

void AppendHexByte(std::string& out, unsigned char byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

void AppendValue(std::string& out, std::string_view name, const RegValue& value) {
    const std::size_t lineStart = out.size();
    if (name.empty()) {
        out += '@';
    } else {
        AppendQuoted(out, name);
    }
    out += '=';
    const auto& data = value.data;
    if (value.type == RegType::String &&
        data.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) {
        AppendQuoted(out, data);
    } else if (value.type == RegType::Dword && data.size() == 4) {
        out += "dword:";
        for (int i = 3; i >= 0; --i)
            AppendHexByte(out, static_cast<unsigned char>(data[i]));
    } else {
        if (value.type == RegType::Binary) {
            out += "hex:";
        } else {
            out += "hex(";
            std::string type;
            auto rest = static_cast<std::uint32_t>(value.type);
            do {
                type.insert(type.begin(), "0123456789abcdef"[rest & 0x0F]);
                rest >>= 4;
            } while (rest != 0);
            out += type;
            out += "):";
        }
        std::string bytes = data;
        if (value.type == RegType::String) bytes += '\0';
        std::size_t column = out.size() - lineStart;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (i > 0) {
                out += ',';
                ++column;
                if (column + 3 > kWrapColumn - 1) {  // room for "xx," and the backslash
                    out += "\\\r\n  ";
                    column = 2;
                }
            }
            AppendHexByte(out, static_cast<unsigned char>(bytes[i]));
            column += 2;
        }
    }
    out += "\r\n";
}

// A value continued on a line it no longer has would run on into the next one: a blank line
// ends it, as the reader's blank line did.
void AppendUnread(std::string& out, const std::vector<std::string>& unread) {
    for (const std::string& lines : unread) {
        out += lines;
        out += "\r\n";
        const auto last = lines.find_last_not_of(" \t\r");
        if (last != std::string::npos && lines[last] == '\\') out += "\r\n";
    }
}

}  // namespace

std::string WriteRegFile(const RegDocument& document) {
    std::string out;
    out += kRegHeader4;
    out += "\r\n\r\n";
    if (!document.Unread().empty()) {
        AppendUnread(out, document.Unread());
        out += "\r\n";
    }
    for (const RegKey* key : document.Keys()) {
        out += '[';
        out += key->Path();
        out += "]\r\n";
        for (const auto& value : key->Values())
            AppendValue(out, value.name, *value.value);
        AppendUnread(out, key->Unread());
        out += "\r\n";
    }
    return out;
}

}  // namespace pagelark
