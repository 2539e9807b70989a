#pragma once
// Snapshots of the screen: Windows bitmap files for the snapshot run, PNG for the remote
// services.

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "capture/snapshots.h"

class QWidget;

namespace pagelark {

class QtScreenCapture final : public ScreenCapture {
  public:
    // window: the show's, once it is made.
    explicit QtScreenCapture(std::function<QWidget*()> window) : window_(std::move(window)) {}

    // The whole screen encoded in format ("BMP", "PNG"), or where the screen cannot be read (a
    // Wayland compositor shows a client nothing but its own windows) the show's window with
    // what it holds; none when neither can be read, the reason when the picture cannot be
    // encoded.
    Result<std::optional<std::string>> Grab(const char* format) const;

    Result<Capture> CaptureScreenTo(const std::string& path) override;

  private:
    std::function<QWidget*()> window_;
};

}  // namespace pagelark
