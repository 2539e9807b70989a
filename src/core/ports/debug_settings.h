#pragma once
// An outward port of the player: what it needs from the world around it; the app implements
// it over the settings store and tests use fakes.

#include <string>

namespace pagelark {

// The diagnostic key's settings, read when it is pressed: the program it starts (IEPath) while
// the Debug setting, looked up in file and the stores, is on; "" otherwise.
class DebugSettings {
  public:
    virtual ~DebugSettings() = default;
    virtual std::string DebugProgram(const std::string& file) const = 0;
};

}  // namespace pagelark
