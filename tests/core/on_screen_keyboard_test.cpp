#include "core/on_screen_keyboard.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace pagelark {
namespace {

using testing::TempFolder;

TEST(OnScreenKeyboard, SettingOrTouchScreenUnlessTheUserChoseAnInputMethod) {
    TempFolder touchpad;  // pointer and button pad
    touchpad.Write("event1/device/properties", "5\n");
    TempFolder touchScreen;
    touchScreen.Write("event1/device/properties", "5\n");
    touchScreen.Write("event4/device/properties", "2\n");
    TempFolder none;
    const struct {
        bool setting;
        std::optional<std::string> imModule;
        bool plugin;
        const TempFolder& devices;
        bool keyboard;
    } cases[] = {
        {true, std::nullopt, true, none, true},
        {true, "ibus", true, touchScreen, false},
        {true, std::nullopt, false, touchScreen, false},
        {false, std::nullopt, true, touchpad, false},
        {false, std::nullopt, true, touchScreen, true},
        {false, "", true, touchScreen, false},
        {false, std::nullopt, true, none, false},
    };
    int row = 0;
    for (const auto& c : cases) {
        EXPECT_EQ(UseOnScreenKeyboard({c.setting, c.imModule, c.plugin, c.devices.path()}),
                  c.keyboard)
            << "row " << row;
        ++row;
    }
    EXPECT_FALSE(TouchScreenPresent(none.File("missing")));
}

}  // namespace
}  // namespace pagelark
