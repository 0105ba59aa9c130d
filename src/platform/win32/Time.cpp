// The UTC clock and the conversions between FILETIME (100 ns ticks since 1601-01-01 UTC) and SYSTEMTIME.
#include "platform/platform.h"

#include "platform/win32/CivilTime.h"

using namespace mapipim::win32;

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime)
{
    if (!lpFileTime || !lpSystemTime)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::optional<int64_t> ticks = TicksFromFileTime(*lpFileTime);
    const std::optional<SYSTEMTIME> st = ticks ? SystemTimeFromTicks(*ticks) : std::nullopt;
    if (!st)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpSystemTime = *st;
    return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime)
{
    const std::optional<int64_t> ticks = lpSystemTime ? TicksFromSystemTime(*lpSystemTime) : std::nullopt;
    if (!ticks || !lpFileTime)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpFileTime = FileTimeFromTicks(*ticks);
    return TRUE;
}

void GetSystemTime(LPSYSTEMTIME lpSystemTime)
{
    if (lpSystemTime)
        *lpSystemTime = SystemTimeFromTicks(NowTicks()).value_or(SYSTEMTIME{});
}

void GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime)
{
    if (lpSystemTimeAsFileTime)
        *lpSystemTimeAsFileTime = FileTimeFromTicks(NowTicks());
}
