// Snapshot mode and the daily reboot end to end: the bitmaps the kiosk leaves, and the
// request a mock logind on a private system bus receives.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""s;

// A Windows bitmap read with nothing but its headers: 24 or 32 bits a pixel, uncompressed.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::string error;  // why it is not a bitmap we can read
    std::string bytes;
    std::uint32_t offset = 0;
    int bits = 0;

    static std::uint32_t Le(const std::string& b, std::size_t at, int size) {
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
        return value;
    }
    explicit Bitmap(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) {
            error = "no bitmap header";
            return;
        }
        offset = Le(bytes, 10, 4);
        width = static_cast<std::int32_t>(Le(bytes, 18, 4));
        height = static_cast<std::int32_t>(Le(bytes, 22, 4));
        bits = static_cast<int>(Le(bytes, 28, 2));
        const auto compression = Le(bytes, 30, 4);
        if ((bits != 24 && bits != 32) || (compression != 0 && compression != 3))
            error = "bits " + std::to_string(bits) + " compression " + std::to_string(compression);
        else if (bytes.size() < offset + Stride() * static_cast<std::size_t>(std::abs(height)))
            error = "pixels cut short";
    }
    std::size_t Stride() const { return static_cast<std::size_t>((width * bits + 31) / 32 * 4); }
    Rgb Pixel(int x, int y) const {
        const int row = height > 0 ? height - 1 - y : y;  // positive heights are bottom-up
        const std::size_t at = offset + static_cast<std::size_t>(row) * Stride() +
                               static_cast<std::size_t>(x * bits / 8);
        auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[at + i]); };
        return {byte(2), byte(1), byte(0)};
    }
};

TEST_F(KioskTest, SnapshotRunSavesTheScreenAfterEachPageAndEnds) {
    const std::string snaps = folders_.File("snaps");
    ASSERT_EQ(::mkdir(snaps.c_str(), 0700), 0);
    Kiosk& kiosk = Start("[Tessaro]\nOnMouseMove=0\nSnap=Yes\nSnapPath=" + snaps + "\n" +
                         Pages({"/red", "/green"}));
    const auto status = kiosk.WaitForExit(kStartUp + kPatience);
    ASSERT_TRUE(status) << "the snapshot run did not end";
    EXPECT_EQ(*status, 0);

    // The start page, then each page, numbered to the width of 3.
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(snaps))
        names.insert(entry.path().filename().string());
    ASSERT_EQ(names, (std::set<std::string>{"show1.BMP", "show2.BMP", "show3.BMP"}));
    const std::array<std::optional<Rgb>, 3> colors{std::nullopt, kRed.rgb, kGreen.rgb};
    for (int k = 0; k < 3; ++k) {
        const Bitmap bitmap(snaps + "/show" + std::to_string(k + 1) + ".BMP");
        SCOPED_TRACE(k + 1);
        ASSERT_EQ(bitmap.error, "");
        EXPECT_EQ(bitmap.width, Xvfb::kWidth);
        EXPECT_EQ(std::abs(bitmap.height), Xvfb::kHeight);
        const Rgb centre = bitmap.Pixel(Xvfb::kWidth / 2, Xvfb::kHeight / 2);
        if (colors[k]) {
            EXPECT_TRUE(Near(centre, *colors[k])) << ToHex(centre);
        }
    }
}

// A private bus standing for the system bus, with a mock logind that logs what it is asked.
class RebootTest : public KioskTest {
  protected:
    void StartLogind() {
        bus_.emplace(
            SpawnOptions{.argv = {"dbus-daemon", "--session", "--nofork", "--address=" + address_},
                         .environment = CurrentEnvironment(),
                         .outputFile = folders_.File("bus.log")});
        std::vector<std::string> environment = CurrentEnvironment();
        environment.push_back("DBUS_SYSTEM_BUS_ADDRESS=" + address_);
        // The distribution's interpreter, where the mock is installed.
        logind_.emplace(SpawnOptions{
            .argv = {"/usr/bin/python3", "-m", "dbusmock", "--template", "logind", "-l", log_},
            .environment = environment,
            .outputFile = folders_.File("logind.out")});
        ASSERT_TRUE(WaitUntil(
            [&] {
                return Send({"--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                             "org.freedesktop.DBus.NameHasOwner", "string:org.freedesktop.login1"})
                           .find("boolean true") != std::string::npos;
            },
            Millis(20000), Millis(200)))
            << "the mock logind did not come up";
        // The template predates RebootWithFlags.
        Send({"--dest=org.freedesktop.login1", "/org/freedesktop/login1",
              "org.freedesktop.DBus.Mock.AddMethod", "string:org.freedesktop.login1.Manager",
              "string:RebootWithFlags", "string:t", "string:", "string:"});
    }
    std::string Send(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"dbus-send", "--bus=" + address_, "--print-reply"});
        return RunCommand(arguments, CurrentEnvironment()).output;
    }

    std::string address_ = "unix:path=" + folders_.File("system_bus_socket");
    std::string log_ = folders_.File("logind.log");
    std::optional<Process> bus_;
    std::optional<Process> logind_;
};

TEST_F(RebootTest, DueRebootAsksLogindOnceWithTheForceFlagAndEnds) {
    ASSERT_NO_FATAL_FAILURE(StartLogind());
    // The next whole minute at least 20 s away: the kiosk has read its settings by then.
    const std::time_t moment = (std::time(nullptr) + 20 + 59) / 60 * 60;
    std::tm utc{};
    ::gmtime_r(&moment, &utc);
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", utc.tm_hour, utc.tm_min);
    Kiosk& kiosk = Start("[Tessaro]\nOnMouseMove=0\nAutoReboot=Yes\nForceReboot=Yes\nRebootTime=" +
                             std::string(time) + "\nDefaultTime=3\n" + Pages({"/red", "/green"}),
                         {"DBUS_SYSTEM_BUS_ADDRESS=" + address_, "TZ=UTC"});
    ASSERT_TRUE(screen_.WaitForColor(kRed.rgb, kStartUp)) << "play never started";

    const auto status = kiosk.WaitForExit(Millis(100000));
    ASSERT_TRUE(status) << "no reboot by " << time << " UTC";
    EXPECT_EQ(*status, 0);
    std::istringstream calls(testing::TempFolder::Read(log_));
    std::vector<std::string> reboots;
    double at = 0;
    for (std::string line; std::getline(calls, line);) {
        if (line.find("Reboot") == std::string::npos) continue;
        reboots.push_back(line.substr(line.find(' ') + 1));
        at = std::stod(line);
    }
    EXPECT_EQ(reboots, std::vector<std::string>{"RebootWithFlags 16"});
    // Due once the minute is past, asked within a step or two of it.
    EXPECT_GT(at, static_cast<double>(moment));
    EXPECT_LT(at, static_cast<double>(moment) + 5);
}

}  // namespace
}  // namespace pagelark::e2e
