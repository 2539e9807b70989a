// The operator's side end to end: snapshot mode's bitmaps, the daily reboot a mock logind is
// asked for, and the kiosk's service on a session bus, called with busctl as an operator would;
// dbus-monitor logs the signals and the error replies it sends.

#include <QImage>
#include <QXmlStreamReader>

#include <algorithm>
#include <ctime>
#include <regex>

#include "e2e/support/kiosk_fixture.h"
#include "e2e/support/mosquitto.h"

namespace pagelark::e2e {
namespace {

// The centre pixel of a picture of the whole screen; nullopt when the file holds none.
std::optional<Rgb> ScreenshotCentre(const std::string& path, const char* format) {
    const QImage image(QString::fromStdString(path), format);  // null when cut short
    if (image.width() != Xvfb::kWidth || image.height() != Xvfb::kHeight) return std::nullopt;
    return RgbOf(image.pixel(kCentre.x, kCentre.y));
}

// The elements of the kiosk's interface with their attributes sorted: two texts of it compare
// equal however they order and space them.
std::vector<std::string> InterfaceShape(const std::string& xml) {
    const auto from = xml.find("<interface name=\"org.pagelark.Kiosk1\"");
    if (from == std::string::npos) return {};
    const auto to = xml.find("</interface>", from);
    QXmlStreamReader reader(QByteArray::fromStdString(xml.substr(from, to - from + 12)));
    std::vector<std::string> shape;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement) continue;
        QStringList attributes;
        for (const auto& attribute : reader.attributes())
            attributes << attribute.name().toString() + "=" + attribute.value().toString();
        attributes.sort();
        shape.push_back((reader.name().toString() + " " + attributes.join(' ')).toStdString());
    }
    return shape;
}

// A private bus, both the session bus and the system bus of the kiosk and of busctl.
class BusTest : public KioskTest {
  protected:
    void SetUp() override { ASSERT_TRUE(bus_.Answers()); }
    Process& StartOnBus(const std::string& text) {
        return Start("[Tessaro]\nOnMouseMove=0\nDBus=Yes\n" + text,
                     {"DBUS_SESSION_BUS_ADDRESS=" + address_});
    }

    const std::string address_ = "unix:path=" + folders_.File("bus_socket");
    const KioskBus bus_{[this] {
        std::vector<std::string> environment = CurrentEnvironment();
        environment.push_back("DBUS_SESSION_BUS_ADDRESS=" + address_);
        environment.push_back("DBUS_SYSTEM_BUS_ADDRESS=" + address_);
        return environment;
    }()};
    Process daemon_{{.argv = {"dbus-daemon", "--session", "--nofork", "--address=" + address_},
                     .environment = bus_.environment,
                     .outputFile = folders_.File("bus.log")}};
};

TEST_F(KioskTest, SnapshotRunSavesTheScreenAfterEachPageAndEnds) {
    const std::string snaps = folders_.File("snaps");
    ASSERT_EQ(::mkdir(snaps.c_str(), 0700), 0);
    Process& kiosk = Start("[Tessaro]\nOnMouseMove=0\nSnap=Yes\nSnapPath=" + snaps + "\n" +
                           Pages({"/red", "/green"}));
    EXPECT_EQ(kiosk.WaitForExit(kStartUp + kPatience), 0) << "the snapshot run did not end";

    // The start page, then each page: Windows bitmaps, uncompressed, of 24 or 32 bits a pixel.
    const std::array<std::optional<Rgb>, 3> colors{std::nullopt, kRed.rgb, kGreen.rgb};
    for (int k = 0; k < 3; ++k) {
        const std::string file = snaps + "/show" + std::to_string(k + 1) + ".BMP";
        const std::string b = testing::TempFolder::Read(file);
        EXPECT_TRUE(b.size() >= 54 && b.starts_with("BM") && (b[28] == 24 || b[28] == 32) &&
                    (b[30] == 0 || b[30] == 3))
            << k;
        const auto centre = ScreenshotCentre(file, "BMP");
        ASSERT_TRUE(centre) << "no whole bitmap of the screen: " << k;
        EXPECT_TRUE(!colors[k] || Near(*centre, *colors[k])) << k << " " << ToHex(*centre);
    }
}

TEST_F(BusTest, DueRebootAsksLogindOnceWithTheForceFlagAndEnds) {
    const std::string log = folders_.File("logind.log");
    // The distribution's interpreter, where the mock is installed.
    Process logind(
        {.argv = {"/usr/bin/python3", "-m", "dbusmock", "--template", "logind", "-l", log},
         .environment = bus_.environment,
         .outputFile = folders_.File("logind.out")});
    ASSERT_TRUE(bus_.Answers("org.freedesktop.login1")) << "the mock logind did not come up";
    // The template predates RebootWithFlags.
    const auto added = bus_({"call", "org.freedesktop.login1", "/org/freedesktop/login1",
                             "org.freedesktop.DBus.Mock", "AddMethod", "sssss",
                             "org.freedesktop.login1.Manager", "RebootWithFlags", "t", "", ""});
    ASSERT_EQ(added.status, 0) << added.output;
    // The next whole minute at least 20 s away: the kiosk has read its settings by then.
    const std::time_t moment = (std::time(nullptr) + 20 + 59) / 60 * 60;
    char time[8];
    std::snprintf(time, sizeof time, "%02ld:%02ld", static_cast<long>(moment / 3600 % 24),
                  static_cast<long>(moment / 60 % 60));
    Process& kiosk =
        Start("[Tessaro]\nOnMouseMove=0\nAutoReboot=Yes\nForceReboot=Yes\nRebootTime=" +
                  std::string(time) + "\nDefaultTime=3\n" + Pages({"/red", "/green"}),
              {"DBUS_SYSTEM_BUS_ADDRESS=" + address_, "TZ=UTC"});
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "play never started";
    EXPECT_EQ(kiosk.WaitForExit(Millis(100000)), 0) << "no reboot by " << time << " UTC";

    // The mock logs "TIME METHOD ARGUMENTS" lines: one reboot call, due once the minute is past,
    // asked within a step or two of it.
    const std::string logged = testing::TempFolder::Read(log);
    std::smatch call;
    ASSERT_TRUE(std::regex_search(logged, call, std::regex("([0-9.]+) (Reboot.*)"))) << logged;
    EXPECT_EQ(call[2], "RebootWithFlags 16");
    EXPECT_EQ(call.suffix().str().find("Reboot"), std::string::npos) << logged;
    EXPECT_GT(std::stod(call[1]), static_cast<double>(moment));
    EXPECT_LT(std::stod(call[1]), static_cast<double>(moment) + 5);
}

TEST_F(BusTest, ServiceTakesEachCommandAndReportsTheShow) {
    const std::string log = folders_.File("monitor.log");
    Process monitor({.argv = {"dbus-monitor", "--address", address_, "type='error'",
                              "type='signal',member='PropertiesChanged'"},
                     .environment = bus_.environment,
                     .outputFile = log});
    auto logged = [&](const std::string& pattern) {
        return WaitUntil(
            [&] { return std::regex_search(testing::TempFolder::Read(log), std::regex(pattern)); },
            kPatience, Millis(100));
    };

    StartOnBus(Pages({"/red\nTime=600", "/green\nTime=600", "/cyan\nTime=600"}) +
               "[Exclude1]\nURL={server}/blue\n");
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "play never started";
    ASSERT_TRUE(bus_.StateBecomes("playing"));
    EXPECT_EQ(bus_.Get("CurrentPage"), "i 1\n");
    EXPECT_EQ(bus_.Get("CurrentAddress"), "s \"" + server_.Url("/red") + "\"\n");
    EXPECT_EQ(bus_.Get("PresentationFile"), "s \"" + folders_.File("show.tso") + "\"\n");
    EXPECT_TRUE(std::regex_match(bus_.Get("Uptime"), std::regex("t [1-9][0-9]*\n")));
    EXPECT_EQ(bus_.Get("ScreenOn"), "b true\n");
    // The properties are served by the kiosk's own Properties interface: all of them at once too.
    EXPECT_NE(bus_({"call", "org.pagelark.Kiosk1", "/org/pagelark/Kiosk1",
                    "org.freedesktop.DBus.Properties", "GetAll", "s", "org.pagelark.Kiosk1"})
                  .output.find("\"ScreenOn\" b true \"State\" s \"playing\""),
              std::string::npos);

    // The bus's tools are told the interface file as written.
    const auto shape = InterfaceShape(testing::TempFolder::Read(PAGELARK_DBUS_XML));
    ASSERT_GT(shape.size(), 12u);
    EXPECT_EQ(InterfaceShape(bus_({"introspect", "--xml-interface", "org.pagelark.Kiosk1",
                                   "/org/pagelark/Kiosk1"})
                                 .output),
              shape);

    EXPECT_EQ(bus_.Call("Next"), "");
    EXPECT_TRUE(Comes(kGreen.rgb, kPatience));
    EXPECT_TRUE(logged(R"("CurrentPage"\s+variant\s+int32 2)")) << "no PropertiesChanged";
    const std::string shot = folders_.File("shot.png");
    EXPECT_EQ(bus_.Call("Snapshot", shot), "");
    const auto centre = ScreenshotCentre(shot, "PNG");
    EXPECT_TRUE(centre && Near(*centre, kGreen.rgb));
    // Never over the kiosk's own files: its store and its presentation (what else the guard
    // refuses is SnapshotTest's).
    const std::string store = folders_.File("registry/machine.reg"),
                      show = folders_.File("show.tso");
    const std::string stored = KioskFolders::Read(store), shown = KioskFolders::Read(show);
    for (const std::string& path : {store, show})
        EXPECT_NE(bus_.Call("Snapshot", path).find(path + " is "), std::string::npos) << path;
    EXPECT_TRUE(KioskFolders::Read(store) == stored) << "the settings store replaced";
    EXPECT_TRUE(KioskFolders::Read(show) == shown) << "the presentation replaced";
    const auto greens = [&] { return server_.Answered("/green", 200); };
    const auto before = greens();
    EXPECT_EQ(bus_.Call("Reload"), "");
    EXPECT_TRUE(WaitUntil([&] { return greens() > before; }, kPatience)) << "not reloaded";

    // As the tool bar's Previous: the preloaded page first.
    EXPECT_EQ(bus_.Call("Previous"), "");
    EXPECT_TRUE(Comes(kCyan.rgb, kPatience));
    EXPECT_EQ(bus_.Call("Pause"), "");
    EXPECT_TRUE(logged(R"("State"\s+variant\s+string "paused")"));
    EXPECT_NE(bus_.Call("Next"), "");
    EXPECT_TRUE(logged(
        R"(error_name=org.pagelark.Kiosk1.Error.Refused .*\s+string "the show is not playing")"));
    EXPECT_NE(bus_.Call("ShowAddress", server_.Url("/blue")), "");
    EXPECT_TRUE(logged(R"(string "the presentation's address lists refuse it")"));
    // Loaded out of sight: an address that cannot be reached is refused, and the page stays.
    const std::string gone = "http://127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/";
    EXPECT_NE(bus_.Call("ShowAddress", gone).find("the address could not be loaded: "),
              std::string::npos);
    EXPECT_TRUE(Shows(kCyan.rgb));
    // A page that loads, then sends itself there: its load's report does not count for the
    // next address, answered once that one has come.
    EXPECT_NE(bus_.Call("ShowAddress", server_.Url("/refresh?color=blue&to=" + gone))
                  .find("the address could not be loaded: "),
              std::string::npos);
    EXPECT_EQ(bus_.Call("ShowAddress", server_.Url("/slow/yellow")), "");
    EXPECT_EQ(server_.Answered("/slow/yellow", 200), 1) << "answered before its page came";
    EXPECT_TRUE(Comes(kYellow.rgb, kPatience));
    EXPECT_EQ(bus_.Get("CurrentAddress"), "s \"" + server_.Url("/slow/yellow") + "\"\n");
    // Its browser's last page (cyan) never shows first: the new page comes once painted, and is
    // on the screen when the answer comes.
    std::vector<ColorSample> frames;
    std::thread watch([&] { frames = RecordColors(Millis(2500)); });
    EXPECT_EQ(bus_.Call("ShowAddress", server_.Url("/magenta")), "");
    EXPECT_TRUE(Shows(kMagenta.rgb));
    watch.join();
    const auto near = [](Rgb color) {
        return [color](auto& frame) { return Near(frame.rgb, color); };
    };
    const auto magenta = std::ranges::find_if(frames, near(kMagenta.rgb));
    EXPECT_TRUE(std::all_of(frames.begin(), magenta, near(kYellow.rgb)) &&
                std::all_of(magenta, frames.end(), near(kMagenta.rgb)));
    EXPECT_EQ(bus_.Call("Play"), "");
    EXPECT_TRUE(bus_.StateBecomes("playing"));
    // Sent by itself where nothing answers, it leaves no error page up: the show resumes.
    EXPECT_EQ(bus_.Call("ShowAddress", server_.Url("/later?color=orange&to=" + gone)), "");
    EXPECT_TRUE(bus_.StateBecomes("playing"));
    EXPECT_TRUE(ComesOneOf({kRed, kGreen, kCyan}, kPatience));
    // The uptime changes every second: read, never signalled.
    EXPECT_EQ(testing::TempFolder::Read(log).find("Uptime"), std::string::npos);

    // Setting ScreenOn is a command: carried out and signalled.
    EXPECT_EQ(bus_.Set("ScreenOn", "b", "false"), "");
    EXPECT_TRUE(logged(R"("ScreenOn"\s+variant\s+boolean false)")) << "no PropertiesChanged";
    EXPECT_EQ(bus_.Get("ScreenOn"), "b false\n");
    EXPECT_EQ(bus_.Set("ScreenOn", "b", "true"), "");
    EXPECT_TRUE(logged(R"("ScreenOn"\s+variant\s+boolean true)"));
    EXPECT_NE(bus_.Set("ScreenOn", "s", "off").find("takes a value of type bool"),
              std::string::npos);
    EXPECT_NE(bus_.Set("State", "s", "paused").find("read-only"), std::string::npos);
}

TEST_F(BusTest, KioskPlaysOnWhenTheNameIsTaken) {
    Process holder({.argv = {"/usr/bin/python3", "-m", "dbusmock", "--session",
                             "org.pagelark.Kiosk1", "/", "org.example.Holder"},
                    .environment = bus_.environment,
                    .outputFile = folders_.File("holder.log")});
    ASSERT_TRUE(bus_.Answers("org.pagelark.Kiosk1"));
    Process& kiosk = StartOnBus(Pages({"/red"}));
    EXPECT_TRUE(Comes(kRed.rgb, kStartUp));
    EXPECT_TRUE(Says(kiosk, "the name org.pagelark.Kiosk1 is taken"));
}

}  // namespace
}  // namespace pagelark::e2e
