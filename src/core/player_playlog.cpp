// The player's part in the play log: a record for each page of the show that leaves the
// screen, and for each passed over. The program's own pages (the start page, the idle page,
// black) are left out: the log says what of the owner's show was seen.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/player.h"
#include "platform/clock.h"
#include "settings/settings.h"

namespace pagelark {

namespace {

// FNV-1a: the same bytes give the same version on every kiosk, without a crypto library.
std::string ShortHash(const std::string& bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(12, '0');
    for (char& digit : text) {
        digit = kDigits[(hash >> 60) & 0xF];
        hash <<= 4;
    }
    return text;
}

}  // namespace

PlayRecord Player::PlayRecordNow(std::int32_t position, const std::string& address) const {
    const Clock& clock = context_.clock;
    const double since = clock.EpochSeconds();
    const double local = (clock.Now() - kDaysTo1970) * kSecondsPerDay;
    PlayRecord record;
    record.since = since;
    record.zoneOffset = static_cast<std::int32_t>(std::lround((local - since) / 60.0) * 60);
    record.page = position;
    record.address = address;
    record.presentation = show_.document.CurrentFile;
    record.version = ShortHash(show_.document.DiskBytes.value_or(""));
    return record;
}

void Player::PlayBegins() {
    PlayEnds();
    if (context_.playLog == nullptr || !show_.machine.PlayLog || idleOnShow_ || pageOnShow_ <= 0)
        return;
    playing_ = PlayRecordNow(pageOnShow_, browsers_[browsers_.Current()].address);
}

void Player::PlayEnds() {
    if (!playing_ || context_.playLog == nullptr) return;
    PlayRecord record = *std::exchange(playing_, std::nullopt);
    // A clock set back never makes a time on show below nothing.
    record.seconds = std::max(0.0, context_.clock.EpochSeconds() - record.since);
    context_.playLog->PageShown(record);
}

void Player::PlayPassedOver(const std::string& address) {
    if (context_.playLog == nullptr || !show_.machine.PlayLog || idlePreloaded_ ||
        preloadPosition_ <= 0)
        return;
    PlayRecord record = PlayRecordNow(preloadPosition_, address);
    record.loaded = false;
    context_.playLog->PageShown(record);
}

void Player::PlayFailedOnShow() {
    if (playing_) playing_->loaded = false;
}

}  // namespace pagelark
