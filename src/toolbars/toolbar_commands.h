#pragma once
// What the tool bar windows ask of the player. The windows know only this, so they can be
// tried out without a running player.

#include <string>

namespace pagelark {

class Player;

class ToolbarCommands {
  public:
    virtual ~ToolbarCommands() = default;
    virtual void CmdPlay() = 0;
    virtual void CmdPause() = 0;
    virtual void CmdPrevious() = 0;
    virtual void CmdNext() = 0;
    virtual void CmdQuit() = 0;
    virtual void CmdConfig() = 0;
    virtual void CmdHelp() = 0;
    virtual void CmdBack() = 0;
    virtual void CmdForward() = 0;
    virtual void CmdStop() = 0;
    virtual void CmdReload() = 0;
    virtual void GoHome() = 0;
    virtual void SwitchToNavigation() = 0;
    // The address typed into Tool Nav, unchanged.
    virtual void BrowseAddress(const std::string& address) = 0;
    virtual void HandleKey(int keyCode, int shift) = 0;
    virtual void NoteActivity() = 0;
    // The program is ending, so the windows may close.
    virtual bool Finishing() const = 0;
};

// The commands carried out by the player once it is attached; nothing happens before.
class PlayerToolbarCommands final : public ToolbarCommands {
  public:
    void Attach(Player& player) { player_ = &player; }

    void CmdPlay() override;
    void CmdPause() override;
    void CmdPrevious() override;
    void CmdNext() override;
    void CmdQuit() override;
    void CmdConfig() override;
    void CmdHelp() override;
    void CmdBack() override;
    void CmdForward() override;
    void CmdStop() override;
    void CmdReload() override;
    void GoHome() override;
    void SwitchToNavigation() override;
    void BrowseAddress(const std::string& address) override;
    void HandleKey(int keyCode, int shift) override;
    void NoteActivity() override;
    bool Finishing() const override;

  private:
    Player* player_ = nullptr;
};

}  // namespace pagelark
