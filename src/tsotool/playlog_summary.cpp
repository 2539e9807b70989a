#include "tsotool/playlog_summary.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <sstream>
#include <tuple>

#include "playlog/play_log.h"

namespace pagelark {

namespace {

struct PageSum {
    int shown = 0;
    int failed = 0;
    double seconds = 0.0;
};

std::string Duration(double seconds) {
    const auto whole = static_cast<long long>(std::llround(seconds));
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                  whole % 60);
    return text;
}

}  // namespace

Result<std::string> SummarisePlayLog(const std::vector<PlayLogText>& files,
                                     std::vector<std::string>& notes) {
    std::map<std::tuple<int, std::string>, PageSum> pages;
    std::optional<PlayRecord> first, last;
    double lastEnd = 0.0;
    int lines = 0;
    for (const PlayLogText& file : files) {
        std::istringstream in(file.text);
        int number = 0, firstBad = 0, bad = 0, good = 0;
        for (std::string line; std::getline(in, line);) {
            ++number;
            if (line.empty()) continue;
            const std::optional<PlayRecord> record = ParsePlayLogLine(line);
            if (!record) {
                if (bad++ == 0) firstBad = number;
                continue;
            }
            ++good;
            ++lines;
            PageSum& sum = pages[{record->page, record->address}];
            sum.seconds += record->seconds;
            ++(record->loaded ? sum.shown : sum.failed);
            if (!first || record->since < first->since) first = record;
            if (!last || record->since + record->seconds > lastEnd) {
                last = record;
                lastEnd = record->since + record->seconds;
            }
        }
        // Said once a file: a torn last line, or a file that is no play log at all.
        if (bad > 0 && good == 0)
            return Fail("cannot read '" + file.name +
                        "': no line of it is one the kiosk writes, so it is no play log");
        if (bad > 0)
            notes.push_back(file.name + " line " + std::to_string(firstBad) +
                            (bad > 1 ? " and " + std::to_string(bad - 1) + " more are" : " is") +
                            " no play log line (torn by a power cut?): left out");
    }
    if (!first) return std::string("No page shown in the play log.\n");
    std::string out = std::to_string(lines) + " lines, from " +
                      LocalIsoTime(first->since, first->zoneOffset) + " to " +
                      LocalIsoTime(lastEnd, last->zoneOffset) + "\n" +
                      "Page  Shown  Failed  On show    Address\n";
    for (const auto& [key, sum] : pages) {
        char row[96];
        std::snprintf(row, sizeof row, "%4d  %5d  %6d  %-9s  ", std::get<0>(key), sum.shown,
                      sum.failed, Duration(sum.seconds).c_str());
        out += row + std::get<1>(key) + "\n";
    }
    return out;
}

}  // namespace pagelark
