// Times for tests: SYSTEMTIME values built field by field, and FILETIME values as the 100-nanosecond ticks they hold.
#pragma once

#include "platform/platform.h"

#include <cstdint>

// A calendar time with the fields given; the day of the week stays 0, as a caller filling the fields leaves it.
inline SYSTEMTIME MakeSystemTime(WORD wYear, WORD wMonth, WORD wDay, WORD wHour = 0, WORD wMinute = 0, WORD wSecond = 0,
                                 WORD wMilliseconds = 0)
{
    SYSTEMTIME tm = {};
    tm.wYear = wYear;
    tm.wMonth = wMonth;
    tm.wDay = wDay;
    tm.wHour = wHour;
    tm.wMinute = wMinute;
    tm.wSecond = wSecond;
    tm.wMilliseconds = wMilliseconds;
    return tm;
}

// The ticks since 1 January 1601 (UTC) that a FILETIME holds.
inline uint64_t FileTimeTicks(const FILETIME& ft)
{
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

inline FILETIME FileTimeFromTicks(uint64_t ticks)
{
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}
