#pragma once
// The memory a process, or a process and everything it started, holds: what the kiosk reports
// of itself and what the benchmarks read of it.

#include <string>
#include <vector>

namespace pagelark {

struct ProcessMemory {
    // Proportional set size: shared pages count in part, so the sum over processes is fair.
    long long pssKiB = 0;
    // Pages no other process maps: where a leak grows.
    long long privateKiB = 0;
};

// Zeros when the process is gone or not ours to read.
ProcessMemory MemoryOfProcess(int pid);
// The process and its descendants, the process first.
std::vector<int> ProcessTree(int pid);
// Their proportional memory together: of a whole tree, say.
long long PssKiB(const std::vector<int>& processes);
int CurrentProcessId();
// The memory this process may use: the machine's, or less where its control group (version 1
// or 2, itself or a parent) sets a limit; 0 when unknown. root: a folder laid out as the
// system's root (/proc, /sys/fs/cgroup), for tests; empty for the system's own.
long long MemoryLimitKiB(const std::string& root = {});

}  // namespace pagelark
