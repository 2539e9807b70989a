#include "platform/desktop_defaults.h"

#include "platform/windows/wide.h"

#include <knownfolders.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace pagelark {

std::string DocumentsFolder() {
    wchar_t* folder = nullptr;
    std::string documents;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DEFAULT, nullptr, &folder)))
        documents = Narrow(folder);
    ::CoTaskMemFree(folder);
    if (documents.empty()) documents = HomeFolder();
    // A drive's root keeps its separator.
    while (documents.size() > 3 && (documents.back() == '\\' || documents.back() == '/'))
        documents.pop_back();
    return documents;
}

std::string EnvironmentValue(const char* name) {
    const std::wstring wide = Wide(name);
    std::wstring value(64, L'\0');
    // The size grows between calls when another thread sets the variable.
    for (;;) {
        const DWORD size =
            ::GetEnvironmentVariableW(wide.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (size == 0) return {};
        if (size < value.size()) return Narrow(std::wstring_view(value.data(), size));
        value.resize(size);
    }
}

std::string HomeFolder() {
    wchar_t* folder = nullptr;
    std::string home;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Profile, KF_FLAG_DEFAULT, nullptr, &folder)))
        home = Narrow(folder);
    ::CoTaskMemFree(folder);
    return home;
}

std::string StateFolder() {
    wchar_t* folder = nullptr;
    std::string local;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &folder)))
        local = Narrow(folder);
    ::CoTaskMemFree(folder);
    return local.empty() ? std::string() : local + "\\Pagelark";
}

std::string SystemManagedFolder() {
    return {};
}

std::string DefaultHtmlCommand() {
    // The command of the open verb of what ".htm", else ".html", is associated with: the
    // user's choice before the machine's, as the shell itself looks it up.
    for (const wchar_t* extension : {L".htm", L".html"}) {
        DWORD size = 0;
        if (::AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, extension, L"open", nullptr,
                                &size) != S_FALSE ||
            size == 0)
            continue;
        std::wstring command(size, L'\0');
        if (FAILED(::AssocQueryStringW(ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, extension, L"open",
                                       command.data(), &size)))
            continue;
        command.resize(wcsnlen(command.c_str(), command.size()));
        if (!command.empty()) return Narrow(command);
    }
    return {};
}

}  // namespace pagelark
