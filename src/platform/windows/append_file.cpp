#include "platform/append_file.h"

#include "platform/windows/wide.h"

namespace pagelark {
namespace {

class WindowsAppendFile final : public AppendFile {
  public:
    explicit WindowsAppendFile(Handle file) : file_(std::move(file)) {}

    std::uint64_t Size() const override {
        LARGE_INTEGER size{};
        return ::GetFileSizeEx(file_.Get(), &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
    }
    std::string Tail(std::size_t bytes) const override {
        const std::uint64_t size = Size();
        std::string tail(static_cast<std::size_t>(std::min<std::uint64_t>(size, bytes)), '\0');
        OVERLAPPED at{};
        const std::uint64_t from = size - tail.size();
        at.Offset = static_cast<DWORD>(from);
        at.OffsetHigh = static_cast<DWORD>(from >> 32);
        DWORD got = 0;
        if (!::ReadFile(file_.Get(), tail.data(), static_cast<DWORD>(tail.size()), &got, &at))
            got = 0;
        tail.resize(got);
        return tail;
    }
    bool IsAt(const std::string& path) const override {
        // Removed while open, a file may keep its name until the last handle goes.
        FILE_STANDARD_INFO standard{};
        if (::GetFileInformationByHandleEx(file_.Get(), FileStandardInfo, &standard,
                                           sizeof standard) &&
            standard.DeletePending)
            return false;
        Handle named(::CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        BY_HANDLE_FILE_INFORMATION open{}, other{};
        return named.Valid() && ::GetFileInformationByHandle(file_.Get(), &open) &&
               ::GetFileInformationByHandle(named.Get(), &other) &&
               open.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
               open.nFileIndexHigh == other.nFileIndexHigh &&
               open.nFileIndexLow == other.nFileIndexLow;
    }
    std::size_t Append(std::string_view data, std::string& why) override {
        DWORD written = 0;
        if (!::WriteFile(file_.Get(), data.data(), static_cast<DWORD>(data.size()), &written,
                         nullptr))
            why = SystemReason(::GetLastError());
        return written;
    }
    void Sync() override { ::FlushFileBuffers(file_.Get()); }

  private:
    Handle file_;
};

}  // namespace

Result<std::unique_ptr<AppendFile>> OpenForAppend(const std::string& path) {
    const std::wstring name = Wide(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return Fail(SystemReason(ERROR_CANT_ACCESS_FILE));
    // FILE_APPEND_DATA alone: every write goes to the end, as O_APPEND does. Others may move
    // or remove the file meanwhile (a rotation), as on POSIX systems.
    Handle file(::CreateFileW(name.c_str(), FILE_APPEND_DATA | GENERIC_READ | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                              nullptr));
    if (!file.Valid()) return Fail(SystemReason(::GetLastError()));
    return std::unique_ptr<AppendFile>(std::make_unique<WindowsAppendFile>(std::move(file)));
}

}  // namespace pagelark
