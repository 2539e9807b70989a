// What the machine tells the kiosk: the desktop's answers, each from a fresh process under a
// desktop made for the test, and its devices and memory, from folders made for the test.

#include "platform/desktop_defaults.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/devices.h"
#include "platform/linux/xdg.h"
#include "platform/process_memory.h"
#include "support/temp_desktop.h"

namespace pagelark::testing {
namespace {

TEST(DesktopTest, DocumentsFolderFollowsUserDirsThenFallsBack) {
    TempDesktop desktop;
    const std::string home = desktop.temp.File("home");
    std::filesystem::create_directories(home);
    EXPECT_EQ(TempDesktop::Fresh(DocumentsFolder), home);
    std::filesystem::create_directories(home + "/Documents");
    EXPECT_EQ(TempDesktop::Fresh(DocumentsFolder), home + "/Documents");
    desktop.temp.Write("home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers/\"\n");
    EXPECT_EQ(TempDesktop::Fresh(DocumentsFolder), home + "/Papers");
}

TEST(DesktopTest, ExecLineBecomesACommandWithPercentOne) {
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"app %u %F --x", "app \"%1\" \"%1\" --x"},
        {"app \"%u\"", "app \"%1\""},  // already quoted
        {"app --icon %i %c %k 100%%", "app --icon 100%"},
    };
    for (const auto& [exec, command] : rows)
        EXPECT_EQ(ExecToCommand(exec), command) << exec;
}

TEST(DesktopTest, DefaultHtmlHandlerIsTheDesktopsUnlessHidden) {
    TempDesktop desktop;
    TempFolder& temp = desktop.temp;
    EXPECT_EQ(TempDesktop::Fresh(DefaultHtmlCommand), "");
    const std::string entry = "[Desktop Entry]\nType=Application\nName=A\n";
    temp.Write("share/applications/sys.desktop", entry + "Exec=sh\\s%U\n");
    temp.Write("share/applications/hidden.desktop", entry + "Exec=ls %u\nHidden=true\n");
    temp.Write("etc/mimeapps.list", "[Default Applications]\ntext/html=sys.desktop;\n");
    EXPECT_EQ(TempDesktop::Fresh(DefaultHtmlCommand), "sh \"%1\"");
    // An entry the user hid is none.
    temp.Write("home/.config/mimeapps.list", "[Default Applications]\ntext/html=hidden.desktop\n");
    EXPECT_EQ(TempDesktop::Fresh(DefaultHtmlCommand), "");
}

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
}  // namespace pagelark::testing
