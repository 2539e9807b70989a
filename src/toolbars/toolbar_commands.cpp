#include "toolbars/toolbar_commands.h"

#include "core/player.h"

namespace pagelark {

namespace {
// Seconds given to an address typed by the visitor, as for the home page.
constexpr std::int32_t kTypedAddressSeconds = 10;
}  // namespace

void PlayerToolbarCommands::CmdPlay() {
    if (player_ != nullptr) player_->CmdPlay();
}
void PlayerToolbarCommands::CmdPause() {
    if (player_ != nullptr) player_->CmdPause();
}
void PlayerToolbarCommands::CmdPrevious() {
    if (player_ != nullptr) player_->CmdPrevious();
}
void PlayerToolbarCommands::CmdNext() {
    if (player_ != nullptr) player_->CmdNext();
}
void PlayerToolbarCommands::CmdQuit() {
    if (player_ != nullptr) player_->CmdQuit();
}
void PlayerToolbarCommands::CmdConfig() {
    if (player_ != nullptr) player_->CmdConfig();
}
void PlayerToolbarCommands::CmdHelp() {
    if (player_ != nullptr) player_->CmdHelp();
}
void PlayerToolbarCommands::CmdBack() {
    if (player_ != nullptr) player_->CmdBack();
}
void PlayerToolbarCommands::CmdForward() {
    if (player_ != nullptr) player_->CmdForward();
}
void PlayerToolbarCommands::CmdStop() {
    if (player_ != nullptr) player_->CmdStop();
}
void PlayerToolbarCommands::CmdReload() {
    if (player_ != nullptr) player_->CmdReload();
}
void PlayerToolbarCommands::GoHome() {
    if (player_ != nullptr) player_->GoHome();
}
void PlayerToolbarCommands::SwitchToNavigation() {
    if (player_ != nullptr) player_->SwitchToNavigation();
}
void PlayerToolbarCommands::BrowseAddress(const std::string& address) {
    if (player_ != nullptr)
        player_->BrowseTo(player_->CurrentBrowser(), address, kTypedAddressSeconds);
}
void PlayerToolbarCommands::HandleKey(int keyCode, int shift) {
    if (player_ != nullptr) player_->HandleKey(keyCode, shift);
}
void PlayerToolbarCommands::NoteActivity() {
    if (player_ != nullptr) player_->NoteActivity();
}
bool PlayerToolbarCommands::Finishing() const {
    return player_ != nullptr && player_->State() == PlayerState::FinProg;
}

}  // namespace pagelark
