// Civil dates to day numbers and back by the well-known era arithmetic (400-year cycles of 146097 days), so that
// every date from 1601 to far beyond 4500 converts exactly, without tables.
#include "items/RecurrenceCalendar.h"

namespace mapipim
{
namespace
{
// Days from 0000-03-01 to 1601-01-01 in the era arithmetic below.
constexpr LONGLONG kDaysTo1601 = 584694;
constexpr LONGLONG kTicksPerMinute = 600000000LL; // FILETIME units (100 ns)
} // namespace

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

LONGLONG FloorDiv(LONGLONG x, LONGLONG m)
{
    return x >= 0 ? x / m : -((-x + m - 1) / m);
}

LONGLONG FloorMod(LONGLONG x, LONGLONG m)
{
    return x - FloorDiv(x, m) * m;
}

DayNumber DayNumberOf(const CivilDate& date)
{
    // Years counted from March, so that February's leap day ends the year.
    const LONGLONG year = date.month <= 2 ? date.year - 1 : date.year;
    const LONGLONG era = FloorDiv(year, 400);
    const LONGLONG yearOfEra = year - era * 400;
    const LONGLONG monthFromMarch = date.month > 2 ? date.month - 3 : date.month + 9;
    const LONGLONG dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
    const LONGLONG dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<DayNumber>(era * 146097 + dayOfEra - kDaysTo1601);
}

CivilDate CivilDateOf(DayNumber day)
{
    const LONGLONG days = static_cast<LONGLONG>(day) + kDaysTo1601;
    const LONGLONG era = FloorDiv(days, 146097);
    const LONGLONG dayOfEra = days - era * 146097;
    const LONGLONG yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const LONGLONG dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const LONGLONG monthFromMarch = (5 * dayOfYear + 2) / 153;
    CivilDate date;
    date.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    date.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

int WeekdayOf(DayNumber day)
{
    return static_cast<int>(FloorMod(static_cast<LONGLONG>(day) + 1, kDaysPerWeek)); // day 0 was a Monday
}

LONG MonthIndexOf(const CivilDate& date)
{
    return (date.year - 1601) * 12 + (date.month - 1);
}

DayNumber FirstDayOfMonthIndex(LONG monthIndex)
{
    const LONGLONG year = 1601 + FloorDiv(monthIndex, 12);
    const int month = static_cast<int>(FloorMod(monthIndex, 12)) + 1;
    return DayNumberOf(CivilDate{static_cast<int>(year), month, 1});
}

DWORD MinutesOf(const SYSTEMTIME& tm)
{
    FILETIME ft = {};
    if (!SystemTimeToFileTime(&tm, &ft))
        return 0;
    const ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<DWORD>(ticks / kTicksPerMinute);
}

SYSTEMTIME SystemTimeOfMinutes(DWORD dwMinutes)
{
    const ULONGLONG ticks = static_cast<ULONGLONG>(dwMinutes) * kTicksPerMinute;
    FILETIME ft = {static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME tm = {};
    FileTimeToSystemTime(&ft, &tm);
    return tm;
}

bool DayNumberOfSystemTime(const SYSTEMTIME& tm, DayNumber& day)
{
    if (tm.wYear < 1601 || tm.wYear > 30827 || tm.wDay < 1 || tm.wDay > DaysInMonth(tm.wYear, tm.wMonth))
        return false;
    day = DayNumberOf(CivilDate{tm.wYear, tm.wMonth, tm.wDay});
    return true;
}
} // namespace mapipim
