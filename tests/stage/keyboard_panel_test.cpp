// The on-screen keyboard drawn in the window it serves: its place, and its keys typing into a
// field of that window, which keeps the focus.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QLineEdit>
#include <QQuickItem>
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

// The centre of a key of the English layout's top row, by its place in the row of ten.
QPoint KeyCentre(const KeyboardPanel& panel, int column) {
    return {panel.width() * (2 * column + 1) / 20, panel.height() * 3 / 20};
}

// The text of the key laid out under a point of the panel; "" before the keys are laid out.
QString KeyAt(const QQuickItem& item, QPointF at) {
    for (const QQuickItem* child : item.childItems()) {
        const QPointF inChild = item.mapToItem(child, at);
        if (!child->isVisible() || !child->contains(inChild)) continue;
        QString text = child->property("text").toString();
        if (!text.isEmpty() && child->property("key").isValid()) return text;
        if (QString inner = KeyAt(*child, inChild); !inner.isEmpty()) return inner;
    }
    return "";
}

TEST(KeyboardPanelTest, LiesAlongTheStagesBottomWhileShownAndTypesIntoItsField) {
    ASSERT_TRUE(kKeyboardInWindow && KeyboardPanel::Wanted());
    QWidget stage;
    stage.setGeometry(0, 0, 1024, 768);
    auto* box = new QLineEdit(&stage);
    box->setGeometry(0, 0, 600, 40);
    box->setInputMethodHints(Qt::ImhNoAutoUppercase);
    auto* panel = new KeyboardPanel(&stage);
    stage.show();
    stage.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&stage));
    EXPECT_TRUE(panel->isHidden());

    box->setFocus();
    QGuiApplication::inputMethod()->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->isVisible(); }));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return KeyAt(*panel->rootObject(), KeyCentre(*panel, 0)) == "q"; }));
    const int height = panel->height();
    EXPECT_GT(height, 100);
    EXPECT_EQ(panel->geometry(), QRect(0, 768 - height, 1024, height));
    EXPECT_EQ(panel->TopInStage(QGuiApplication::inputMethod()->keyboardRectangle()), panel->y());
    EXPECT_EQ(std::ranges::count_if(QGuiApplication::topLevelWindows(), &QWindow::isVisible), 1)
        << "the keyboard came in a window of its own";

    // A press counts once the scene has taken the events its showing posted.
    QCoreApplication::processEvents();
    for (const int column : {0, 1})
        QTest::mouseClick(panel, Qt::LeftButton, {}, KeyCentre(*panel, column));
    EXPECT_TRUE(QTest::qWaitFor([&] { return box->text() == "qw"; })) << box->text().toStdString();
    EXPECT_EQ(QApplication::focusWidget(), box);

    // Its height follows from its width.
    stage.resize(800, 600);
    EXPECT_EQ(panel->geometry(), QRect(0, 600 - height * 800 / 1024, 800, height * 800 / 1024));
    QGuiApplication::inputMethod()->hide();
    EXPECT_TRUE(panel->isHidden());
}

}  // namespace
}  // namespace pagelark
