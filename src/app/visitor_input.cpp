#include "app/visitor_input.h"

#include <QApplication>
#include <QKeyEvent>

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
        const QWidget* window = widget.window();
        return window == &stage_ || toolbars_.Owns(window);
    };
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

}  // namespace pagelark
