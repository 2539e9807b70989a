#include "platform/machine_id.h"

#include "platform/text.h"
#include "platform/windows/wide.h"

namespace pagelark {

std::string MachineId() {
    // The installation's GUID, set up once by the system, as 32 lower-case digits.
    wchar_t guid[64] = {};
    DWORD size = sizeof guid;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", L"MachineGuid",
                       RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, guid,
                       &size) != ERROR_SUCCESS)
        return {};
    std::string id;
    for (const char c : ToLower(Narrow(guid)))
        if (c != '-' && c != '{' && c != '}') id += c;
    if (id.size() != 32 || id.find_first_not_of("0123456789abcdef") != std::string::npos) return {};
    return id;
}

}  // namespace pagelark
