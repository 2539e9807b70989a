#pragma once
// Snapshots of the screen: Windows bitmap files for the snapshot run, PNG for the remote
// services.

#include <optional>
#include <string>

#include "capture/snapshots.h"

namespace pagelark {

// The whole screen encoded in format ("BMP", "PNG"); none when the screen cannot be read, the
// reason when the picture cannot be encoded.
Result<std::optional<std::string>> GrabScreen(const char* format);

class QtScreenCapture final : public ScreenCapture {
  public:
    Result<Capture> CaptureScreenTo(const std::string& path) override;
};

}  // namespace pagelark
