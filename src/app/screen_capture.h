#pragma once
// Snapshots of the screen: Windows bitmap files for the snapshot run, PNG for the remote
// services.

#include "capture/snapshots.h"

namespace pagelark {

// The whole screen in format ("BMP", "PNG"), replacing path atomically.
CaptureResult SaveScreen(const std::string& path, const char* format, std::string& error);

class QtScreenCapture final : public ScreenCapture {
  public:
    CaptureResult CaptureScreenTo(const std::string& path, std::string& error) override {
        return SaveScreen(path, "BMP", error);
    }
};

}  // namespace pagelark
