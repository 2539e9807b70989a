#include "platform/process_memory.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <system_error>

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

// A limit file's bytes as KiB; 0 for "max" or a number too large to be a limit.
long long LimitKiB(const std::string& path) {
    const ReadResult read = ReadWholeFile(path, 64);
    if (read.status != ReadStatus::Ok) return 0;
    long long bytes = 0;
    const auto [end, error] =
        std::from_chars(read.data.data(), read.data.data() + read.data.size(), bytes);
    (void)end;
    constexpr long long kUnlimited = 1LL << 60;  // version 1 writes "no limit" as about 2^63
    return error == std::errc() && bytes > 0 && bytes < kUnlimited ? bytes / 1024 : 0;
}

long long Smaller(long long a, long long b) {
    if (a == 0) return b;
    if (b == 0) return a;
    return std::min(a, b);
}

// The tightest limit on the group and its parents under one hierarchy's folder.
long long GroupLimitKiB(const std::string& hierarchy, std::string path, const char* file) {
    long long limit = 0;
    while (true) {
        limit = Smaller(limit, LimitKiB(hierarchy + path + "/" + file));
        if (path.empty() || path == "/") return limit;
        path.erase(path.rfind('/'));
    }
}

}  // namespace

long long MemoryLimitKiB(const std::string& root) {
    constexpr std::size_t kProcFileBytes = std::size_t{64} * 1024;
    const ReadResult meminfo = ReadWholeFile(root + "/proc/meminfo", kProcFileBytes);
    long long limit = meminfo.status == ReadStatus::Ok ? NumberAfter(meminfo.data, "MemTotal:") : 0;
    const ReadResult groups = ReadWholeFile(root + "/proc/self/cgroup", kProcFileBytes);
    if (groups.status != ReadStatus::Ok) return limit;
    const std::string cgroups = root + "/sys/fs/cgroup";
    std::string_view lines = groups.data;
    while (!lines.empty()) {
        const std::size_t end = std::min(lines.find('\n'), lines.size());
        const std::string_view line = lines.substr(0, end);
        lines.remove_prefix(std::min(end + 1, lines.size()));
        // "ID:CONTROLLERS:PATH"; version 2 has no controllers.
        const std::size_t first = line.find(':'), second = line.find(':', first + 1);
        if (second == std::string_view::npos) continue;
        const std::string_view controllers = line.substr(first + 1, second - first - 1);
        const std::string path(line.substr(second + 1));
        if (controllers.empty()) {
            limit = Smaller(limit, GroupLimitKiB(cgroups, path, "memory.max"));
            limit = Smaller(limit, GroupLimitKiB(cgroups + "/unified", path, "memory.max"));
        } else if (controllers == "memory") {
            limit =
                Smaller(limit, GroupLimitKiB(cgroups + "/memory", path, "memory.limit_in_bytes"));
        }
    }
    return limit;
}

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

int CurrentProcessId() {
    return static_cast<int>(::getpid());
}

}  // namespace pagelark
