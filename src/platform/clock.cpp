#include "platform/clock.h"

#include <ctime>

namespace pagelark {
namespace {

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's days_from_civil).
long DaysFromCivil(long y, long m, long d) {
    y -= m <= 2 ? 1 : 0;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

CivilDate CivilFromDays(long long days) {
    // H. Hinnant's civil_from_days, the inverse of the above.
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const auto month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (month <= 2 ? 1 : 0), month,
            static_cast<int>(doy - (153 * mp + 2) / 5 + 1)};
}

double DateTimeValue(int year, int month, int day, int hour, int minute, double second) {
    const double days = static_cast<double>(DaysFromCivil(year, month, day)) + kDaysTo1970;
    return days + (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
}

double LocalReading(std::time_t seconds, long nanoseconds) {
    tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return kDaysTo1970 +
               (static_cast<double>(seconds) + static_cast<double>(nanoseconds) / 1e9) /
                   kSecondsPerDay;
    return DateTimeValue(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, local.tm_sec + static_cast<double>(nanoseconds) / 1e9);
}

double SystemClock::Now() const {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return LocalReading(ts.tv_sec, ts.tv_nsec);
}

double SystemClock::EpochSeconds() const {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace pagelark
