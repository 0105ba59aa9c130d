#include "platform/win32/TziRule.h"

#include "platform/win32/CivilTime.h"

namespace mapipim::win32
{
namespace
{
bool IsValidTransitionTime(const SYSTEMTIME& date)
{
    return date.wMonth >= 1 && date.wMonth <= 12 && date.wHour < 24 && date.wMinute < 60 && date.wSecond < 60 &&
           date.wMilliseconds < 1000;
}

// A transition date in `year`. With wYear 0 it is "week wDay (5 = the last) of weekday wDayOfWeek in wMonth";
// otherwise an absolute day of the month, which Windows applies whatever the year.
std::optional<int64_t> TransitionIn(const SYSTEMTIME& date, int year)
{
    if (!IsValidTransitionTime(date))
        return std::nullopt;
    const int monthDays = DaysInMonth(year, date.wMonth);
    int day = date.wDay;
    if (date.wYear == 0)
    {
        if (date.wDay < 1 || date.wDay > 5 || date.wDayOfWeek > 6)
            return std::nullopt;
        const int firstWeekday = DayOfWeek(DaysFromCivil(year, date.wMonth, 1));
        day = (date.wDayOfWeek - firstWeekday + 7) % 7 + 1 + 7 * (date.wDay - 1);
        while (day > monthDays)
            day -= 7;
    }
    else if (day < 1 || day > monthDays)
        return std::nullopt;
    return DaysFromCivil(year, date.wMonth, day) * kTicksPerDay + date.wHour * kTicksPerHour +
           date.wMinute * kTicksPerMinute + date.wSecond * kTicksPerSecond + date.wMilliseconds * kTicksPerMillisecond;
}

std::optional<int> YearOf(int64_t ticks)
{
    const std::optional<SYSTEMTIME> st = SystemTimeFromTicks(ticks);
    if (!st)
        return std::nullopt;
    return st->wYear;
}

// `standardClock` is the moment in standard wall-clock time (compared with the daylight date), `daylightClock` the
// same moment in daylight wall-clock time (compared with the standard date). Where daylight time begins before
// standard time in the year (northern hemisphere) it lies between the two dates, otherwise outside them.
std::optional<ZonePeriod> Period(const TIME_ZONE_INFORMATION& tzi, int64_t standardClock, int64_t daylightClock)
{
    if (tzi.DaylightDate.wMonth == 0)
        return ZonePeriod::NoDaylight;
    const std::optional<int> standardYear = YearOf(standardClock);
    const std::optional<int> daylightYear = YearOf(daylightClock);
    if (!standardYear || !daylightYear)
        return std::nullopt;
    const std::optional<int64_t> daylightBegins = TransitionIn(tzi.DaylightDate, *standardYear);
    const std::optional<int64_t> standardBegins = TransitionIn(tzi.StandardDate, *daylightYear);
    const std::optional<int64_t> standardBeginsSameYear = TransitionIn(tzi.StandardDate, *standardYear);
    if (!daylightBegins || !standardBegins || !standardBeginsSameYear)
        return std::nullopt;
    const bool afterDaylightBegins = standardClock >= *daylightBegins;
    const bool beforeStandardBegins = daylightClock < *standardBegins;
    const bool northern = *daylightBegins < *standardBeginsSameYear;
    const bool daylight =
        northern ? afterDaylightBegins && beforeStandardBegins : afterDaylightBegins || beforeStandardBegins;
    return daylight ? ZonePeriod::Daylight : ZonePeriod::Standard;
}
} // namespace

std::optional<ZonePeriod> PeriodAtUtc(const TIME_ZONE_INFORMATION& tzi, int64_t utcTicks)
{
    return Period(tzi, utcTicks - BiasOf(tzi, ZonePeriod::Standard) * kTicksPerMinute,
                  utcTicks - BiasOf(tzi, ZonePeriod::Daylight) * kTicksPerMinute);
}

std::optional<ZonePeriod> PeriodAtLocal(const TIME_ZONE_INFORMATION& tzi, int64_t localTicks)
{
    return Period(tzi, localTicks, localTicks);
}

LONG BiasOf(const TIME_ZONE_INFORMATION& tzi, ZonePeriod period)
{
    switch (period)
    {
    case ZonePeriod::Standard:
        return tzi.Bias + tzi.StandardBias;
    case ZonePeriod::Daylight:
        return tzi.Bias + tzi.DaylightBias;
    case ZonePeriod::NoDaylight:
        break;
    }
    return tzi.Bias;
}
} // namespace mapipim::win32
