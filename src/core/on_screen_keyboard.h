#pragma once
// Whether the program brings Qt Virtual Keyboard up for text entry. Qt takes its input method
// once, when the application object is built, so this is decided before anything of Qt exists.

#include <optional>
#include <string>

namespace pagelark {

struct KeyboardStart {
    bool setting = false;  // the presentation's, the stores' or a managed file's
    // QT_IM_MODULE when set: the user's own choice of input method is never overridden.
    std::optional<std::string> imModule;
    bool pluginInstalled = false;
    bool touchScreen = false;
};

// The setting, or else a touch screen, asks for the keyboard.
bool UseOnScreenKeyboard(const KeyboardStart& start);

}  // namespace pagelark
