#pragma once
// When a published presentation is fetched: at once, then every refresh period give or take a
// fifth, so that a fleet started together does not reach the server together.

#include <chrono>
#include <functional>
#include <random>
#include <utility>

namespace pagelark {

class Clock;

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // In [0, 1).
    virtual double Fraction() = 0;
};

class SystemRandom final : public RandomSource {
  public:
    double Fraction() override;

  private:
    std::mt19937_64 engine_{std::random_device{}()};
};

class RefreshSchedule {
  public:
    // Asked again as each fetch ends: a new version may bring another.
    using Period = std::function<std::chrono::milliseconds()>;

    RefreshSchedule(Period period, const Clock& clock, RandomSource& random)
        : period_(std::move(period)), clock_(clock), random_(random) {}
    RefreshSchedule(std::chrono::milliseconds period, const Clock& clock, RandomSource& random)
        : RefreshSchedule([period] { return period; }, clock, random) {}

    // Zero once the next fetch is due.
    std::chrono::milliseconds UntilDue() const;
    // A fetch has ended: the next is due between 0.8 and 1.2 periods from now.
    void Fetched();

  private:
    Period period_;
    const Clock& clock_;
    RandomSource& random_;
    double due_ = 0.0;  // a clock reading; the first fetch is due from the start
};

}  // namespace pagelark
