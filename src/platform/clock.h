#pragma once
// Date-times are counts of days since 1899-12-30 in local time; the clock is a port so that
// logic depending on "now" is tested with a fake.

#include <ctime>

namespace pagelark {

inline constexpr double kSecondsPerDay = 24.0 * 60.0 * 60.0;
// Days from 1899-12-30 to 1970-01-01.
inline constexpr double kDaysTo1970 = 25569.0;

class Clock {
  public:
    virtual ~Clock() = default;
    virtual double Now() const = 0;
    // Seconds since 1970-01-01 00:00 UTC, to the microsecond: the same on kiosks in other
    // zones, and unmoved by daylight saving. A clock that knows no zone (a test's) reads its
    // local time as UTC.
    virtual double EpochSeconds() const { return (Now() - kDaysTo1970) * kSecondsPerDay; }
};

class SystemClock final : public Clock {
  public:
    double Now() const override;
    double EpochSeconds() const override;
};

// The reading at an instant (seconds since 1970 in UTC): its date and time in the local zone,
// or in UTC when the system cannot convert it.
double LocalReading(std::time_t seconds, long nanoseconds = 0);

// The proleptic Gregorian date of a count of days since 1970-01-01, worked out without the C
// library, whose range on Windows ends at 1970 and 3000.
struct CivilDate {
    long long year;
    int month, day;
};
CivilDate CivilFromDays(long long days);

// The day count of a local calendar date and time.
double DateTimeValue(int year, int month, int day, int hour = 0, int minute = 0,
                     double second = 0.0);

}  // namespace pagelark
