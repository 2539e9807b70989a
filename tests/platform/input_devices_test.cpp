#include "platform/input_devices.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

TEST(InputDevices, TouchScreenIsADeviceForDirectInputNeverATouchpad) {
    TempFolder devices;
    EXPECT_FALSE(TouchScreenPresent(devices.File("missing")));
    EXPECT_FALSE(TouchScreenPresent(devices.path()));
    devices.Write("event1/device/properties", "5\n");  // a touchpad: pointer and button pad
    devices.Write("mouse0/device/properties", "2\n");  // not an event device
    EXPECT_FALSE(TouchScreenPresent(devices.path()));
    devices.Write("event4/device/properties", "0 2\n");
    EXPECT_TRUE(TouchScreenPresent(devices.path()));
}

}  // namespace
}  // namespace pagelark
