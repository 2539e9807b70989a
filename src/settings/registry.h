#pragma once
// The registry access layer: keys and values moved as text, and the program's own settings by
// name and scope. The registry itself is a RegistryBackend (settings/registry_store.h); its
// roots, key paths and error numbers go no further up than this.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry_backend.h"
#include "platform/result.h"

namespace pagelark {

// Where the program's own settings are kept in the store.
inline constexpr std::string_view kMachineKey = "SOFTWARE\\Halvaro\\Pagelark";
inline constexpr std::string_view kUserKey = "Software\\Halvaro\\Pagelark";

// The user's settings, or the machine's.
enum class Scope { User, Machine };

// Access the program asks for; the stores grant what the user may do anyway.
enum class RegAccess : std::uint32_t { Read = 0x20019u, AllAccess = 0x3Fu };

class Registry {
  public:
    explicit Registry(RegistryBackend& backend) : backend_(backend) {}

    bool OpenKey(RegRoot root, std::string_view path, RegAccess access);
    bool CreateKey(RegRoot root, std::string_view path, RegAccess access);
    bool KeyExists(RegRoot root, std::string_view path);
    // Text as stored; Binary and Dword values as "&h" and hex digits.
    std::string QueryValue(RegRoot root, std::string_view path, std::string_view name);
    // Empty text removes the value; the failure names the store and why.
    Result<> SetValue(RegRoot root, std::string_view path, std::string_view name,
                      std::string_view text, RegType type);

    // The program's own settings: the value of name (in the sub key, when given) as text, ""
    // when there is none; a write goes to the machine's, and removing a value that is not there
    // succeeds.
    std::string ReadSetting(Scope scope, std::string_view name, std::string_view subKey = {});
    Result<> WriteSetting(std::string_view name, std::string_view text);
    void EnsureSettingKeys();
    // The store's file for messages, or "the settings store".
    std::string Where(Scope scope) const;
    // Text of the store that may set name but is not read as it, and why; "" when there is none.
    std::string UnreadSetting(Scope scope, std::string_view name);

  private:
    RegError Check(RegRoot root, std::string_view path);
    RegError Set(RegRoot root, std::string_view path, std::string_view name, std::string_view text,
                 RegType type);
    std::string Why(RegRoot root, RegError error) const;

    RegistryBackend& backend_;
};

}  // namespace pagelark
