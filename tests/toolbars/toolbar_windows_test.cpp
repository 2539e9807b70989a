#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "toolbars/qt_toolbars.h"

namespace pagelark {
namespace {

class FakeCommands final : public PlayerCommands {
  public:
    void CmdPlay() override { calls.push_back("Play"); }
    void CmdPause() override { calls.push_back("Pause"); }
    void CmdPrevious() override { calls.push_back("Previous"); }
    void CmdNext() override { calls.push_back("Next"); }
    void CmdQuit() override { calls.push_back("Quit"); }
    void CmdConfig() override { calls.push_back("Config"); }
    void CmdHelp() override { calls.push_back("Help"); }
    void CmdBack() override { calls.push_back("Back"); }
    void CmdForward() override { calls.push_back("Forward"); }
    void CmdStop() override { calls.push_back("Stop"); }
    void CmdReload() override { calls.push_back("Reload"); }
    void GoHome() override { calls.push_back("Home"); }
    void SwitchToNavigation() override { calls.push_back("Navigation"); }
    void BrowseAddress(const std::string& address) override { calls.push_back("Go " + address); }
    void HandleKey(KeyCode key, int shift) override {
        calls.push_back("Key " + std::to_string(static_cast<int>(key)) + "/" +
                        std::to_string(shift));
    }
    void NoteActivity() override { ++activity; }
    bool QuitAllowed() const override { return true; }
    bool Finishing() const override { return finishing; }

    std::vector<std::string> calls;
    int activity = 0;
    bool finishing = false;
};

class ToolbarWindowsTest : public ::testing::Test {
  protected:
    ToolbarWindowsTest() {
        CreateButtonLists(buttons);
        for (auto& b : buttons.ToolNavButtons)
            b.Visible = true;
        for (auto& b : buttons.ToolRunButtons)
            b.Visible = true;
    }

    std::vector<int> VisibleLefts(const ToolbarWindow& window) const {
        std::vector<int> lefts;
        for (int i = 0; i < window.ButtonCount(); ++i)
            if (!window.Button(i)->isHidden()) lefts.push_back(window.Button(i)->x());
        return lefts;
    }

    ToolbarButtons buttons;
    FakeCommands commands;
};

TEST_F(ToolbarWindowsTest, ButtonsFormOneRowWithHiddenOnesTakingNoRoom) {
    buttons.ToolNavButtons[2].Visible = false;
    buttons.ToolRunButtons[0].Visible = false;
    buttons.ToolRunButtons[7].Visible = false;
    QtToolbars toolbars(buttons);
    toolbars.Attach(commands);

    ToolNavWindow& nav = toolbars.ToolNav();
    EXPECT_EQ(toolbars.ToolNavVisibleCount(), 8);
    EXPECT_EQ(VisibleLefts(nav), (std::vector<int>{0, 24, 48, 72, 96, 120, 144, 168}));
    EXPECT_TRUE(nav.Button(2)->isHidden());
    EXPECT_EQ(nav.width(), 8 * 24);
    QLineEdit* box = nav.AddressBox();
    EXPECT_EQ(nav.height(), 24 + box->height());
    EXPECT_EQ(box->geometry(), QRect(0, 24, nav.width(), box->height()));

    ToolRunWindow& run = toolbars.ToolRun();
    EXPECT_EQ(toolbars.ToolRunVisibleCount(), 6);
    EXPECT_EQ(VisibleLefts(run), (std::vector<int>{0, 24, 48, 72, 96, 120}));
    EXPECT_EQ(run.size(), QSize(6 * 24, 24));
    EXPECT_EQ(run.minimumSize(), run.maximumSize());  // the visitor cannot resize it
    EXPECT_EQ(run.windowTitle(), "Pagelark");
    // The default pictures are linked in from the library's resources.
    EXPECT_FALSE(run.Button(1)->Picture().toImage().pixelColor(12, 12).alpha() == 0);

    // Changes saved take effect at once: without the address box Tool Nav is shorter by its
    // height, and Tool Run narrower by each button hidden.
    buttons.ToolNavUrlVisible = false;
    buttons.ToolRunButtons[3].Visible = false;
    toolbars.Relayout();
    EXPECT_TRUE(box->isHidden());
    EXPECT_EQ(nav.height(), 24);
    EXPECT_EQ(toolbars.ToolRunVisibleCount(), 5);
    EXPECT_EQ(run.width(), 5 * 24);
    EXPECT_TRUE(run.Button(3)->isHidden());
}

TEST_F(ToolbarWindowsTest, LargerPictureRaisesTheRowAndTheAddressBoxGoesUnderButtonZero) {
    testing::TempFolder folder;
    QPixmap large(32, 30);
    large.fill(Qt::red);
    const std::string path = folder.File("large.png");
    ASSERT_TRUE(large.save(QString::fromStdString(path)));
    buttons.ToolNavButtons[0].Icon = path;
    buttons.ToolNavButtons[4].Icon = folder.File("missing.png");
    QtToolbars toolbars(buttons);
    toolbars.Attach(commands);

    ToolNavWindow& nav = toolbars.ToolNav();
    EXPECT_EQ(nav.Button(0)->size(), QSize(32, 30));
    EXPECT_EQ(nav.Button(4)->size(), QSize(24, 24));  // unreadable file: default picture
    EXPECT_EQ(nav.width(), 32 + 8 * 24);
    EXPECT_EQ(nav.AddressBox()->y(), 30);
    EXPECT_EQ(nav.height(), 30 + nav.AddressBox()->height());

    // Re-layouts keep the picture on show when the file can no longer be read, and the
    // window's height with it.
    buttons.ToolNavButtons[0].Icon = folder.File("gone.png");
    for (int save = 0; save < 3; ++save)
        toolbars.Relayout();
    EXPECT_EQ(nav.Button(0)->size(), QSize(32, 30));
    EXPECT_EQ(nav.height(), 30 + nav.AddressBox()->height());
}

TEST_F(ToolbarWindowsTest, EachButtonRunsItsCommand) {
    QtToolbars toolbars(buttons);
    toolbars.Attach(commands);
    for (int i = 0; i < toolbars.ToolRun().ButtonCount(); ++i)
        QTest::mouseClick(toolbars.ToolRun().Button(i), Qt::LeftButton);
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"Play", "Pause", "Previous", "Next", "Quit",
                                                        "Config", "Navigation", "Help"}));
    commands.calls.clear();
    for (int i = 0; i < toolbars.ToolNav().ButtonCount(); ++i)
        QTest::mouseClick(toolbars.ToolNav().Button(i), Qt::LeftButton);
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"Back", "Forward", "Stop", "Reload", "Home",
                                                        "Play", "Quit", "Config", "Help"}));
}

TEST_F(ToolbarWindowsTest, AddressBoxSendsItsTextUnchangedAndKeysReachThePlayerOnce) {
    QtToolbars toolbars(buttons);
    toolbars.Attach(commands);
    QLineEdit* box = toolbars.ToolNav().findChild<QLineEdit*>("txtURL");
    ASSERT_NE(box, nullptr);
    toolbars.SetAddress(" example.org/a ");
    commands.calls.clear();
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Escape, Qt::ShiftModifier);
    // Each key once, the Shift key itself included; the box still gets what is typed.
    EXPECT_EQ(commands.calls,
              (std::vector<std::string>{"Key 0/0", "Go  example.org/a ", "Key 0/1", "Key 27/1"}));
    box->setText("");
    QTest::keyClicks(box, "ab");
    EXPECT_EQ(box->text(), "ab");

    commands.calls.clear();
    QTest::keyClick(&toolbars.ToolRun(), Qt::Key_F1);
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"Key 112/0"}));
}

TEST_F(ToolbarWindowsTest, ResizingKeepsTheAddressBoxUnderTheButtonsWithItsTextSelected) {
    QtToolbars toolbars(buttons);
    toolbars.Attach(commands);
    ToolNavWindow& nav = toolbars.ToolNav();
    toolbars.SetAddress("https://example.org/");
    nav.show();
    nav.resize(400, 120);
    EXPECT_EQ(nav.AddressBox()->geometry(), QRect(0, 24, 400, nav.AddressBox()->height()));
    EXPECT_EQ(nav.AddressBox()->selectedText(), "https://example.org/");
}

TEST_F(ToolbarWindowsTest, ConfigWindowJoinsTheToolbarsOnTopUntilReleasedForADialog) {
    QtToolbars toolbars(buttons);
    toolbars.Attach(commands);
    auto config = std::make_unique<QWidget>();
    config->show();
    toolbars.SetConfigWindow(config.get());
    auto onTop = [&config] { return config->windowFlags().testFlag(Qt::WindowStaysOnTopHint); };

    toolbars.MakeToolbarsTopmost();
    EXPECT_TRUE(onTop());
    toolbars.ReleaseConfigTopmost();
    EXPECT_FALSE(onTop());
    EXPECT_TRUE(config->isVisible());  // new flags hide a window: it must come back
    toolbars.MakeToolbarsTopmost();
    EXPECT_TRUE(onTop());
    EXPECT_TRUE(config->isVisible());

    config.reset();  // closed: the calls go on without it
    toolbars.MakeToolbarsTopmost();
    toolbars.ReleaseConfigTopmost();
}

TEST_F(ToolbarWindowsTest, VisitorCannotCloseOrMinimiseTheToolbars) {
    QtToolbars toolbars(buttons);
    toolbars.Attach(commands);
    for (QWidget* window :
         {static_cast<QWidget*>(&toolbars.ToolNav()), static_cast<QWidget*>(&toolbars.ToolRun())}) {
        window->show();
        window->setWindowState(Qt::WindowMinimized);
        QCoreApplication::processEvents();
        EXPECT_FALSE(window->isMinimized());

        commands.finishing = false;
        QCloseEvent refused;
        QApplication::sendEvent(window, &refused);
        EXPECT_FALSE(refused.isAccepted());
        commands.finishing = true;
        QCloseEvent accepted;
        QApplication::sendEvent(window, &accepted);
        EXPECT_TRUE(accepted.isAccepted());
    }
}

TEST_F(ToolbarWindowsTest, HelpTipFollowsTheButtonsAndGoesWhenThePointerLeaves) {
    buttons.ToolRunButtons[1].HelpTip = "Pause the show";
    buttons.ToolRunButtons[2].HelpTip = "   ";
    QtToolbars toolbars(buttons);
    toolbars.Attach(commands);
    ToolRunWindow& run = toolbars.ToolRun();
    run.show();
    HelpTipWindow& tip = toolbars.HelpTip();

    QTest::mouseMove(run.Button(1), QPoint(5, 5));
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.CurrentTipText(), " Pause the show ");
    EXPECT_GE(commands.activity, 1);  // moves over Tool Run's buttons count as activity

    // The pointer still over the tool bar keeps the tip; outside it, the timer's check hides it.
    const QPoint inside = run.mapToGlobal(QPoint(1, 1));
    toolbars.CheckHelpTip({inside.x(), inside.y()}, false);
    EXPECT_TRUE(tip.isVisible());
    const QPoint outside = run.frameGeometry().bottomLeft() + QPoint(-5, 40);
    toolbars.CheckHelpTip({outside.x(), outside.y()}, false);
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(tip.CurrentTipText(), "");

    // A tip of blanks only shows nothing.
    QTest::mouseMove(run.Button(2), QPoint(5, 5));
    EXPECT_FALSE(tip.isVisible());
}

}  // namespace
}  // namespace pagelark

int main(int argc, char** argv) {
    // Also when the test list is read, which happens without the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
