#include "platform/process_memory.h"

namespace pagelark {

long long PssKiB(const std::vector<int>& processes) {
    long long total = 0;
    for (int pid : processes)
        total += MemoryOfProcess(pid).pssKiB;
    return total;
}

}  // namespace pagelark
