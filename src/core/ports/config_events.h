#pragma once
// An inward port of the player: what the windows may ask of it; the player implements it, so no
// window knows the player itself.

#include <string>

namespace pagelark {

// What the configuration window asks of the player and the stage.
class ConfigEvents {
  public:
    virtual ~ConfigEvents() = default;
    // The window was filled; the operator needs the cursor.
    virtual void ConfigShown() = 0;
    // The address of the page on show; "" when it cannot be read.
    virtual std::string CurrentLocation() const = 0;
    // Shows address in the browser on show; an address it already holds is not reloaded.
    virtual void ShowInStage(const std::string& address) = 0;
    // The window closed; ok when its changes were accepted and saved.
    virtual void ConfigClosed(bool ok) = 0;
};

}  // namespace pagelark
