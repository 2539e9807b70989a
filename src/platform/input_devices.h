#pragma once
// The input devices attached to the machine.

#include <string>

namespace pagelark {

// Whether a device marks itself for direct input: a touch screen, never a touchpad.
// inputDevices: a folder laid out as the kernel's input class folder, for tests; empty for
// the system's own.
bool TouchScreenPresent(const std::string& inputDevices = {});

}  // namespace pagelark
