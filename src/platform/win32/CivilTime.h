// Calendar arithmetic on Windows' time scale: 100-nanosecond ticks since 1601-01-01 00:00 UTC (the FILETIME
// scale), proleptic Gregorian. Shared by the time functions, the time-zone rules and the registry's zone data.
#pragma once

#include <mapipim/win32/wintypes.h>

#include <cstdint>
#include <optional>

namespace mapipim::win32
{
constexpr int64_t kTicksPerMillisecond = 10'000;
constexpr int64_t kTicksPerSecond = 1'000 * kTicksPerMillisecond;
constexpr int64_t kTicksPerMinute = 60 * kTicksPerSecond;
constexpr int64_t kTicksPerHour = 60 * kTicksPerMinute;
constexpr int64_t kTicksPerDay = 24 * kTicksPerHour;
// 1970-01-01 on the FILETIME scale: where ICU's and the C library's clocks start.
constexpr int64_t kUnixEpochTicks = 116'444'736'000'000'000;
// The last year a SYSTEMTIME may carry; FILETIME itself reaches into 30828.
constexpr int kMaxSystemTimeYear = 30827;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Days from 1601-01-01 to the given date (month 1-12, day 1-31); negative before 1601.
int64_t DaysFromCivil(int year, int month, int day);
// 0 = Sunday, as SYSTEMTIME counts.
int DayOfWeek(int64_t daysFrom1601);

// Every field in its range, the day within its month; wDayOfWeek is ignored, as Windows ignores it.
bool IsValidSystemTime(const SYSTEMTIME& st);
// Empty for an invalid SYSTEMTIME.
std::optional<int64_t> TicksFromSystemTime(const SYSTEMTIME& st);
// Empty for ticks before 1601 or beyond the last representable SYSTEMTIME year.
std::optional<SYSTEMTIME> SystemTimeFromTicks(int64_t ticks);

// Empty when the FILETIME does not fit a signed 64-bit tick count (Windows rejects those).
std::optional<int64_t> TicksFromFileTime(const FILETIME& ft);
FILETIME FileTimeFromTicks(int64_t ticks);

// ICU's UDate: milliseconds since 1970 as a double.
double UDateFromTicks(int64_t ticks);
int64_t TicksFromUDate(double udate);
int64_t NowTicks();
} // namespace mapipim::win32
