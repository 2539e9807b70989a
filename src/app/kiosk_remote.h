#pragma once
// The remote services' port over the player: their commands go to the player as its buttons'
// would, and their status is read off it.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/player.h"
#include "core/ports/remote_control.h"

namespace pagelark {

class QtScreenCapture;

// What the remote services are told of the kiosk besides the player.
struct RemoteFacts {
    // The presentation plays from a web address: it, and version reads its current version.
    std::string published;
    std::function<std::string()> version;
    // The kiosk's own files and folders besides the presentation, which no snapshot replaces.
    std::vector<std::string> own;
};

class KioskRemote final : public RemoteControl {
  public:
    KioskRemote(Player& player, const QtScreenCapture& screen, RemoteFacts facts)
        : player_(player), screen_(screen), facts_(std::move(facts)) {}
    // Each timer step: the status when anything but the uptime changed since the last.
    std::optional<KioskStatus> Poll();

    void Run(CommandCall request) override;
    KioskStatus Status() const override;

  private:
    Result<> Snapshot(const std::string& path) const;

    Player& player_;
    const QtScreenCapture& screen_;
    RemoteFacts facts_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    bool started_ = false;
    KioskStatus reported_;
};

}  // namespace pagelark
