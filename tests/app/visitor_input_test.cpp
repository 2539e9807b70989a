#include "app/visitor_input.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "support/recording_commands.h"
#include "toolbars/qt_toolbars.h"

namespace pagelark {
namespace {

TEST(VisitorInputTest, KeysReachThePlayerOnceAndToolbarMovesCountWhereTheyShould) {
    ToolbarButtons buttons;
    CreateButtonLists(buttons);
    testing::RecordingCommands commands;
    QWidget stage, elsewhere;
    stage.resize(400, 300);  // on the screen, which a touch needs
    // Drawn in the stage: a tool bar is known by its widgets, not by their window.
    QtToolbars toolbars(buttons, commands, {}, {&stage});
    const VisitorInput input(commands, stage, toolbars);
    QLineEdit* box = toolbars.ToolNav().AddressBox();
    toolbars.SetAddress(" a ");  // sent as the page will load it

    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Escape, Qt::ShiftModifier);  // the box leaves it to its window
    QTest::keyClick(&toolbars.ToolRun(), Qt::Key_F1);
    QTest::keyClick(&stage, Qt::Key_F4, Qt::AltModifier);
    QTest::keyClick(&elsewhere, Qt::Key_F10);
    // Each key once, a modifier key itself included, before the window has it.
    EXPECT_EQ(commands.calls,
              (std::vector<std::string>{"Key 0/0", "Go http://a/", "Key 0/1", "Key 27/1",
                                        "Key 112/0", "Key 0/4", "Key 115/4"}));
    box->setText("");
    QTest::keyClicks(box, "ab");
    EXPECT_EQ(box->text(), "ab");

    const auto counts = [&commands](QWidget* receiver) {
        const int before = commands.activity;
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), receiver->mapToGlobal(QPointF(2, 2)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(receiver, &move);
        return commands.activity > before;
    };
    ToolRunWindow& run = toolbars.ToolRun();
    ToolNavWindow& nav = toolbars.ToolNav();
    // Tool Nav's buttons only show their tips; its frame is the window's, as a caption was.
    EXPECT_EQ(
        (std::vector<bool>{counts(run.Button(1)), counts(&run), counts(nav.Button(1)), counts(&nav),
                           counts(box), counts(&stage), counts(nav.parentWidget())}),
        (std::vector<bool>{true, true, false, true, true, false, false}));

    // A finger on the page or a tool bar, never on another window.
    QPointingDevice* screen = QTest::createTouchDevice();
    const auto touches = [&commands, screen](QWidget* target) {
        commands.calls.clear();
        target->setAttribute(Qt::WA_AcceptTouchEvents);
        // Through its window: a touch reaches a widget where the window has it.
        QWidget* window = target->window();
        window->show();
        const QPoint at = target->mapTo(window, QPoint(5, 5));
        QTest::touchEvent(window, screen).press(0, at);
        QTest::touchEvent(window, screen).release(0, at);
        return commands.calls == std::vector<std::string>{"Touch"};
    };
    toolbars.ShowToolRun(true);
    EXPECT_EQ((std::vector<bool>{touches(&stage), touches(&elsewhere), touches(&run)}),
              (std::vector<bool>{true, false, true}));

    // A click where the pointer rests is the visitor too, on the stage or a tool bar.
    const auto clicks = [&commands](QWidget* target) {
        const int before = commands.activity;
        QTest::mouseClick(target, Qt::LeftButton);
        return commands.activity > before;
    };
    EXPECT_EQ((std::vector<bool>{clicks(&stage), clicks(&elsewhere), clicks(&nav)}),
              (std::vector<bool>{true, false, true}));

    // While the screen is dark, the input that wakes it and the rest of its gesture reach
    // nothing: no key for the player, no click, no touch.
    const auto wakes = [&](const std::function<void()>& visitor) {
        commands.calls.clear();
        const int activity = commands.activity;
        commands.dark = true;
        const int before = commands.wakes;
        visitor();
        return commands.wakes == before + 1 && commands.calls.empty() &&
               commands.activity == activity;
    };
    EXPECT_TRUE(wakes([&] { QTest::keyClick(&stage, Qt::Key_F1); }));
    EXPECT_TRUE(wakes([&] { QTest::mouseClick(&stage, Qt::LeftButton); }));
    EXPECT_TRUE(wakes([&] {
        QTest::touchEvent(&stage, screen).press(0, {5, 5});
        QTest::touchEvent(&stage, screen).move(0, {6, 6});
        QTest::touchEvent(&stage, screen).release(0, {6, 6});
    }));
    // Lit, the next key goes on as ever.
    QTest::keyClick(&stage, Qt::Key_F1);
    EXPECT_EQ(commands.calls, std::vector<std::string>{"Key 112/0"});
}

}  // namespace
}  // namespace pagelark
