#pragma once
// An outward port of the player: the display's power, for the screen's hours. The kiosk
// implements it with the X server's power saving and, for a television, its remote control
// line; tests use fakes. The player shows black while dark all the same, so a display that
// offers neither is dark too.

namespace pagelark {

class DisplayPower {
  public:
    virtual ~DisplayPower() = default;
    // On or into power saving; tellTelevision: also a television on the remote control line.
    // Never blocks the caller: what takes time runs on its own and gives up after a while.
    virtual void SetPower(bool on, bool tellTelevision) = 0;
};

}  // namespace pagelark
