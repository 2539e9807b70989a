#pragma once
// An outward port of the player: what it needs from the world around it; the Qt windows implement
// it and tests use fakes.

#include "core/ports/port_types.h"

namespace pagelark {

// The pointer and the cursor's display counter (shown while the counter is 0 or more).
class Desktop {
  public:
    virtual ~Desktop() = default;
    virtual ScreenPoint CursorPosition() const = 0;
    // One show (true) or hide (false) request; returns the counter afterwards.
    virtual int ShowCursor(bool show) = 0;
};

}  // namespace pagelark
