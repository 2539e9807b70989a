#pragma once
// Debug lines for an operator who asks for them: a line goes out only when the sink the
// program installed at start says its area is enabled, and the text is only built then.
// Warnings (a failure nobody would otherwise notice) always go out.

#include <sstream>
#include <string>
#include <string_view>

namespace pagelark {

enum class LogArea { Player, Stage, Document, Toolbars, Config, Maintenance, Settings, Mqtt };

class LogSink {
  public:
    virtual ~LogSink() = default;
    virtual bool Enabled(LogArea area) const = 0;
    virtual void Write(LogArea area, std::string_view line) = 0;
    // A failure the operator must hear of: written whatever the debug setting.
    virtual void Warn(LogArea, std::string_view) {}
};

// One sink for the whole run, installed before anything logs (nullptr: nothing is written).
void SetLogSink(LogSink* sink);
bool LogEnabled(LogArea area);
void WriteLog(LogArea area, std::string_view line);
void WriteWarning(LogArea area, std::string_view line);

// An address or other text from outside as a line shows it: past a few hundred bytes, its start
// and its length, so that no caller fills the log with it.
std::string Clipped(std::string_view text);

// Log(LogArea::Player, "page ", 3, " on show"): the parts streamed into one line.
template <class... Parts>
void Log(LogArea area, const Parts&... parts) {
    if (!LogEnabled(area)) return;
    std::ostringstream line;
    (line << ... << parts);
    WriteLog(area, line.str());
}

template <class... Parts>
void Warn(LogArea area, const Parts&... parts) {
    std::ostringstream line;
    (line << ... << parts);
    WriteWarning(area, line.str());
}

}  // namespace pagelark
