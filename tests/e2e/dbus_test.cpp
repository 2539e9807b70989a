// The kiosk's service on a private session bus, called with busctl as an operator would;
// dbus-monitor logs the signals and the error replies it sends.

#include <gtest/gtest.h>

#include <QImage>
#include <QXmlStreamReader>

#include <algorithm>
#include <numeric>
#include <regex>

#include "e2e/support/kiosk_fixture.h"

namespace pagelark::e2e {
namespace {

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
        std::vector<std::string> parts{reader.name().toString().toStdString()};
        for (const auto& attribute : reader.attributes())
            parts.push_back(
                (attribute.name().toString() + "=" + attribute.value().toString()).toStdString());
        std::sort(parts.begin() + 1, parts.end());
        shape.push_back(std::accumulate(parts.begin(), parts.end(), std::string(" ")));
    }
    return shape;
}

// A private session bus for the kiosk and for busctl.
class BusTest : public KioskTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(WaitUntil([&] { return Busctl({"status"}).status == 0; }, kPatience));
    }
    CommandResult Busctl(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"busctl", "--user"});
        return RunCommand(arguments, environment_);
    }
    Kiosk& StartOnBus(const std::string& text) {
        return Start("[Tessaro]\nOnMouseMove=0\nDBus=Yes\n" + text,
                     {"DBUS_SESSION_BUS_ADDRESS=" + bus_});
    }

    const std::string bus_ = "unix:path=" + folders_.File("session_bus_socket");
    const std::vector<std::string> environment_ = [this] {
        std::vector<std::string> environment = CurrentEnvironment();
        environment.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus_);
        return environment;
    }();
    Process daemon_{{.argv = {"dbus-daemon", "--session", "--nofork", "--address=" + bus_},
                     .environment = environment_,
                     .outputFile = folders_.File("bus.log")}};
};

TEST_F(BusTest, ServiceTakesEachCommandAndReportsTheShow) {
    const std::string log = folders_.File("monitor.log");
    Process monitor({.argv = {"dbus-monitor", "--address", bus_, "type='error'",
                              "type='signal',member='PropertiesChanged'"},
                     .environment = environment_,
                     .outputFile = log});
    auto call = [&](const std::string& method, const std::string& argument = "") {
        std::vector<std::string> arguments{"call", "org.pagelark.Kiosk1", "/org/pagelark/Kiosk1",
                                           "org.pagelark.Kiosk1", method};
        if (!argument.empty()) arguments.insert(arguments.end(), {"s", argument});
        const CommandResult result = Busctl(arguments);
        return result.status == 0 ? "" : result.output;
    };
    auto property = [&](const std::string& name) {
        return Busctl({"get-property", "org.pagelark.Kiosk1", "/org/pagelark/Kiosk1",
                       "org.pagelark.Kiosk1", name})
            .output;
    };
    auto logged = [&](const std::string& pattern) {
        return WaitUntil(
            [&] { return std::regex_search(testing::TempFolder::Read(log), std::regex(pattern)); },
            kPatience, Millis(100));
    };

    StartOnBus(Pages({"/red\nTime=600", "/green\nTime=600", "/cyan\nTime=600"}) +
               "[Exclude1]\nURL={server}/blue\n");
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "play never started";
    ASSERT_TRUE(WaitUntil([&] { return property("State") == "s \"playing\"\n"; }, kPatience));
    EXPECT_EQ(property("CurrentPage"), "i 1\n");
    EXPECT_EQ(property("CurrentAddress"), "s \"" + server_.Url("/red") + "\"\n");
    EXPECT_EQ(property("PresentationFile"), "s \"" + folders_.File("show.tso") + "\"\n");
    EXPECT_TRUE(std::regex_match(property("Uptime"), std::regex("t [1-9][0-9]*\n")));

    // The bus's tools are told the interface file as written.
    const auto shape = InterfaceShape(testing::TempFolder::Read(PAGELARK_DBUS_XML));
    ASSERT_GT(shape.size(), 12u);
    EXPECT_EQ(InterfaceShape(Busctl({"introspect", "--xml-interface", "org.pagelark.Kiosk1",
                                     "/org/pagelark/Kiosk1"})
                                 .output),
              shape);

    EXPECT_EQ(call("Next"), "");
    EXPECT_TRUE(Comes(kGreen.rgb, kPatience));
    EXPECT_TRUE(logged(R"("CurrentPage"\s+variant\s+int32 2)")) << "no PropertiesChanged";
    const std::string shot = folders_.File("shot.png");
    EXPECT_EQ(call("Snapshot", shot), "");
    const QColor pixel =
        QImage(QString::fromStdString(shot), "PNG").pixelColor(Xvfb::kWidth / 2, Xvfb::kHeight / 2);
    EXPECT_TRUE(
        Near({static_cast<std::uint8_t>(pixel.red()), static_cast<std::uint8_t>(pixel.green()),
              static_cast<std::uint8_t>(pixel.blue())},
             kGreen.rgb));
    const auto greens = [&] { return std::ranges::count(server_.Requests(), "/green"); };
    const auto before = greens();
    EXPECT_EQ(call("Reload"), "");
    EXPECT_TRUE(WaitUntil([&] { return greens() > before; }, kPatience)) << "not reloaded";

    // As the tool bar's Previous: the preloaded page first.
    EXPECT_EQ(call("Previous"), "");
    EXPECT_TRUE(Comes(kCyan.rgb, kPatience));
    EXPECT_EQ(call("Pause"), "");
    EXPECT_TRUE(logged(R"("State"\s+variant\s+string "paused")"));
    EXPECT_NE(call("Next"), "");
    EXPECT_TRUE(logged(
        R"(error_name=org.pagelark.Kiosk1.Error.Refused .*\s+string "the show is not playing")"));
    EXPECT_NE(call("ShowAddress", server_.Url("/blue")), "");
    EXPECT_TRUE(logged(R"(string "the presentation's address lists refuse it")"));
    EXPECT_EQ(call("ShowAddress", server_.Url("/yellow")), "");
    EXPECT_TRUE(Comes(kYellow.rgb, kPatience));
    EXPECT_EQ(property("CurrentAddress"), "s \"" + server_.Url("/yellow") + "\"\n");
    EXPECT_EQ(call("Play"), "");
    EXPECT_TRUE(WaitUntil([&] { return property("State") == "s \"playing\"\n"; }, kPatience));
    // The uptime changes every second: read, never signalled.
    EXPECT_EQ(testing::TempFolder::Read(log).find("Uptime"), std::string::npos);
}

TEST_F(BusTest, KioskPlaysOnWhenTheNameIsTaken) {
    Process holder({.argv = {"/usr/bin/python3", "-m", "dbusmock", "--session",
                             "org.pagelark.Kiosk1", "/", "org.example.Holder"},
                    .environment = environment_,
                    .outputFile = folders_.File("holder.log")});
    ASSERT_TRUE(WaitUntil(
        [&] {
            return Busctl({"status", "org.pagelark.Kiosk1"}).status == 0;
        },
        kPatience, Millis(200)));
    Kiosk& kiosk = StartOnBus(Pages({"/red"}));
    EXPECT_TRUE(Comes(kRed.rgb, kStartUp));
    EXPECT_NE(kiosk.Output().find("the name org.pagelark.Kiosk1 is taken"), std::string::npos);
}

}  // namespace
}  // namespace pagelark::e2e
