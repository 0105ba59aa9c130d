#include "platform/win32/CivilTime.h"

#include <chrono>
#include <cmath>

namespace mapipim::win32
{
namespace
{
// Days from 0000-03-01 to 1601-01-01 in the era arithmetic below.
constexpr int64_t kDaysTo1601 = 584'694;

// The civil-from-days algorithm counts eras of 400 years starting on March 1st, so leap days fall last.
int64_t DaysFromMarchEpoch(int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + static_cast<int64_t>(dayOfEra);
}

struct CivilDate
{
    int64_t year;
    unsigned month;
    unsigned day;
};

CivilDate CivilFromMarchEpoch(int64_t days)
{
    const int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146'097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const unsigned month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    return {static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2), month, day};
}
} // namespace

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int64_t DaysFromCivil(int year, int month, int day)
{
    return DaysFromMarchEpoch(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kDaysTo1601;
}

int DayOfWeek(int64_t daysFrom1601)
{
    // 1601-01-01 was a Monday.
    const int64_t weekday = (daysFrom1601 + 1) % 7;
    return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

bool IsValidSystemTime(const SYSTEMTIME& st)
{
    return st.wYear >= 1601 && st.wYear <= kMaxSystemTimeYear && st.wMonth >= 1 && st.wMonth <= 12 && st.wDay >= 1 &&
           st.wDay <= DaysInMonth(st.wYear, st.wMonth) && st.wHour < 24 && st.wMinute < 60 && st.wSecond < 60 &&
           st.wMilliseconds < 1000;
}

std::optional<int64_t> TicksFromSystemTime(const SYSTEMTIME& st)
{
    if (!IsValidSystemTime(st))
        return std::nullopt;
    return DaysFromCivil(st.wYear, st.wMonth, st.wDay) * kTicksPerDay + st.wHour * kTicksPerHour +
           st.wMinute * kTicksPerMinute + st.wSecond * kTicksPerSecond + st.wMilliseconds * kTicksPerMillisecond;
}

std::optional<SYSTEMTIME> SystemTimeFromTicks(int64_t ticks)
{
    if (ticks < 0)
        return std::nullopt;
    const int64_t days = ticks / kTicksPerDay;
    int64_t rest = ticks % kTicksPerDay;
    const CivilDate date = CivilFromMarchEpoch(days + kDaysTo1601);
    if (date.year > kMaxSystemTimeYear + 1)
        return std::nullopt;
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(date.year);
    st.wMonth = static_cast<WORD>(date.month);
    st.wDay = static_cast<WORD>(date.day);
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(days));
    st.wHour = static_cast<WORD>(rest / kTicksPerHour);
    rest %= kTicksPerHour;
    st.wMinute = static_cast<WORD>(rest / kTicksPerMinute);
    rest %= kTicksPerMinute;
    st.wSecond = static_cast<WORD>(rest / kTicksPerSecond);
    rest %= kTicksPerSecond;
    st.wMilliseconds = static_cast<WORD>(rest / kTicksPerMillisecond);
    return st;
}

std::optional<int64_t> TicksFromFileTime(const FILETIME& ft)
{
    const uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    if (ticks > static_cast<uint64_t>(INT64_MAX))
        return std::nullopt;
    return static_cast<int64_t>(ticks);
}

FILETIME FileTimeFromTicks(int64_t ticks)
{
    const uint64_t value = static_cast<uint64_t>(ticks);
    return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}

double UDateFromTicks(int64_t ticks)
{
    const int64_t sinceEpoch = ticks - kUnixEpochTicks;
    // Floor division: a time before 1970 still lands on the millisecond it lies in.
    int64_t milliseconds = sinceEpoch / kTicksPerMillisecond;
    if (sinceEpoch % kTicksPerMillisecond < 0)
        --milliseconds;
    return static_cast<double>(milliseconds);
}

int64_t TicksFromUDate(double udate)
{
    return static_cast<int64_t>(std::floor(udate)) * kTicksPerMillisecond + kUnixEpochTicks;
}

int64_t NowTicks()
{
    using namespace std::chrono;
    const auto sinceEpoch = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    return kUnixEpochTicks + sinceEpoch / 100;
}
} // namespace mapipim::win32
