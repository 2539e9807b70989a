#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>
#include <filesystem>
#include <memory>

#include "support/recording_commands.h"
#include "support/temp_folder.h"
#include "toolbars/qt_toolbars.h"

namespace pagelark {
namespace {

// The frame a tool bar is drawn in.
QWidget& FrameOf(QWidget& toolbar) {
    return *toolbar.parentWidget();
}

// A drag of the left button from a point of widget by the given offset, in one move.
void Drag(QWidget& widget, QPoint from, QPoint by) {
    const auto send = [&widget](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, from + by, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, from + by, Qt::NoButton);
}

class ToolbarWindowsTest : public ::testing::Test {
  protected:
    ToolbarWindowsTest() {
        CreateButtonLists(buttons);
        for (auto& b : buttons.ToolNavButtons)
            b.Visible = true;
        for (auto& b : buttons.ToolRunButtons)
            b.Visible = true;
        stage.resize(1024, 768);
    }

    ToolbarButtons buttons;
    testing::RecordingCommands commands;
    QWidget stage;
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
    QtToolbars toolbars(buttons, commands, folder.path() + "/", {&stage});

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

// Drawn in the stage, their frames (edges of 3 and 4 pixels, a caption bar of 18) in its top
// right corner: moved by the caption and Tool Nav resized by its left and bottom edges, never out
// of the stage, back in the corner at the next layout.
TEST_F(ToolbarWindowsTest, ToolbarsSitFramedInTheStagesCornerAndMoveAndResizeOnlyWithinIt) {
    QtToolbars toolbars(buttons, commands, {}, {&stage});
    QWidget& run = FrameOf(toolbars.ToolRun());
    QWidget& nav = FrameOf(toolbars.ToolNav());
    stage.show();
    EXPECT_FALSE(run.isVisible());
    toolbars.ShowToolRun(true);
    ASSERT_EQ(run.parentWidget(), &stage);
    EXPECT_TRUE(toolbars.ToolRun().isVisible());
    EXPECT_EQ(run.geometry(), QRect(1024 - 198, 0, 198, 3 + 18 + 24 + 3));
    EXPECT_EQ(toolbars.ToolRun().pos(), QPoint(3, 3 + 18));
    EXPECT_EQ(nav.geometry(), QRect(1024 - 224, 0, 224, 4 + 18 + 49 + 4));

    Drag(run, {50, 10}, {-500, 300});
    EXPECT_EQ(run.pos(), QPoint(1024 - 198 - 500, 300));
    Drag(run, {50, 10}, {-2000, 2000});
    EXPECT_EQ(run.pos(), QPoint(0, 768 - 48));
    Drag(run, {50, 30}, {100, -100});  // on the buttons: no drag
    EXPECT_EQ(run.pos(), QPoint(0, 768 - 48));
    Drag(run, {1, 47}, {-50, 50});  // Tool Run has a fixed size
    EXPECT_EQ(run.geometry(), QRect(0, 768 - 48, 198, 48));
    stage.resize(800, 600);  // the one the visitor moved stays inside, the other in the corner
    EXPECT_EQ(run.pos(), QPoint(0, 600 - 48));
    EXPECT_EQ(nav.pos(), QPoint(800 - 224, 0));

    toolbars.ShowToolNav(true);
    QLineEdit* box = toolbars.ToolNav().AddressBox();
    toolbars.SetAddress("https://example.org/");
    Drag(nav, {1, 74}, {-184, 45});
    EXPECT_EQ(nav.geometry(), QRect(800 - 224 - 184, 0, 224 + 184, 75 + 45));
    EXPECT_EQ(toolbars.ToolNav().size(), QSize(400, 49 + 45));
    EXPECT_EQ(box->geometry(), QRect(0, 24, 400, box->height()));
    EXPECT_EQ(box->selectedText(), "https://example.org/");
    Drag(nav, {3, 119}, {1000, -500});  // down to one button, its caption and the frame
    EXPECT_EQ(nav.geometry(), QRect(800 - 32, 0, 32, 4 + 18 + 24 + 4));
    toolbars.Relayout();
    EXPECT_EQ(run.pos(), QPoint(800 - 198, 0));

    // Sent as it will load, so the address lists judge that; hosts they cannot name as typed.
    for (const char* typed : {"127.0.0.1:8080/b.html", " http://127.0.0.1:8080", "127.1"}) {
        box->setText(typed);
        QTest::keyClick(box, Qt::Key_Return);
    }
    EXPECT_EQ(commands.calls, (std::vector<std::string>{"Go http://127.0.0.1:8080/b.html",
                                                        "Go http://127.0.0.1:8080/", "Go 127.1"}));
}

TEST_F(ToolbarWindowsTest, ConfigWindowJoinsTheToolbarsOnTopAndTheKeysStayAboveAndBelowThem) {
    auto config = std::make_unique<QWidget>();
    config->show();
    QWidget keys(&stage);
    keys.setGeometry(0, 568, 1024, 200);
    keys.hide();
    QtToolbars toolbars(buttons, commands, {}, {&stage, config.get(), &keys});
    QWidget& nav = FrameOf(toolbars.ToolNav());
    stage.show();
    toolbars.ShowToolNav(true);
    Drag(nav, {50, 10}, {0, 2000});
    EXPECT_EQ(nav.y(), 768 - 75);
    keys.show();  // the tool bar comes up, and no drag takes it under the keys
    EXPECT_EQ(nav.y(), 568 - 75);
    Drag(nav, {50, 10}, {0, 100});
    EXPECT_EQ(nav.y(), 568 - 75);
    toolbars.MakeToolNavTopmost();
    EXPECT_EQ(stage.children().back(), &keys);
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

// Where the tip hangs and that it goes with the pointer: the end-to-end tool bar test.
TEST_F(ToolbarWindowsTest, HelpTipShowsTheButtonsOwnTipInTheStage) {
    buttons.ToolRunButtons[1].HelpTip = "Pause the show";
    QtToolbars toolbars(buttons, commands, {}, {&stage});
    stage.show();
    toolbars.ShowToolRun(true);
    ImageButton* pause = toolbars.ToolRun().Button(1);
    QCursor::setPos(pause->mapToGlobal(QPoint(5, 5)));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), pause->mapToGlobal(QPointF(5, 5)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pause, &move);
    EXPECT_EQ(toolbars.HelpTip().parentWidget(), &stage);
    EXPECT_TRUE(toolbars.HelpTip().isVisible());
    EXPECT_EQ(toolbars.HelpTip().CurrentTipText(), " Pause the show ");
    // A click where the tip lies goes to what is under it.
    const QWidget& tip = toolbars.HelpTip();
    const QWidget* hit = stage.childAt(tip.geometry().center());
    EXPECT_TRUE(hit == nullptr || (hit != &tip && hit->parentWidget() != &tip));
}

}  // namespace
}  // namespace pagelark
