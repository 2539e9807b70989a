#include "core/on_screen_keyboard.h"

namespace pagelark {

bool UseOnScreenKeyboard(const KeyboardStart& start) {
    if (start.imModule.has_value() || !start.pluginInstalled) return false;
    return start.setting || start.touchScreen;
}

}  // namespace pagelark
