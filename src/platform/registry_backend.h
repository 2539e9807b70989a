#pragma once
// The system registry as the program sees it: keys and values under fixed roots, each call
// answering with a system error number. The numbers are the Windows ones, so that a Windows
// store passes them through and stored numbers keep their meaning.

#include <cstdint>
#include <string>
#include <string_view>

namespace pagelark {

enum class RegRoot : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    PerformanceData = 0x80000004u,
    CurrentConfig = 0x80000005u,
    DynData = 0x80000006u,
};

// Any number may be stored as a type; these are the ones the program reads.
enum class RegType : std::uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    Dword = 4,
    MultiString = 7,
};

enum class RegError : std::int32_t {
    Success = 0,
    FileNotFound = 2,
    AccessDenied = 5,
    WriteFault = 29,
    InvalidName = 123,  // a key or value name the store cannot hold
    MoreData = 234,
    // Refusals of the access layer before any store is asked.
    EmptyPath = 99998,
    BadRoot = 99999,
};

struct RegValue {
    RegType type = RegType::String;
    std::string data;  // the stored bytes; a String without its terminating zero
};

struct RegRead {
    RegError error = RegError::FileNotFound;
    RegValue value;  // when error is Success
};

class RegistryBackend {
  public:
    virtual ~RegistryBackend() = default;
    virtual RegError OpenKey(RegRoot root, std::string_view path) = 0;
    virtual RegError CreateKey(RegRoot root, std::string_view path) = 0;
    virtual RegRead QueryValue(RegRoot root, std::string_view path, std::string_view name) = 0;
    virtual RegError SetValue(RegRoot root, std::string_view path, std::string_view name,
                              const RegValue& value) = 0;
    virtual RegError DeleteValue(RegRoot root, std::string_view path, std::string_view name) = 0;
    // Where the root's values are kept, for messages; "" when there is nothing to name.
    virtual std::string Where(RegRoot /*root*/) const { return {}; }
    // Where the root's store holds text that may set the value name of the key path but is not
    // read as it, and why ("line 7 names Locked but is not read"); "" when there is none.
    virtual std::string UnreadValue(RegRoot /*root*/, std::string_view /*path*/,
                                    std::string_view /*name*/) {
        return {};
    }
};

}  // namespace pagelark
