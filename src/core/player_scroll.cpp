// The player's part in a long page moving on show: it decides when, the stage moves the page.

#include "core/player.h"
#include "model/page_scroll.h"
#include "model/presentation.h"

namespace pagelark {

void Player::ScrollPageOnShow() {
    FollowScroll();
    const Presentation& p = show_.presentation;
    if (pageOnShow_ < 1 || pageOnShow_ > PageCount(p) || idleOnShow_ || navigationMode_) return;
    const int shown = browsers_.Current();
    const PageScroll scroll = ScrollOf(p.Pages[static_cast<std::size_t>(pageOnShow_ - 1)]);
    // A clock-aligned page gives way when the clock says, not after its own time.
    const auto aligned = SecondsToAlignedChange();
    const std::chrono::seconds timeLeft =
        aligned ? std::chrono::seconds{static_cast<long long>(*aligned)} : browsers_[shown].time;
    // A page held until a command moves on has no time to pace itself by.
    if (!scroll.Moves() || (scroll.paced && timeLeft <= std::chrono::seconds::zero())) return;
    context_.stage.Scroll(shown, scroll.pixelsPerSecond, timeLeft);
    scrolled_ = Scrolled{shown, idle_.Inputs()};
}

void Player::FollowScroll() {
    if (!scrolled_) return;
    const int browser = scrolled_->browser;
    if (browser != browsers_.Current()) {
        // Behind the page on show by now, so no one sees it go back.
        context_.stage.StopScroll(browser, true);
        scrolled_.reset();
        return;
    }
    const bool stops = idle_.Inputs() != scrolled_->inputs || navigationMode_ || dark_ ||
                       state_ == PlayerState::WaitSaver || browsers_[browser].left;
    if (scrolled_->moving && stops) {
        context_.stage.StopScroll(browser, false);
        scrolled_->moving = false;
    }
}

}  // namespace pagelark
