#include "platform/instance_lock.h"

#include <cstdio>
#include <mutex>
#include <set>

#include "platform/windows/wide.h"

#include <sddl.h>

namespace pagelark {
namespace {

// The owning thread waits on its mutex again with success: a second take in this process is
// told here.
std::mutex heldLock;
std::set<std::wstring>& HeldNames() {
    static std::set<std::wstring> names;
    return names;
}

// The user's SID as text: another user in the same session (run as) has a lock of their own.
std::wstring UserSid() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
    Handle token(raw);
    DWORD size = 0;
    ::GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    wchar_t* text = nullptr;
    if (size == 0 || !::GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size) ||
        !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return {};
    std::wstring sid(text);
    ::LocalFree(text);
    return sid;
}

// The folder as the system names it, one spelling for its short and long names and any case.
Result<std::wstring> FolderKey(const std::string& folder) {
    const std::wstring given = Wide(folder);
    const DWORD size = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (size == 0) return Fail("cannot use " + folder + ": " + SystemReason(::GetLastError()));
    std::wstring full(size, L'\0');
    full.resize(::GetFullPathNameW(given.c_str(), size, full.data(), nullptr));
    const DWORD attributes = ::GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Fail("cannot use " + folder + ": " + SystemReason(::GetLastError()));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return Fail(folder + " is not a folder");
    if (const DWORD longSize = ::GetLongPathNameW(full.c_str(), nullptr, 0); longSize != 0) {
        std::wstring longName(longSize, L'\0');
        longName.resize(::GetLongPathNameW(full.c_str(), longName.data(), longSize));
        if (!longName.empty()) full = longName;
    }
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/'))
        full.pop_back();
    ::CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    return full;
}

}  // namespace

InstanceLock::~InstanceLock() {
    if (!Held()) return;
    const std::lock_guard guard(heldLock);
    HeldNames().erase(Wide(path_));
    // The shared header keeps the handle as an integer.
    const auto mutex = reinterpret_cast<HANDLE>(held_);  // NOLINT(performance-no-int-to-ptr)
    ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
}

Result<InstanceLock::Taken> InstanceLock::Take(const std::string& folder) {
    if (Held()) return Taken::Yes;
    const Result<std::wstring> key = FolderKey(folder);
    if (!key) return Fail(key.Error());
    const std::wstring sid = UserSid();
    if (sid.empty()) return Fail("cannot read this user's SID: " + SystemReason(::GetLastError()));
    // The session's namespace: a second start of this user here finds it, another session's
    // kiosk does not. A mutex name holds no backslash and is short: the folder as a hash.
    std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
    for (const wchar_t c : key.Value())
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ULL;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    const std::wstring name = L"Local\\Pagelark-" + sid + L"-" + Wide(hex);

    const std::lock_guard guard(heldLock);
    if (HeldNames().contains(name)) return Taken::HeldByAnother;
    Handle mutex(::CreateMutexW(nullptr, FALSE, name.c_str()));
    if (!mutex.Valid())
        return Fail("cannot create the mutex " + Narrow(name) + ": " +
                    SystemReason(::GetLastError()));
    // It may already exist while nobody holds it (a start that is looking, like this one): only
    // a live owner counts. WAIT_ABANDONED: its owner died without letting go; it is ours now.
    switch (::WaitForSingleObject(mutex.Get(), 0)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:
            break;
        case WAIT_TIMEOUT:
            return Taken::HeldByAnother;
        default:
            return Fail("cannot take the mutex " + Narrow(name) + ": " +
                        SystemReason(::GetLastError()));
    }
    HeldNames().insert(name);
    held_ = reinterpret_cast<std::intptr_t>(mutex.Release());
    path_ = Narrow(name);
    return Taken::Yes;
}

}  // namespace pagelark
