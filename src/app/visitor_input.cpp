#include "app/visitor_input.h"

#include <QApplication>
#include <QKeyEvent>
#include <utility>

#include "core/ports/player_commands.h"
#include "qtshared/keys.h"
#include "toolbars/qt_toolbars.h"

namespace pagelark {

VisitorInput::VisitorInput(PlayerCommands& commands, const QWidget& stage,
                           const QtToolbars& toolbars)
    : commands_(commands), stage_(stage), toolbars_(toolbars) {
    qApp->installEventFilter(this);
}

VisitorInput::~VisitorInput() {
    qApp->removeEventFilter(this);
}

bool VisitorInput::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType()) return false;
    const auto& widget = *static_cast<const QWidget*>(watched);
    // Asked only of keys and touches: every event of the program passes here.
    const auto ours = [this, &widget] {
        return widget.window() == &stage_ || toolbars_.Owns(&widget);
    };
    if (Waking(event->type(), ours)) return true;
    if (event->type() == QEvent::KeyPress) {
        if (!ours()) return false;
        const auto& key = *static_cast<const QKeyEvent*>(event);
        if (key.timestamp() == lastKeyTimestamp_ && key.key() == lastKey_) return false;
        lastKeyTimestamp_ = key.timestamp();
        lastKey_ = key.key();
        PassKeyToPlayer(commands_, key);
    } else if ((event->type() == QEvent::MouseMove && toolbars_.MoveIsActivity(widget)) ||
               // A click or a scroll where the pointer rests is the visitor too.
               ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel) &&
                ours())) {
        commands_.NoteActivity();
    } else if ((event->type() == QEvent::TouchBegin || event->type() == QEvent::TouchUpdate) &&
               ours()) {
        commands_.NoteTouch();
    }
    return false;
}

bool VisitorInput::Waking(QEvent::Type type, const std::function<bool()>& ours) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::TouchBegin:
            if (!ours()) return false;
            // The press that woke the screen takes the rest of its gesture with it: a page
            // acts on a release as much as on a press.
            wakingGesture_ = commands_.TakeWakingInput();
            return wakingGesture_;
        case QEvent::TouchUpdate:
            return wakingGesture_;
        case QEvent::KeyRelease:
        case QEvent::MouseButtonRelease:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
            return std::exchange(wakingGesture_, false);
        default:
            return false;
    }
}

}  // namespace pagelark
