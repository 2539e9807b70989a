#pragma once
// An outward port of the player: what it needs from the world around it; the Qt windows implement
// it and tests use fakes.

namespace pagelark {

// Whether the system reports a working network connection.
class Connectivity {
  public:
    virtual ~Connectivity() = default;
    virtual bool IsConnected() const = 0;
};

}  // namespace pagelark
