#pragma once
// An outward port of the player: what it needs from the world around it; the Qt windows implement
// it and tests use fakes.

#include <cstdint>
#include <string>

namespace pagelark {

// What a snapshot is of, as the show stands: the machine's Snap and SnapPath, the file that
// names the pictures and the page count that ends the run.
struct SnapshotOf {
    bool snap = false;
    std::string folder;
    std::string file;
    std::int32_t pageCount = 0;
};

// Page snapshots; true when the snapshot run is complete, or has failed, and the program
// should end. pageOnShowTaken: the page on show stayed for a page that failed to load and is
// already taken; the number goes to the failed page, with no picture.
class Snapshots {
  public:
    virtual ~Snapshots() = default;
    virtual bool TakeSnapshot(bool pageOnShowTaken, const SnapshotOf& show) = 0;
};

}  // namespace pagelark
