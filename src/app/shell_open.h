#pragma once
// The shell's "open" verb here: the program started on its own, in its folder.

#include "shell/default_browser.h"

namespace pagelark {

class QtShell final : public Shell {
  public:
    bool Open(const ShellCommand& command) override;
};

}  // namespace pagelark
