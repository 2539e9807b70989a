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

Result<> SnapshotGuard::Judge(const std::string& path, const WritePlace& place) const {
    switch (place.kind) {
        case EntryKind::Folder:
            return Fail(path + " is a folder");
        case EntryKind::Link:
            // Whatever it points to, it is the file itself that must be named.
            return Fail(path + " is a link");
        case EntryKind::Other:
            return Fail(path + " is not a regular file");
        case EntryKind::Missing:
        case EntryKind::File:
            break;
    }
    for (const auto& [folder, name] : folders_) {
        if (std::ranges::find(place.folders, folder) != place.folders.end())
            return Fail(path + " is in the kiosk's own folder " + name);
    }
    const bool mine = place.kind == EntryKind::File
                          ? std::ranges::find(files_, place.id) != files_.end()
                          : std::ranges::any_of(unborn_, [&](const auto& unborn) {
                                return unborn.first == place.folders.front() &&
                                       SameFileName(unborn.second, place.name);
                            });
    if (mine) return Fail(path + " is one of the kiosk's own files");
    return Done();
}

Result<> SnapshotGuard::Check(const std::string& path) const {
    if (!IsAbsolutePath(path)) return Fail("the snapshot needs a full path");
    const Result<WritePlace> place = PlaceOf(path);
    if (!place) return Fail("cannot write " + path + ": " + place.Error());
    return Judge(path, place.Value());
}

Result<> SnapshotGuard::Write(const std::string& path, std::string_view picture) const {
    if (Result<> allowed = Check(path); !allowed) return allowed;
    return WriteGuarded(path, picture, [&](const WritePlace& place) { return Judge(path, place); });
}

bool SnapshotTaker::TakeSnapshot(bool pageOnShowTaken, const SnapshotOf& show) {
    if (!show.snap) return false;
    if (!run_) return true;
    const std::int32_t pageCount = show.pageCount;
    if (pageOnShowTaken) return ++counter_ > pageCount;
    const std::string path = SnapshotFileName(show.folder, show.file, counter_ + 1, pageCount);
    const Result<Capture> captured = screen_.CaptureScreenTo(path);
    if (!captured) {
        run_ = Fail("cannot save the snapshot '" + path + "': " + captured.Error());
        return true;
    }
    switch (captured.Value()) {
        case Capture::Saved:
            failedCaptures_ = 0;
            ++counter_;
            break;
        case Capture::CaptureFailed:
            if (++failedCaptures_ < kMaxFailedCaptures) return false;
            run_ = Fail("cannot capture the screen for '" + path + "'");
            return true;
    }
    return counter_ > pageCount;
}

}  // namespace pagelark
