#include "config/config_window.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "config/about_tab.h"
#include "config/controls.h"
#include "config/general_tab.h"
#include "config/list_tab.h"
#include "config/props_dialog.h"
#include "config/reboot_tab.h"
#include "config/schedule_tab.h"
#include "config/toolbar_list_tab.h"
#include "editor/file_commands.h"
#include "editor/list_editing.h"
#include "help/help_paths.h"
#include "model/presentation.h"
#include "model/product.h"
#include "platform/clock.h"
#include "platform/text.h"
#include "qtshared/designed_size.h"
#include "settings/settings.h"
#include "storage/presentation_file.h"

namespace pagelark {

// Every box and dialog of the File commands opens in front of the window: the window lets go
// of its always-on-top place first and takes it back, after the tool bars, afterwards.
class ConfigWindowWidget::GuardedDialogs final : public FileDialogs {
  public:
    GuardedDialogs(FileDialogs& inner, ConfigWindowWidget& window)
        : inner_(inner), window_(window) {}

    template <class F>
    auto Guarded(F f) {
        window_.ReleaseTopmost();
        struct Restore {
            ConfigWindowWidget& window;
            ~Restore() { window.RestoreTopmost(); }
        } restore{window_};
        return f();
    }
    std::string OpenFileDialog(const std::string& initialFolder, const std::string& fileName,
                               const FileFilter& filter, const std::string& title) override {
        return Guarded(
            [&] { return inner_.OpenFileDialog(initialFolder, fileName, filter, title); });
    }
    std::string SaveFileDialog(const std::string& initialFolder, const std::string& fileName,
                               const FileFilter& filter, const std::string& defaultExtension,
                               const std::string& title) override {
        return Guarded([&] {
            return inner_.SaveFileDialog(initialFolder, fileName, filter, defaultExtension, title);
        });
    }
    Answer AskSaveChanges(const std::string& text) override {
        return Guarded([&] { return inner_.AskSaveChanges(text); });
    }
    Answer AskReload(const std::string& text) override {
        return Guarded([&] { return inner_.AskReload(text); });
    }
    void ShowError(const std::string& text) override {
        Guarded([&] { inner_.ShowError(text); });
    }
    void ShowInformation(const std::string& text) override {
        Guarded([&] { inner_.ShowInformation(text); });
    }

  private:
    FileDialogs& inner_;
    ConfigWindowWidget& window_;
};

namespace {

// Designed sizes.
constexpr int kClientWidth = 489;
constexpr int kClientHeight = 315;
constexpr int kTabsLeft = 8;
constexpr int kTabsTop = 12;
constexpr int kPanelWidth = 473;
constexpr int kPanelBottom = 32 + 249;

const char* const kTabCaptions[kConfigTabs] = {"&General", "&Pages",   "&Include",
                                               "&Exclude", "Tool Run", "Tool Nav",
                                               "Reboot",   "Schedule", "&About"};

// The panels' background: a light wash with faint diagonal lines.
QPixmap PanelPicture(QSize size) {
    QPixmap picture(size);
    QPainter painter(&picture);
    QLinearGradient wash(0, 0, 0, size.height());
    wash.setColorAt(0, QColor(250, 251, 253));
    wash.setColorAt(1, QColor(228, 233, 242));
    painter.fillRect(picture.rect(), wash);
    painter.setPen(QColor(255, 255, 255, 90));
    for (int x = -size.height(); x < size.width(); x += 9)
        painter.drawLine(x, size.height(), x + size.height(), 0);
    return picture;
}

void SetPicture(QWidget& panel, const QBrush& picture) {
    QPalette palette = panel.palette();
    palette.setBrush(QPalette::Window, picture);
    panel.setPalette(palette);
    panel.setAutoFillBackground(true);
}

}  // namespace

ConfigWindowWidget::ConfigWindowWidget(ConfigContext context)
    : context_(std::move(context)),
      guarded_(std::make_unique<GuardedDialogs>(context_.dialogs, *this)),
      owner_(context_.owner) {
    setObjectName("frmConfig");
    const auto changed = [this] { Changed(); };
    const auto openProps = [this](PropsMode mode, int index) { OpenProps(mode, index); };
    const auto defaultTime = [this] { return edited_.presentation.DefaultTime; };

    auto* client = new QWidget(this);
    configTabs_ = new QTabWidget(client);
    configTabs_->setObjectName("tabConfig");
    // Every tab in sight: the window widens rather than hide one behind scroll arrows.
    configTabs_->setUsesScrollButtons(false);
    const HelpDocumentList& help = context_.document.helpDocuments;
    general_ = new GeneralTab(changed, context_.events, help[kHelpIndexPage], configTabs_);
    const ListTab::Hooks hooks{changed, openProps, defaultTime};
    pages_ = new ListTab(ListTab::Kind::Pages, lists_, hooks, context_.events, configTabs_);
    include_ = new ListTab(ListTab::Kind::Include, lists_, hooks, context_.events, configTabs_);
    exclude_ = new ListTab(ListTab::Kind::Exclude, lists_, hooks, context_.events, configTabs_);
    const std::string& startupFolder = context_.document.startupFolder;
    toolRun_ =
        new ToolbarListTab(ToolbarListTab::Bar::Run, lists_, startupFolder, openProps, configTabs_);
    toolNav_ =
        new ToolbarListTab(ToolbarListTab::Bar::Nav, lists_, startupFolder, openProps, configTabs_);
    reboot_ = new RebootTab(changed, configTabs_);
    schedule_ = new ScheduleTab(changed, configTabs_);
    about_ = new AboutTab(changed, context_.events, help[kHelpProductPage], configTabs_);
    QWidget* const panels[kConfigTabs] = {general_, pages_,  include_,  exclude_, toolRun_,
                                          toolNav_, reboot_, schedule_, about_};
    for (int i = 0; i < kConfigTabs; ++i) {
        panels[i]->setObjectName(QString("picConfig%1").arg(i + 1));
        configTabs_->addTab(panels[i], kTabCaptions[i]);
    }
    // The About tab's visit button says where it goes, unless it brings a tip of its own.
    if (auto* visit = about_->findChild<QPushButton*>("cmdTessaro");
        visit != nullptr && visit->toolTip().isEmpty())
        visit->setToolTip("Shows the help's About Pagelark page on the screen behind");
    connect(general_, &GeneralTab::MouseMoveChanged, this,
            [this](int option) { toolRun_->SetNote(ToolRunNote(option)); });

    defaultSSCheck_ = MakeCheck("chkDefaultSS", "&Set this presentation as default file", client);
    connect(defaultSSCheck_, &QCheckBox::toggled, this, changed);
    PlaceControls(client);

    // Panels 2 to 8 share panel 1's picture.
    SetPicture(*general_, PanelPicture(configTabs_->size()));
    for (QWidget* panel : panels)
        SetPicture(*panel, general_->palette().brush(QPalette::Window));

    auto* menuBar = new QMenuBar(this);
    BuildMenus(menuBar);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setMenuBar(menuBar);
    column->addWidget(client);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

ConfigWindowWidget::~ConfigWindowWidget() = default;

// At the designed places; wider and taller when this screen's font needs more room, the
// buttons moving with the bottom right corner.
void ConfigWindowWidget::PlaceControls(QWidget* client) {
    const auto x = [this](int pixels) { return DesignedX(*this, pixels); };
    const auto y = [this](int pixels) { return DesignedY(*this, pixels); };
    const QSize designed(x(kPanelWidth), y(kPanelBottom - kTabsTop));
    const QSize needed = configTabs_->minimumSizeHint().expandedTo(designed);
    const int dx = needed.width() - designed.width();
    const int dy = needed.height() - designed.height();
    configTabs_->setGeometry(QRect(QPoint(x(kTabsLeft), y(kTabsTop)), needed));

    auto* okButton = MakeButton("cmdOK", "OK", client,
                                "Saves the presentation and the settings, and closes the window");
    auto* cancelButton = MakeButton("cmdCancel", "Cancel", client,
                                    "Closes the window and drops the changes made in it");
    okButton->setDefault(true);
    okButton->setGeometry(x(344) + dx, y(281) + dy, x(61), y(25));
    cancelButton->setGeometry(x(416) + dx, y(281) + dy, x(61), y(25));
    defaultSSCheck_->setGeometry(x(32), y(289) + dy, x(297) + dx / 2, y(17));
    client->setFixedSize(x(kClientWidth) + dx, y(kClientHeight) + dy);
    connect(okButton, &QPushButton::clicked, this, &ConfigWindowWidget::Ok);
    connect(cancelButton, &QPushButton::clicked, this, &ConfigWindowWidget::reject);
}

void ConfigWindowWidget::BuildMenus(QMenuBar* menuBar) {
    QMenu* file = menuBar->addMenu("&File");
    const auto item = [this](QMenu* menu, const char* name, const QString& caption,
                             const QKeySequence& shortcut, auto slot) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    item(file, "mnuFile0", "&New", QKeySequence::New,
         [this] { RunFileCommand(FileCommandId::New); });
    item(file, "mnuFile1", "&Open file...", QKeySequence::Open,
         [this] { RunFileCommand(FileCommandId::Open); });
    item(file, "mnuFile2", "&Save", QKeySequence::Save,
         [this] { RunFileCommand(FileCommandId::Save); });
    item(file, "mnuFile3", "Save &As...", QKeySequence(),
         [this] { RunFileCommand(FileCommandId::SaveAs); });
    file->addSeparator();
    item(file, "mnuFile16", "&Quit", QKeySequence(),
         [this] { context_.commands.RunFromScreen(Command::Quit); });
    QMenu* help = menuBar->addMenu("&Help");
    item(help, "mnuHelp0", "&Content", QKeySequence(Qt::Key_F1), [this] { OpenHelp(); });
    help->addSeparator();
    webSite_ =
        item(help, "mnuHelp2", Q(WebSiteMenuCaption()), QKeySequence(), [this] { OpenWebSite(); });
}

void ConfigWindowWidget::Open() {
    SetTopmost(true);
    ShowOwned();
    raise();
    activateWindow();
    ConfigShow();
}

void ConfigWindowWidget::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()) ConfigShow();
}

void ConfigWindowWidget::ConfigShow() {
    context_.events.ConfigShown();
    if (!edited_.document.EditorLoaded) {
        // Edits dropped by Cancel still count as changes.
        const bool modified = edited_.document.Modified;
        const Show& shown = context_.shown();
        edited_ = EditedDocument{shown.presentation, context_.document.machine,
                                 context_.document.buttons, shown.document};
        edited_.document.Modified = modified;
        edited_.document.EditorLoaded = false;  // filling is no edit
        replaced_ = false;
        FillWindow();
        edited_.document.EditorLoaded = true;
        // Said once the window is up, not inside the step that opened it.
        if (const std::string problem = edited_.document.LoadProblem; !problem.empty()) {
            const bool note = edited_.document.LoadProblemIsNote;
            QTimer::singleShot(0, this, [this, problem, note] {
                const std::string text =
                    "\"" + edited_.document.CurrentFile + "\" " + problem + ".";
                if (note)
                    guarded_->ShowInformation(text);
                else
                    guarded_->ShowError(text);
            });
        }
    }
    setWindowTitle(Q(ConfigCaption(edited_.document.CurrentFile)));
}

void ConfigWindowWidget::Refill() {
    edited_.document.EditorLoaded = false;  // filling is no edit
    FillWindow();
    edited_.document.EditorLoaded = true;
    edited_.document.Modified = false;
    replaced_ = true;
}

void ConfigWindowWidget::FillWindow() {
    const Presentation& presentation = edited_.presentation;
    webSite_->setText(Q(WebSiteMenuCaption()));
    const ManagedSettings& managed = context_.document.settings.Managed();
    const QList<QWidget*> widgets = findChildren<QWidget*>();
    for (const ManagedControl& control : ManagedControls(managed)) {
        for (QWidget* widget : widgets) {
            if (widget->window() == window() && ShowsSetting(widget, control.stem))
                MarkManaged(widget, control.managed);
        }
    }
    OptionFields fields = FillOptions(presentation, edited_.machine, managed, context_.clock.Now());
    fields.defaultFile = edited_.document.IsDefaultFile;
    general_->Fill(fields);
    reboot_->Fill(fields);
    schedule_->Fill(fields);
    about_->Fill(fields);
    defaultSSCheck_->setChecked(fields.defaultFile);
    SetEnabled({defaultSSCheck_}, !fields.defaultFile);
    // The About tab asks for an address until one is given or the operator declined.
    const bool askEmail = fields.email.empty() && !fields.dontUseEmail;
    SelectTab(askEmail ? kAboutTab : 1);

    lists_ = FillLists(presentation, edited_.buttons);
    pages_->Fill(LineOfLocation(lists_.pages, context_.events.CurrentLocation()));
    include_->Fill(lists_.include.empty() ? -1 : 0);
    exclude_->Fill(lists_.exclude.empty() ? -1 : 0);
    toolRun_->Fill();
    toolNav_->Fill();
    if (askEmail) about_->EMailBox()->setFocus();
}

int ConfigWindowWidget::CurrentTab() const {
    return configTabs_->currentIndex() + 1;
}

void ConfigWindowWidget::SelectTab(int tab) {
    configTabs_->setCurrentIndex(tab - 1);
}

void ConfigWindowWidget::Changed() {
    MarkModified(edited_.document);
}

void ConfigWindowWidget::Ok() {
    // A refused field or a failed save has told the operator why; the window stays.
    if (!RunFileCommand(FileCommandId::Save)) return;
    Unload(true);
}

void ConfigWindowWidget::reject() {
    // The edits go; the flag they set stays.
    if (isVisible()) Unload(false);
}

void ConfigWindowWidget::Unload(bool ok) {
    edited_.document.EditorLoaded = false;
    if (help_ != nullptr) help_->close();
    hide();
    context_.events.ConfigClosed(ok);
}

bool ConfigWindowWidget::Keep() {
    OptionFields fields;
    general_->Keep(fields);
    reboot_->Keep(fields);
    schedule_->Keep(fields);
    about_->Keep(fields);
    fields.defaultFile = defaultSSCheck_->isChecked();
    if (const auto problem = CheckFields(fields)) {
        SelectTab(problem->tab);
        guarded_->ShowError(problem->message);
        return false;
    }
    ConfigKeep(fields, lists_, edited_, context_.clock.Now());
    return true;
}

bool ConfigWindowWidget::RunFileCommand(FileCommandId command) {
    const FileCommandResult result =
        FileCommand(command, edited_, context_.document, *guarded_, [this] { return Keep(); });
    if (result.showSaved && context_.showSaved) {
        context_.showSaved(Show{edited_.presentation, context_.document.machine,
                                context_.document.buttons, edited_.document},
                           replaced_ ? ShowChange::FromFirstPage : ShowChange::Now);
        replaced_ = false;
    }
    if (result.refill) Refill();
    setWindowTitle(Q(ConfigCaption(edited_.document.CurrentFile)));
    return result.done;
}

void ConfigWindowWidget::OpenProps(PropsMode mode, int index) {
    guarded_->Guarded([&] {
        PropsDialog dialog(
            mode, lists_, index,
            {context_.dialogs, context_.document.startupFolder, [this] { Changed(); }}, this);
        dialog.exec();
    });
}

void ConfigWindowWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
    // A window manager moves it its own way; without one the window follows the pointer.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
    dragHold_ = event->globalPosition().toPoint() - pos();
}

void ConfigWindowWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!dragHold_) return QDialog::mouseMoveEvent(event);
    move(event->globalPosition().toPoint() - *dragHold_);
    PlaceHelp();
}

void ConfigWindowWidget::mouseReleaseEvent(QMouseEvent* event) {
    dragHold_.reset();
    QDialog::mouseReleaseEvent(event);
}

void ConfigWindowWidget::OpenHelp() {
    if (help_ == nullptr) {
        // A child window: window managers keep it above this one, and it shares its layer.
        help_ = new QTextBrowser(this);
        help_->setObjectName("frmHelp");
        help_->setWindowFlag(Qt::Window);
        help_->setWindowTitle(Q(std::string(kProductName) + " help"));
        help_->setOpenExternalLinks(true);
        help_->resize(DesignedX(*this, 560), frameGeometry().height());
        // Without a window manager it has no close box.
        new QShortcut(QKeySequence::Cancel, help_, help_.data(), &QWidget::close);
    }
    help_->setWindowFlag(Qt::WindowStaysOnTopHint,
                         windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    help_->setSource(
        QUrl::fromLocalFile(Q(context_.document.helpDocuments[kHelpDocumentationPage])));
    PlaceHelp();
    help_->show();
    help_->raise();
    help_->activateWindow();
}

// Beside the window where the screen has room for it, else at the screen's edge over it.
void ConfigWindowWidget::PlaceHelp() {
    if (help_ == nullptr || screen() == nullptr) return;
    const QRect screenArea = screen()->availableGeometry();
    const QRect own = frameGeometry();
    const int width = help_->frameGeometry().width();
    int left = own.right() + 1;
    if (left + width > screenArea.right() + 1) left = own.left() - width;
    if (left < screenArea.left()) left = screenArea.right() + 1 - width;
    help_->move(std::max(left, screenArea.left()), std::max(own.top(), screenArea.top()));
}

void ConfigWindowWidget::ReleaseTopmost() {
    SetTopmost(false);
}

void ConfigWindowWidget::RestoreTopmost() {
    if (context_.makeToolbarsTopmost) context_.makeToolbarsTopmost();
    SetTopmost(true);
}

void ConfigWindowWidget::SetTopmost(bool topmost) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != topmost) {
        // Changing a window's flags hides it.
        const bool shown = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
        if (shown) ShowOwned();
    }
    if (topmost && isVisible()) raise();
    // The help stays in front of the window it explains.
    if (help_ != nullptr && help_->isVisible()) {
        help_->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
        help_->show();
        help_->raise();
    }
}

// Set on every show: a change of flags makes the native window anew.
void ConfigWindowWidget::ShowOwned() {
    if (owner_ != nullptr) {
        owner_->winId();
        winId();
        windowHandle()->setTransientParent(owner_->windowHandle());
    }
    show();
}

void ConfigWindowWidget::OpenWebSite() {
    if (context_.openWebSite) context_.openWebSite();
}

}  // namespace pagelark
