#pragma once
// The warnings the code under test gives, caught while one lives.

#include <string>
#include <string_view>
#include <vector>

#include "platform/log.h"

namespace pagelark::testing {

struct WarningLog final : LogSink {
    std::vector<std::string> lines;
    WarningLog() { SetLogSink(this); }
    ~WarningLog() override { SetLogSink(nullptr); }
    WarningLog(const WarningLog&) = delete;
    WarningLog& operator=(const WarningLog&) = delete;
    bool Enabled(LogArea) const override { return false; }
    void Write(LogArea, std::string_view) override {}
    void Warn(LogArea, std::string_view line) override { lines.emplace_back(line); }
};

}  // namespace pagelark::testing
