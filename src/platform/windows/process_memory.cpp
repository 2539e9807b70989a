#include "platform/process_memory.h"

#include "platform/windows/wide.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <map>

namespace pagelark {

ProcessMemory MemoryOfProcess(int pid) {
    Handle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
    PROCESS_MEMORY_COUNTERS_EX counters{};
    if (!process.Valid() ||
        !::GetProcessMemoryInfo(
            process.Get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return {};
    // Windows gives no proportional size: the working set stands for it.
    return {static_cast<long long>(counters.WorkingSetSize / 1024),
            static_cast<long long>(counters.PrivateUsage / 1024)};
}

std::vector<int> ProcessTree(int pid) {
    std::multimap<int, int> children;
    Handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot.Valid() && ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry))
        children.emplace(static_cast<int>(entry.th32ParentProcessID),
                         static_cast<int>(entry.th32ProcessID));
    std::vector<int> tree{pid};
    for (std::size_t i = 0; i < tree.size() && tree.size() < 100000; ++i) {
        const auto [first, last] = children.equal_range(tree[i]);
        for (auto it = first; it != last; ++it)
            if (it->second != tree[i]) tree.push_back(it->second);
    }
    return tree;
}

int CurrentProcessId() {
    return static_cast<int>(::GetCurrentProcessId());
}

long long MemoryLimitKiB(const std::string&) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return ::GlobalMemoryStatusEx(&status) ? static_cast<long long>(status.ullTotalPhys / 1024) : 0;
}

}  // namespace pagelark
