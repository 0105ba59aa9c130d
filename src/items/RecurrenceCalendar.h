// The proleptic Gregorian calendar as recurrence patterns count it: dates as whole days since 1601-01-01 (the
// first day MAPI's minute counts and FILETIMEs measure from, a Monday), and the minutes of those days.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
using DayNumber = LONG; // days since 1601-01-01; negative before it

constexpr LONG kMinutesPerDay = 1440;
constexpr LONG kDaysPerWeek = 7;

struct CivilDate
{
    int year = 1601;
    int month = 1; // 1 to 12
    int day = 1;   // 1 to the month's length
};

bool IsLeapYear(int year);
// 28 to 31; 0 for a month outside 1 to 12.
int DaysInMonth(int year, int month);
DayNumber DayNumberOf(const CivilDate& date);
CivilDate CivilDateOf(DayNumber day);
// 0 Sunday to 6 Saturday.
int WeekdayOf(DayNumber day);
// Months since January 1601 (0 for January 1601), and back to the first day of such a month.
LONG MonthIndexOf(const CivilDate& date);
DayNumber FirstDayOfMonthIndex(LONG monthIndex);
// x mod m in 0 to m - 1 for any sign of x (m > 0).
LONGLONG FloorMod(LONGLONG x, LONGLONG m);
LONGLONG FloorDiv(LONGLONG x, LONGLONG m);

// Whole minutes since 1601-01-01 00:00 of a SYSTEMTIME, as the recurrence blob keeps dates: 0 for a time that
// names no valid date, and cut to 32 bits as the blob stores it.
DWORD MinutesOf(const SYSTEMTIME& tm);
SYSTEMTIME SystemTimeOfMinutes(DWORD dwMinutes);
// The date of a SYSTEMTIME; false when it names no valid date.
bool DayNumberOfSystemTime(const SYSTEMTIME& tm, DayNumber& day);
} // namespace mapipim
