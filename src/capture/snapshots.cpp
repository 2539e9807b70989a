#include "capture/snapshots.h"

#include <algorithm>

#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/paths.h"

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

SnapshotGuard::SnapshotGuard(const std::vector<std::string>& own) {
    for (const std::string& mine : own) {
        if (DirExists(mine)) {
            if (const auto id = IdOf(mine)) folders_.emplace_back(*id, mine);
            const std::vector<FileId> inside = FilesIn(mine);
            files_.insert(files_.end(), inside.begin(), inside.end());
        } else if (const auto id = IdOf(mine)) {
            files_.push_back(*id);
        } else if (const auto folder = IdOf(FolderPart(mine))) {
            unborn_.emplace_back(*folder, FileNamePart(mine));
        }
    }
}

std::string SnapshotGuard::Judge(const std::string& path, const WritePlace& place) const {
    switch (place.kind) {
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
    for (const auto& [folder, name] : folders_) {
        if (std::ranges::find(place.folders, folder) != place.folders.end())
            return path + " is in the kiosk's own folder " + name;
    }
    const bool mine = place.kind == EntryKind::File
                          ? std::ranges::find(files_, place.id) != files_.end()
                          : std::ranges::find(unborn_, std::pair(place.folders.front(),
                                                                 place.name)) != unborn_.end();
    return mine ? path + " is one of the kiosk's own files" : "";
}

std::string SnapshotGuard::Refusal(const std::string& path) const {
    if (!IsAbsolutePath(path)) return "the snapshot needs a full path";
    WritePlace place;
    std::string error;
    if (!PlaceOf(path, place, error)) return "cannot write " + path + ": " + error;
    return Judge(path, place);
}

std::string SnapshotGuard::Write(const std::string& path, std::string_view picture) const {
    if (std::string refusal = Refusal(path); !refusal.empty()) return refusal;
    std::string error;
    bool refused = false;
    const auto check = [&](const WritePlace& place) { return Judge(path, place); };
    if (WriteGuarded(path, picture, check, error, refused)) return "";
    return refused ? error : "cannot write " + path + ": " + error;
}

bool SnapshotTaker::TakeSnapshot(bool pageOnShowTaken, const SnapshotOf& show) {
    if (!show.snap) return false;
    if (!failure_.empty()) return true;
    const std::int32_t pageCount = show.pageCount;
    if (pageOnShowTaken) return ++counter_ > pageCount;
    const std::string path = SnapshotFileName(show.folder, show.file, counter_ + 1, pageCount);
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
