#include "stage/keyboard_panel.h"

#include <QEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QQmlError>
#include <QQuickItem>

#include <cmath>
#include <iostream>

// The panel's description lives in a static library: its registration must be pulled in by hand.
static void InitKeyboardPanel() {
    Q_INIT_RESOURCE(keyboard_panel);
}

namespace pagelark {

KeyboardPanel::KeyboardPanel(QWidget* stage) : QQuickWidget(stage) {
    InitKeyboardPanel();
    setObjectName("keyboardPanel");
    // A key pressed leaves the focus, and with it the input method's target, where it was.
    setFocusPolicy(Qt::NoFocus);
    setResizeMode(QQuickWidget::SizeRootObjectToView);
    setSource(QUrl("qrc:/stage/keyboard_panel.qml"));
    hide();
    QQuickItem* panel = rootObject();
    if (panel == nullptr) {
        for (const QQmlError& error : errors())
            std::cerr << "pagelark: no on-screen keyboard: " << error.toString().toStdString()
                      << "\n";
        return;
    }
    connect(panel, &QQuickItem::implicitHeightChanged, this, &KeyboardPanel::Follow);
    connect(QGuiApplication::inputMethod(), &QInputMethod::visibleChanged, this,
            &KeyboardPanel::Follow);
    stage->installEventFilter(this);
    Follow();
}

bool KeyboardPanel::Wanted() {
    return qgetenv("QT_IM_MODULE") == "qtvirtualkeyboard" &&
           qEnvironmentVariableIntValue("QT_VIRTUALKEYBOARD_DESKTOP_DISABLE") != 0;
}

int KeyboardPanel::TopInStage(const QRectF& keyboardRectangle) const {
    // The panel's scene is the widget: the input method's rectangle is in its coordinates.
    return y() + static_cast<int>(std::floor(keyboardRectangle.top()));
}

bool KeyboardPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) Follow();
    return QQuickWidget::eventFilter(watched, event);
}

void KeyboardPanel::Follow() {
    const QWidget* stage = parentWidget();
    QQuickItem* panel = rootObject();
    // Its height follows from its width, which a hidden widget does not hand on yet.
    panel->setWidth(stage->width());
    const int height = static_cast<int>(std::ceil(panel->implicitHeight()));
    setGeometry(0, stage->height() - height, stage->width(), height);
    setVisible(QGuiApplication::inputMethod()->isVisible());
}

}  // namespace pagelark
