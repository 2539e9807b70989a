#pragma once
// What the kiosk's benchmarks share: the presentations of coloured pages they play, the
// middle of their readings, the page changes of a trace and the whole process tree's memory,
// steadied: PSS swings by tens of MiB with the pages' garbage collections, and falls when
// other programs map the same libraries; private memory does not, and is where a leak grows.

#include <sys/types.h>
#include <algorithm>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/support/harness.h"
#include "e2e/support/http_server.h"
#include "platform/process_memory.h"

namespace pagelark::bench {

// One page a colour, each on show for seconds; prefix + colour is its address on the page
// server ("/" for a plain page, "/heavy?color=" for one that holds memory).
inline std::string ColourShow(const e2e::HttpServer& server, const std::string& prefix,
                              const std::vector<std::string>& colors, int seconds) {
    std::string text = "[Tessaro]\nDefaultTime=" + std::to_string(seconds) + "\nMaxTime=30\n";
    for (std::size_t k = 0; k < colors.size(); ++k)
        text += "[Page" + std::to_string(k + 1) + "]\nURL=" + server.Url(prefix + colors[k]) + "\n";
    return text;
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The moments of the "front" lines of a PAGELARK_TRACE file, which it shares with others
// ("renderer <browser> <pid>").
inline std::vector<long long> FrontMoments(const std::string& file) {
    std::vector<long long> moments;
    std::ifstream in(file);
    std::string word;
    int browser;
    long long value;
    while (in >> word >> browser >> value)
        if (word == "front") moments.push_back(value);
    return moments;
}

// The PSS in KiB of a process group's running processes.
inline long long GroupPssKiB(pid_t group) {
    return PssKiB(e2e::ProcessesInGroup(group));
}

struct TreeMemory {
    double pssMiB = 0;
    double privateMiB = 0;
    double leaderPrivateMiB = 0;  // the group's leader alone: the kiosk without its engine
};

// The median of five readings a second apart.
inline TreeMemory SettledMemory(pid_t group) {
    std::vector<TreeMemory> samples;
    for (int i = 0; i < 5; ++i) {
        if (i > 0) std::this_thread::sleep_for(std::chrono::seconds(1));
        TreeMemory m{static_cast<double>(GroupPssKiB(group)) / 1024.0, 0,
                     static_cast<double>(MemoryOfProcess(group).privateKiB) / 1024.0};
        for (pid_t pid : e2e::ProcessesInGroup(group))
            m.privateMiB += static_cast<double>(MemoryOfProcess(pid).privateKiB) / 1024.0;
        samples.push_back(m);
    }
    const auto median = [&samples](double TreeMemory::*field) {
        std::vector<double> values;
        for (const auto& s : samples)
            values.push_back(s.*field);
        return Median(values);
    };
    return {median(&TreeMemory::pssMiB), median(&TreeMemory::privateMiB),
            median(&TreeMemory::leaderPrivateMiB)};
}

}  // namespace pagelark::bench
