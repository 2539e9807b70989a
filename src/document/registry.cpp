#include "document/registry.h"

#include "document/text.h"

namespace pagelark {
namespace {

// Values longer than this are refused by the read, as the fixed read buffer refused them.
constexpr std::uint32_t kQueryBufferBytes = 1024;
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

std::uint32_t StoredSize(const RegValue& value) {
    const auto size = static_cast<std::uint32_t>(value.data.size());
    return value.type == REG_SZ ? size + 1 : size;
}

std::string WithoutBlanksAndCommas(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (c != ' ' && c != ',') digits += c;
    }
    return digits;
}

void AppendHex(std::string& out, unsigned char byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

}  // namespace

bool Registry::CheckRoot(std::uint32_t root, std::string_view path) {
    switch (root) {
        case HKEY_CLASSES_ROOT:
        case HKEY_CURRENT_USER:
        case HKEY_LOCAL_MACHINE:
        case HKEY_USERS:
        case HKEY_CURRENT_CONFIG:
        case HKEY_DYN_DATA:
            break;
        default:
            lastRegError_ = kRegErrorBadRoot;
            return false;
    }
    if (path.empty()) {
        lastRegError_ = kRegErrorEmptyPath;
        return false;
    }
    return true;
}

bool Registry::RegOpenKey(std::uint32_t root, std::string_view path, std::uint32_t /*access*/) {
    if (!CheckRoot(root, path)) return false;
    lastRegError_ = backend_.OpenKey(root, path);
    return lastRegError_ == ERROR_SUCCESS;
}

bool Registry::RegCreateKey(std::uint32_t root, std::string_view path, std::uint32_t /*access*/) {
    if (!CheckRoot(root, path)) return false;
    lastRegError_ = backend_.CreateKey(root, path);
    return lastRegError_ == ERROR_SUCCESS;
}

bool Registry::RegKeyExists(std::uint32_t root, std::string_view path) {
    return RegOpenKey(root, path, KEY_READ);
}

std::string Registry::RegQueryValue(std::uint32_t root, std::string_view path,
                                    std::string_view name) {
    std::string result;
    valueType_ = 0;
    valueSize_ = 0;
    if (!RegOpenKey(root, path, KEY_READ)) return result;
    RegValue value;
    lastRegError_ = backend_.QueryValue(root, path, name, value);
    if (lastRegError_ != ERROR_SUCCESS) return result;
    valueType_ = value.type;
    valueSize_ = StoredSize(value);
    if (valueSize_ > kQueryBufferBytes) {
        lastRegError_ = ERROR_MORE_DATA;
        return result;
    }
    switch (value.type) {
        case REG_SZ:
            result = CutAtNul(value.data);
            break;
        case REG_BINARY:
            result = BytesToHex(value.data);
            break;
        case REG_DWORD:
            result = DwordToHex(value.data);
            break;
        default:
            result = value.data;
            break;
    }
    return result;
}

bool Registry::RegSetValue(std::uint32_t root, std::string_view path, std::string_view name,
                           std::string_view text, std::uint32_t type) {
    if (!CheckRoot(root, path)) return false;
    valueType_ = type;
    if (!RegCreateKey(root, path, KEY_ALL_ACCESS)) return false;
    RegValue value;
    value.type = type;
    switch (type) {
        case REG_BINARY:
            value.data = HexToBytes(text);
            break;
        case REG_DWORD:
            value.data = HexToDword(text);
            break;
        default:
            value.data = std::string(text);
            break;
    }
    valueSize_ = value.data.empty() ? 0 : StoredSize(value);
    if (value.data.empty()) {
        lastRegError_ = backend_.DeleteValue(root, path, name);
    } else {
        lastRegError_ = backend_.SetValue(root, path, name, value);
    }
    return lastRegError_ == ERROR_SUCCESS;
}

int HexByte(std::string_view digits) {
    std::string upper = ToUpper(digits.substr(0, 2));
    if (upper.size() == 1) upper.insert(upper.begin(), '0');
    if (upper.size() < 2) return 0;
    auto position = [](char c) {
        const auto at = kHexDigits.find(c);
        return at == std::string_view::npos ? 0 : static_cast<int>(at);
    };
    return 16 * position(upper[0]) + position(upper[1]);
}

std::string HexToBytes(std::string_view text) {
    const std::string digits = WithoutBlanksAndCommas(text);
    std::string bytes;
    bytes.reserve(digits.size() / 2 + 1);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        bytes += static_cast<char>(HexByte(std::string_view(digits).substr(i, 2)));
    }
    return bytes;
}

std::string HexToDword(std::string_view text) {
    std::string digits = WithoutBlanksAndCommas(text);
    if (digits.empty()) return {};  // "" deletes a DWORD value as it does any other
    if (digits.size() > 8) digits.erase(0, digits.size() - 8);
    digits.insert(0, 8 - digits.size(), '0');
    // Stored least significant byte first, so that DwordToHex reads the text back unchanged.
    std::string bytes;
    for (std::size_t i = 8; i >= 2; i -= 2) {
        bytes += static_cast<char>(HexByte(std::string_view(digits).substr(i - 2, 2)));
    }
    return bytes;
}

std::string BytesToHex(std::string_view bytes) {
    std::string hex = "&h";
    hex.reserve(2 + 2 * bytes.size());
    for (char c : bytes)
        AppendHex(hex, static_cast<unsigned char>(c));
    return hex;
}

std::string DwordToHex(std::string_view bytes) {
    std::string hex = "&h";
    for (std::size_t i = 4; i-- > 0;) {
        AppendHex(hex, i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0);
    }
    return hex;
}

}  // namespace pagelark
