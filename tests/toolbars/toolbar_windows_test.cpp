#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <filesystem>
#include <memory>

#include "support/recording_commands.h"
#include "support/temp_folder.h"
#include "toolbars/qt_toolbars.h"

namespace pagelark {
namespace {

class ToolbarWindowsTest : public ::testing::Test {
  protected:
    ToolbarWindowsTest() {
        CreateButtonLists(buttons);
        for (auto& b : buttons.ToolNavButtons)
            b.Visible = true;
        for (auto& b : buttons.ToolRunButtons)
            b.Visible = true;
    }

    ToolbarButtons buttons;
    testing::RecordingCommands commands;
};

TEST_F(ToolbarWindowsTest, WindowsCarryOutTheLayoutAndSavedChangesAtOnce) {
    testing::TempFolder folder;
    QPixmap large(32, 30);
    large.fill(Qt::red);
    std::filesystem::create_directory(folder.File("pics"));
    ASSERT_TRUE(large.save(QString::fromStdString(folder.File("pics/large.png"))));
    // As stored by a presentation: Windows separators, relative to the start-up folder.
    buttons.ToolNavButtons[0].Icon = "pics\\large.png";
    buttons.ToolNavButtons[2].Visible = false;
    buttons.ToolNavButtons[4].Icon = folder.File("missing.png");
    QtToolbars toolbars(buttons, commands, folder.path() + "/");

    ToolNavWindow& nav = toolbars.ToolNav();
    QLineEdit* box = nav.AddressBox();
    EXPECT_EQ(toolbars.ToolNavVisibleCount(), 8);
    EXPECT_EQ(nav.Button(3)->x(), 32 + 24);           // the hidden button takes no room
    EXPECT_EQ(nav.Button(4)->size(), QSize(24, 24));  // unreadable file: default picture
    EXPECT_EQ(box->geometry(), QRect(0, 30, 32 + 7 * 24, box->height()));
    EXPECT_EQ(nav.size(), QSize(32 + 7 * 24, 30 + box->height()));
    // The default pictures are linked in from the library's resources.
    EXPECT_NE(nav.Button(1)->Picture().toImage().pixelColor(12, 12).alpha(), 0);

    // A picture that can no longer be read stays on show, and the row with it.
    buttons.ToolNavButtons[0].Icon = folder.File("gone.png");
    buttons.ToolNavUrlVisible = false;
    toolbars.Relayout();
    toolbars.Relayout();
    EXPECT_TRUE(box->isHidden());
    EXPECT_EQ(nav.Button(0)->size(), QSize(32, 30));
    EXPECT_EQ(nav.height(), 30);
}

// Return in the box is the visitor input test's, over these windows.
TEST_F(ToolbarWindowsTest, AddressBoxStaysUnderTheButtonsWithItsAddressSelected) {
    QtToolbars toolbars(buttons, commands);
    QLineEdit* box = toolbars.ToolNav().AddressBox();
    toolbars.SetAddress("https://example.org/");
    toolbars.ToolNav().show();
    toolbars.ToolNav().resize(400, 120);  // by the user
    EXPECT_EQ(box->geometry(), QRect(0, 24, 400, box->height()));
    EXPECT_EQ(box->selectedText(), "https://example.org/");
    // Sent as it will load, so the address lists judge that; hosts they cannot name as typed.
    for (const char* typed : {"127.0.0.1:8080/b.html", " http://127.0.0.1:8080", "127.1"}) {
        box->setText(typed);
        QTest::keyClick(box, Qt::Key_Return);
    }
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"Go http://127.0.0.1:8080/b.html",
                                                        "Go http://127.0.0.1:8080/", "Go 127.1"}));
}

TEST_F(ToolbarWindowsTest, ConfigWindowJoinsTheToolbarsOnTopUntilReleasedForADialog) {
    auto config = std::make_unique<QWidget>();
    config->show();
    QtToolbars toolbars(buttons, commands, {}, {nullptr, config.get()});
    auto onTop = [&config] { return config->windowFlags().testFlag(Qt::WindowStaysOnTopHint); };

    toolbars.MakeToolbarsTopmost();
    EXPECT_TRUE(onTop());
    toolbars.ReleaseConfigTopmost();
    EXPECT_FALSE(onTop());
    EXPECT_TRUE(config->isVisible());  // new flags hide a window: it must come back

    config.reset();  // closed: the calls go on without it
    toolbars.MakeToolbarsTopmost();
    toolbars.ReleaseConfigTopmost();
}

// Minimising is the end-to-end tool bar test's, under a window manager.
TEST_F(ToolbarWindowsTest, VisitorCannotCloseTheToolbars) {
    QtToolbars toolbars(buttons, commands);
    for (QWidget* window :
         {static_cast<QWidget*>(&toolbars.ToolNav()), static_cast<QWidget*>(&toolbars.ToolRun())}) {
        for (bool finishing : {false, true}) {
            commands.finishing = finishing;
            QCloseEvent close;
            QApplication::sendEvent(window, &close);
            EXPECT_EQ(close.isAccepted(), finishing);
        }
    }
}

// Where the tip hangs and that it goes with the pointer: the end-to-end tool bar test.
TEST_F(ToolbarWindowsTest, HelpTipShowsTheButtonsOwnTip) {
    buttons.ToolRunButtons[1].HelpTip = "Pause the show";
    QtToolbars toolbars(buttons, commands);
    toolbars.ToolRun().show();
    QTest::mouseMove(toolbars.ToolRun().Button(1), QPoint(5, 5));
    EXPECT_TRUE(toolbars.HelpTip().isVisible());
    EXPECT_EQ(toolbars.HelpTip().CurrentTipText(), " Pause the show ");
}

}  // namespace
}  // namespace pagelark
