#pragma once
// One fake for the whole world around the player: every port call lands in one log, the
// clock moves only when a test moves it.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/player.h"
#include "document/presentation.h"
#include "document/product.h"
#include "document/profile.h"
#include "document/registry.h"
#include "document/settings.h"
#include "document/toolbar_buttons.h"
#include "platform/clock.h"
#include "support/fake_registry.h"

namespace pagelark::testing {

class FakeWorld : public Clock,
                  public BrowserStage,
                  public Desktop,
                  public Toolbars,
                  public ConfigWindow,
                  public Maintenance,
                  public Snapshots,
                  public Connectivity,
                  public ProgramLauncher {
  public:
    double now = DateTimeValue(2026, 3, 1, 12, 0);
    std::vector<std::string> calls;
    std::function<void()> onNavigate;
    bool offline[kBrowserCount] = {};
    bool silent[kBrowserCount] = {};
    bool visible[kBrowserCount] = {true, true, true};
    ScreenPoint pointer{100, 100};
    int cursorCounter = 0;
    int cursorRequests = 0;
    bool cursorStuck = false;
    int helpTipChecks = 0;
    bool snapshotRunDone = false;
    bool connected = true;

    void Advance(double seconds) { now += seconds / kSecondsPerDay; }
    long Count(const std::string& call) const {
        return std::count(calls.begin(), calls.end(), call);
    }
    void Log(const std::string& call) { calls.push_back(call); }
    static std::string N(int value) { return std::to_string(value); }

    double Now() const override { return now; }

    void Navigate(int b, const std::string& address) override {
        Log("Navigate " + N(b) + " " + address);
        if (onNavigate) onNavigate();
    }
    void Stop(int b) override { Log("Stop " + N(b)); }
    void GoBack(int b) override { Log("Back " + N(b)); }
    void GoForward(int b) override { Log("Forward " + N(b)); }
    void Reload(int b) override { Log("Reload " + N(b)); }
    bool Offline(int b) const override { return offline[b]; }
    void SetOffline(int b, bool value) override { offline[b] = value; }
    bool Silent(int b) const override { return silent[b]; }
    void SetSilent(int b, bool value) override { silent[b] = value; }
    bool BrowserVisible(int b) const override { return visible[b]; }
    std::string LocationURL(int) const override { return ""; }
    void BringToFront(int b) override { Log("Front " + N(b)); }
    bool OwnWindowActive() const override { return true; }
    void Focus(int) override {}
    void SetWindowFrame(bool show) override { Log("Frame " + N(show)); }
    void SetWindowState(int state) override { Log("WindowState " + N(state)); }
    void LayoutBrowsers() override { Log("Layout"); }
    void UnloadAll() override { Log("UnloadAll"); }

    ScreenPoint CursorPosition() const override { return pointer; }
    int ShowCursor(bool show) override {
        ++cursorRequests;
        if (!cursorStuck) cursorCounter += show ? 1 : -1;
        return cursorCounter;
    }

    void ShowToolRun(bool v) override { Log("ToolRun " + N(v)); }
    void ShowToolNav(bool v) override { Log("ToolNav " + N(v)); }
    void MakeToolRunTopmost() override {}
    void MakeToolNavTopmost() override {}
    void MakeToolbarsTopmost() override { Log("ToolbarsTopmost"); }
    void HideHelpTip() override { Log("HideHelpTip"); }
    void CheckHelpTip(ScreenPoint, bool) override { ++helpTipChecks; }
    void SetAddress(const std::string& address) override { Log("Address " + address); }

    void Open() override { Log("OpenConfig"); }
    void RebootSequence(bool autoLogin, bool force) override {
        Log("Reboot " + N(autoLogin) + N(force));
    }
    bool TakeSnapshot() override { return snapshotRunDone; }
    bool IsConnected() const override { return connected; }
    void StartMinimized(const std::string& program) override { Log("Start " + program); }
};

class PlayerTest : public ::testing::Test {
  protected:
    PlayerTest() { CreateButtonLists(buttons); }

    Player& P() {
        if (!player) {
            player = std::make_unique<Player>(
                PlayerContext{show, machine, buttons, settings, help, "/run/user/1000/Pagelark",
                              configCommandLine, w, w, w, w, w, w, w, w, w});
        }
        return *player;
    }
    static std::string Url(int page) { return "http://site/" + std::to_string(page); }
    void Pages(std::initializer_list<int> times) {
        for (int t : times)
            show.Pages.push_back({Url(static_cast<int>(show.Pages.size()) + 1), false, t});
    }
    void Tick(double seconds = 0) {
        w.Advance(seconds);
        P().Tick();
    }
    // Prime, INIT, NAVIGATE: the start page is on show and page FirstPage preloads.
    void Start() {
        P().InitBrowsers();
        Tick();
        Tick();
    }
    // The preload completes and the page on show has had its time: the next page comes.
    void NextPageAfter(double seconds) {
        P().DocumentComplete(P().NextBrowser());
        Tick(seconds);
        Tick();
    }
    const std::string& Shown() { return P().Browser(P().CurrentBrowser()).address; }
    PlayerState State() { return P().State(); }

    FakeWorld w;
    Presentation show;
    MachineSettings machine;
    ToolbarButtons buttons;
    FakeRegistry registryBackend;
    Registry registry{registryBackend};
    ProfileStore profiles;
    std::string currentFile;
    Settings settings{profiles, registry, currentFile};
    HelpDocumentList help = BuildHelpDocuments("/run/user/1000/");
    bool configCommandLine = false;
    std::unique_ptr<Player> player;
};

}  // namespace pagelark::testing
