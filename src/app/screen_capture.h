#pragma once
// Snapshots of the screen: Windows bitmap files for the snapshot run, PNG for the remote
// services.

#include "capture/snapshots.h"

namespace pagelark {

// The whole screen encoded in format ("BMP", "PNG"); SaveFailed, with error, when it cannot
// be encoded.
CaptureResult GrabScreen(const char* format, std::string& picture, std::string& error);

class QtScreenCapture final : public ScreenCapture {
  public:
    CaptureResult CaptureScreenTo(const std::string& path, std::string& error) override;
};

}  // namespace pagelark
