// What a locked kiosk allows a visitor, beside what the same kiosk allows unlocked.

#include "core/locked.h"

#include "model/presentation.h"
#include "player_fixture.h"

namespace pagelark::testing {
namespace {

using namespace std::chrono_literals;

// What each act does unlocked is in the other player tests.
TEST_F(PlayerTest, ALockedKioskKeepsTheVisitorInTheShow) {
    machine.Locked = true;
    w.toolNavCount = 5;
    // A move brings navigation mode only over an include list and never ends the show; Quit
    // and Config do nothing.
    for (const int policy : {1, 2}) {
        machine.OnMouseMove = static_cast<MouseMovePolicy>(policy);
        Start();
        EXPECT_EQ(Walk("5 move 0 0 quit config 0 0", {"ToolNav 1", "OpenConfig"}),
                  "WAITTIME h/1, WAITTIME h/1, WAITTIME h/1, WAITTIME h/1, WAITTIME h/1")
            << policy;
    }
    // A close from outside (the window manager's) is refused as well.
    EXPECT_FALSE(P().QuitAllowed());
    // The operator's requests still reach a locked kiosk.
    EXPECT_TRUE(P().OpenConfig());
    P().Terminate();
    EXPECT_EQ(P().State(), S::FinProg);
}

TEST(LockedTest, ToolbarsShowOnlyWhatMovesWithinTheIncludeList) {
    ToolbarButtons records;
    CreateButtonLists(records);
    for (auto& b : records.ToolNavButtons)
        b.Visible = true;
    for (auto& b : records.ToolRunButtons)
        b.Visible = true;
    records.ToolNavButtons[0].Visible = false;  // the operator hid Back: it stays hidden
    const auto row = [](const ToolbarButtons& b) {
        std::string text;
        for (const auto& button : b.ToolRunButtons)
            text += button.Visible ? "R" : ".";
        text += " ";
        for (const auto& button : b.ToolNavButtons)
            text += button.Visible ? "N" : ".";
        return text + (b.ToolNavUrlVisible ? " url" : "");
    };
    EXPECT_EQ(row(ShownButtons(records, true, true)), "........ .N.NNN... url");
    EXPECT_EQ(row(ShownButtons(records, true, false)), "........ .........");
}

TEST(LockedTest, LocalFilesAndEnginePagesOnlyWhenTheOperatorNamedThem) {
    Presentation show;
    show.Pages = {{"/srv/kiosk/welcome.html", true, 10s}, {"http://web/", true, 10s}};
    show.HomeURL = "file:///srv/kiosk/home.html";
    show.Include = {"file:///srv/shared/", "view-source:http://web/"};
    const std::string_view help = "/run/user/1000/Pagelark";
    const struct {
        const char* address;
        bool topLevel;
        bool refused;
    } cases[] = {
        {"FILE:///etc/passwd", true, true},
        {"file:///srv/kiosk//welcome.html?x#y", true, false},  // a page of the show
        {"file:///srv/kiosk/home.html", true, false},
        {"file:///srv/shared/a/b.html", true, false},  // included
        {"file:///run/user/1000/Pagelark/index.html", true, false},
        {"file:///srv/kiosk/frame.html", false, false},  // the local file guard's
        {"view-source:http://web/", true, false},
        {"view-source:http://other/", false, true},
        {"http://anywhere/", true, false},  // the include list's, when it applies
    };
    for (const auto& c : cases)
        EXPECT_EQ(LockedRefuses(show, c.address, help, c.topLevel), c.refused) << c.address;
}

}  // namespace
}  // namespace pagelark::testing
