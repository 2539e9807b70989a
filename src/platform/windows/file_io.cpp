#include "platform/file_io.h"

#include "platform/leftovers.h"
#include "platform/text.h"
#include "platform/windows/wide.h"

#include <aclapi.h>

#include <random>

namespace pagelark {
namespace {

std::string LastReason() {
    return SystemReason(::GetLastError());
}

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH;
}

std::size_t LastSeparator(std::string_view path) {
    return path.find_last_of("\\/");
}

std::uint64_t Combined(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// What a link stands for, found by opening it; the path itself when it is none or dangles.
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

// The folder of path's last part, held open so that it cannot be renamed or removed while a
// write goes on in it, with that part's name.
struct OpenFolder {
    Handle dir;
    std::string folder;  // with its trailing separator
    std::string name;
};

Result<OpenFolder> OpenFolderOf(const std::string& path) {
    const auto slash = LastSeparator(path);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (slash == std::string::npos && path.size() >= 2 && path[1] == ':') name = path.substr(2);
    if (name.empty() || name == "." || name == "..") return Fail(SystemReason(ERROR_DIRECTORY));
    std::string folder = path.substr(0, path.size() - name.size());
    if (folder.empty()) folder = ".\\";
    Handle dir(::CreateFileW(Wide(folder).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!dir.Valid()) return Fail(LastReason());
    return OpenFolder{std::move(dir), std::move(folder), std::move(name)};
}

std::optional<FileId> IdOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) return std::nullopt;
    return FileId{info.dwVolumeSerialNumber, Combined(info.nFileIndexHigh, info.nFileIndexLow)};
}

// The place of name in the open folder: the folder itself by its handle, the ones above by
// their names; they cannot move while the folder is held.
Result<WritePlace> Describe(const OpenFolder& open) {
    WritePlace place;
    place.name = open.name;
    const auto self = IdOfHandle(open.dir.Get());
    if (!self) return Fail("the folder cannot be read: " + LastReason());
    place.folders.push_back(*self);
    std::wstring full(32768, L'\0');
    const DWORD length = ::GetFullPathNameW(Wide(open.folder).c_str(),
                                            static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return Fail("the folders above it cannot be read");
    std::string above = Narrow(std::wstring_view(full.data(), length));
    while (!above.empty() && (above.back() == '\\' || above.back() == '/'))
        above.pop_back();
    for (auto slash = LastSeparator(above); slash != std::string::npos && slash > 1;
         slash = LastSeparator(above)) {
        above.erase(slash);
        const auto id = IdOf(above.ends_with(':') ? above + "\\" : above);
        if (!id) return Fail("the folders above it cannot be read: " + LastReason());
        place.folders.push_back(*id);
    }
    const std::wstring target = Wide(open.folder + open.name);
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

using LastCheck = std::function<Result<>()>;

std::string TempNameFor(const std::string& name) {
    return TaggedUniqueName("." + name + ".");
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

// Writes data to a new file in the open folder, flushed to disk, and puts it in name's place
// once lastCheck (when given) allows it. On failure nothing is left behind. An existing file
// is replaced by ReplaceFileW, which keeps its permissions and attributes; a new one, or a
// link (replaced, never followed), by a rename.
Result<> ReplaceIn(const OpenFolder& open, std::string_view data, const LastCheck& lastCheck) {
    const std::wstring target = Wide(open.folder + open.name);
    const DWORD old = ::GetFileAttributesW(target.c_str());
    const bool exists = old != INVALID_FILE_ATTRIBUTES;
    const bool link = exists && (old & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (exists && !link && (old & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return Fail(SystemReason(ERROR_DIRECTORY));
    if (exists && !link && (old & FILE_ATTRIBUTE_READONLY) != 0)
        return Fail(SystemReason(ERROR_ACCESS_DENIED));
    std::wstring temp;
    Handle file;
    for (int tries = 0; !file.Valid() && tries < 100; ++tries) {
        temp = Wide(open.folder + TempNameFor(open.name));
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
    const bool replaced = exists && !link &&
                          ::ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (!replaced && !::MoveFileExW(temp.c_str(), target.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail(::GetLastError());
    return Done();
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

ReadResult ReadFile(const std::string& path, std::size_t maxBytes, bool secret) {
    ReadResult result;
    const std::wstring name = Wide(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        result.status =
            IsMissingError(::GetLastError()) ? ReadStatus::Missing : ReadStatus::Unreadable;
        result.error = LastReason();
        return result;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        result.status = ReadStatus::NotAFile;
        result.error = SystemReason(ERROR_DIRECTORY);
        return result;
    }
    Handle file(::CreateFileW(name.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        result.status =
            IsMissingError(::GetLastError()) ? ReadStatus::Missing : ReadStatus::Unreadable;
        result.error = LastReason();
        return result;
    }
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        result.status = ReadStatus::NotAFile;
        result.error = "Not a regular file";
        return result;
    }
    if (secret && OthersMayUse(name)) {
        result.status = ReadStatus::Unreadable;
        result.error = "others than its owner have permissions on it; let only its owner read it";
        return result;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) {
        result.status = ReadStatus::Unreadable;
        result.error = LastReason();
        return result;
    }
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        result.status = ReadStatus::TooLarge;
        result.error = SystemReason(ERROR_FILE_TOO_LARGE);
        return result;
    }
    std::string data;
    data.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr)) {
            result.status = ReadStatus::Unreadable;
            result.error = LastReason();
            return result;
        }
        if (n == 0) break;
        if (data.size() + n > maxBytes) {  // grew while we read
            result.status = ReadStatus::TooLarge;
            result.error = SystemReason(ERROR_FILE_TOO_LARGE);
            return result;
        }
        data.append(buffer, n);
    }
    result.status = ReadStatus::Ok;
    result.data = std::move(data);
    return result;
}

}  // namespace

ReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    return ReadFile(path, maxBytes, false);
}

ReadResult ReadSecretFile(const std::string& path, std::size_t maxBytes) {
    return ReadFile(path, maxBytes, true);
}

std::optional<bool> FileNamesWord(const std::string& path, std::string_view word) {
    const std::wstring name = Wide(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    Handle file(::CreateFileW(name.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return std::nullopt;
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return false;
    // What stays of one piece for the next: enough for the word in UTF-16 with the character
    // before it, which only gives that context, a word there having been seen whole already.
    const std::size_t kept = 2 * word.size() + 2;
    std::string text;
    std::size_t from = 0;
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr)) return std::nullopt;
        text.append(buffer, n);
        if (NamesWord(text, word, from, n > 0)) return true;
        if (n == 0) return false;
        if (text.size() > kept) {
            text.erase(0, text.size() - kept);
            from = 2;
        }
    }
}

Result<> ReplaceFileAtomically(const std::string& path, std::string_view data, unsigned) {
    const Result<OpenFolder> folder = OpenFolderOf(ResolveLink(path));
    if (!folder) return Fail(folder.Error());
    return ReplaceIn(folder.Value(), data, {});
}

Result<WritePlace> PlaceOf(const std::string& path) {
    const Result<OpenFolder> folder = OpenFolderOf(path);
    if (!folder) return Fail(folder.Error());
    return Describe(folder.Value());
}

Result<> WriteGuarded(const std::string& path, std::string_view data, const PlaceCheck& check) {
    const auto cannot = [&](const std::string& why) {
        return Fail("cannot write " + path + ": " + why);
    };
    const Result<OpenFolder> folder = OpenFolderOf(path);
    if (!folder) return cannot(folder.Error());
    bool refused = false;
    const LastCheck allowed = [&]() -> Result<> {
        const Result<WritePlace> place = Describe(folder.Value());
        if (!place) return Fail(place.Error());
        Result<> judged = check(place.Value());
        refused = !judged;
        return judged;
    };
    Result<> written = allowed();
    if (written) written = ReplaceIn(folder.Value(), data, allowed);
    if (written || refused) return written;
    return cannot(written.Error());
}

void RemoveLeftoverReplacements(const std::string& path) {
    const std::string target = ResolveLink(path);
    const auto slash = LastSeparator(target);
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (!name.empty()) RemoveLeftovers(folder, "." + name + ".");
}

}  // namespace pagelark
