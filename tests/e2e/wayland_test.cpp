// The kiosk under cage, a real Wayland compositor whose outputs are windows of the Desk's X
// server: what a visitor sees and does and what an owner asks over the bus, as under X11.

#include <QImage>

#include <csignal>
#include <filesystem>
#include <regex>

#include "e2e/support/kiosk_fixture.h"
#include "e2e/support/wayland.h"

namespace pagelark::e2e {
namespace {

using std::chrono_literals::operator""ms;
using std::chrono_literals::operator""s;

Rgb ColorAt(const QImage& image, Point at) {
    return RgbOf(image.pixel(at.x, at.y));
}

// Where two pictures of the whole screen differ, on a grid of points; "" when nowhere.
std::string Difference(const QImage& a, const QImage& b) {
    const auto size = [](const QImage& image) {
        return std::to_string(image.width()) + "x" + std::to_string(image.height());
    };
    if (a.size() != QSize(Xvfb::kWidth, Xvfb::kHeight) || b.size() != a.size())
        return "pictures of " + size(a) + " and " + size(b);
    std::string differ;
    for (int y = 4; y < Xvfb::kHeight; y += 20)
        for (int x = 4; x < Xvfb::kWidth; x += 20)
            if (!Near(ColorAt(a, {x, y}), ColorAt(b, {x, y})))
                differ += std::to_string(x) + "," + std::to_string(y) + " ";
    return differ.substr(0, 400);
}

class CageTest : public KioskTest {
  protected:
    void SetUp() override {
        if (const std::string missing = WaylandMissing(); !missing.empty())
            GTEST_SKIP() << "the kiosk cannot be tried under cage: " << missing;
        std::string why;
        user_ = CompositorUser(why);
        if (!user_) GTEST_SKIP() << why;
    }
    // cage with the kiosk on a presentation ("{server}" as in Start) as its client.
    Process& StartInCage(const std::string& text, const CageSetup& setup = {},
                         std::vector<std::string> environment = {}) {
        const std::string show = folders_.Write("show.tso", WithServer(text));
        return Keep(CageOptions(xvfb_, folders_, *user_, setup, {show}, std::move(environment)));
    }
    // The same with the kiosk's service on a session bus of the user's.
    Process& StartOnBus(const std::string& text, const CageSetup& setup = {}) {
        std::string address;
        busDaemon_ = std::make_unique<Process>(UserBusOptions(folders_, *user_, address));
        bus_.environment = CurrentEnvironment();
        bus_.environment.push_back("DBUS_SESSION_BUS_ADDRESS=" + address);
        EXPECT_TRUE(bus_.Answers());
        return StartInCage("[Tessaro]\nDBus=Yes\n" + text, setup,
                           {"DBUS_SESSION_BUS_ADDRESS=" + address});
    }
    // What the compositor shows on all its outputs, read by grim; a null image when it could not.
    QImage CompositorScreen() const {
        const std::string file = folders_.File("screen.png");
        std::string why;
        if (!Grim(folders_, *user_, file, why)) {
            ADD_FAILURE() << "grim failed: " << why;
            return {};
        }
        return QImage(QString::fromStdString(file), "PNG");
    }
    // Whether the page colour fills the output from its top left to the corner at size.
    ::testing::AssertionResult Fills(Rgb color, Point size) const {
        const Point corners[] = {{2, size.y - 3}, {size.x - 3, size.y - 3}, {size.x / 2, 2}};
        const auto filled = [&] {
            return std::ranges::all_of(corners, [&](Point at) { return Near(Pixel(at), color); });
        };
        if (WaitUntil(filled, kPatience)) return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << "corners of " << size.x << "x" << size.y;
        for (const Point at : corners)
            failure << " " << ToHex(Pixel(at));
        return failure;
    }

    // Moves the pointer until Tool Nav's nine buttons come near the top right corner of the
    // screen, below a caption bar or not (the first moves may fall in the grace after start):
    // where their row ends; none if never.
    std::optional<Point> ToolNavRow() const {
        int move = 0;
        const auto found = [&]() -> std::optional<Point> {
            MoveTo(++move % 2 == 0 ? Point{600, 450} : Point{500, 400});
            for (int top = 0; top <= 60; ++top)
                for (int right = Xvfb::kWidth; right >= Xvfb::kWidth - 8; --right)
                    if (RowFault(9, {right, top}).empty()) return Point{right, top};
            return std::nullopt;
        };
        std::optional<Point> row;
        WaitUntil([&] { return (row = found()).has_value(); }, kPatience, 500ms);
        return row;
    }

    std::optional<User> user_;
    std::unique_ptr<Process> busDaemon_;
    KioskBus bus_;
};

TEST_F(CageTest, PagesPlayInOrderFullScreenWithNoForeignFrameAndEscapeEndsTheKioskAndCage) {
    Process& cage = StartInCage("[Tessaro]\nHomeURL=about:blank\nDefaultTime=2\nOnMouseMove=1\n" +
                                Pages({"/red", "/green", "/blue"}));
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "page 1 never came on show under cage";
    // Read from the X window the compositor draws its output into, every few milliseconds.
    const auto runs = Runs(RecordColors(9s));
    std::string seen;
    for (const auto& run : runs)
        seen += run.name + " ";
    ASSERT_GE(runs.size(), 4u) << seen;
    // Each frame a whole page, the pages in turn: what was seen is part of the cycle played on.
    std::string cycles;
    for (std::size_t k = 0; k <= runs.size() / 3 + 1; ++k)
        cycles += "red green blue ";
    EXPECT_NE(cycles.find(seen), std::string::npos)
        << "a frame of no page, or out of turn: " << seen;
    EXPECT_TRUE(Fills(kGreen.rgb, {Xvfb::kWidth, Xvfb::kHeight})) << "not full screen";

    // The key goes through the compositor; the kiosk's end is cage's.
    Key("Escape");
    EXPECT_EQ(cage.WaitForExit(kPatience), 0) << "Escape did not end the kiosk and cage";
    EXPECT_TRUE(
        WaitUntil([&] { return ProcessesInGroup(cage.Pid(), "pagelark").empty(); }, kPatience))
        << "the kiosk outlived cage";
}

// Two outputs side by side: the one on top of the X server goes, then the other changes mode.
// The tool bars are drawn inside the show's window: a separate window would be placed by the
// compositor, not at the top right.
TEST_F(CageTest, TheShowSurvivesAnOutputGoingAndAModeChangeAndBringsToolNavAtTheTopRight) {
    if (const std::string missing = WaylandMissing({"grim"}); !missing.empty())
        GTEST_SKIP() << "the compositor's outputs cannot be read: " << missing;
    Process& cage = StartInCage(
        "[Tessaro]\nHomeURL={server}/green\nDefaultTime=60\nOnMouseMove=1\n" + Pages({"/red"}),
        {.outputs = 2});
    ASSERT_TRUE(Comes(kRed.rgb, kStartUp)) << "page 1 never came on show under cage";
    const auto windows = OutputWindows(xvfb_);
    ASSERT_EQ(windows.size(), 2u) << "cage did not make two outputs";
    const auto compositorSize = [&] { return CompositorScreen().size(); };
    EXPECT_EQ(compositorSize(), QSize(2 * Xvfb::kWidth, Xvfb::kHeight));

    CloseOutputWindow(xvfb_, windows.back());
    EXPECT_TRUE(WaitUntil([&] { return compositorSize() == QSize(Xvfb::kWidth, Xvfb::kHeight); },
                          kPatience, 500ms))
        << "the output did not go";
    EXPECT_TRUE(Fills(kRed.rgb, {Xvfb::kWidth, Xvfb::kHeight})) << "the show left the output";
    // Not merely over it: the window is the output's width, its tool bar at the top right.
    EXPECT_TRUE(ToolNavRow()) << "the window is wider than the output that remains";

    const auto resize = [&](int width, int height) {
        Xdotool({"windowsize", std::to_string(windows.front()), std::to_string(width),
                 std::to_string(height)});
        EXPECT_TRUE(
            WaitUntil([&] { return compositorSize() == QSize(width, height); }, kPatience, 500ms))
            << "the mode did not change to " << width << "x" << height;
    };
    resize(800, 600);
    EXPECT_TRUE(Fills(kRed.rgb, {800, 600}));
    resize(Xvfb::kWidth, Xvfb::kHeight);
    EXPECT_TRUE(Fills(kRed.rgb, {Xvfb::kWidth, Xvfb::kHeight})) << "not full screen again";
    EXPECT_TRUE(cage.Running());

    const std::optional<Point> row = ToolNavRow();
    ASSERT_TRUE(row) << "no row of Tool Nav's nine buttons at the top right";
    EXPECT_GT(row->y, 0) << "no caption bar above the row";
    ClickAt({row->x - 5 * kButton + kButton / 2, row->y + kButton / 2});
    EXPECT_TRUE(Comes(kGreen.rgb, kPatience)) << "Home did not turn the page";
}

// The idle inhibitor is logged as cage receives it: "zwp_idle_inhibit_manager_v1@N.
// create_inhibitor(new id zwp_idle_inhibitor_v1@M, wl_surface@S)", its end
// "zwp_idle_inhibitor_v1@M.destroy()".
TEST_F(CageTest,
       OverTheBusTheShowPausesPlaysTakesSnapshotsAndKeepsTheCompositorAwakeUntilScreenOff) {
    // A yellow square on blue: a picture that tells where it was taken.
    const std::string square = folders_.Write(
        "square.html",
        "<body style=\"margin:0;background:#0000ff\"><div style=\"position:absolute;left:100px;"
        "top:100px;width:300px;height:200px;background:#ffff00\"></div></body>");
    Process& cage = StartOnBus(
        "OnMouseMove=1\nDefaultTime=3\n[Page1]\nURL=" + square + "\n[Page2]\nURL={server}/green\n",
        {.logRequests = true});
    ASSERT_TRUE(Comes(kBlue.rgb, kStartUp)) << "page 1 never came on show under cage";
    ASSERT_TRUE(bus_.StateBecomes("playing"));
    const std::regex created(R"(zwp_idle_inhibit_manager_v1@\d+\.create_inhibitor\(new id )"
                             R"(zwp_idle_inhibitor_v1@(\d+))");
    // Whether the inhibitor asked for last is not destroyed since (its number may come again).
    const auto awake = [&] {
        const std::string log = cage.Output();
        std::smatch last;
        for (std::sregex_iterator it(log.begin(), log.end(), created), end; it != end; ++it)
            last = *it;
        return !last.empty() && log.find("zwp_idle_inhibitor_v1@" + last[1].str() + ".destroy()",
                                         last.position()) == std::string::npos;
    };
    ASSERT_TRUE(WaitUntil(awake, kPatience, 500ms))
        << "the compositor was never asked to stay awake";

    EXPECT_EQ(bus_.Call("Pause"), "");
    EXPECT_TRUE(bus_.StateBecomes("paused"));
    ASSERT_TRUE(Comes(kBlue.rgb, kPatience)) << "the page turned as it paused";
    EXPECT_EQ(Stray(8s, {kBlue}), "") << "the page turned while paused";
    const std::string shot = folders_.File("shot.png");
    EXPECT_EQ(bus_.Call("Snapshot", shot), "");
    const QImage snapshot(QString::fromStdString(shot), "PNG");
    if (WaylandMissing({"grim"}).empty()) {
        EXPECT_EQ(Difference(snapshot, CompositorScreen()), "")
            << "the snapshot is not what the compositor shows";
    }
    EXPECT_TRUE(!snapshot.isNull() && Near(ColorAt(snapshot, {250, 200}), kYellow.rgb) &&
                Near(ColorAt(snapshot, {450, 200}), kBlue.rgb))
        << "no snapshot of the page with its square in place";

    EXPECT_EQ(bus_.Call("Play"), "");
    EXPECT_TRUE(bus_.StateBecomes("playing"));
    EXPECT_TRUE(Comes(kGreen.rgb, kPatience)) << "the show did not go on";
    EXPECT_TRUE(awake()) << "let go while the show plays";

    EXPECT_EQ(bus_.Set("ScreenOn", "b", "false"), "");
    EXPECT_TRUE(WaitUntil([&] { return !awake(); }, kPatience, 500ms))
        << "still kept awake while the screen is off";
}

// Headless, as on a machine with no screen: no X server anywhere. Debian 12's cage shows a lone
// full-screen window black on this back end, so the show is read over the bus and from the
// kiosk's own snapshots.
TEST_F(CageTest, HeadlessThePagesPlayInTurnPauseSnapshotShowAnAddressAndTheKioskEndsWithCage) {
    Process& cage = StartOnBus("DefaultTime=2\n" + Pages({"/red", "/green"}), {.headless = true});
    ASSERT_TRUE(bus_.StateBecomes("playing"));
    const auto page = [&](const std::string& shown) {
        return WaitUntil([&] { return bus_.Get("CurrentPage") == shown; }, kPatience, 100ms)
            .has_value();
    };
    EXPECT_TRUE(page("i 2\n") && page("i 1\n")) << "the pages did not turn";
    // What the kiosk's snapshot shows in its middle.
    const auto shot = [&] {
        const std::string file = folders_.File("shot.png");
        EXPECT_EQ(bus_.Call("Snapshot", file), "");
        const QImage image(QString::fromStdString(file), "PNG");
        return image.isNull() ? Rgb{} : ColorAt(image, {image.width() / 2, image.height() / 2});
    };

    EXPECT_EQ(bus_.Call("Pause"), "");
    ASSERT_TRUE(bus_.StateBecomes("paused"));
    const std::string held = bus_.Get("CurrentPage");
    EXPECT_TRUE(Near(shot(), held == "i 1\n" ? kRed.rgb : kGreen.rgb)) << held;

    EXPECT_EQ(bus_.Call("ShowAddress", server_.Url("/blue")), "");
    EXPECT_TRUE(Near(shot(), kBlue.rgb)) << "the address asked for is not on show";
    EXPECT_EQ(bus_.Call("Play"), "");
    EXPECT_TRUE(page("i 1\n") && page("i 2\n")) << "the show did not go on";

    const std::vector<pid_t> kiosk = ProcessesInGroup(cage.Pid(), "pagelark");
    ASSERT_FALSE(kiosk.empty());
    // cage ends with its client; on this back end it trips its own assertion as it does.
    ::kill(kiosk.front(), SIGTERM);
    EXPECT_TRUE(cage.WaitForExit(kPatience)) << "cage outlived the kiosk";
    EXPECT_TRUE(ProcessesInGroup(cage.Pid(), "pagelark").empty()) << "the kiosk outlived cage";
}

}  // namespace
}  // namespace pagelark::e2e
