#pragma once
// The registry access layer: keys and values moved as text, outcome of the last call kept
// in LastRegError. The registry itself is a RegistryBackend (platform/registry_store.h).

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry_backend.h"

namespace pagelark {

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
    // Empty text removes the value.
    bool SetValue(RegRoot root, std::string_view path, std::string_view name, std::string_view text,
                  RegType type);

    RegError LastRegError() const { return lastRegError_; }
    std::string Where(RegRoot root) const { return backend_.Where(root); }
    std::string UnreadValue(RegRoot root, std::string_view path, std::string_view name) {
        return backend_.UnreadValue(root, path, name);
    }

  private:
    bool CheckRoot(RegRoot root, std::string_view path);

    RegistryBackend& backend_;
    RegError lastRegError_ = RegError::Success;
};

}  // namespace pagelark
