#include "app/kiosk.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "app/display_power.h"
#include "app/kiosk_remote.h"
#include "app/logind_reboot.h"
#include "app/memory_watch.h"
#include "app/named_presentation.h"
#include "app/published_fetcher.h"
#include "app/qt_adapters.h"
#include "app/screen_capture.h"
#include "app/shell_open.h"
#include "app/single_instance.h"
#include "app/stop_signals.h"
#include "app/visitor_input.h"
#include "app/wayland_session.h"
#include "config/config_window.h"
#include "config/qt_file_dialogs.h"
#include "core/command_line.h"
#include "core/locked.h"
#include "core/own_pages.h"
#include "core/player.h"
#include "dbus/kiosk_bus.h"
#include "help/help_files.h"
#include "help/help_paths.h"
#include "help/qt_help_resources.h"
#include "model/presentation.h"
#include "model/toolbar_buttons.h"
#include "mqtt/mqtt_client.h"
#include "platform/clock.h"
#include "platform/file_io.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/service_notify.h"
#include "platform/temp_dir.h"
#include "platform/text.h"
#include "playlog/play_log.h"
#include "publish/publication.h"
#include "publish/refresh_schedule.h"
#include "settings/managed.h"
#include "settings/registry_store.h"
#include "settings/settings.h"
#include "stage/stage_window.h"
#include "storage/document_session.h"
#include "storage/file_utils.h"
#include "storage/presentation_file.h"
#include "storage/show.h"
#include "toolbars/qt_toolbars.h"

namespace pagelark {
namespace {

// Further off, a later tick sets the wake-up from a fresher reading.
constexpr double kAlignedWakeLimit = 1.0;

class Kiosk final : private WindowBuilder {
  public:
    Kiosk(std::string rawCommandLine, std::optional<std::string> configFile, std::string tempDir)
        : raw_(std::move(rawCommandLine)),
          configFile_(std::move(configFile)),
          tempDir_(std::move(tempDir)),
          startupFolder_(StartupFolder()),
          session_(),
          context_{session_.settings, session_.files, machine_,
                   buttons_,          helpDocuments_, startupFolder_} {}

    void InitPlayer();
    // The window is opened alone, and closing it ends the program.
    bool ConfigRun() const { return configFile_ || IsConfigCommandLine(raw_); }
    // The player, which has its windows built, then the remote services over it.
    void Start();
    void End();
    // The 200 ms timer's step.
    void Tick();
    // `pagelark CONFIG` started while this kiosk runs: true when the window opens, which a
    // locked kiosk does (its screen offers no Config button).
    bool ConfigRequested();
    // A second start's request: raised, and whether the window could come forward (a Wayland
    // compositor lets it only through its activation protocol, and may refuse even then).
    bool ComeForward();
    // Fails, saying why, when a snapshot run ended early.
    const Result<>& SnapshotRun() const { return snapshots_.Run(); }

  private:
    PlayerWindows Build(PlayerCommands& commands, BrowserEvents& events,
                        ConfigEvents& config) override;
    // A save the configuration window hands over: the show takes it, with the saved tool bar
    // records, at once.
    void ShowSaved(Show show, ShowChange change);
    void UpdateShownButtons(const Presentation& presentation);
    void RelayoutToolbars();
    // The managed files as they now are, taken as a save's values are; a change made while
    // the configuration window is open waits until it closes.
    void TakeManagedChanges();
    // The welcome's line on the tool bar and the help, and the start page: the welcome, or
    // the program's page saying why the show cannot start.
    void FollowReach();
    void PublishedAnswered();

    std::string raw_;
    std::optional<std::string> configFile_;  // --config's FILE
    std::string tempDir_;
    std::string startupFolder_;
    std::string reservedTempFile_;
    SystemClock clock_;
    // Opened at its first line: with PlayLog off nothing is made.
    PlayLogFile playLog_{PlayLogFolder(), clock_};
    // What the show starts with, until the player takes it.
    Presentation presentation_;
    Document document_;
    DocumentSession session_;
    // The machine settings and tool bar records in force, which saves keep into; the player
    // plays copies handed to it.
    MachineSettings machine_;
    ToolbarButtons buttons_;
    // What the tool bars show of the records: less when the kiosk is locked.
    ToolbarButtons shownButtons_;
    std::vector<HelpFile> helpFiles_;
    HelpDocumentList helpDocuments_;
    // The player's: its start page is the problem page while the show cannot start.
    HelpDocumentList playerHelp_;
    // What cannot be read and why; empty what: the show can start.
    std::string problemWhat_;
    std::string problemWhy_;
    bool firstStart_ = false;
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
    XDisplayPower displayPower_;
    std::unique_ptr<WaylandSession> wayland_ = WaylandSession::Open();
    ScreenAwake screenAwake_{displayPower_, wayland_.get(),
                             [this] { return stage_ ? stage_->windowHandle() : nullptr; }};
    std::unique_ptr<QtToolbars> toolbars_;
    QtFileDialogs fileDialogs_{[this] { return static_cast<QWidget*>(configWindow_.get()); }};
    std::unique_ptr<ConfigWindowWidget> configWindow_;
    LogindReboot reboot_;
    KioskMaintenance maintenance_{session_.registry, machine_, reboot_};
    QtScreenCapture screen_{[this] { return static_cast<QWidget*>(stage_.get()); }};
    QtShell shell_;
    std::unique_ptr<ServiceNotifier> notifier_ = CreateServiceNotifier();
    ManagedFolderWatch managedWatch_{ManagedFolderFromEnvironment()};
    SnapshotTaker snapshots_{screen_};
    StoreDebugSettings debugSettings_{session_.settings};
    std::unique_ptr<StageWindow> stage_;
    std::unique_ptr<Player> player_;
    std::unique_ptr<KioskRemote> remote_;
    std::unique_ptr<KioskBus> bus_;
    std::unique_ptr<MqttClient> mqtt_;
    std::unique_ptr<VisitorInput> input_;
    QTimer timer_;
    QTimer firstStep_;
    // A clock-aligned page change, at its moment rather than at the next tick.
    QTimer alignedChange_;
    MemoryWatch memory_;
};

void Kiosk::InitPlayer() {
    // What crashed runs left behind; a file of a run still alive (a tool's save, say) stays.
    RemoveLeftoverTempFiles(tempDir_);
    reservedTempFile_ = ReserveTempFile(tempDir_);
    // Read first: the default presentation may be managed.
    managedWatch_.Changed();
    ManagedSettings managed = LoadManagedFolder(managedWatch_.Folder());
    session_.settings.SetManaged(managed);
    const std::string defaultFile = session_.settings.DefaultFilePath(document_.CurrentFile);
    const std::string_view line = TrimBlanks(raw_);
    const bool playsDefault = !configFile_ && (line.empty() || IsConfigCommandLine(raw_));
    const std::string named =
        playsDefault ? defaultFile
                     : NamedPresentation(raw_, configFile_, startupFolder_, defaultFile);
    published_ = PublishedAddress(named);
    document_.CurrentFile = LocalFile(named);
    RemoveLeftoverReplacements(document_.CurrentFile);

    helpFiles_ = BuildHelpFileTable();
    helpDocuments_ = BuildHelpDocuments(tempDir_);

    if (playsDefault) {
        document_.IsDefaultFile = true;
        if (line.empty() && published_.empty() && !FileExists(defaultFile))
            WriteTemplatePresentation(document_, context_, defaultFile);
    } else if (published_.empty()) {
        document_.IsDefaultFile = document_.CurrentFile == defaultFile;
    }
    // The show goes on with the start page alone, but not without a word, wherever the path
    // came from; a configuration run may be about to make the file.
    PresentationSource source = ReadPresentation(document_.CurrentFile);
    if (published_.empty() && source.status != ReadStatus::Ok &&
        (!ConfigRun() || source.status != ReadStatus::Missing)) {
        std::cerr << "pagelark: cannot read the presentation '" << document_.CurrentFile
                  << "': " << source.error << "\n";
        problemWhat_ = document_.CurrentFile;
        problemWhy_ = source.error;
    }
    // Without a private temporary folder there is nowhere safe to put the help pages.
    if (!tempDir_.empty() && ExtractHelpFiles(helpFiles_, QtHelpResources(), tempDir_))
        helpFolder_ = ExpandTempPath(HelpFolderTemplate(), tempDir_);

    GiveStarter(document_, context_, source);
    firstStart_ = !document_.StarterFile.empty() && document_.StarterFile == document_.CurrentFile;
    LoadMachineSettings(session_.settings, source.file, clock_.Now(), machine_, buttons_);
    LoadPresentation(presentation_, document_, context_, source);
    if (!published_.empty()) {
        for (const std::string& leftOut : LeaveOutLocalAddresses(presentation_))
            Warn(LogArea::Document, published_, ": ", leftOut);
    }
    TakeManaged(session_.settings, std::move(managed), source.file, presentation_, machine_,
                clock_.Now());
    // Until the server answers, the copy kept from the last run plays.
    if (!published_.empty()) MarkPublished(document_, published_);
    UpdateShownButtons(presentation_);
    RelocateHelpPages(presentation_, helpFolder_);
}

PlayerWindows Kiosk::Build(PlayerCommands& commands, BrowserEvents& events, ConfigEvents& config) {
    stage_ = std::make_unique<StageWindow>(clock_, events, commands);
    configWindow_ = std::make_unique<ConfigWindowWidget>(ConfigContext{
        [this]() -> const Show& { return player_->Playing(); }, context_, fileDialogs_, clock_,
        config, commands, stage_.get(), [this] { toolbars_->MakeToolbarsTopmost(); },
        [this] { OpenInDefaultBrowser(shell_, helpDocuments_[kHelpProductPage]); },
        [this](Show show, ShowChange change) { ShowSaved(std::move(show), change); }});
    toolbars_ = std::make_unique<QtToolbars>(
        shownButtons_, commands, startupFolder_,
        ToolbarOwners{stage_.get(), configWindow_.get(), stage_->Keys()});
    for (QWidget* overlay : toolbars_->Overlays())
        stage_->AddOverlay(overlay);
    return {*stage_, *toolbars_, *configWindow_};
}

void Kiosk::Start() {
    memory_.Plan(machine_.LowMemory);
    playerHelp_ = helpDocuments_;
    const bool configRun = ConfigRun();
    player_ = std::make_unique<Player>(
        PlayerContext{debugSettings_, playerHelp_, helpFolder_, configRun, clock_, desktop_,
                      maintenance_, snapshots_, connectivity_, launcher_, &screenAwake_, &playLog_,
                      firstStart_ && !configRun && !machine_.Snap},
        Show{std::move(presentation_), machine_, buttons_, std::move(document_)},
        static_cast<WindowBuilder&>(*this));
    const bool publishes = !published_.empty() && !configRun;
    if (publishes) {
        publication_ =
            std::make_unique<Publication>(published_, CacheFolder(), context_, helpFolder_);
        refresh_ = std::make_unique<RefreshSchedule>(
            [this] { return publication_->RefreshPeriod(); }, clock_, random_);
        fetcher_ = std::make_unique<PublishedFetcher>(*publication_, *refresh_, *player_,
                                                      [this] { PublishedAnswered(); });
    }
    remote_ = std::make_unique<KioskRemote>(
        *player_, screen_,
        RemoteFacts{.published = publishes ? published_ : "",
                    .version = publishes ? std::function([this] { return publication_->Version(); })
                                         : nullptr,
                    .own = {RegistryFolderFromEnvironment(), managedWatch_.Folder(), CacheFolder(),
                            helpFolder_}});
    if (machine_.DBus) bus_ = KioskBus::Start(*remote_);
    mqtt_ = StartMqtt(machine_, *remote_, tempDir_, PAGELARK_VERSION);
    playLog_.onLine = [this](const std::string& line) {
        if (mqtt_) mqtt_->PlayLogLine(line);
    };
    input_ = std::make_unique<VisitorInput>(*player_, *stage_, *toolbars_);
    FollowReach();
    player_->InitBrowsers();
    if (fetcher_) fetcher_->Start();
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
    alignedChange_.setSingleShot(true);
    alignedChange_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&alignedChange_, &QTimer::timeout, [this] { Tick(); });
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
        alignedChange_.stop();
        screenAwake_.Follow(false);
        notifier_->Stopping();
        return;
    }
    if (const std::optional<KioskStatus> status = remote_->Poll()) {
        if (bus_) bus_->StatusChanged(*status);
        if (mqtt_) mqtt_->StatusChanged(*status);
    }
    notifier_->Alive(std::chrono::steady_clock::now());
    TakeManagedChanges();
    if (memory_.OverCeiling()) player_->RenewSpareBrowsers();
    if (const std::optional<double> wait = player_->SecondsToAlignedChange();
        wait && *wait < kAlignedWakeLimit)
        alignedChange_.start(static_cast<int>(std::ceil(std::max(*wait, 0.0) * 1000.0)));
    // Up once a page is on show, or the configuration window is, for a configuration run.
    const PlayerState state = player_->State();
    screenAwake_.Follow(state != PlayerState::Config && state != PlayerState::WaitConfig);
    if (state == PlayerState::WaitTime || state == PlayerState::WaitConfig) notifier_->Ready();
}

void Kiosk::FollowReach() {
    const ReachFacts reach = player_->Reach();
    WriteWelcomeLine(helpFolder_, HtmlEscaped(WelcomeLine(reach)));
    const std::string was = playerHelp_[0];
    playerHelp_[0] = problemWhat_.empty()
                         ? helpDocuments_[0]
                         : OwnProblemPage(problemWhat_, problemWhy_, ConfigLine(reach));
    // The browsers were sent the start page already, and a show with no pages never sends it
    // again.
    player_->StartPageMoved(was);
}

void Kiosk::PublishedAnswered() {
    // The copy kept from an earlier run plays while the server does not answer.
    if (FileExists(publication_->CopyPath()) || publication_->LastRefusal().empty()) {
        problemWhat_.clear();
    } else {
        problemWhat_ = published_;
        problemWhy_ = "no copy yet, and the server's answer: " + publication_->LastRefusal();
    }
    FollowReach();
}

void Kiosk::UpdateShownButtons(const Presentation& presentation) {
    shownButtons_ =
        ShownButtons(buttons_, machine_.Locked, NavigationOffered(machine_.Locked, presentation));
}

void Kiosk::RelayoutToolbars() {
    UpdateShownButtons(player_->Playing().presentation);
    toolbars_->Relayout();
}

void Kiosk::ShowSaved(Show show, ShowChange change) {
    // The window showed the managed values, but kept what a box can hold (whole minutes).
    session_.settings.Managed().Apply(show.presentation, machine_, clock_.Now());
    show.machine = machine_;
    player_->TakeShow(std::move(show), change);
    RelayoutToolbars();
    player_->ToolbarsLaidOut();
    toolbars_->InitHelpTip();
    player_->ShowCursor();
    // Saved, the show has a file it can read; a published one without a copy has not.
    if (publication_)
        PublishedAnswered();
    else {
        problemWhat_.clear();
        FollowReach();
    }
}

void Kiosk::TakeManagedChanges() {
    if (configWindow_->isVisible() || !managedWatch_.Changed()) return;
    ManagedSettings managed = LoadManagedFolder(managedWatch_.Folder());
    if (managed == session_.settings.Managed()) return;
    Log(LogArea::Settings, "managed settings changed: ", managed.values.size(), " keys");
    Show show = player_->Playing();
    TakeManaged(session_.settings, std::move(managed), show.document.CurrentFile, show.presentation,
                machine_, clock_.Now());
    if (!helpFolder_.empty())
        show.presentation.HomeURL = RelocatedHelpPage(show.presentation.HomeURL, helpFolder_);
    show.machine = machine_;
    player_->TakeShow(std::move(show), ShowChange::Now);
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

bool Kiosk::ComeForward() {
    stage_->raise();
    stage_->activateWindow();
    return !wayland_ || wayland_->Offers("xdg_activation_v1");
}

void Kiosk::End() {
    // The name goes first, free for a kiosk started while this one closes.
    bus_.reset();
    mqtt_.reset();
    session_.files.DisconnectAllShares();
    if (!reservedTempFile_.empty()) session_.files.RemoveFile(reservedTempFile_);
    if (const Document& shown = player_->Playing().document; IsUntouchedStarter(shown))
        session_.files.RemoveFile(shown.CurrentFile);
    if (!tempDir_.empty()) DeleteHelpFiles(helpFiles_, tempDir_);
    timer_.stop();
    firstStep_.stop();
    fetcher_.reset();
    player_->ShowCursor();
    screenAwake_.Follow(false);
    input_.reset();
    configWindow_.reset();
    toolbars_.reset();
    stage_.reset();
}

}  // namespace

int RunKiosk(const std::vector<std::string>& arguments,
             const std::optional<std::string>& configFile) {
    const std::string tempDir = TempDir();
    SingleInstance instance(RuntimeFolder(tempDir));
    Kiosk* running = nullptr;
    const bool configLine = IsConfigCommandLine(JoinArguments(arguments));
    const Result<SingleInstance::Outcome> acquired = instance.Acquire(
        configLine,
        // A kiosk still starting comes on show by itself.
        [&running] { return running == nullptr || running->ComeForward(); },
        [&running] { return running != nullptr && running->ConfigRequested(); });
    if (!acquired) {
        std::cerr << "pagelark: cannot start: " << acquired.Error() << "\n";
        return 1;
    }
    switch (acquired.Value()) {
        case SingleInstance::Outcome::First:
            break;
        case SingleInstance::Outcome::ConfigOpened:
            std::cerr << "pagelark: the running kiosk opened its configuration window\n";
            return 0;
        case SingleInstance::Outcome::AnotherRuns:
        case SingleInstance::Outcome::CameForward:
        case SingleInstance::Outcome::NotForward:
            // It has been asked to come forward; a configuration request cannot be met.
            if (configLine || configFile) {
                std::cerr << "pagelark: a kiosk is already running; use its Config button\n";
                return 1;
            }
            // The presentation named is not played: a failure, said, with the way to it.
            if (const std::string line = JoinArguments(arguments); !line.empty()) {
                std::cerr << "pagelark: a kiosk is already running; it keeps its presentation: "
                             "end it, then run pagelark "
                          << (line.front() == '-' ? "-- " : "") << line << "\n";
                return 1;
            }
            std::cerr << "pagelark: a kiosk is already running"
                      << (acquired.Value() == SingleInstance::Outcome::CameForward
                              ? "; it was brought forward\n"
                          : acquired.Value() == SingleInstance::Outcome::NotForward
                              ? ", but the compositor does not let it come forward\n"
                              : "; it was asked to come forward\n");
            return 0;
    }

    Kiosk kiosk(JoinArguments(arguments), configFile, tempDir);
    kiosk.InitPlayer();
    kiosk.Start();
    running = &kiosk;
    const int status = QApplication::exec();
    running = nullptr;
    kiosk.End();
    if (const Result<>& run = kiosk.SnapshotRun(); !run) {
        std::cerr << "pagelark: " << run.Error() << "\n";
        return 1;
    }
    return status;
}

}  // namespace pagelark
