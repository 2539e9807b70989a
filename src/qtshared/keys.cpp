#include "qtshared/keys.h"

#include <QKeyEvent>

namespace pagelark {

KeyCode KeyCodeOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Escape:
            return KeyCode::Escape;
        case Qt::Key_F1:
            return KeyCode::F1;
        case Qt::Key_F4:
            return KeyCode::F4;
        case Qt::Key_F10:
            return KeyCode::F10;
        default:
            return KeyCode::Other;
    }
}

int ShiftMaskOf(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier) mask |= kShiftMask;
    if (modifiers & Qt::ControlModifier) mask |= kCtrlMask;
    if (modifiers & Qt::AltModifier) mask |= kAltMask;
    return mask;
}

void PassKeyToPlayer(PlayerCommands& commands, const QKeyEvent& event) {
    commands.HandleKey(KeyCodeOf(event.key()), ShiftMaskOf(event.modifiers()));
}

}  // namespace pagelark
