#pragma once
// The tool bar port on Qt: owns Tool Run, Tool Nav and the help tip, drawn inside the show's
// window, whose clicks go to the commands.

#include <QPointer>
#include <vector>

#include "core/ports/player_commands.h"
#include "core/ports/toolbars.h"
#include "toolbars/overlay_frame.h"
#include "toolbars/toolbar_windows.h"

namespace pagelark {

// The windows the tool bars live in or keep on top of.
struct ToolbarOwners {
    // The full-screen window the tool bars are drawn in, over its browsers.
    QWidget* owner = nullptr;
    // The configuration window, which is kept on top while it is open.
    QWidget* configWindow = nullptr;
    // The on-screen keyboard drawn in the owner, kept above the tool bars, which stay above it.
    QWidget* keys = nullptr;
};

class QtToolbars final : public Toolbars {
  public:
    // The tool bars are laid out at once from the records, which must outlive this object.
    // Relative pictures are taken from startupFolder, the current folder when it is empty.
    QtToolbars(const ToolbarButtons& buttons, PlayerCommands& commands,
               const std::string& startupFolder = {}, ToolbarOwners owners = {});
    ~QtToolbars() override;
    QtToolbars(const QtToolbars&) = delete;
    QtToolbars& operator=(const QtToolbars&) = delete;

    // The widgets the owner keeps above its browsers, lowest first.
    std::vector<QWidget*> Overlays() const;
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
    // widget is Tool Run, Tool Nav or a part of either.
    bool Owns(const QWidget* widget) const;
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
    // The tool bar that widget is or is a part of, if any.
    const ToolbarWindow* ToolbarOf(const QWidget* widget) const;
    // Both tool bars, each placed in the owner's top right corner.
    void LayOut(LayoutPass pass);

    // The owner deletes them when it goes first.
    QPointer<HelpTipWindow> helpTip_;
    QPointer<ToolNavWindow> toolNav_;
    QPointer<ToolRunWindow> toolRun_;
    QPointer<OverlayFrame> navFrame_;
    QPointer<OverlayFrame> runFrame_;
    QPointer<QWidget> configWindow_;
    QPointer<QWidget> keys_;
};

}  // namespace pagelark
