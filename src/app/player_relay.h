#pragma once
// The player's inward ports for the windows. The player is built from its windows (they are
// its outward ports), so the windows are built first, each with this relay, and the relay is
// bound to the player the moment it exists, before the event loop can deliver a thing.

#include "core/player.h"
#include "core/ports/browser_events.h"
#include "core/ports/config_events.h"
#include "core/ports/player_commands.h"

namespace pagelark {

class PlayerRelay final : public PlayerCommands, public BrowserEvents, public ConfigEvents {
  public:
    void Bind(Player& player) { p_ = &player; }

    // PlayerCommands
    void CmdPlay() override { p_->CmdPlay(); }
    void CmdPause() override { p_->CmdPause(); }
    void CmdPrevious() override { p_->CmdPrevious(); }
    void CmdNext() override { p_->CmdNext(); }
    void CmdQuit() override { p_->CmdQuit(); }
    void CmdConfig() override { p_->CmdConfig(); }
    void CmdHelp() override { p_->CmdHelp(); }
    void CmdBack() override { p_->CmdBack(); }
    void CmdForward() override { p_->CmdForward(); }
    void CmdStop() override { p_->CmdStop(); }
    void CmdReload() override { p_->CmdReload(); }
    void GoHome() override { p_->GoHome(); }
    void SwitchToNavigation() override { p_->SwitchToNavigation(); }
    void BrowseAddress(const std::string& address) override { p_->BrowseAddress(address); }
    void HandleKey(KeyCode key, int shift) override { p_->HandleKey(key, shift); }
    void NoteActivity() override { p_->NoteActivity(); }
    void NoteTouch() override { p_->NoteTouch(); }
    bool QuitAllowed() const override { return p_->QuitAllowed(); }
    bool Finishing() const override { return p_->Finishing(); }

    // BrowserEvents
    bool CheckNavigation(int browser, const std::string& address, bool topLevel) override {
        return p_->CheckNavigation(browser, address, topLevel);
    }
    void DocumentComplete(int browser) override { p_->DocumentComplete(browser); }
    void LoadFailed(int browser, const std::string& reason, bool errorPage) override {
        p_->LoadFailed(browser, reason, errorPage);
    }
    void LocationChanged(int browser, const std::string& address) override {
        p_->LocationChanged(browser, address);
    }
    void PageMoved(int browser, bool byVisitor) override { p_->PageMoved(browser, byVisitor); }
    void WindowResized() override { p_->WindowResized(); }

    // ConfigEvents
    void ConfigShown() override { p_->ConfigShown(); }
    std::string CurrentLocation() const override { return p_->CurrentLocation(); }
    void ShowInStage(const std::string& address) override { p_->ShowInStage(address); }
    void ConfigClosed(bool ok) override { p_->ConfigClosed(ok); }

  private:
    Player* p_ = nullptr;
};

}  // namespace pagelark
