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

RegError Registry::Check(RegRoot root, std::string_view path) {
    switch (root) {
        case RegRoot::ClassesRoot:
        case RegRoot::CurrentUser:
        case RegRoot::LocalMachine:
        case RegRoot::Users:
        case RegRoot::CurrentConfig:
        case RegRoot::DynData:
            break;
        default:
            return RegError::BadRoot;
    }
    return path.empty() ? RegError::EmptyPath : RegError::Success;
}

bool Registry::OpenKey(RegRoot root, std::string_view path, RegAccess /*access*/) {
    const RegError checked = Check(root, path);
    return checked == RegError::Success && backend_.OpenKey(root, path) == RegError::Success;
}

bool Registry::CreateKey(RegRoot root, std::string_view path, RegAccess /*access*/) {
    const RegError checked = Check(root, path);
    return checked == RegError::Success && backend_.CreateKey(root, path) == RegError::Success;
}

bool Registry::KeyExists(RegRoot root, std::string_view path) {
    return OpenKey(root, path, RegAccess::Read);
}

std::string Registry::QueryValue(RegRoot root, std::string_view path, std::string_view name) {
    std::string result;
    if (!OpenKey(root, path, RegAccess::Read)) return result;
    auto [error, value] = backend_.QueryValue(root, path, name);
    // Read whole at any length: a value read short would be written back short.
    if (error != RegError::Success) return result;
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

RegError Registry::Set(RegRoot root, std::string_view path, std::string_view name,
                       std::string_view text, RegType type) {
    if (const RegError checked = Check(root, path); checked != RegError::Success) return checked;
    if (const RegError created = backend_.CreateKey(root, path); created != RegError::Success)
        return created;
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
    return value.data.empty() ? backend_.DeleteValue(root, path, name)
                              : backend_.SetValue(root, path, name, value);
}

std::string Registry::Why(RegRoot root, RegError error) const {
    std::string store = backend_.Where(root);
    if (store.empty()) store = "the settings store";
    switch (error) {
        case RegError::AccessDenied:
            return store + ": access denied";
        case RegError::WriteFault:
            return store + ": the file could not be written";
        default:
            return store + ": error " + std::to_string(static_cast<int>(error));
    }
}

Result<> Registry::SetValue(RegRoot root, std::string_view path, std::string_view name,
                            std::string_view text, RegType type) {
    const RegError error = Set(root, path, name, text, type);
    if (error == RegError::Success) return Done();
    return Fail(Why(root, error));
}

namespace {

RegRoot RootOf(Scope scope) {
    return scope == Scope::User ? RegRoot::CurrentUser : RegRoot::LocalMachine;
}

std::string KeyOf(Scope scope, std::string_view subKey) {
    std::string path(scope == Scope::User ? kUserKey : kMachineKey);
    if (!subKey.empty()) path += "\\" + std::string(subKey);
    return path;
}

}  // namespace

std::string Registry::ReadSetting(Scope scope, std::string_view name, std::string_view subKey) {
    return CutAtNul(QueryValue(RootOf(scope), KeyOf(scope, subKey), name));
}

Result<> Registry::WriteSetting(std::string_view name, std::string_view text) {
    const RegError error =
        Set(RegRoot::LocalMachine, KeyOf(Scope::Machine, {}), name, text, RegType::String);
    if (error == RegError::Success || (text.empty() && error == RegError::FileNotFound))
        return Done();
    return Fail(Why(RegRoot::LocalMachine, error));
}

void Registry::EnsureSettingKeys() {
    for (const Scope scope : {Scope::Machine, Scope::User}) {
        if (!KeyExists(RootOf(scope), KeyOf(scope, {})))
            CreateKey(RootOf(scope), KeyOf(scope, {}), RegAccess::AllAccess);
    }
}

std::string Registry::Where(Scope scope) const {
    const std::string where = backend_.Where(RootOf(scope));
    return where.empty() ? "the settings store" : where;
}

std::string Registry::UnreadSetting(Scope scope, std::string_view name) {
    return backend_.UnreadValue(RootOf(scope), KeyOf(scope, {}), name);
}

}  // namespace pagelark
