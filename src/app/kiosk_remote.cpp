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

std::optional<KioskStatus> KioskRemote::Poll() {
    if (player_.State() == PlayerState::WaitTime) started_ = true;
    KioskStatus status = Status();
    KioskStatus now = WithoutUptime(status);
    if (now == reported_) return std::nullopt;
    reported_ = std::move(now);
    return status;
}

void KioskRemote::Run(CommandCall request) {
    request.source = CommandSource::Remote;
    const CommandAnswer answer = request.answer;
    const Result<> result =
        request.command == Command::Snapshot ? Snapshot(request.argument) : player_.Run(request);
    // A shown address is answered once its page is on show, or could not be.
    if (answer && !(request.command == Command::ShowAddress && result)) answer(result);
}

Result<> KioskRemote::Snapshot(const std::string& path) const {
    std::vector<std::string> own = facts_.own;
    own.push_back(player_.Playing().document.CurrentFile);
    const SnapshotGuard guard(own);
    if (Result<> allowed = guard.Check(path); !allowed) return allowed;
    const Result<std::optional<std::string>> picture = screen_.Grab("PNG");
    if (!picture) return Fail("cannot write " + path + ": " + picture.Error());
    if (!picture.Value()) return Fail("the screen cannot be read");
    // The path is judged again where the picture is written: it may have changed meanwhile.
    return guard.Write(path, *picture.Value());
}

KioskStatus KioskRemote::Status() const {
    KioskStatus status;
    status.state = RemoteStateWord(player_, started_);
    status.page = player_.PageOnShow();
    status.address = player_.AddressOnShow();
    status.presentation =
        facts_.published.empty() ? player_.Playing().document.CurrentFile : facts_.published;
    if (facts_.version) status.version = facts_.version();
    status.uptime =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start_);
    status.lastLoadError = player_.LastLoadFailure();
    status.screenOn = player_.ScreenIsOn();
    return status;
}

}  // namespace pagelark
