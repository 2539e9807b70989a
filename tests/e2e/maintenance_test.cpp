// Snapshot mode and the daily reboot end to end: the bitmaps the kiosk leaves, and the
// request a mock logind on a private system bus receives.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>

#include <cstdint>
#include <ctime>
#include <sstream>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

// A Windows bitmap of the screen's size, uncompressed, of 24 or 32 bits a pixel, and whole:
// its centre pixel.
std::optional<Rgb> BitmapCentre(const std::string& path) {
    const std::string b = testing::TempFolder::Read(path);
    const QImage image(QString::fromStdString(path), "BMP");  // null when cut short
    if (image.width() != Xvfb::kWidth || image.height() != Xvfb::kHeight || b.size() < 54 ||
        !b.starts_with("BM") || (b[28] != 24 && b[28] != 32) || (b[30] != 0 && b[30] != 3))
        return std::nullopt;
    const QRgb centre = image.pixel(Xvfb::kWidth / 2, Xvfb::kHeight / 2);
    return Rgb{static_cast<std::uint8_t>(qRed(centre)), static_cast<std::uint8_t>(qGreen(centre)),
               static_cast<std::uint8_t>(qBlue(centre))};
}

TEST_F(KioskTest, SnapshotRunSavesTheScreenAfterEachPageAndEnds) {
    const std::string snaps = folders_.File("snaps");
    ASSERT_EQ(::mkdir(snaps.c_str(), 0700), 0);
    Kiosk& kiosk = Start("[Tessaro]\nOnMouseMove=0\nSnap=Yes\nSnapPath=" + snaps + "\n" +
                         Pages({"/red", "/green"}));
    const auto status = kiosk.WaitForExit(kStartUp + kPatience);
    ASSERT_TRUE(status) << "the snapshot run did not end";
    EXPECT_EQ(*status, 0);

    // The start page, then each page.
    const std::array<std::optional<Rgb>, 3> colors{std::nullopt, kRed.rgb, kGreen.rgb};
    for (int k = 0; k < 3; ++k) {
        const auto centre = BitmapCentre(snaps + "/show" + std::to_string(k + 1) + ".BMP");
        ASSERT_TRUE(centre) << "no whole bitmap of the screen: " << k;
        EXPECT_TRUE(!colors[k] || Near(*centre, *colors[k])) << k << " " << ToHex(*centre);
    }
}

// A private bus stands for the system bus, with a mock logind that logs what it is asked.
TEST_F(KioskTest, DueRebootAsksLogindOnceWithTheForceFlagAndEnds) {
    const std::string bus = "unix:path=" + folders_.File("system_bus_socket");
    const std::string log = folders_.File("logind.log");
    std::vector<std::string> environment = CurrentEnvironment();
    Process daemon({.argv = {"dbus-daemon", "--session", "--nofork", "--address=" + bus},
                    .environment = environment,
                    .outputFile = folders_.File("bus.log")});
    environment.push_back("DBUS_SYSTEM_BUS_ADDRESS=" + bus);
    // The distribution's interpreter, where the mock is installed.
    Process logind(
        {.argv = {"/usr/bin/python3", "-m", "dbusmock", "--template", "logind", "-l", log},
         .environment = environment,
         .outputFile = folders_.File("logind.out")});
    auto send = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"dbus-send", "--bus=" + bus, "--print-reply"});
        return RunCommand(arguments, environment).output;
    };
    ASSERT_TRUE(WaitUntil(
        [&] {
            return send({"--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                         "org.freedesktop.DBus.NameHasOwner", "string:org.freedesktop.login1"})
                       .find("boolean true") != std::string::npos;
        },
        Millis(20000), Millis(200)))
        << "the mock logind did not come up";
    // The template predates RebootWithFlags.
    send({"--dest=org.freedesktop.login1", "/org/freedesktop/login1",
          "org.freedesktop.DBus.Mock.AddMethod", "string:org.freedesktop.login1.Manager",
          "string:RebootWithFlags", "string:t", "string:", "string:"});
    // The next whole minute at least 20 s away: the kiosk has read its settings by then.
    const std::time_t moment = (std::time(nullptr) + 20 + 59) / 60 * 60;
    std::tm utc{};
    ::gmtime_r(&moment, &utc);
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", utc.tm_hour, utc.tm_min);
    Kiosk& kiosk = Start("[Tessaro]\nOnMouseMove=0\nAutoReboot=Yes\nForceReboot=Yes\nRebootTime=" +
                             std::string(time) + "\nDefaultTime=3\n" + Pages({"/red", "/green"}),
                         {"DBUS_SYSTEM_BUS_ADDRESS=" + bus, "TZ=UTC"});
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "play never started";
    const auto status = kiosk.WaitForExit(Millis(100000));
    ASSERT_TRUE(status) << "no reboot by " << time << " UTC";
    EXPECT_EQ(*status, 0);

    // The reboot calls logged, with the time of the last.
    std::istringstream lines(testing::TempFolder::Read(log));
    std::vector<std::string> calls;
    double at = 0;
    for (std::string line; std::getline(lines, line);) {
        if (const std::string call = line.substr(line.find(' ') + 1); call.starts_with("Reboot")) {
            calls.push_back(call);
            at = std::stod(line);
        }
    }
    EXPECT_EQ(calls, std::vector<std::string>{"RebootWithFlags 16"});
    // Due once the minute is past, asked within a step or two of it.
    EXPECT_GT(at, static_cast<double>(moment));
    EXPECT_LT(at, static_cast<double>(moment) + 5);
}

}  // namespace
}  // namespace pagelark::e2e
