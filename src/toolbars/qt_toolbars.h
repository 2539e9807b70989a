#pragma once
// The tool bar port on Qt: owns Tool Run, Tool Nav and the help tip window.
//
// Built before the player (the player's context needs the port), attached to it afterwards:
//     QtToolbars toolbars(buttons);
//     Player player({..., toolbars, ...});
//     toolbars.Attach(player);

#include <memory>

#include "core/ports.h"
#include "toolbars/toolbar_commands.h"
#include "toolbars/toolbar_windows.h"

namespace pagelark {

class QtToolbars final : public Toolbars {
  public:
    // The windows are laid out at once from the records, which must outlive this object.
    explicit QtToolbars(const ToolbarButtons& buttons);
    // With other commands than the player's, for trying the windows out.
    QtToolbars(const ToolbarButtons& buttons, ToolbarCommands& commands);
    ~QtToolbars() override;

    void Attach(Player& player) { playerCommands_.Attach(player); }
    // After the presentation was saved: the records in memory laid out again.
    void Relayout();

    int ToolNavVisibleCount() const { return toolNav_->VisibleCount(); }
    int ToolRunVisibleCount() const { return toolRun_->VisibleCount(); }
    ToolNavWindow& ToolNav() { return *toolNav_; }
    ToolRunWindow& ToolRun() { return *toolRun_; }
    HelpTipWindow& HelpTip() { return *helpTip_; }

    // Toolbars
    void ShowToolRun(bool visible) override;
    void ShowToolNav(bool visible) override;
    void MakeToolRunTopmost() override;
    void MakeToolNavTopmost() override;
    void MakeToolbarsTopmost() override;
    void HideHelpTip() override;
    void CheckHelpTip(ScreenPoint pointer, bool navigationMode) override;
    void SetAddress(const std::string& address) override;

  private:
    PlayerToolbarCommands playerCommands_;
    std::unique_ptr<HelpTipWindow> helpTip_;
    std::unique_ptr<ToolNavWindow> toolNav_;
    std::unique_ptr<ToolRunWindow> toolRun_;
};

}  // namespace pagelark
