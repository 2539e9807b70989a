#include "platform/devices.h"
#include "platform/process_memory.h"

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

TEST(GraphicsDevices, OnlyARenderNodeRenders) {
    TempFolder dri;
    EXPECT_FALSE(GraphicsDevicePresent(dri.File("missing")));
    dri.Write("card0", "");  // a display alone, as a simple frame buffer offers
    EXPECT_FALSE(GraphicsDevicePresent(dri.path()));
    dri.Write("renderD128", "");
    EXPECT_TRUE(GraphicsDevicePresent(dri.path()));
}

TEST(MemoryLimit, TheTightestOfTheMachineAndItsControlGroupsAndTheirParents) {
    TempFolder root;
    EXPECT_EQ(MemoryLimitKiB(root.path()), 0);
    root.Write("proc/meminfo", "MemTotal:       4000000 kB\nMemFree: 1 kB\n");
    root.Write("proc/self/cgroup", "4:memory:/kiosk/run\n0::/svc/kiosk\n1:cpu:/\nbroken\n");
    EXPECT_EQ(MemoryLimitKiB(root.path()), 4000000);
    root.Write("sys/fs/cgroup/memory/kiosk/run/memory.limit_in_bytes", "9223372036854771712\n");
    root.Write("sys/fs/cgroup/svc/kiosk/memory.max", "max\n");
    EXPECT_EQ(MemoryLimitKiB(root.path()), 4000000);
    root.Write("sys/fs/cgroup/memory/kiosk/memory.limit_in_bytes", "2147483648\n");
    EXPECT_EQ(MemoryLimitKiB(root.path()), 2097152);
    root.Write("sys/fs/cgroup/unified/svc/memory.max", "1073741824\n");
    EXPECT_EQ(MemoryLimitKiB(root.path()), 1048576);
}

}  // namespace
}  // namespace pagelark
