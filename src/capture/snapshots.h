#pragma once
// Snapshot mode: every page whose time ran out is saved as a bitmap of the whole screen, and
// the program ends once each page and the start page have been captured.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/ports/snapshots_port.h"
#include "platform/files.h"
#include "platform/result.h"

namespace pagelark {

// Decimal digits of pageCount + 1, the width every snapshot number is padded to. Counted
// exactly: 9 pages give 2 digits, 99 give 3.
int SnapshotNumberWidth(std::int32_t pageCount);

// snapPath (with its separator, or "" for the current folder), the presentation's base name,
// number zero-padded to the width, ".BMP". A wider number is written in full.
std::string SnapshotFileName(std::string_view snapPath, std::string_view currentFile,
                             std::int32_t number, std::int32_t pageCount);

struct WritePlace;

// Where a snapshot asked for from outside may go: a new file or a regular file it replaces,
// never a link, a folder, a device or pipe, nor one of own (the kiosk's own files, and
// anything in its own folders) however the path reaches it, a hard link included.
class SnapshotGuard {
  public:
    // Files and folders of own are taken as they stand now.
    explicit SnapshotGuard(const std::vector<std::string>& own);

    // Fails, saying why, when nothing may be written at path as things stand.
    Result<> Check(const std::string& path) const;
    // Writes picture at path, the rules put again to the folder the write opened and to what
    // its name holds just before the rename; a failure is the refusal or the reason.
    Result<> Write(const std::string& path, std::string_view picture) const;

  private:
    Result<> Judge(const std::string& path, const WritePlace& place) const;

    std::vector<std::pair<FileId, std::string>> folders_;  // with their names
    std::vector<FileId> files_;                            // own, and all in the folders
    // Own files not there yet: their folder and name.
    std::vector<std::pair<FileId, std::string>> unborn_;
};

// What a screen capture came to when nothing failed to be written.
enum class Capture { Saved, CaptureFailed };

// Copies the whole screen, at its size and depth, to a bitmap file: CaptureFailed when the
// screen cannot be read, the reason when the picture cannot be encoded or written.
class ScreenCapture {
  public:
    virtual ~ScreenCapture() = default;
    virtual Result<Capture> CaptureScreenTo(const std::string& path) = 0;
};

// Screen grabs that fail in a row before the run gives up.
inline constexpr int kMaxFailedCaptures = 5;

class SnapshotTaker final : public Snapshots {
  public:
    explicit SnapshotTaker(ScreenCapture& screen) : screen_(screen) {}

    // Nothing at all while Snap is off. A failed copy of the screen is not counted and is
    // tried again at the next page, kMaxFailedCaptures times in a row at most; a picture
    // that cannot be saved ends the run at once. Either way Run() then fails, saying why.
    bool TakeSnapshot(bool pageOnShowTaken, const SnapshotOf& show) override;
    std::int32_t SnapshotCounter() const { return counter_; }
    const Result<>& Run() const { return run_; }

  private:
    ScreenCapture& screen_;
    std::int32_t counter_ = 0;
    int failedCaptures_ = 0;
    Result<> run_;
};

}  // namespace pagelark
