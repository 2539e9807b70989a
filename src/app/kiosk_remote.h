#pragma once
// The remote services' port over the player: their commands go to the player as its buttons'
// would, and their status is read off it. Watchers hear of a change on the next tick.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "core/player.h"
#include "core/ports/remote_control.h"

namespace pagelark {

class KioskRemote final : public RemoteControl {
  public:
    using Watcher = std::function<void(const KioskStatus&)>;

    explicit KioskRemote(Player& player) : player_(player) {}
    void Watch(Watcher watcher) { watchers_.push_back(std::move(watcher)); }
    // The presentation plays from a web address; version reads its current version.
    void SetPublished(std::string address, std::function<std::string()> version) {
        published_ = std::move(address);
        version_ = std::move(version);
    }
    // The kiosk's own files and folders besides the presentation, which no snapshot replaces.
    void Protect(std::vector<std::string> own) { own_ = std::move(own); }
    // Each timer step: the watchers hear a change of anything but the uptime.
    void Poll();

    std::string Next() override;
    std::string Previous() override;
    std::string Pause() override;
    std::string Play() override;
    std::string Reload() override;
    void ShowAddress(const std::string& address, Answer answer) override;
    std::string Snapshot(const std::string& path) override;
    KioskStatus Status() const override;

  private:
    Player& player_;
    std::string published_;
    std::function<std::string()> version_;
    std::vector<std::string> own_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    bool started_ = false;
    KioskStatus reported_;
    std::vector<Watcher> watchers_;
};

}  // namespace pagelark
