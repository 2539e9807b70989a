#pragma once
// Snapshots of the screen as Windows bitmap files.

#include "capture/snapshots.h"

namespace pagelark {

class QtScreenCapture final : public ScreenCapture {
  public:
    CaptureResult CaptureScreenTo(const std::string& path, std::string& error) override;
};

}  // namespace pagelark
