#pragma once
// Keys of Qt's key events as the player's key handling expects them; shared by every window
// that hands its keys to the player.

#include <Qt>

#include "core/ports/player_commands.h"

class QKeyEvent;

namespace pagelark {

KeyCode KeyCodeOf(int qtKey);
int ShiftMaskOf(Qt::KeyboardModifiers modifiers);
// The key of a key press, handed to the player.
void PassKeyToPlayer(PlayerCommands& commands, const QKeyEvent& event);

}  // namespace pagelark
