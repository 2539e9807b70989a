#pragma once
// An outward port of the player: what it needs from the world around it; the Qt windows implement
// it and tests use fakes.

namespace pagelark {

// The configuration window: opened modeless; it reports its closing to the player.
class ConfigWindow {
  public:
    virtual ~ConfigWindow() = default;
    virtual void Open() = 0;
};

}  // namespace pagelark
