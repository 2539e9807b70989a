// Pages for a time of day: a page out of its hours is passed over before it loads, and with
// no page due the idle page stands in until one is.

#include <chrono>

#include "core/own_pages.h"
#include "core/player.h"
#include "model/presentation.h"
#include "platform/log.h"

namespace pagelark {

void Player::ReadShowTimes() {
    screen_.SetHours(ReadScreenHours(show_.machine));
    pageTimes_.clear();
    pageSchedules_.clear();
    const Presentation& p = show_.presentation;
    for (std::int32_t k = 1; k <= PageCount(p); ++k) {
        pageTimes_.push_back(PageAt(p, context_.helpDocuments, k, show_.machine.Snap)->seconds);
        pageSchedules_.push_back(ScheduleOf(p.Pages[static_cast<std::size_t>(k - 1)]).schedule);
    }
}

bool Player::Due(std::int32_t position) const {
    return IsDue(pageSchedules_[static_cast<std::size_t>(position - 1)], Now());
}

bool Player::AnyPageDue() const {
    for (std::int32_t position = 1; position <= PageCount(show_.presentation); ++position)
        if (Due(position)) return true;
    return false;
}

bool Player::PassOverPagesNotDue(int delta) {
    const Presentation& p = show_.presentation;
    const std::int32_t count = PageCount(p);
    const auto within = [&] { return page_ >= 1 && page_ <= count; };
    // The start page and the end of a show without AutoLoop keep no hours.
    if (!within()) return true;
    if (!AnyPageDue()) return false;
    // Without AutoLoop the counter may run off the end, as past a page that failed.
    for (std::int32_t tried = 0; tried < count && within() && !Due(page_); ++tried)
        page_ = MoveCounter(page_, delta, count, p.AutoLoop).counter;
    return true;
}

bool Player::PreloadIdlePage() {
    const bool wasIdle = idlePreloaded_;
    idlePreloaded_ = !PassOverPagesNotDue();
    if (!idlePreloaded_) return false;
    if (!wasIdle) {
        Log(LogArea::Player, "no page is due: the idle page stands in");
        idleFrom_ = page_;
    }
    // An idle page of the owner's that cannot be loaded gives way to the black one.
    const std::string& own = show_.presentation.IdlePage;
    const std::string address =
        own.empty() || failing_.contains(own) ? std::string(kBlackPage) : own;
    preloadPosition_ = 0;
    // It stays until a page is due (looked for as each minute begins) or a command moves on.
    BrowseTo(browsers_.Next(), address, std::chrono::seconds::zero(), false,
             address == own ? show_.presentation.Zoom : kPlainZoom);
    return true;
}

bool Player::PreloadOutOfHours() {
    const Presentation& p = show_.presentation;
    const std::int32_t count = PageCount(p);
    if (idlePreloaded_) {
        if (!AnyPageDue()) return false;
        // The first due page from where the show stood when the idle page came in.
        page_ = idleFrom_ >= 1 && idleFrom_ <= count ? idleFrom_ : 1;
    } else if (preloadPosition_ < 1 || preloadPosition_ > count || Due(preloadPosition_)) {
        return false;
    } else {
        page_ = preloadPosition_;
    }
    PreloadCurrentPage();
    // Without AutoLoop no page is left due before the end: the show ends as at the end.
    if (page_ > count) {
        AdvancePage(+1);
        return true;
    }
    if (!idlePreloaded_) page_ = MoveCounter(page_, +1, count, p.AutoLoop).counter;
    freshPreloadSince_ = Now();
    return true;
}

bool Player::LookForDuePage(double now) {
    if (!idlePreloaded_ || !dueWatch_.LookAgain(now) || !PreloadOutOfHours()) return false;
    // The page comes on show once loaded (or after MaxTime), the idle page staying till then.
    SetState(PlayerState::Navigate);
    return true;
}

bool Player::HeldPastItsHours(double now) {
    if (idleOnShow_ || pageOnShow_ < 1 || pageOnShow_ > PageCount(show_.presentation) ||
        browsers_[browsers_.Current()].time != std::chrono::seconds::zero())
        return false;
    return dueWatch_.LookAgain(now) && !Due(pageOnShow_);
}

}  // namespace pagelark
