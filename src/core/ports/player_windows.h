#pragma once
// An outward port of the player: its windows, built for it as the player itself is built, each
// with the player's inward ports, so that no window is ever without its player.

namespace pagelark {

class BrowserEvents;
class BrowserStage;
class ConfigEvents;
class ConfigWindow;
class PlayerCommands;
class Toolbars;

struct PlayerWindows {
    BrowserStage& stage;
    Toolbars& toolbars;
    ConfigWindow& configWindow;
};

class WindowBuilder {
  public:
    virtual ~WindowBuilder() = default;
    // Called once, by the player's constructor: the windows may keep the ports but not use
    // them before it returns.
    virtual PlayerWindows Build(PlayerCommands& commands, BrowserEvents& events,
                                ConfigEvents& config) = 0;
};

}  // namespace pagelark
