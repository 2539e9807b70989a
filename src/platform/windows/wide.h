#pragma once
// The program's text is UTF-8; the system's is UTF-16. Every call into Windows goes through
// these at the boundary, with the W functions only.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// Text that is not UTF-8 (a path kept in an old file) is read as stored text is
// (StoredTextToUtf8), not turned into U+FFFD, which names another file.
std::wstring Wide(std::string_view utf8);
// An unpaired surrogate becomes U+FFFD: for messages and paths the system does not list.
std::string Narrow(std::wstring_view utf16);
// A name from a listing; none when it holds an unpaired surrogate, which no UTF-8 path names:
// listings pass such names over rather than reach another file by a U+FFFD one.
std::optional<std::string> NarrowName(std::wstring_view utf16);
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
