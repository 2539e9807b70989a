#pragma once
// A private X server for one test: Xvfb on a display number it picks itself.

#include <memory>
#include <string>
#include <vector>

#include "e2e/support/colors.h"
#include "e2e/support/process.h"
#include "support/temp_folder.h"

namespace pagelark::e2e {

class Xvfb {
  public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    // Returns once the server listens; throws when it does not within 30 s.
    Xvfb();

    std::string Display() const { return ":" + std::to_string(number_); }
    // This process's environment with DISPLAY naming this server.
    std::vector<std::string> Environment() const;
    // Paints the root window in one colour (xsetroot).
    void SetRootColor(Rgb color) const;

  private:
    testing::TempFolder folder_;
    std::unique_ptr<Process> process_;
    int number_ = -1;
};

}  // namespace pagelark::e2e
