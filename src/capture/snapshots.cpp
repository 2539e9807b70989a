#include "capture/snapshots.h"

#include "model/presentation.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "settings/settings.h"

namespace pagelark {

int SnapshotNumberWidth(std::int32_t pageCount) {
    // Integer digits, not ln(N + 1) / ln(10): the quotient falls just short of 3 at 1000.
    std::int64_t n = static_cast<std::int64_t>(pageCount) + 1;
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

std::string SnapshotFileName(std::string_view snapPath, std::string_view currentFile,
                             std::int32_t number, std::int32_t pageCount) {
    std::string digits = std::to_string(number);
    const auto width = static_cast<std::size_t>(SnapshotNumberWidth(pageCount));
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return std::string(snapPath) + StripExtension(FileNamePart(currentFile)) + digits + ".BMP";
}

std::string SnapshotRefusal(const std::string& path, const std::vector<std::string>& own) {
    if (!IsAbsolutePath(path)) return "the snapshot needs a full path";
    switch (KindOf(path)) {
        case EntryKind::Folder:
            return path + " is a folder";
        case EntryKind::Link:
            // Whatever it points to, it is the file itself that must be named.
            return path + " is a link";
        case EntryKind::Other:
            return path + " is not a regular file";
        case EntryKind::Missing:
        case EntryKind::File:
            break;
    }
    for (const std::string& mine : own) {
        if (SameFile(path, mine)) return path + " is one of the kiosk's own files";
        if (DirExists(mine) && IsInFolder(path, mine))
            return path + " is in the kiosk's own folder " + mine;
    }
    return "";
}

bool SnapshotTaker::TakeSnapshot(bool pageOnShowTaken) {
    if (!machine_.Snap) return false;
    if (!failure_.empty()) return true;
    const std::int32_t pageCount = PageCount(presentation_);
    if (pageOnShowTaken) return ++counter_ > pageCount;
    const std::string path =
        SnapshotFileName(machine_.SnapPath, presentation_.CurrentFile, counter_ + 1, pageCount);
    std::string error;
    switch (screen_.CaptureScreenTo(path, error)) {
        case CaptureResult::Saved:
            failedCaptures_ = 0;
            ++counter_;
            break;
        case CaptureResult::SaveFailed:
            failure_ = "cannot save the snapshot '" + path + "': " + error;
            return true;
        case CaptureResult::CaptureFailed:
            if (++failedCaptures_ < kMaxFailedCaptures) return false;
            failure_ = "cannot capture the screen for '" + path + "'";
            return true;
    }
    return counter_ > pageCount;
}

}  // namespace pagelark
