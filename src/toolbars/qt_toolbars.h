#pragma once
// The tool bar port on Qt: owns Tool Run, Tool Nav and the help tip window, whose clicks go to
// the commands.

#include <QPointer>
#include <memory>

#include "core/ports/player_commands.h"
#include "core/ports/toolbars.h"
#include "toolbars/toolbar_windows.h"

namespace pagelark {

// The windows the tool bars keep on top of.
struct ToolbarOwners {
    // The full-screen window the tool bars float over. Window managers stack a focused
    // full-screen window above every always-on-top one, except the windows it owns.
    QWidget* owner = nullptr;
    // The configuration window, which joins the tool bars on top while it is open.
    QWidget* configWindow = nullptr;
};

class QtToolbars final : public Toolbars {
  public:
    // The windows are laid out at once from the records, which must outlive this object.
    // Relative pictures are taken from startupFolder, the current folder when it is empty.
    QtToolbars(const ToolbarButtons& buttons, PlayerCommands& commands,
               const std::string& startupFolder = {}, ToolbarOwners owners = {});
    ~QtToolbars() override;

    // After the owner was hidden and shown again: the window manager has forgotten that it
    // owns the visible tool bar, which must be shown again to go back above it.
    void ShowAgainOverOwner();
    // After the presentation was saved: the records in memory laid out again.
    void Relayout();

    // Put back on top of the tool bars after a save.
    void InitHelpTip();
    // Before a message box or file dialog of the configuration window, which would otherwise
    // open behind it; MakeToolbarsTopmost after it.
    void ReleaseConfigTopmost();
    ToolNavWindow& ToolNav() { return *toolNav_; }
    ToolRunWindow& ToolRun() { return *toolRun_; }
    HelpTipWindow& HelpTip() { return *helpTip_; }
    // window is Tool Run or Tool Nav.
    bool Owns(const QWidget* window) const;
    // A pointer move that reached receiver counts as the visitor's activity.
    bool MoveIsActivity(const QWidget& receiver) const;

    // Toolbars
    void ShowToolRun(bool visible) override;
    void ShowToolNav(bool visible) override;
    int ToolRunVisibleCount() const override { return toolRun_->VisibleCount(); }
    int ToolNavVisibleCount() const override { return toolNav_->VisibleCount(); }
    void MakeToolRunTopmost() override;
    void MakeToolNavTopmost() override;
    void MakeToolbarsTopmost() override;
    void HideHelpTip() override;
    void CheckHelpTip(ScreenPoint pointer, bool navigationMode) override;
    void SetAddress(const std::string& address) override;

  private:
    std::unique_ptr<HelpTipWindow> helpTip_;
    std::unique_ptr<ToolNavWindow> toolNav_;
    std::unique_ptr<ToolRunWindow> toolRun_;
    QPointer<QWidget> owner_;
    QPointer<QWidget> configWindow_;
};

}  // namespace pagelark
