#pragma once
// The program's text is UTF-8; the system's is UTF-16. Every call into Windows goes through
// these at the boundary, with the W functions only.

#include <windows.h>

#include <string>
#include <string_view>

namespace pagelark {

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
// The system's words for an error number from GetLastError or a registry call.
std::string SystemReason(DWORD error);

// A handle closed when it goes.
class Handle {
  public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    Handle(Handle&& other) noexcept : handle_(other.Release()) {}
    ~Handle() {
        if (Valid()) ::CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            if (Valid()) ::CloseHandle(handle_);
            handle_ = other.Release();
        }
        return *this;
    }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }
    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }

  private:
    HANDLE handle_;
};

}  // namespace pagelark
