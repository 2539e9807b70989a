#pragma once
// An outward port of the player: what it needs from the world around it; the Qt windows implement
// it and tests use fakes.

namespace pagelark {

// Page snapshots; true when the snapshot run is complete, or has failed, and the program
// should end. pageOnShowTaken: the page on show stayed for a page that failed to load and is
// already taken; the number goes to the failed page, with no picture.
class Snapshots {
  public:
    virtual ~Snapshots() = default;
    virtual bool TakeSnapshot(bool pageOnShowTaken) = 0;
};

}  // namespace pagelark
