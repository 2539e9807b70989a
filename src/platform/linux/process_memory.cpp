#include "platform/process_memory.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "platform/file_io.h"

namespace pagelark {
namespace {

long long NumberAfter(std::string_view text, std::string_view label) {
    const auto at = text.find(label);
    if (at == std::string_view::npos) return 0;
    text.remove_prefix(at + label.size());
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    long long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The parent's id from /proc/PID/stat: ") S PPID ..." after the command name, which may hold
// anything but ends at the last ')'.
int ParentOf(const std::string& pid) {
    const ReadResult stat = ReadWholeFile("/proc/" + pid + "/stat", 4096);
    const auto close = stat.data.rfind(')');
    if (stat.status != ReadStatus::Ok || close == std::string::npos) return 0;
    const std::string_view rest = std::string_view(stat.data).substr(close);
    return rest.size() < 4 ? 0 : static_cast<int>(NumberAfter(rest.substr(3), " "));
}

}  // namespace

ProcessMemory MemoryOfProcess(int pid) {
    const ReadResult read = ReadWholeFile("/proc/" + std::to_string(pid) + "/smaps_rollup");
    if (read.status != ReadStatus::Ok) return {};
    const std::string_view text = read.data;
    return {NumberAfter(text, "\nPss:"),
            NumberAfter(text, "\nPrivate_Clean:") + NumberAfter(text, "\nPrivate_Dirty:")};
}

std::vector<int> ProcessTree(int pid) {
    std::multimap<int, int> children;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos) continue;
        children.emplace(ParentOf(name), std::stoi(name));
    }
    std::vector<int> tree{pid};
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const auto [first, last] = children.equal_range(tree[i]);
        for (auto it = first; it != last; ++it)
            tree.push_back(it->second);
    }
    return tree;
}

long long PssKiB(const std::vector<int>& processes) {
    long long total = 0;
    for (int pid : processes)
        total += MemoryOfProcess(pid).pssKiB;
    return total;
}

int CurrentProcessId() {
    return static_cast<int>(::getpid());
}

}  // namespace pagelark
