#pragma once
// frmConfig: the window in which the operator edits the presentation and the machine
// settings. It edits a copy of them made when it opens; OK keeps its fields into the copy and
// saves it, which hands it to the show, and Cancel and the close box drop it. The editing rules
// live in src/editor; the widgets here only show them.

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "core/ports/config_events.h"
#include "core/ports/config_window_port.h"
#include "core/ports/player_commands.h"
#include "core/ports/presentation_updates.h"
#include "editor/file_commands.h"
#include "editor/option_fields.h"
#include "editor/props_rules.h"

class QAction;
class QCheckBox;
class QMenuBar;
class QTabWidget;
class QTextBrowser;

namespace pagelark {

class AboutTab;
class Clock;
class FileDialogs;
class GeneralTab;
class ListTab;
class RebootTab;
class ScheduleTab;
class ToolbarListTab;
struct DocumentContext;

struct ConfigContext {
    // The show as it plays: the window edits a copy of its presentation and file, made when it
    // opens.
    std::function<const Show&()> shown;
    // The settings, and the machine settings and tool bar records in force, which a save keeps
    // into.
    DocumentContext& document;
    FileDialogs& dialogs;
    const Clock& clock;
    // The player, told of the window's showing and closing; Quit and Help are its commands.
    ConfigEvents& events;
    PlayerCommands& commands;
    // The full-screen window of the show: window managers keep a focused full-screen window
    // above every always-on-top one except the windows it owns.
    QWidget* owner = nullptr;
    // After a message box or dialog: the tool bars back on top (the window then follows).
    std::function<void()> makeToolbarsTopmost;
    // The Help menu's last item: the help's page about the product in the default browser.
    std::function<void()> openWebSite;
    // A save hands the show what it saved: the presentation and its file with the machine
    // settings and tool bar records now in force.
    std::function<void(Show, ShowChange)> showSaved;
};

inline constexpr int kConfigTabs = 9;
inline constexpr int kAboutTab = 9;

class ConfigWindowWidget final : public QDialog, public ConfigWindow {
    Q_OBJECT
  public:
    explicit ConfigWindowWidget(ConfigContext context);
    ~ConfigWindowWidget() override;

    // ConfigWindow: shown modeless and always on top, filled from the model.
    void Open() override;
    // Fills the window from the show, unless it already was since it opened (the edited
    // document's EditorLoaded): then only the caption.
    void ConfigShow();
    // The edited document's file and flags, for tests.
    Document& EditedFile() { return edited_.document; }
    // 1 to 8.
    int CurrentTab() const;
    void SelectTab(int tab);

  protected:
    void changeEvent(QEvent* event) override;
    // Dragged by any place that takes no click of its own: without a window manager the window
    // has no title bar to move it by.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Cancel, Escape and the close box.
    void reject() override;

  private:
    class GuardedDialogs;

    void BuildMenus(QMenuBar* menuBar);
    void PlaceControls(QWidget* client);
    void FillWindow();
    // After New, Open and a reload: the replaced document, as yet unchanged.
    void Refill();
    void Changed();
    void Ok();
    void Unload(bool ok);
    // The fields into the edited document; false when one is refused, after saying which.
    bool Keep();
    bool RunFileCommand(FileCommandId command);
    void OpenProps(PropsMode mode, int index);
    void ReleaseTopmost();
    void RestoreTopmost();
    void SetTopmost(bool topmost);
    void ShowOwned();
    // The web site item of the Help menu.
    void OpenWebSite();
    // Help > Content: the help's contents in a window of its own beside this one and above it,
    // never behind it as the show would be.
    void OpenHelp();
    void PlaceHelp();

    ConfigContext context_;
    std::unique_ptr<GuardedDialogs> guarded_;
    QPointer<QWidget> owner_;
    EditedDocument edited_;
    // The edited document was replaced (New, Open, a reload) since the show last took one.
    bool replaced_ = false;
    WorkingLists lists_;
    QTabWidget* configTabs_;
    GeneralTab* general_;
    ListTab* pages_;
    ListTab* include_;
    ListTab* exclude_;
    ToolbarListTab* toolRun_;
    ToolbarListTab* toolNav_;
    RebootTab* reboot_;
    ScheduleTab* schedule_;
    AboutTab* about_;
    QCheckBox* defaultSSCheck_;
    QAction* webSite_ = nullptr;
    QPointer<QTextBrowser> help_;
    // Where the pointer took hold of the window while it is dragged; none otherwise.
    std::optional<QPoint> dragHold_;
};

}  // namespace pagelark
