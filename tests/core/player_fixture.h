#pragma once
// One recording fake for the whole world around the player: the port calls that matter land
// in one log, the clock moves only when a test moves it.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/own_pages.h"
#include "core/player.h"
#include "platform/clock.h"
#include "support/document_world.h"

namespace pagelark::testing {

using S = PlayerState;

class FakeWorld : public Clock,
                  public BrowserStage,
                  public Desktop,
                  public Toolbars,
                  public ConfigWindow,
                  public Maintenance,
                  public Snapshots,
                  public Connectivity,
                  public ProgramLauncher,
                  public DisplayPower,
                  public PlayLog,
                  public WindowBuilder {
  public:
    double now = DateTimeValue(2026, 3, 1, 12, 0);
    std::vector<std::string> calls;
    std::function<void()> onNavigate;
    // The engine reports the address a browser is sent as it starts to load it.
    std::function<void(int, const std::string&)> located;
    std::array<bool, kBrowserCount> offline{}, silent{}, visible{true, true, true};
    std::array<int, kBrowserCount> zoom{kPlainZoom, kPlainZoom, kPlainZoom};
    ScreenPoint pointer{100, 100};
    int cursorCounter = 0, toolRunCount = 0, toolNavCount = 0;  // the last two as laid out
    bool rebootAccepted = true, cursorStuck = false;

    void Advance(double seconds) { now += seconds / kSecondsPerDay; }
    void Log(const std::string& c, int value) { calls.push_back(c + " " + std::to_string(value)); }

    double Now() const override { return now; }
    void Navigate(int b, const std::string& address, bool keepHistory) override {
        calls.push_back("Navigate " + std::to_string(b) + " " +
                        (IsOwnOfflinePage(address) ? "offline" : address) +
                        (keepHistory ? " kept" : "") +
                        (zoom[b] != kPlainZoom ? " at " + std::to_string(zoom[b]) : ""));
        if (located) located(b, address);
        if (onNavigate) onNavigate();
    }
    // Noted with the next address: the zoom it is laid out at, when not 100 %.
    void SetZoom(int b, int percent) override { zoom[b] = percent; }
    void Stop(int b) override { Log("Stop", b); }
    void GoBack(int b) override { Log("Back", b); }
    void GoForward(int b) override { Log("Forward", b); }
    void Reload(int b) override { Log("Reload", b); }
    bool Offline(int b) const override { return offline[b]; }
    void SetOffline(int b, bool value) override { offline[b] = value; }
    bool Silent(int b) const override { return silent[b]; }
    void SetSilent(int b, bool value) override { silent[b] = value; }
    bool BrowserVisible(int b) const override { return visible[b]; }
    std::string LocationURL(int b) const override { return "location " + std::to_string(b); }
    void BringToFront(int b) override { Log("Front", b); }
    bool OwnWindowActive() const override { return true; }
    void Focus(int) override {}
    void SetWindowFrame(bool show) override { Log("Frame", show); }
    void SetWindowState(WindowState s) override { Log("WindowState", static_cast<int>(s)); }
    void LayoutBrowsers() override { calls.push_back("Layout"); }
    void SetNavigationMode(bool on) override { Log("Navigating", on); }
    void UnloadAll() override { calls.push_back("UnloadAll"); }
    void ForgetVisitor() override { calls.push_back("ForgetVisitor"); }
    void Renew(int b) override { Log("Renew", b); }
    void Scroll(int b, int speed, std::chrono::seconds left) override {
        calls.push_back("Scroll " + std::to_string(b) + " " + std::to_string(speed) + "/" +
                        std::to_string(left.count()));
    }
    void StopScroll(int b, bool toTop) override { Log(toTop ? "Top" : "Still", b); }
    void ShowNotice(const std::string& text) override { calls.push_back("Notice " + text); }
    ScreenPoint CursorPosition() const override { return pointer; }
    // Windows' display counter: the cursor shows while it is 0 or more.
    int ShowCursor(bool show) override {
        const bool shown = cursorCounter >= 0;
        cursorCounter += cursorStuck ? 0 : show ? 1 : -1;
        if (shown != (cursorCounter >= 0))
            calls.push_back(shown ? "Cursor hidden" : "Cursor shown");
        return cursorCounter;
    }
    void ShowToolRun(bool v) override { Log("ToolRun", v); }
    void ShowToolNav(bool v) override { Log("ToolNav", v); }
    int ToolRunVisibleCount() const override { return toolRunCount; }
    int ToolNavVisibleCount() const override { return toolNavCount; }
    void MakeToolRunTopmost() override {}
    void MakeToolNavTopmost() override {}
    void MakeToolbarsTopmost() override { calls.push_back("ToolbarsTopmost"); }
    void HideHelpTip() override { calls.push_back("HideHelpTip"); }
    void CheckHelpTip(ScreenPoint, bool) override {}
    void SetAddress(const std::string& address) override { calls.push_back("Address " + address); }
    void Open() override { calls.push_back("OpenConfig"); }
    bool RebootSequence(bool login, bool force) override {
        Log("Reboot", login * 10 + force);
        return rebootAccepted;
    }
    bool TakeSnapshot(bool pageOnShowTaken, const SnapshotOf&) override {
        calls.push_back(pageOnShowTaken ? "Snapshot passed" : "Snapshot");
        return false;
    }
    bool IsConnected() const override { return true; }
    void StartMinimized(const std::string& path) override { calls.push_back("Start " + path); }
    void SetPower(bool on, bool tellTelevision) override {
        calls.push_back(std::string("Power ") + (on ? "on" : "off") +
                        (tellTelevision ? " tv" : ""));
    }
    // "Played 2 10s", or "Played 2 0s failed".
    void PageShown(const PlayRecord& r) override {
        calls.push_back("Played " + std::to_string(r.page) + " " +
                        std::to_string(std::lround(r.seconds)) + "s" + (r.loaded ? "" : " failed"));
    }
    PlayerWindows Build(PlayerCommands&, BrowserEvents&, ConfigEvents&) override {
        return {*this, *this, *this};
    }
};

class PlayerTest : public ::testing::Test, public DocumentWorld {
  protected:
    PlayerTest() {
        CreateButtonLists(buttons);
        help = BuildHelpDocuments("/run/user/1000/");
    }

    // Built on first use, so a test sets the world up first; reset() for a fresh player.
    Player& P() {
        if (!player) {
            player = std::make_unique<Player>(
                PlayerContext{debug, help, "/run/user/1000/Pagelark", configCommandLine, w, w, w, w,
                              w, w, &w, &w, welcome},
                Show{show, machine, buttons, d}, w);
            w.located = [this](int b, const std::string& address) {
                player->LocationChanged(b, address);
            };
        }
        return *player;
    }
    // A remote service's command: "" when carried out, else why not.
    std::string Remote(Command command, const std::string& argument = "",
                       CommandAnswer answer = {}) {
        return P().Run({command, CommandSource::Remote, argument, answer}).Error();
    }
    static std::string Url(int page) { return "http://site/" + std::to_string(page); }
    // A fresh player of pages of these times, then prime, INIT, NAVIGATE: the start page is on
    // show and page FirstPage preloads.
    void Start(std::initializer_list<int> times = {10}, int steps = 2) {
        player.reset();
        SetPages(times);
        Begin(steps);
    }
    void SetPages(std::initializer_list<int> times) {
        show.Pages.clear();
        for (int t : times)
            show.Pages.push_back(
                {Url(static_cast<int>(show.Pages.size()) + 1), false, std::chrono::seconds{t}});
    }
    void Begin(int steps = 2) {
        P().InitBrowsers();
        for (int i = 0; i < steps; ++i)
            P().Tick();
    }
    // A walk from here, one word a step. A number waits that many seconds and ticks once,
    // then notes the state (" nav" in navigation mode), the pages on show and preloading ("h":
    // the start page, a number: a page of Url) and the calls since the last note that begin
    // with a watched prefix.
    // "?" notes without a tick; the other words are commands and events.
    std::string Walk(std::string_view steps, std::initializer_list<std::string_view> watched = {}) {
        const auto screen = [](Command c) { return [c](Player& on) { on.RunFromScreen(c); }; };
        const auto remote = [](Command c) {
            return [c](Player& on) { (void)on.Run({c, CommandSource::Remote}); };
        };
        const std::map<std::string, std::function<void(Player&)>> words = {
            {"play", screen(Command::Play)},
            {"pause", screen(Command::Pause)},
            {"next", screen(Command::Next)},
            {"prev", screen(Command::Previous)},
            {"config", screen(Command::Config)},
            {"quit", screen(Command::Quit)},
            {"nav", screen(Command::Navigation)},
            {"ok", [](Player& on) { on.ConfigClosed(true); }},
            {"cancel", [](Player& on) { on.ConfigClosed(false); }},
            {"done", [](Player& on) { on.DocumentComplete(on.NextBrowser()); }},
            {"fail", [](Player& on) { on.LoadFailed(on.NextBrowser(), "refused", true); }},
            // The page on show goes where nothing answers: the engine's error page is on show.
            {"broke", [](Player& on) { on.LoadFailed(on.CurrentBrowser(), "refused", true); }},
            // The page on show goes elsewhere by a visitor's link or its own redirect; the
            // preload lands elsewhere than it was sent.
            {"link",
             [](Player& on) { on.LocationChanged(on.CurrentBrowser(), "http://site/away"); }},
            {"redirect",
             [](Player& on) { on.LocationChanged(on.NextBrowser(), "http://site/login"); }},
            // The page on show moves on at its own address: a fragment; a new history entry
            // (pushState, a form sent to itself).
            {"hash",
             [](Player& on) {
                 on.LocationChanged(on.CurrentBrowser(),
                                    on.Browser(on.CurrentBrowser()).address + "#x");
             }},
            {"entry", [](Player& on) { on.PageMoved(on.CurrentBrowser(), false); }},
            // A link or a refresh to a page the engine asks nothing about.
            {"blank", [](Player& on) { on.LocationChanged(on.CurrentBrowser(), "about:blank"); }},
            {"blocked",
             [](Player& on) { on.LocationChanged(on.CurrentBrowser(), "about:blank#blocked"); }},
            {"move", [this](Player&) { ++w.pointer.x; }},
            // The clock goes back an hour: autumn's daylight-saving change, or set by hand.
            {"back", [this](Player&) { w.Advance(-3600); }},
            {"dayback", [this](Player&) { w.Advance(-kSecondsPerDay); }},
            {"key", [](Player& on) { on.HandleKey(KeyCode::Other, 0); }},
            {"esc", [](Player& on) { on.HandleKey(KeyCode::Escape, 0); }},
            {"renew", &Player::RenewSpareBrowsers},
            {"screenoff", remote(Command::ScreenOff)},
            {"screenon", remote(Command::ScreenOn)},
            // A visitor's key or touch: "woke" when it woke the dark screen.
            {"touch",
             [this](Player& on) {
                 if (on.TakeWakingInput()) w.calls.push_back("woke");
             }},
        };
        const auto page = [this](int b) {
            const std::string& address = P().Browser(b).address;
            const std::string site = Url(0).substr(0, Url(0).size() - 1);
            return address == help[0]          ? "h"
                   : address == kBlackPage     ? "black"
                   : IsOwnOfflinePage(address) ? "offline"
                   : address.starts_with(site) ? address.substr(site.size())
                                               : address;
        };
        std::string trace;
        w.calls.clear();
        std::istringstream in{std::string(steps)};
        for (std::string word; in >> word;) {
            if (word != "?" && !std::isdigit(static_cast<unsigned char>(word[0]))) {
                words.at(word)(P());
                continue;
            }
            if (word != "?") {
                w.Advance(std::stod(word));
                P().Tick();
            }
            trace += (trace.empty() ? "" : ", ") + std::string(StateWord(P().State())) +
                     (P().NavigationMode() ? " nav " : " ") + page(P().CurrentBrowser()) + "/" +
                     page(P().NextBrowser());
            for (const std::string& call : w.calls)
                if (std::ranges::any_of(watched,
                                        [&](auto prefix) { return call.starts_with(prefix); }))
                    trace += " " + call;
            w.calls.clear();
        }
        return trace;
    }

    // The diagnostic key's settings, from the store as the kiosk reads them.
    struct StoreDebug final : DebugSettings {
        explicit StoreDebug(Settings& s) : settings(s) {}
        std::string DebugProgram(const std::string& file) const override {
            return settings.DebugEnabled(file) ? settings.ReadSetting(file, "IEPath") : "";
        }
        Settings& settings;
    };

    FakeWorld w;
    StoreDebug debug{settings};
    bool configCommandLine = false;  // `pagelark CONFIG`: a run for the window alone
    bool welcome = false;            // a first start, on the starter
    Presentation& show = p;
    std::unique_ptr<Player> player;
};

}  // namespace pagelark::testing
