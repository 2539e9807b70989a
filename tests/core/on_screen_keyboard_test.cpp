#include "core/on_screen_keyboard.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

TEST(OnScreenKeyboard, SettingOrTouchScreenUnlessTheUserChoseAnInputMethod) {
    const struct {
        bool setting;
        std::optional<std::string> imModule;
        bool plugin, touchScreen, keyboard;
    } cases[] = {
        {true, std::nullopt, true, false, true},  {true, "ibus", true, true, false},
        {true, std::nullopt, false, true, false}, {false, std::nullopt, true, true, true},
        {false, "", true, true, false},           {false, std::nullopt, true, false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UseOnScreenKeyboard({c.setting, c.imModule, c.plugin, c.touchScreen}), c.keyboard)
            << &c - cases;
}

}  // namespace
}  // namespace pagelark
