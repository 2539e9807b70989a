#include "platform/devices.h"

#include "platform/windows/wide.h"

namespace pagelark {

bool TouchScreenPresent(const std::string&) {
    const int digitizer = ::GetSystemMetrics(SM_DIGITIZER);
    return (digitizer & (NID_INTEGRATED_TOUCH | NID_EXTERNAL_TOUCH)) != 0 &&
           (digitizer & NID_READY) != 0;
}

bool GraphicsDevicePresent(const std::string&) {
    // Every Windows display driver renders; the basic one is the CPU's, which Qt sees itself.
    return true;
}

}  // namespace pagelark
