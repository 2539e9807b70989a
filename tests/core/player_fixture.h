#pragma once
// One recording fake for the whole world around the player: the port calls that matter land
// in one log, the clock moves only when a test moves it.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/player.h"
#include "model/product.h"
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
                  public ProgramLauncher {
  public:
    double now = DateTimeValue(2026, 3, 1, 12, 0);
    std::vector<std::string> calls;
    std::function<void()> onNavigate;
    std::array<bool, kBrowserCount> offline{}, silent{}, visible{true, true, true};
    ScreenPoint pointer{100, 100};
    int cursorCounter = 0, toolRunCount = 0, toolNavCount = 0;  // the last two as laid out
    int snapshots = 0;
    bool rebootAccepted = true;
    bool cursorStuck = false;

    void Advance(double seconds) { now += seconds / kSecondsPerDay; }
    long Count(const std::string& c) const { return std::count(calls.begin(), calls.end(), c); }
    void Log(const std::string& c, int value) { calls.push_back(c + " " + std::to_string(value)); }
    // The calls since the last Take, comma-separated.
    std::string Take() {
        std::string all;
        for (const std::string& call : calls)
            all += (all.empty() ? "" : ",") + call;
        calls.clear();
        return all;
    }

    double Now() const override { return now; }
    void Navigate(int b, const std::string& address) override {
        calls.push_back("Navigate " + std::to_string(b) + " " + address);
        if (onNavigate) onNavigate();
    }
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
    ScreenPoint CursorPosition() const override { return pointer; }
    int ShowCursor(bool show) override { return cursorCounter += cursorStuck ? 0 : show ? 1 : -1; }
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
    bool TakeSnapshot(bool pageOnShowTaken) override {
        ++snapshots;
        if (pageOnShowTaken) calls.push_back("SnapshotPassed");
        return false;
    }
    bool IsConnected() const override { return true; }
    void StartMinimized(const std::string& path) override { calls.push_back("Start " + path); }
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
                PlayerContext{show, machine, buttons, settings, help, "/run/user/1000/Pagelark",
                              /*configCommandLine=*/false, w, w, w, w, w, w, w, w, w});
        }
        return *player;
    }
    static std::string Url(int page) { return "http://site/" + std::to_string(page); }
    // The first tick comes after seconds, the others right after it.
    void Tick(double seconds = 0, int ticks = 1) {
        w.Advance(seconds);
        for (int i = 0; i < ticks; ++i)
            P().Tick();
    }
    // Pages of these times, then prime, INIT, NAVIGATE: the start page is on show and page
    // FirstPage preloads.
    void Start(std::initializer_list<int> times = {10}, int steps = 2) {
        show.Pages.clear();
        for (int t : times)
            show.Pages.push_back(
                {Url(static_cast<int>(show.Pages.size()) + 1), false, std::chrono::seconds{t}});
        P().InitBrowsers();
        Tick(0, steps);
    }
    // A tick after each delay; the states after them, " nav" marking navigation mode.
    std::string Run(std::initializer_list<double> delays) {
        std::string trace;
        for (double seconds : delays) {
            Tick(seconds);
            trace += (trace.empty() ? "" : ",") + std::string(StateWord(P().State())) +
                     (P().NavigationMode() ? " nav" : "");
        }
        return trace;
    }
    // The preload completes and the page on show has had its time: the next page comes.
    void NextPageAfter(double seconds) {
        P().DocumentComplete(P().NextBrowser());
        Tick(seconds, 2);
    }
    // A command and the step after it; the page then on show.
    std::string After(void (Player::*command)()) {
        (P().*command)();
        Tick();
        return Shown();
    }
    const std::string& Shown() { return P().Browser(P().CurrentBrowser()).address; }

    FakeWorld w;
    Presentation& show = p;
    std::unique_ptr<Player> player;
};

}  // namespace pagelark::testing
