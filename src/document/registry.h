#pragma once
// The registry access layer: keys and values moved as text, outcome of the last call kept
// in LastRegError. The registry itself is a RegistryBackend (file-backed on Linux).

#include <cstdint>
#include <string>
#include <string_view>

namespace pagelark {

inline constexpr std::uint32_t HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr std::uint32_t HKEY_CURRENT_USER = 0x80000001u;
inline constexpr std::uint32_t HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr std::uint32_t HKEY_USERS = 0x80000003u;
inline constexpr std::uint32_t HKEY_PERFORMANCE_DATA = 0x80000004u;
inline constexpr std::uint32_t HKEY_CURRENT_CONFIG = 0x80000005u;
inline constexpr std::uint32_t HKEY_DYN_DATA = 0x80000006u;

inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;

inline constexpr std::uint32_t KEY_READ = 0x20019u;
inline constexpr std::uint32_t KEY_ALL_ACCESS = 0x3Fu;

inline constexpr std::int32_t kRegErrorBadRoot = 99999;
inline constexpr std::int32_t kRegErrorEmptyPath = 99998;
// System error numbers the backends answer with.
inline constexpr std::int32_t ERROR_SUCCESS = 0;
inline constexpr std::int32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr std::int32_t ERROR_ACCESS_DENIED = 5;
inline constexpr std::int32_t ERROR_WRITE_FAULT = 29;
inline constexpr std::int32_t ERROR_MORE_DATA = 234;

struct RegValue {
    std::uint32_t type = REG_SZ;
    std::string data;  // the stored bytes; a REG_SZ without its terminating zero
};

// The system registry as the layer sees it. Each call returns a system error number.
class RegistryBackend {
  public:
    virtual ~RegistryBackend() = default;
    virtual std::int32_t OpenKey(std::uint32_t root, std::string_view path) = 0;
    virtual std::int32_t CreateKey(std::uint32_t root, std::string_view path) = 0;
    virtual std::int32_t QueryValue(std::uint32_t root, std::string_view path,
                                    std::string_view name, RegValue& value) = 0;
    virtual std::int32_t SetValue(std::uint32_t root, std::string_view path, std::string_view name,
                                  const RegValue& value) = 0;
    virtual std::int32_t DeleteValue(std::uint32_t root, std::string_view path,
                                     std::string_view name) = 0;
};

class Registry {
  public:
    explicit Registry(RegistryBackend& backend) : backend_(backend) {}

    bool RegOpenKey(std::uint32_t root, std::string_view path, std::uint32_t access);
    bool RegCreateKey(std::uint32_t root, std::string_view path, std::uint32_t access);
    bool RegKeyExists(std::uint32_t root, std::string_view path);
    std::string RegQueryValue(std::uint32_t root, std::string_view path, std::string_view name);
    bool RegSetValue(std::uint32_t root, std::string_view path, std::string_view name,
                     std::string_view text, std::uint32_t type);

    std::int32_t LastRegError() const { return lastRegError_; }
    std::uint32_t ValueType() const { return valueType_; }
    std::uint32_t ValueSize() const { return valueSize_; }

  private:
    bool CheckRoot(std::uint32_t root, std::string_view path);

    RegistryBackend& backend_;
    std::int32_t lastRegError_ = 0;
    std::uint32_t valueType_ = 0;
    std::uint32_t valueSize_ = 0;
};

int HexByte(std::string_view digits);
std::string HexToBytes(std::string_view text);
std::string HexToDword(std::string_view text);
std::string BytesToHex(std::string_view bytes);
std::string DwordToHex(std::string_view bytes);

}  // namespace pagelark
