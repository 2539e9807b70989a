// The on-screen keyboard drawn in the window it serves, along its bottom; its keys typing into
// a field of that window is the end-to-end visitor test's.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QInputMethod>
#include <QLineEdit>
#include <QTest>
#include <QWindow>
#include <algorithm>

#include "stage/keyboard_panel.h"

namespace pagelark {
namespace {

// Qt takes its input method as the application is built, before any test runs.
const bool kKeyboardInWindow = [] {
    qputenv("QT_IM_MODULE", "qtvirtualkeyboard");
    qputenv("QT_VIRTUALKEYBOARD_DESKTOP_DISABLE", "1");
    qputenv("QT_QUICK_BACKEND", "software");
    return true;
}();

TEST(KeyboardPanelTest, LiesAlongTheStagesBottomWhileShownAndFollowsItsWidth) {
    ASSERT_TRUE(kKeyboardInWindow && KeyboardPanel::Wanted());
    QWidget stage;
    stage.setGeometry(0, 0, 1024, 768);
    auto* box = new QLineEdit(&stage);
    box->setGeometry(0, 0, 600, 40);
    auto* panel = new KeyboardPanel(&stage);
    stage.show();
    stage.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&stage));
    EXPECT_TRUE(panel->isHidden());

    box->setFocus();
    QGuiApplication::inputMethod()->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->height() > 100; })) << panel->height();
    const int height = panel->height();
    EXPECT_EQ(panel->geometry(), QRect(0, 768 - height, 1024, height));
    EXPECT_EQ(panel->TopInStage(QGuiApplication::inputMethod()->keyboardRectangle()), panel->y());
    EXPECT_EQ(std::ranges::count_if(QGuiApplication::topLevelWindows(), &QWindow::isVisible), 1)
        << "the keyboard came in a window of its own";

    // Its height follows from its width.
    stage.resize(800, 600);
    EXPECT_EQ(panel->geometry(), QRect(0, 600 - height * 800 / 1024, 800, height * 800 / 1024));
    QGuiApplication::inputMethod()->hide();
    EXPECT_TRUE(panel->isHidden());
}

}  // namespace
}  // namespace pagelark
