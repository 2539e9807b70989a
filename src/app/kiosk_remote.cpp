#include "app/kiosk_remote.h"

#include <utility>

#include "app/screen_capture.h"
#include "model/presentation.h"

namespace pagelark {
namespace {

KioskStatus WithoutUptime(KioskStatus status) {
    status.uptime = {};
    return status;
}

}  // namespace

void KioskRemote::Poll() {
    if (player_.State() == PlayerState::WaitTime) started_ = true;
    const KioskStatus status = Status();
    KioskStatus now = WithoutUptime(status);
    if (now == reported_) return;
    reported_ = std::move(now);
    for (const Watcher& watcher : watchers_)
        watcher(status);
}

std::string KioskRemote::Next() {
    return player_.Remote(PlayCommand::Next);
}

std::string KioskRemote::Previous() {
    return player_.Remote(PlayCommand::Previous);
}

std::string KioskRemote::Pause() {
    return player_.Remote(PlayCommand::Pause);
}

std::string KioskRemote::Play() {
    return player_.RemotePlay();
}

std::string KioskRemote::Reload() {
    return player_.RemoteReload();
}

void KioskRemote::ShowAddress(const std::string& address, Answer answer) {
    player_.RemoteShowAddress(address, std::move(answer));
}

std::string KioskRemote::Snapshot(const std::string& path) {
    std::vector<std::string> own = own_;
    own.push_back(presentation_.CurrentFile);
    const SnapshotGuard guard(own);
    if (const Result<> allowed = guard.Check(path); !allowed) return allowed.Error();
    const Result<std::optional<std::string>> picture = GrabScreen("PNG");
    if (!picture) return "cannot write " + path + ": " + picture.Error();
    if (!picture.Value()) return "the screen cannot be read";
    // The path is judged again where the picture is written: it may have changed meanwhile.
    return guard.Write(path, *picture.Value()).Error();
}

KioskStatus KioskRemote::Status() const {
    KioskStatus status;
    status.state = RemoteStateWord(player_.State(), player_.NavigationMode(), started_);
    status.page = player_.PageOnShow();
    status.address = player_.AddressOnShow();
    status.presentation = published_.empty() ? presentation_.CurrentFile : published_;
    if (version_) status.version = version_();
    status.uptime =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start_);
    status.lastLoadError = player_.LastLoadFailure();
    return status;
}

}  // namespace pagelark
