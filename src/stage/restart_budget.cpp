#include "stage/restart_budget.h"

namespace pagelark {

bool RestartBudget::TryRestart(double now) {
    if (exhausted_) return false;
    while (!tries_.empty() && now - tries_.front() > windowDays_)
        tries_.pop_front();
    if (static_cast<int>(tries_.size()) >= maxTries_) {
        exhausted_ = true;
        return false;
    }
    tries_.push_back(now);
    return true;
}

void RestartBudget::Reset() {
    exhausted_ = false;
    tries_.clear();
}

}  // namespace pagelark
