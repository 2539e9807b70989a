#pragma once
// The player's states; each 200 ms step acts on the one it is in.

namespace pagelark {

enum class PlayerState { Init, Navigate, WaitTime, WaitSaver, Config, WaitConfig, FinProg };

}  // namespace pagelark
