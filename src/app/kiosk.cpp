#include "app/kiosk.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QQuickWindow>
#include <QSocketNotifier>
#include <QSysInfo>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "app/kiosk_remote.h"
#include "app/logind_reboot.h"
#include "app/player_relay.h"
#include "app/published_fetcher.h"
#include "app/qt_adapters.h"
#include "app/screen_capture.h"
#include "app/shell_open.h"
#include "app/single_instance.h"
#include "app/visitor_input.h"
#include "config/config_window.h"
#include "config/qt_file_dialogs.h"
#include "core/command_line.h"
#include "core/locked.h"
#include "core/memory_plan.h"
#include "core/on_screen_keyboard.h"
#include "core/player.h"
#include "dbus/kiosk_bus.h"
#include "help/help_paths.h"
#include "help/qt_help_resources.h"
#include "ini/text.h"
#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "mqtt/mqtt_client.h"
#include "platform/clock.h"
#include "platform/devices.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/machine_id.h"
#include "platform/process_memory.h"
#include "platform/service_notify.h"
#include "platform/temp_dir.h"
#include "publish/publication.h"
#include "publish/refresh_schedule.h"
#include "qtshared/log_categories.h"
#include "settings/managed.h"
#include "settings/registry_store.h"
#include "settings/settings.h"
#include "stage/stage_window.h"
#include "storage/document_session.h"
#include "storage/file_utils.h"
#include "storage/presentation_file.h"
#include "toolbars/qt_toolbars.h"

namespace pagelark {
namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto ignored = ::write(signalPipe[1], &byte, 1);
}

// SIGTERM (a service stopped), SIGINT and SIGHUP end the kiosk the orderly way, so its
// temporary files are removed as after Escape.
void CatchStopSignals(std::function<void()> stop) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, [stop = std::move(stop)] {
        char byte;
        [[maybe_unused]] const auto ignored = ::read(signalPipe[0], &byte, 1);
        stop();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

QString RuntimeFolder(const std::string& tempDir) {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) return runtime;
    return QString::fromStdString(WithoutTrailingSeparator(tempDir));
}

std::string StartupFolder() {
    return WithTrailingSeparator(QDir::currentPath().toStdString());
}

// The presentation the command line names, as an absolute path or a web address.
std::string NamedPresentation(std::string_view raw, const std::string& startupFolder,
                              const std::string& defaultFile) {
    std::string file = ParseCommandLine(raw, defaultFile);
    if (!file.empty() && !IsAbsolutePath(file) && !IsPublishedAddress(file))
        file = startupFolder + file;
    return file;
}

// The address of a presentation published on a web server, with this machine's names in it;
// "" for a file.
std::string PublishedAddress(const std::string& file) {
    if (!IsPublishedAddress(file)) return "";
    return ExpandAddress(file, QSysInfo::machineHostName().toStdString(), MachineId());
}

std::string CacheFolder() {
    return PublishedCacheFolder(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
}

// What plays, and holds the settings a presentation carries: the file, or the kept copy of a
// published presentation.
std::string LocalFile(const std::string& file) {
    const std::string address = PublishedAddress(file);
    return address.empty() ? file : PublishedCopyPath(CacheFolder(), address);
}

// Qt takes its input method once, when the application is built: the setting is looked up
// before then, in the presentation the command line names (Qt's own options, when given,
// hide it and leave the stores to say).
void ChooseInputMethod(const std::vector<std::string>& arguments) {
    KeyboardStart start;
    if (qEnvironmentVariableIsSet("QT_IM_MODULE"))
        start.imModule = qEnvironmentVariable("QT_IM_MODULE").toStdString();
    start.pluginInstalled =
        QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                          "/platforminputcontexts/libqtvirtualkeyboardplugin.so");
    // The settings and the devices are read at start-up only when their answer can matter.
    if (!start.imModule && start.pluginInstalled) {
        DocumentSession session(RegistryAccess::ReadOnlyQuiet);
        session.settings.SetManaged(ReadManagedFolder(ManagedFolderFromEnvironment()).settings);
        const std::string file = LocalFile(NamedPresentation(
            JoinArguments(arguments), StartupFolder(), session.settings.DefaultFilePath("")));
        start.setting = OnScreenKeyboardSetting(session.settings, file);
        start.touchScreen = !start.setting && TouchScreenPresent();
    }
    if (UseOnScreenKeyboard(start)) qputenv("QT_IM_MODULE", "qtvirtualkeyboard");
}

QtMessageHandler qtMessages = nullptr;

// With GL off, the engine still asks Qt for a context to share, and Qt's refusal would be
// printed at every start although the pages are drawn all the same.
void WithoutGlRefusal(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith("QXcbIntegration: Cannot create platform OpenGL context")) return;
    if (qtMessages != nullptr) qtMessages(type, context, text);
}

class Kiosk final {
  public:
    Kiosk(std::string rawCommandLine, std::string tempDir)
        : raw_(std::move(rawCommandLine)),
          tempDir_(std::move(tempDir)),
          startupFolder_(StartupFolder()),
          session_(),
          context_{session_.settings, session_.files, machine_,
                   buttons_,          helpDocuments_, startupFolder_} {}

    void InitPlayer();
    // The windows, each built with the ports it needs, then the player over them.
    void Start();
    void End();
    // The 200 ms timer's step.
    void Tick();
    // `pagelark CONFIG` started while this kiosk runs: true when the window opens, which a
    // locked kiosk does (its screen offers no Config button).
    bool ConfigRequested();
    QWidget* MainWindow() const { return stage_.get(); }
    // Why a snapshot run ended early; "" when it did not.
    const std::string& SnapshotFailure() const { return snapshots_.Failure(); }

  private:
    // A save the show took applies the saved tool bar records at once.
    void ShowSaved();
    void UpdateShownButtons();
    void RelayoutToolbars();
    // The managed files as they now are, taken as a save's values are; a change made while
    // the configuration window is open waits until it closes.
    void TakeManagedChanges();
    // The engine's memory mode, before the first browser starts it.
    void PlanMemoryUse();
    void WatchMemory();

    std::string raw_;
    std::string tempDir_;
    std::string startupFolder_;
    std::string reservedTempFile_;
    SystemClock clock_;
    Presentation presentation_;
    DocumentSession session_;
    MachineSettings machine_;
    ToolbarButtons buttons_;
    // What the tool bars show of the records: less when the kiosk is locked.
    ToolbarButtons shownButtons_;
    std::vector<HelpFile> helpFiles_;
    HelpDocumentList helpDocuments_;
    DocumentContext context_;
    // The help pages' folder, expanded; "" when there is none of ours.
    std::string helpFolder_;
    // The address of the presentation when it is published on a web server, else "".
    std::string published_;
    std::unique_ptr<Publication> publication_;
    SystemRandom random_;
    std::unique_ptr<RefreshSchedule> refresh_;
    std::unique_ptr<PublishedFetcher> fetcher_;

    QtDesktop desktop_;
    QtConnectivity connectivity_;
    QtLauncher launcher_;
    std::unique_ptr<QtToolbars> toolbars_;
    QtFileDialogs fileDialogs_;
    std::unique_ptr<ConfigWindowWidget> configWindow_;
    LogindReboot reboot_;
    KioskMaintenance maintenance_{session_.registry, machine_, reboot_};
    QtScreenCapture screen_;
    QtShell shell_;
    std::unique_ptr<ServiceNotifier> notifier_ = CreateServiceNotifier();
    ManagedFolderWatch managedWatch_{ManagedFolderFromEnvironment()};
    SnapshotTaker snapshots_{machine_, presentation_, screen_};
    PlayerRelay relay_;
    std::unique_ptr<StageWindow> stage_;
    std::unique_ptr<Player> player_;
    std::unique_ptr<KioskRemote> remote_;
    std::unique_ptr<KioskBus> bus_;
    std::unique_ptr<MqttClient> mqtt_;
    std::unique_ptr<VisitorInput> input_;
    QTimer timer_;
    QTimer firstStep_;
    MemoryPlan memory_;
    int ticksToMemoryReading_ = 0;
};

void Kiosk::InitPlayer() {
    // What crashed runs left behind; a file of a run still alive (a tool's save, say) stays.
    RemoveLeftoverTempFiles(tempDir_);
    reservedTempFile_ = ReserveTempFile(tempDir_);
    // Read first: the default presentation may be managed.
    managedWatch_.Changed();
    ManagedSettings managed = LoadManagedFolder(managedWatch_.Folder());
    session_.settings.SetManaged(managed);
    const std::string defaultFile = session_.settings.DefaultFilePath(presentation_.CurrentFile);
    const std::string_view line = TrimBlanks(raw_);
    const bool playsDefault = line.empty() || IsConfigCommandLine(raw_);
    const std::string named =
        playsDefault ? defaultFile : NamedPresentation(raw_, startupFolder_, defaultFile);
    published_ = PublishedAddress(named);
    presentation_.CurrentFile = LocalFile(named);
    RemoveLeftoverReplacements(presentation_.CurrentFile);

    helpFiles_ = BuildHelpFileTable();
    helpDocuments_ = BuildHelpDocuments(tempDir_);

    if (playsDefault) {
        presentation_.IsDefaultFile = true;
        if (line.empty() && published_.empty() && !FileExists(defaultFile))
            WriteTemplatePresentation(presentation_, context_, defaultFile);
    } else if (published_.empty()) {
        presentation_.IsDefaultFile = presentation_.CurrentFile == defaultFile;
    }
    // The show goes on with the start page alone, but not without a word, wherever the path
    // came from; a configuration run may be about to make the file.
    PresentationSource source = ReadPresentation(presentation_.CurrentFile);
    if (published_.empty() && source.status != ReadStatus::Ok &&
        (line.empty() || !playsDefault || source.status != ReadStatus::Missing))
        std::cerr << "pagelark: cannot read the presentation '" << presentation_.CurrentFile
                  << "': " << source.error << "\n";
    // Without a private temporary folder there is nowhere safe to put the help pages.
    if (!tempDir_.empty() && ExtractHelpFiles(helpFiles_, QtHelpResources(), tempDir_))
        helpFolder_ = ExpandTempPath(HelpFolderTemplate(), tempDir_);

    GiveStarter(presentation_, context_, source);
    LoadMachineSettings(session_.settings, source.file, clock_.Now(), machine_, buttons_);
    LoadPresentation(presentation_, context_, source);
    if (!published_.empty()) {
        for (const std::string& leftOut : LeaveOutLocalAddresses(presentation_))
            Warn(LogArea::Document, published_, ": ", leftOut);
    }
    TakeManaged(session_.settings, std::move(managed), source.file, presentation_, machine_,
                clock_.Now());
    // Until the server answers, the copy kept from the last run plays.
    if (!published_.empty()) MarkPublished(presentation_, published_);
    UpdateShownButtons();
    RelocateHelpPages(presentation_, helpFolder_);
}

void Kiosk::PlanMemoryUse() {
    memory_ = PlanMemory(MemoryLimitKiB(), machine_.LowMemory);
    if (!memory_.low) return;
    std::cerr << "pagelark: " << DescribePlan(memory_) << "\n";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            QByteArray::fromStdString(MemoryEngineFlags(
                qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").toStdString(), true)));
}

void Kiosk::WatchMemory() {
    // A reading walks every process of the system: every five seconds is enough.
    constexpr int kTicksBetweenReadings = 25;
    if (!memory_.low || --ticksToMemoryReading_ > 0) return;
    ticksToMemoryReading_ = kTicksBetweenReadings;
    const long long treeKiB = PssKiB(ProcessTree(CurrentProcessId()));
    if (!OverCeiling(memory_, treeKiB)) return;
    Log(LogArea::Player, "memory ", treeKiB / 1024,
        " MiB over the ceiling: spare browsers renewed");
    player_->RenewSpareBrowsers();
}

void Kiosk::Start() {
    PlanMemoryUse();
    stage_ = std::make_unique<StageWindow>(clock_, relay_, relay_);
    configWindow_ = std::make_unique<ConfigWindowWidget>(
        ConfigContext{presentation_, context_, fileDialogs_, clock_, relay_, relay_, stage_.get(),
                      [this] { toolbars_->MakeToolbarsTopmost(); },
                      [this] { OpenProductWebSite(shell_); }, [this] { ShowSaved(); }});
    fileDialogs_.SetParentWindow(configWindow_.get());
    toolbars_ = std::make_unique<QtToolbars>(shownButtons_, relay_, startupFolder_,
                                             ToolbarOwners{stage_.get(), configWindow_.get()});
    QObject::connect(stage_.get(), &StageWindow::Reshown, stage_.get(),
                     [this] { toolbars_->ShowAgainOverOwner(); });
    player_ = std::make_unique<Player>(
        PlayerContext{presentation_, machine_, buttons_, session_.settings, helpDocuments_,
                      helpFolder_, IsConfigCommandLine(raw_), clock_, *stage_, desktop_, *toolbars_,
                      *configWindow_, maintenance_, snapshots_, connectivity_, launcher_});
    relay_.Bind(*player_);
    remote_ = std::make_unique<KioskRemote>(*player_, presentation_);
    remote_->Protect(
        {RegistryFolderFromEnvironment(), managedWatch_.Folder(), CacheFolder(), helpFolder_});
    if (machine_.DBus) bus_ = KioskBus::Start(*remote_);
    if (bus_) remote_->Watch([bus = bus_.get()](const KioskStatus& s) { bus->StatusChanged(s); });
    mqtt_ = StartMqtt(machine_, *remote_, tempDir_, PAGELARK_VERSION);
    if (mqtt_) remote_->Watch([this](const KioskStatus& status) { mqtt_->StatusChanged(status); });
    input_ = std::make_unique<VisitorInput>(*player_, *stage_, *toolbars_);
    player_->InitBrowsers();
    if (!published_.empty() && !IsConfigCommandLine(raw_)) {
        publication_ =
            std::make_unique<Publication>(published_, CacheFolder(), context_, helpFolder_);
        refresh_ = std::make_unique<RefreshSchedule>(
            [this] { return publication_->RefreshPeriod(); }, clock_, random_);
        fetcher_ = std::make_unique<PublishedFetcher>(*publication_, *refresh_, *player_);
        fetcher_->Start();
        remote_->SetPublished(published_, [this] { return publication_->Version(); });
    }
    stage_->setWindowTitle("Pagelark");
    timer_.setInterval(200);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
    // The first steps lay the show out and bring the start page on: as soon as the window is
    // on the screen (a window manager maps it first), not a timer interval after each other.
    firstStep_.setInterval(10);
    QObject::connect(&firstStep_, &QTimer::timeout, [this] {
        const QWindow* window = stage_->windowHandle();
        if (window != nullptr && window->isExposed()) Tick();
    });
    firstStep_.start();
    stage_->show();
    // Over the shown stage.
    player_->ToolbarsLaidOut();
    CatchStopSignals([this] { player_->Terminate(); });
}

void Kiosk::Tick() {
    // The step after the end was decided closes the windows; nothing may follow it.
    const bool ending = player_->Finishing();
    player_->Tick();
    if (player_->State() != PlayerState::Init && player_->State() != PlayerState::Navigate)
        firstStep_.stop();
    if (ending) {
        timer_.stop();
        notifier_->Stopping();
        return;
    }
    remote_->Poll();
    notifier_->Alive(std::chrono::steady_clock::now());
    TakeManagedChanges();
    WatchMemory();
    // Up once a page is on show, or the configuration window is, for a configuration run.
    const PlayerState state = player_->State();
    if (state == PlayerState::WaitTime || state == PlayerState::WaitConfig) notifier_->Ready();
}

void Kiosk::UpdateShownButtons() {
    shownButtons_ =
        ShownButtons(buttons_, machine_.Locked, NavigationOffered(machine_.Locked, presentation_));
}

void Kiosk::RelayoutToolbars() {
    UpdateShownButtons();
    toolbars_->Relayout();
}

void Kiosk::ShowSaved() {
    // The window showed the managed values, but kept what a box can hold (whole minutes).
    session_.settings.Managed().Apply(presentation_, machine_, clock_.Now());
    RelayoutToolbars();
    player_->ToolbarsLaidOut();
    toolbars_->InitHelpTip();
    player_->ShowCursor();
}

void Kiosk::TakeManagedChanges() {
    if (configWindow_->isVisible() || !managedWatch_.Changed()) return;
    ManagedSettings managed = LoadManagedFolder(managedWatch_.Folder());
    if (managed == session_.settings.Managed()) return;
    Log(LogArea::Settings, "managed settings changed: ", managed.values.size(), " keys");
    TakeManaged(session_.settings, std::move(managed), presentation_.CurrentFile, presentation_,
                machine_, clock_.Now());
    if (!helpFolder_.empty())
        presentation_.HomeURL = RelocatedHelpPage(presentation_.HomeURL, helpFolder_);
    RelayoutToolbars();
    // A visitor browsing keeps the navigation tool bar and the pointer.
    if (!player_->NavigationMode()) player_->ToolbarsLaidOut();
}

bool Kiosk::ConfigRequested() {
    if (!machine_.Locked || !player_) return false;
    const PlayerState state = player_->State();
    return state == PlayerState::Config || state == PlayerState::WaitConfig ||
           player_->OpenConfig();
}

void Kiosk::End() {
    // The name goes first, free for a kiosk started while this one closes.
    bus_.reset();
    mqtt_.reset();
    session_.files.DisconnectAllShares();
    if (!reservedTempFile_.empty()) session_.files.RemoveFile(reservedTempFile_);
    if (IsUntouchedStarter(presentation_)) session_.files.RemoveFile(presentation_.CurrentFile);
    if (!tempDir_.empty()) DeleteHelpFiles(helpFiles_, tempDir_);
    timer_.stop();
    firstStep_.stop();
    fetcher_.reset();
    player_->ShowCursor();
    input_.reset();
    configWindow_.reset();
    toolbars_.reset();
    stage_.reset();
}

bool NamesSomething(const std::string& path) {
    return FileExists(path) || DirExists(path);
}

// --help, --version and a command line the program cannot take are answered without a kiosk:
// the status to end with, or none.
std::optional<int> AnswerAlone(const std::vector<std::string>& arguments) {
    switch (ReadCommandLine(JoinArguments(arguments), NamesSomething)) {
        case CommandRequest::Help:
            std::cout << kUsage;
            return 0;
        case CommandRequest::Version:
            std::cout << "pagelark " << PAGELARK_VERSION << "\n";
            return 0;
        case CommandRequest::Usage:
            std::cerr << kUsage;
            return 2;
        case CommandRequest::Play:
        case CommandRequest::Config:
            break;
    }
    return std::nullopt;
}

}  // namespace

int RunKiosk(int argc, char** argv) {
    // The engine reads its switches from the arguments and the environment when it starts.
    std::vector<std::string> given(argv + 1, argv + argc);
    bool remoteDebugging = DropRemoteDebugging(given);
    // Answered before Qt, which wants a screen, unless an option may be one Qt takes.
    const bool qtOption = std::ranges::any_of(given, [](auto& a) { return a.starts_with('-'); });
    if (!qtOption ||
        ReadCommandLine(JoinArguments(given), NamesSomething) != CommandRequest::Usage) {
        if (const auto status = AnswerAlone(given)) return *status;
    }
    if (qEnvironmentVariableIsSet("QTWEBENGINE_REMOTE_DEBUGGING")) {
        qunsetenv("QTWEBENGINE_REMOTE_DEBUGGING");
        remoteDebugging = true;
    }
    std::string flags = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").toStdString();
    if (DropRemoteDebugging(flags)) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", QByteArray::fromStdString(flags));
        remoteDebugging = true;
    }
    if (remoteDebugging)
        std::cerr << "pagelark: remote debugging ignored: it would open the kiosk to anyone\n";
    // The engine's own console output and Qt's report of its set-up are off unless the
    // logging rules ask for them; QT_LOGGING_RULES takes precedence over the rules set here.
    const std::string rules = qEnvironmentVariable("QT_LOGGING_RULES").toStdString();
    flags = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").toStdString();
    const bool software = DrawInSoftware(qEnvironmentVariableIsSet("QT_QUICK_BACKEND") ||
                                             qEnvironmentVariableIsSet("QSG_RHI_BACKEND") ||
                                             qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"),
                                         GraphicsDevicePresent(), flags);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            QByteArray::fromStdString(
                QuietEngineFlags(DrawingEngineFlags(KioskEngineFlags(flags), software), rules)));
    QLoggingCategory::setFilterRules("qt.webengine*=false\njs=false");
    std::vector<char*> qtArgv{argv[0]};
    for (std::string& argument : given)
        qtArgv.push_back(argument.data());
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(given.size()) + 1;

    if (EngineRefusesUser(::geteuid() == 0,
                          qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"), flags, given)) {
        std::cerr << "pagelark: the browser engine does not run as root with its sandbox: run the "
                     "kiosk as an ordinary user (for a trial as root, set "
                     "QTWEBENGINE_DISABLE_SANDBOX=1)\n";
        return 1;
    }
    ChooseInputMethod(given);
    if (software) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        // Qt's GL set-up would load the emulation all the same; not for the programs we start.
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        qtMessages = qInstallMessageHandler(WithoutGlRefusal);
    } else {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    }
    QApplication app(qtArgc, qtArgv.data());
    if (software) qunsetenv("QT_XCB_GL_INTEGRATION");
    QApplication::setApplicationName("Pagelark");
    QApplication::setQuitOnLastWindowClosed(false);
    static QtLogSink logSink;  // outlives every object that logs
    SetLogSink(&logSink);

    // What Qt left of the arguments once it took its own.
    const std::vector<std::string> arguments(qtArgv.begin() + 1, qtArgv.begin() + qtArgc);
    if (const auto status = AnswerAlone(arguments)) return *status;
    const std::string tempDir = TempDir();
    SingleInstance instance(RuntimeFolder(tempDir));
    QWidget* mainWindow = nullptr;
    Kiosk* running = nullptr;
    const bool configLine = IsConfigCommandLine(JoinArguments(arguments));
    switch (instance.Acquire(
        configLine,
        [&mainWindow] {
            if (mainWindow != nullptr) {
                mainWindow->raise();
                mainWindow->activateWindow();
            }
        },
        [&running] { return running != nullptr && running->ConfigRequested(); })) {
        case SingleInstance::Outcome::First:
            break;
        case SingleInstance::Outcome::ConfigOpened:
            std::cerr << "pagelark: the running kiosk opened its configuration window\n";
            return 0;
        case SingleInstance::Outcome::AnotherRuns:
            // It has been asked to come forward; a configuration request cannot be met.
            if (configLine) {
                std::cerr << "pagelark: a kiosk is already running; use its Config button\n";
                return 1;
            }
            return 0;
        case SingleInstance::Outcome::Failed:
            std::cerr << "pagelark: cannot start: " << instance.Error().toStdString() << "\n";
            return 1;
    }

    Kiosk kiosk(JoinArguments(arguments), tempDir);
    kiosk.InitPlayer();
    kiosk.Start();
    mainWindow = kiosk.MainWindow();
    running = &kiosk;
    const int status = QApplication::exec();
    running = nullptr;
    kiosk.End();
    if (!kiosk.SnapshotFailure().empty()) {
        std::cerr << "pagelark: " << kiosk.SnapshotFailure() << "\n";
        return 1;
    }
    return status;
}

}  // namespace pagelark
