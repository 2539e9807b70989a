#pragma once
// How often a browser whose renderer died is reloaded: a few tries a minute, then it stays
// on its error page until it is sent its next address, so a page that kills its renderer
// every time cannot keep the machine busy.

#include <deque>

namespace pagelark {

class RestartBudget {
  public:
    explicit RestartBudget(int maxTries = 3, double windowDays = 60.0 / 86400.0)
        : maxTries_(maxTries), windowDays_(windowDays) {}

    // The renderer died at now (days): true when a reload may be tried.
    bool TryRestart(double now);
    // A new address was sent: the count starts afresh.
    void Reset();

  private:
    int maxTries_;
    double windowDays_;
    bool exhausted_ = false;
    std::deque<double> tries_;
};

}  // namespace pagelark
