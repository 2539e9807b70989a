#include "platform/files.h"

#include "platform/folder_entries.h"
#include "platform/windows/wide.h"

#include <sddl.h>

namespace pagelark {
namespace {

// A read-only file says ERROR_ACCESS_DENIED, a read-only medium ERROR_WRITE_PROTECT.
constexpr DWORD kDenials[] = {ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT, ERROR_PRIVILEGE_NOT_HELD};

int LastError(BOOL ok) {
    return ok ? 0 : static_cast<int>(::GetLastError());
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Opens what path names for its attributes only: links followed unless asked.
Handle OpenForQuery(const std::string& path, bool followLinks = true, DWORD access = 0) {
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    return Handle(::CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES | access,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, flags, nullptr));
}

std::int64_t Combined(DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

std::int64_t Nanoseconds(const FILETIME& time) {
    // 100-nanosecond steps since 1601: ordering and equality are all a signature needs.
    return Combined(time.dwHighDateTime, time.dwLowDateTime) * 100;
}

bool SameSid(PSID a, PSID b) {
    return a != nullptr && b != nullptr && ::EqualSid(a, b);
}

// This process's user, for the ownership checks.
struct UserSid {
    std::string buffer;
    PSID Sid() const {
        return buffer.empty() ? nullptr
                              : reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
    }
};

UserSid CurrentUser() {
    UserSid user;
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return user;
    Handle token(raw);
    DWORD size = 0;
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    user.buffer.resize(size);
    if (!::GetTokenInformation(token.Get(), TokenUser, user.buffer.data(), size, &size))
        user.buffer.clear();
    return user;
}

bool OwnedByUs(const std::string& path) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    Handle file = OpenForQuery(path, false, READ_CONTROL);
    if (!file.Valid()) return false;
    // GetSecurityInfo needs aclapi; the descriptor read through the handle says the same.
    DWORD size = 0;
    ::GetKernelObjectSecurity(file.Get(), OWNER_SECURITY_INFORMATION, nullptr, 0, &size);
    std::string buffer(size, '\0');
    descriptor = buffer.data();
    if (size == 0 ||
        !::GetKernelObjectSecurity(file.Get(), OWNER_SECURITY_INFORMATION, descriptor, size, &size))
        return false;
    BOOL defaulted = FALSE;
    if (!::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted)) return false;
    const UserSid user = CurrentUser();
    if (SameSid(owner, user.Sid())) return true;
    // An administrator's files belong to the Administrators group.
    BOOL member = FALSE;
    return owner != nullptr && ::IsWellKnownSid(owner, WinBuiltinAdministratorsSid) &&
           ::CheckTokenMembership(nullptr, owner, &member) && member;
}

}  // namespace

bool FileExists(std::string_view path) {
    if (path.empty()) return false;
    if (IsSeparator(path.back())) path.remove_suffix(1);
    Handle file(::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid() && ::GetFileType(file.Get()) == FILE_TYPE_DISK;
}

bool DirExists(std::string_view path) {
    if (path.empty()) return false;
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string CurrentFolder() {
    const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(size, folder.data());
    if (length == 0 || length >= size) return {};
    folder.resize(length);
    // A drive's root keeps its separator: "C:" alone means that drive's working folder.
    if (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return Narrow(folder);
}

std::string ErrorReason(int error) {
    return SystemReason(static_cast<DWORD>(error));
}

bool IsDenial(int error) {
    for (const DWORD denial : kDenials) {
        if (static_cast<DWORD>(error) == denial) return true;
    }
    return false;
}

bool IsDenialReason(std::string_view reason) {
    for (const DWORD denial : kDenials) {
        if (reason == SystemReason(denial)) return true;
    }
    return false;
}

int RenameFile(std::string_view from, std::string_view to) {
    // rename() on Windows refuses a target that exists.
    return LastError(::MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

int RemoveFile(std::string_view path) {
    return LastError(::DeleteFileW(Wide(path).c_str()));
}

int MakeFolder(std::string_view path, unsigned) {
    // A drive's root or a share's is no folder to make; the ones below it are.
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (IsSeparator(path[i]) && path[i - 1] != ':' && !IsSeparator(path[i - 1]))
            ::CreateDirectoryW(Wide(path.substr(0, i)).c_str(), nullptr);
    }
    if (DirExists(path)) return 0;
    return LastError(::CreateDirectoryW(Wide(path).c_str(), nullptr));
}

int RemoveFolder(std::string_view path) {
    return LastError(::RemoveDirectoryW(Wide(path).c_str()));
}

bool IsOwnFolder(const std::string& folder) {
    const DWORD attributes = ::GetFileAttributesW(Wide(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && OwnedByUs(folder);
}

bool MakePrivateFolder(const std::string& folder) {
    // Owner and the system only, not inherited from above; a folder of ours already there is
    // made so too, as on Linux.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:P(A;OICI;FA;;;OW)(A;OICI;FA;;;SY)", SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const bool made = ::CreateDirectoryW(Wide(folder).c_str(), &attributes);
    bool ours = IsOwnFolder(folder);
    if (ours && !made) {
        // The folder's own list, as chmod sets a folder's mode; the files already inside keep
        // theirs (SetSecurityInfo would carry the list to them, but under Wine it undoes it).
        Handle handle = OpenForQuery(folder, false, READ_CONTROL | WRITE_DAC);
        ours = ::SetKernelObjectSecurity(handle.Get(), DACL_SECURITY_INFORMATION, descriptor);
    }
    ::LocalFree(descriptor);
    return ours;
}

bool WritePrivateFile(const std::string& path, std::string_view data) {
    // FILE_FLAG_OPEN_REPARSE_POINT: a link planted in place of the file is written over, not
    // followed.
    Handle file(::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.Valid()) return false;
    while (!data.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
        if (!::WriteFile(file.Get(), data.data(), chunk, &written, nullptr) || written == 0)
            return false;
        data.remove_prefix(written);
    }
    return true;
}

std::optional<FileId> IdOf(const std::string& path) {
    if (path.empty()) return std::nullopt;
    Handle file = OpenForQuery(path);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Valid() || !::GetFileInformationByHandle(file.Get(), &info)) return std::nullopt;
    return FileId{info.dwVolumeSerialNumber,
                  static_cast<std::uint64_t>(Combined(info.nFileIndexHigh, info.nFileIndexLow))};
}

std::vector<FolderEntry> FolderEntries(const std::string& folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::wstring wide = found.cFileName;
        const auto name = NarrowName(wide);
        if (!name || wide == L"." || wide == L"..") continue;
        const DWORD attributes = found.dwFileAttributes;
        FolderEntry entry{*name,
                          (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? EntryKind::Link
                          : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0   ? EntryKind::Folder
                                                                           : EntryKind::File,
                          {}};
        if (entry.kind == EntryKind::File) {
            const auto id = IdOf(folder + "\\" + entry.name);
            if (!id) continue;
            entry.id = *id;
        }
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return entries;
}

FileSignature SignatureOf(const std::string& file) {
    FileSignature signature;
    Handle handle = OpenForQuery(file);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle.Valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            signature.kind = FileSignature::Kind::Missing;
        return signature;
    }
    if (!::GetFileInformationByHandle(handle.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return signature;
    signature.kind = FileSignature::Kind::File;
    signature.device = info.dwVolumeSerialNumber;
    signature.inode = static_cast<std::uint64_t>(Combined(info.nFileIndexHigh, info.nFileIndexLow));
    signature.size = Combined(info.nFileSizeHigh, info.nFileSizeLow);
    signature.mtimeNs = Nanoseconds(info.ftLastWriteTime);
    // Windows keeps no change time; the creation time changes when a rename replaces the file.
    signature.ctimeNs = Nanoseconds(info.ftCreationTime);
    return signature;
}

}  // namespace pagelark
