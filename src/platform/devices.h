#pragma once
// The devices attached to the machine that change how the kiosk runs.

#include <string>

namespace pagelark {

// Whether a device marks itself for direct input: a touch screen, never a touchpad.
// inputDevices: a folder laid out as the kernel's input class folder, for tests; empty for
// the system's own.
bool TouchScreenPresent(const std::string& inputDevices = {});

// Whether a graphics device offers rendering: without one, GL is emulated on the CPU.
// renderNodes: a folder laid out as /dev/dri, for tests; empty for the system's own.
bool GraphicsDevicePresent(const std::string& renderNodes = {});

}  // namespace pagelark
