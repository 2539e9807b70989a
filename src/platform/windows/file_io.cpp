#include "platform/file_io_system.h"

#include "platform/leftovers.h"
#include "platform/windows/wide.h"

#include <aclapi.h>

namespace pagelark::file_io_system {
namespace {

std::string LastReason() {
    return SystemReason(::GetLastError());
}

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH;
}

// The shared header keeps a handle as an integer: the cast back is the point.
HANDLE Native(NativeHandle handle) {
    return reinterpret_cast<HANDLE>(handle);  // NOLINT(performance-no-int-to-ptr)
}

std::uint64_t Combined(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

std::optional<FileId> IdOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) return std::nullopt;
    return FileId{info.dwVolumeSerialNumber, Combined(info.nFileIndexHigh, info.nFileIndexLow)};
}

bool WriteAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
        if (!::WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
        data.remove_prefix(written);
    }
    return true;
}

constexpr std::wstring_view kLong = L"\\\\?\\", kLongUnc = L"\\\\?\\UNC\\";

// A path without its \\?\ prefix: "\\?\C:\x" is "C:\x", "\\?\UNC\srv\s" is "\\srv\s".
std::wstring Plain(std::wstring_view path) {
    if (path.starts_with(kLongUnc)) return L"\\\\" + std::wstring(path.substr(kLongUnc.size()));
    if (path.starts_with(kLong)) return std::wstring(path.substr(kLong.size()));
    return std::wstring(path);
}

// A plain path put in the form like is written in, with or without the \\?\ prefix.
std::wstring InFormOf(std::wstring_view like, const std::wstring& plain) {
    if (like.starts_with(kLongUnc) && plain.starts_with(L"\\\\"))
        return std::wstring(kLongUnc) + plain.substr(2);
    if (like.starts_with(kLong)) return std::wstring(kLong) + plain;
    return plain;
}

void TrimSeparators(std::wstring& path) {
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
}

// The folders above folder up to the root of its volume (a drive's, a share's), the root
// included: past it there is nothing to open ("\\srv" of "\\srv\share").
Result<std::vector<FileId>> FoldersAbove(const std::string& folder) {
    const auto cannot = [] { return Fail("the folders above it cannot be read: " + LastReason()); };
    std::wstring full(32768, L'\0'), root(32768, L'\0');
    const DWORD length = ::GetFullPathNameW(Wide(folder).c_str(), static_cast<DWORD>(full.size()),
                                            full.data(), nullptr);
    if (length == 0 || length >= full.size()) return cannot();
    full.resize(length);
    if (!::GetVolumePathNameW(full.c_str(), root.data(), static_cast<DWORD>(root.size()))) {
        // Wine's refuses a share's paths: their root is \\server\share.
        const std::wstring plain = Plain(full);
        const auto server = plain.starts_with(L"\\\\") ? plain.find(L'\\', 2) : std::wstring::npos;
        if (server == std::wstring::npos) return cannot();
        root = plain.substr(0, plain.find(L'\\', server + 1));
    }
    root = InFormOf(full, Plain(root.c_str()));
    TrimSeparators(full);
    TrimSeparators(root);
    const int rootSize = static_cast<int>(root.size());
    if (root.size() > full.size() ||
        ::CompareStringOrdinal(full.data(), rootSize, root.data(), rootSize, TRUE) != CSTR_EQUAL ||
        (full.size() > root.size() && full[root.size()] != L'\\' && full[root.size()] != L'/'))
        return Fail("the folders above it cannot be read: " + Narrow(full) +
                    " is not on the volume " + Narrow(root));
    std::vector<FileId> ids;
    while (full.size() > root.size()) {
        auto slash = full.find_last_of(L"\\/");
        if (slash == std::wstring::npos || slash < root.size()) slash = root.size();
        full.erase(slash);
        const auto id = IdOf(Narrow(full.size() == root.size() ? full + L"\\" : full));
        if (!id) return cannot();
        ids.push_back(*id);
    }
    return ids;
}

// Whether anyone but the file's owner, the system and the administrators may use the file.
bool OthersMayUse(const std::wstring& path) {
    PSID owner = nullptr;
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT,
                                OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                                nullptr, &acl, nullptr, &descriptor) != ERROR_SUCCESS)
        return true;
    bool others = acl == nullptr;  // no list at all lets everybody in
    for (DWORD i = 0; acl != nullptr && i < acl->AceCount && !others; ++i) {
        ACE_HEADER* ace = nullptr;
        if (!::GetAce(acl, i, reinterpret_cast<void**>(&ace))) continue;
        if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        PSID sid = &reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
        others = !::EqualSid(sid, owner) && !::IsWellKnownSid(sid, WinLocalSystemSid) &&
                 !::IsWellKnownSid(sid, WinBuiltinAdministratorsSid) &&
                 !::IsWellKnownSid(sid, WinCreatorOwnerSid);
    }
    ::LocalFree(descriptor);
    return others;
}

}  // namespace

// Found by opening it.
std::string ResolveLink(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    Handle file(::CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid()) return path;
    std::wstring target(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file.Get(), target.data(),
                                               static_cast<DWORD>(target.size()), 0);
    if (length >= target.size()) {
        target.resize(length + 1);
        length = ::GetFinalPathNameByHandleW(file.Get(), target.data(),
                                             static_cast<DWORD>(target.size()), 0);
    }
    if (length == 0 || length >= target.size()) return path;
    target.resize(length);
    if (target.starts_with(L"\\\\?\\UNC\\"))
        target = L"\\\\" + target.substr(8);
    else if (target.starts_with(L"\\\\?\\"))
        target = target.substr(4);
    return Narrow(target);
}

std::size_t LastSeparator(std::string_view path) {
    return path.find_last_of("\\/");
}

ReadableFile::ReadableFile(const std::string& path, bool secret) {
    const auto failed = [&](ReadStatus status, std::string error) {
        status_ = status;
        error_ = std::move(error);
    };
    const std::wstring name = Wide(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        failed(IsMissingError(error) ? ReadStatus::Missing : ReadStatus::Unreadable,
               SystemReason(error));
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        failed(ReadStatus::NotAFile, SystemReason(ERROR_DIRECTORY));
        return;
    }
    const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        failed(IsMissingError(error) ? ReadStatus::Missing : ReadStatus::Unreadable,
               SystemReason(error));
        return;
    }
    handle_ = reinterpret_cast<NativeHandle>(file);
    LARGE_INTEGER size{};
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        failed(ReadStatus::NotAFile, "Not a regular file");
    } else if (secret && OthersMayUse(name)) {
        failed(ReadStatus::Unreadable,
               "others than its owner have permissions on it; let only its owner read it");
    } else if (!::GetFileSizeEx(file, &size)) {
        failed(ReadStatus::Unreadable, LastReason());
    } else {
        size_ = static_cast<std::uint64_t>(size.QuadPart);
    }
}

ReadableFile::~ReadableFile() {
    if (handle_ != kNoHandle) ::CloseHandle(Native(handle_));
}

std::optional<std::size_t> ReadableFile::Read(char* buffer, std::size_t size) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (::ReadFile(Native(handle_), buffer, chunk, &n, nullptr)) return n;
    error_ = LastReason();
    return std::nullopt;
}

std::string TooLargeReason() {
    return SystemReason(ERROR_FILE_TOO_LARGE);
}

Result<HeldFolder> HeldFolder::Open(const std::string& path) {
    const auto slash = LastSeparator(path);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (slash == std::string::npos && path.size() >= 2 && path[1] == ':') name = path.substr(2);
    if (name.empty() || name == "." || name == "..") return Fail(SystemReason(ERROR_DIRECTORY));
    std::string folder = path.substr(0, path.size() - name.size());
    if (folder.empty()) folder = ".\\";
    const HANDLE dir =
        ::CreateFileW(Wide(folder).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE) return Fail(LastReason());
    return HeldFolder(reinterpret_cast<NativeHandle>(dir), std::move(folder), std::move(name));
}

HeldFolder::~HeldFolder() {
    if (handle_ != kNoHandle) ::CloseHandle(Native(handle_));
}

// The folder itself by its handle, the ones above by their names: they cannot move while the
// folder is held.
Result<WritePlace> HeldFolder::Describe() const {
    WritePlace place;
    place.name = name_;
    const auto self = IdOfHandle(Native(handle_));
    if (!self) return Fail("the folder cannot be read: " + LastReason());
    place.folders.push_back(*self);
    const Result<std::vector<FileId>> above = FoldersAbove(folder_);
    if (!above) return Fail(above.Error());
    place.folders.insert(place.folders.end(), above->begin(), above->end());
    const std::wstring target = Wide(folder_ + name_);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (IsMissingError(::GetLastError())) return place;
        return Fail(LastReason());
    }
    place.kind = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? EntryKind::Link
                 : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0   ? EntryKind::Folder
                                                                  : EntryKind::File;
    Handle entry(::CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (entry.Valid()) {
        if (const auto id = IdOfHandle(entry.Get())) place.id = *id;
    }
    return place;
}

// An existing file is replaced by ReplaceFileW, which keeps its permissions and attributes; a
// new one, or a link (replaced, never followed), by a rename.
Result<> HeldFolder::Replace(std::string_view data, unsigned, const LastCheck& lastCheck) const {
    const std::wstring target = Wide(folder_ + name_);
    const DWORD old = ::GetFileAttributesW(target.c_str());
    const bool exists = old != INVALID_FILE_ATTRIBUTES;
    const bool link = exists && (old & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (exists && !link && (old & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return Fail(SystemReason(ERROR_DIRECTORY));
    if (exists && !link && (old & FILE_ATTRIBUTE_READONLY) != 0)
        return Fail(SystemReason(ERROR_ACCESS_DENIED));
    const auto unique = [&] { return Wide(folder_ + TaggedUniqueName(ReplacementPrefix(name_))); };
    std::wstring temp;
    Handle file;
    for (int tries = 0; !file.Valid() && tries < 100; ++tries) {
        temp = unique();
        file = Handle(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid() && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (!file.Valid()) return Fail(LastReason());
    auto fail = [&](DWORD error) -> Result<> {
        file = Handle();
        ::DeleteFileW(temp.c_str());
        return Fail(SystemReason(error));
    };
    if (!WriteAll(file.Get(), data)) return fail(::GetLastError());
    if (!::FlushFileBuffers(file.Get())) return fail(::GetLastError());
    ::CloseHandle(file.Release());
    if (lastCheck) {
        if (Result<> allowed = lastCheck(); !allowed) {
            ::DeleteFileW(temp.c_str());
            return allowed;
        }
    }
    DWORD replaceError = 0;  // ReplaceFileW's own, which says more than the rename's after it
    if (exists && !link) {
        // The old file goes to a name of the leftover kind, so that it is never lost in between
        // and a crash's copy is removed with the temporary files.
        std::wstring backup = unique();
        while (::GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES)
            backup = unique();
        if (::ReplaceFileW(target.c_str(), temp.c_str(), backup.c_str(),
                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            ::DeleteFileW(backup.c_str());
            return Done();
        }
        replaceError = ::GetLastError();
        // Moved away but the new one not in: the old one goes back before the rename below.
        if (replaceError == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 &&
            !::MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
            const DWORD error = ::GetLastError();
            if (::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
                ::DeleteFileW(backup.c_str());
                return Done();
            }
            ::DeleteFileW(temp.c_str());
            return Fail(SystemReason(error) + "; the old file is kept as " + Narrow(backup));
        }
        ::DeleteFileW(backup.c_str());
    }
    if (!::MoveFileExW(temp.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        return fail(replaceError != 0 && replaceError != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2
                        ? replaceError
                        : error);
    }
    return Done();
}

}  // namespace pagelark::file_io_system
