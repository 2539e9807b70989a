#pragma once
// The play log: each page shown as one line of JSON in playlog.jsonl in the program's state
// folder (StateFolder(): $XDG_STATE_HOME/pagelark, the local application data folder's Pagelark
// on Windows), appended and flushed per page, so a crash loses no line written. The file is rotated
// by size and when the day changes (playlog.1.jsonl is the newest old one) and at most a few old
// ones are kept, so the log never fills the disk.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ports/play_record.h"
#include "platform/append_file.h"

namespace pagelark {

class Clock;

inline constexpr std::string_view kPlayLogName = "playlog";

// The system's state folder for the program (StateFolder()); "" when there is none.
std::string PlayLogFolder();
// The log in folder and its rotated files, oldest first, as they are there now.
std::vector<std::string> PlayLogFiles(const std::string& folder);

// One line, without its line end: valid JSON whatever bytes the address holds.
std::string PlayLogLine(const PlayRecord& record);
// A line as written; none for anything else (a line torn by a power cut).
std::optional<PlayRecord> ParsePlayLogLine(std::string_view line);
// "2026-03-01T12:00:05+01:00": the local time at an instant with the zone's offset.
std::string LocalIsoTime(double epochSeconds, std::int32_t zoneOffset);

struct PlayLogLimits {
    // A file is rotated before a line takes it past this size.
    std::uintmax_t maxBytes = std::uintmax_t{1} << 20;
    int keep = 10;  // rotated files kept; the oldest go
};

class PlayLogFile final : public PlayLog {
  public:
    // The folder is made, private, when missing. clock: the local day, for rotation.
    PlayLogFile(std::string folder, const Clock& clock, PlayLogLimits limits = {});
    ~PlayLogFile() override;
    PlayLogFile(const PlayLogFile&) = delete;
    PlayLogFile& operator=(const PlayLogFile&) = delete;

    // Written whole with one write and flushed; a failure is logged once, until a line is
    // written again, and never reaches the show. Each line also goes to onLine.
    void PageShown(const PlayRecord& record) override;
    std::function<void(const std::string& line)> onLine;
    // The last line reached the file.
    bool Writing() const { return !failing_; }

  private:
    bool Write(const std::string& line, std::string& why);
    bool Open(std::string& why);
    void Close();
    // Moves the file and the rotated ones up one generation; the file is closed after it.
    bool Rotate(std::string& why);
    std::string PathOf(int generation) const;

    std::string folder_;
    const Clock& clock_;
    PlayLogLimits limits_;
    std::unique_ptr<AppendFile> file_;
    std::uintmax_t size_ = 0;
    double day_ = 0.0;  // the local day of the file's lines
    bool endsTorn_ = false;
    bool failing_ = false;
    bool rotationDue_ = false;  // a rotation failed and is tried again at the next line
};

}  // namespace pagelark
