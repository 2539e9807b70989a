#include "publish/refresh_schedule.h"

#include <algorithm>
#include <cmath>

#include "platform/clock.h"

namespace pagelark {

double SystemRandom::Fraction() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
}

std::chrono::milliseconds RefreshSchedule::UntilDue() const {
    const double seconds = (due_ - clock_.Now()) * kSecondsPerDay;
    return std::chrono::milliseconds(std::max<std::int64_t>(0, std::llround(seconds * 1000.0)));
}

void RefreshSchedule::Fetched() {
    // A source that strays out of its range must not stretch the period beyond its bounds.
    const double fraction = std::clamp(random_.Fraction(), 0.0, 1.0);
    const double seconds =
        std::chrono::duration<double>(period_()).count() * (0.8 + 0.4 * fraction);
    due_ = clock_.Now() + seconds / kSecondsPerDay;
}

}  // namespace pagelark
