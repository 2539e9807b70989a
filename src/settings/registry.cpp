#include "settings/registry.h"

#include "ini/stored_values.h"

namespace pagelark {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

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

}  // namespace

bool Registry::CheckRoot(RegRoot root, std::string_view path) {
    switch (root) {
        case RegRoot::ClassesRoot:
        case RegRoot::CurrentUser:
        case RegRoot::LocalMachine:
        case RegRoot::Users:
        case RegRoot::CurrentConfig:
        case RegRoot::DynData:
            break;
        default:
            lastRegError_ = RegError::BadRoot;
            return false;
    }
    if (path.empty()) {
        lastRegError_ = RegError::EmptyPath;
        return false;
    }
    return true;
}

bool Registry::OpenKey(RegRoot root, std::string_view path, RegAccess /*access*/) {
    if (!CheckRoot(root, path)) return false;
    lastRegError_ = backend_.OpenKey(root, path);
    return lastRegError_ == RegError::Success;
}

bool Registry::CreateKey(RegRoot root, std::string_view path, RegAccess /*access*/) {
    if (!CheckRoot(root, path)) return false;
    lastRegError_ = backend_.CreateKey(root, path);
    return lastRegError_ == RegError::Success;
}

bool Registry::KeyExists(RegRoot root, std::string_view path) {
    return OpenKey(root, path, RegAccess::Read);
}

std::string Registry::QueryValue(RegRoot root, std::string_view path, std::string_view name) {
    std::string result;
    if (!OpenKey(root, path, RegAccess::Read)) return result;
    auto [error, value] = backend_.QueryValue(root, path, name);
    lastRegError_ = error;
    // Read whole at any length: a value read short would be written back short.
    if (lastRegError_ != RegError::Success) return result;
    switch (value.type) {
        case RegType::String:
            result = CutAtNul(value.data);
            break;
        case RegType::Binary:
            result = BytesToHex(value.data);
            break;
        case RegType::Dword:
            result = DwordToHex(value.data);
            break;
        default:
            result = value.data;
            break;
    }
    return result;
}

bool Registry::SetValue(RegRoot root, std::string_view path, std::string_view name,
                        std::string_view text, RegType type) {
    if (!CheckRoot(root, path)) return false;
    if (!CreateKey(root, path, RegAccess::AllAccess)) return false;
    RegValue value;
    value.type = type;
    switch (type) {
        case RegType::Binary:
            value.data = HexToBytes(text);
            break;
        case RegType::Dword:
            value.data = HexToDword(text);
            break;
        default:
            value.data = std::string(text);
            break;
    }
    if (value.data.empty()) {
        lastRegError_ = backend_.DeleteValue(root, path, name);
    } else {
        lastRegError_ = backend_.SetValue(root, path, name, value);
    }
    return lastRegError_ == RegError::Success;
}

}  // namespace pagelark
