#pragma once
// An outward port of the player: what it needs from the world around it; the Qt windows implement
// it and tests use fakes.

#include <string>

#include "core/ports/port_types.h"

namespace pagelark {

// The two tool bar windows and the help tip.
class Toolbars {
  public:
    virtual ~Toolbars() = default;
    virtual void ShowToolRun(bool visible) = 0;
    virtual void ShowToolNav(bool visible) = 0;
    // The visible buttons as the last layout counted them: edits count once saved.
    virtual int ToolRunVisibleCount() const = 0;
    virtual int ToolNavVisibleCount() const = 0;
    virtual void MakeToolRunTopmost() = 0;
    virtual void MakeToolNavTopmost() = 0;
    virtual void MakeToolbarsTopmost() = 0;
    virtual void HideHelpTip() = 0;
    // Hides the help tip when the pointer lies outside the tool bar of the current mode.
    virtual void CheckHelpTip(ScreenPoint pointer, bool navigationMode) = 0;
    // The address box of the navigation tool bar.
    virtual void SetAddress(const std::string& address) = 0;
};

}  // namespace pagelark
