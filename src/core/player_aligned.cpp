// A clock-aligned show: the page on show follows the clock (core/clock_alignment.h) instead of
// the time each page has been on show, so screens side by side change pages together.

#include <algorithm>
#include <utility>

#include "core/clock_alignment.h"
#include "core/page_schedule.h"
#include "core/player.h"
#include "model/presentation.h"
#include "platform/clock.h"

namespace pagelark {

namespace {

// A wake-up a hair early counts as on time: the kiosk's timers keep whole milliseconds.
constexpr double kAlignedSlack = 0.002;
// What a page needs at least to load and paint out of sight.
constexpr double kAlignedLead = 1.5;

bool Same(const std::optional<AlignedShowing>& a, const std::optional<AlignedShowing>& b) {
    // A page that took over a slot not due stays on through its own: no load between them.
    return a && b && a->position == b->position && a->until == b->until;
}

// Too little of its time is left for the page to load and paint: the page on show stays until
// the next one's moment rather than make that one late too. A short page needs half its time.
bool TooLate(const AlignedShowing& showing, double now) {
    return showing.until - now < std::min(kAlignedLead, (showing.until - showing.from) / 2);
}

}  // namespace

double Player::AlignedNow() const {
    return context_.clock.EpochSeconds() + kAlignedSlack;
}

std::optional<AlignedShowing> Player::AlignedShowingAt(double at) const {
    if (!show_.presentation.ClockAligned) return std::nullopt;
    // Whether a page is due is asked of the local reading at that instant.
    const double local = Now() + (at - AlignedNow()) / kSecondsPerDay;
    return AlignedAt(pageTimes_, at, [&](int position, double) {
        return IsDue(pageSchedules_[static_cast<std::size_t>(position - 1)], local);
    });
}

bool Player::AlignCounter() {
    if (!show_.presentation.ClockAligned) return false;
    // A preload that failed gives its slot to the page on show.
    if (browsers_[browsers_.Next()].failed && alignedPreload_) alignedPassed_ = alignedPreload_;
    const double now = AlignedNow();
    std::optional<AlignedShowing> showing = AlignedShowingAt(now);
    // Past the page on show and any passed over: the page due after them.
    for (int step = 0; step < 3 && showing; ++step) {
        const bool passed = Same(showing, alignedOnShow_) || Same(showing, alignedPassed_);
        const bool late = !passed && showing->Holds(now) && TooLate(*showing, now);
        if (late) alignedPassed_ = showing;
        if (!passed && !late) break;
        showing = AlignedShowingAt(showing->until);
    }
    alignedPreload_ = showing;
    if (showing) page_ = showing->position;
    return showing.has_value();
}

std::optional<PageTimer::Turn> Player::AlignedTurn(const BrowserRotation::Record& preload) {
    const double now = AlignedNow();
    const std::optional<AlignedShowing> due = AlignedShowingAt(now);
    if (!due || !alignedPreload_) return std::nullopt;
    if (Same(due, alignedOnShow_) || Same(due, alignedPassed_)) return PageTimer::Turn::Stay;
    // The preload is for another moment (the clock was set, a load took longer than a slot):
    // the page due now loads in its place.
    if (!Same(due, alignedPreload_)) {
        PreloadCurrentPage();
        return PageTimer::Turn::Stay;
    }
    if (preload.failed) return PageTimer::Turn::PassOver;
    // A page not loaded by its moment comes on show once loaded, unless too late; the next
    // change keeps its moment.
    if (PreloadHolds((now - due->from) / kSecondsPerDay, preload, show_.presentation.MaxTime))
        return PageTimer::Turn::Stay;
    if (TooLate(*due, now)) {
        alignedPassed_ = due;
        PreloadCurrentPage();
        return PageTimer::Turn::Stay;
    }
    return PageTimer::Turn::Advance;
}

bool Player::AlignedPreloadWaits() {
    if (!alignedPreload_) return false;
    const std::optional<AlignedShowing> due = AlignedShowingAt(AlignedNow());
    if (!due || Same(due, alignedPreload_)) return false;
    // Back from a pause or a visitor, the page due now comes on show, not the one preloaded
    // for a moment gone or to come.
    if (Same(due, alignedOnShow_) || Same(due, alignedPassed_)) {
        SetState(PlayerState::WaitTime);
    } else {
        PreloadCurrentPage();
        freshPreloadSince_ = Now();
    }
    return true;
}

void Player::AlignedCameOnShow() {
    alignedOnShow_ = std::exchange(alignedPreload_, std::nullopt);
}

std::optional<double> Player::SecondsToAlignedChange() const {
    if (state_ != PlayerState::WaitTime || navigationMode_) return std::nullopt;
    const double now = AlignedNow();
    const std::optional<AlignedShowing> due = AlignedShowingAt(now);
    if (!due || !(Same(due, alignedOnShow_) || Same(due, alignedPassed_))) return std::nullopt;
    return due->until - now;
}

}  // namespace pagelark
