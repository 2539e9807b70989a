#include "platform/windows/wide.h"

#include <climits>

#include "platform/text.h"

namespace pagelark {
namespace {

std::wstring ToWide(std::string_view utf8, DWORD flags) {
    if (utf8.empty() || utf8.size() > INT_MAX) return {};
    const int size = static_cast<int>(utf8.size());
    const int count = ::MultiByteToWideChar(CP_UTF8, flags, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    if (count > 0) ::MultiByteToWideChar(CP_UTF8, flags, utf8.data(), size, wide.data(), count);
    return wide;
}

std::string ToNarrow(std::wstring_view utf16, DWORD flags) {
    if (utf16.empty() || utf16.size() > INT_MAX) return {};
    const int size = static_cast<int>(utf16.size());
    const int count =
        ::WideCharToMultiByte(CP_UTF8, flags, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(count), '\0');
    if (count > 0)
        ::WideCharToMultiByte(CP_UTF8, flags, utf16.data(), size, narrow.data(), count, nullptr,
                              nullptr);
    return narrow;
}

}  // namespace

std::wstring Wide(std::string_view utf8) {
    std::wstring wide = ToWide(utf8, MB_ERR_INVALID_CHARS);
    return wide.empty() && !utf8.empty() ? ToWide(StoredTextToUtf8(utf8), 0) : wide;
}

std::string Narrow(std::wstring_view utf16) {
    return ToNarrow(utf16, 0);
}

std::optional<std::string> NarrowName(std::wstring_view utf16) {
    std::string narrow = ToNarrow(utf16, WC_ERR_INVALID_CHARS);
    if (narrow.empty() && !utf16.empty()) return std::nullopt;
    return narrow;
}

std::string SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason(text != nullptr ? text : L"", length);
    ::LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' ||
                               reason.back() == L'.' || reason.back() == L' '))
        reason.pop_back();
    return reason.empty() ? "system error " + std::to_string(error) : Narrow(reason);
}

}  // namespace pagelark
