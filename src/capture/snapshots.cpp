#include "capture/snapshots.h"

#include "document/file_utils.h"
#include "document/presentation.h"
#include "document/settings.h"

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

bool SnapshotTaker::TakeSnapshot() {
    if (!machine_.Snap) return false;
    const std::int32_t pageCount = PageCount(presentation_);
    const std::string path =
        SnapshotFileName(machine_.SnapPath, presentation_.CurrentFile, counter_ + 1, pageCount);
    if (screen_.CaptureScreenTo(path) != CaptureResult::CaptureFailed) ++counter_;
    return counter_ > pageCount;
}

}  // namespace pagelark
