#pragma once
// An outward port of the player: what it needs from the world around it; the Qt windows implement
// it and tests use fakes.

#include <string>

namespace pagelark {

// Starts another program, minimised and with the focus (the diagnostic key).
class ProgramLauncher {
  public:
    virtual ~ProgramLauncher() = default;
    virtual void StartMinimized(const std::string& program) = 0;
};

}  // namespace pagelark
