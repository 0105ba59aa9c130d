// Conversions between UTC and local time: in the machine's zone with its full history, or in an explicit
// TIME_ZONE_INFORMATION with Windows' yearly rule.
#include "platform/platform.h"

#include "platform/win32/CivilTime.h"
#include "platform/win32/MachineZone.h"
#include "platform/win32/TziRule.h"

using namespace mapipim::win32;

namespace
{
BOOL Fail()
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

BOOL StoreSystemTime(int64_t ticks, LPSYSTEMTIME lpResult)
{
    const std::optional<SYSTEMTIME> st = SystemTimeFromTicks(ticks);
    if (!st)
        return Fail();
    *lpResult = *st;
    return TRUE;
}

BOOL StoreFileTime(int64_t ticks, LPFILETIME lpResult)
{
    if (ticks < 0)
        return Fail();
    *lpResult = FileTimeFromTicks(ticks);
    return TRUE;
}

// FileTimeToLocalFileTime and its inverse apply the offset in force now, not the one of the converted moment:
// Windows documents that they do, and a caller that pairs them relies on the two being exact inverses.
int64_t CurrentOffsetTicks()
{
    const int64_t now = NowTicks();
    return MachineZone::Current()->LocalFromUtc(now) - now;
}
} // namespace

void GetLocalTime(LPSYSTEMTIME lpSystemTime)
{
    if (lpSystemTime)
        *lpSystemTime = SystemTimeFromTicks(MachineZone::Current()->LocalFromUtc(NowTicks())).value_or(SYSTEMTIME{});
}

BOOL SystemTimeToTzSpecificLocalTime(const TIME_ZONE_INFORMATION* lpTimeZoneInformation,
                                     const SYSTEMTIME* lpUniversalTime, LPSYSTEMTIME lpLocalTime)
{
    const std::optional<int64_t> utc = lpUniversalTime ? TicksFromSystemTime(*lpUniversalTime) : std::nullopt;
    if (!utc || !lpLocalTime)
        return Fail();
    if (!lpTimeZoneInformation)
        return StoreSystemTime(MachineZone::Current()->LocalFromUtc(*utc), lpLocalTime);
    const std::optional<ZonePeriod> period = PeriodAtUtc(*lpTimeZoneInformation, *utc);
    if (!period)
        return Fail();
    return StoreSystemTime(*utc - BiasOf(*lpTimeZoneInformation, *period) * kTicksPerMinute, lpLocalTime);
}

BOOL TzSpecificLocalTimeToSystemTime(const TIME_ZONE_INFORMATION* lpTimeZoneInformation, const SYSTEMTIME* lpLocalTime,
                                     LPSYSTEMTIME lpUniversalTime)
{
    const std::optional<int64_t> local = lpLocalTime ? TicksFromSystemTime(*lpLocalTime) : std::nullopt;
    if (!local || !lpUniversalTime)
        return Fail();
    if (!lpTimeZoneInformation)
        return StoreSystemTime(MachineZone::Current()->UtcFromLocal(*local), lpUniversalTime);
    const std::optional<ZonePeriod> period = PeriodAtLocal(*lpTimeZoneInformation, *local);
    if (!period)
        return Fail();
    return StoreSystemTime(*local + BiasOf(*lpTimeZoneInformation, *period) * kTicksPerMinute, lpUniversalTime);
}

BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime)
{
    const std::optional<int64_t> utc = lpFileTime ? TicksFromFileTime(*lpFileTime) : std::nullopt;
    if (!utc || !lpLocalFileTime)
        return Fail();
    return StoreFileTime(*utc + CurrentOffsetTicks(), lpLocalFileTime);
}

BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime)
{
    const std::optional<int64_t> local = lpLocalFileTime ? TicksFromFileTime(*lpLocalFileTime) : std::nullopt;
    if (!local || !lpFileTime)
        return Fail();
    return StoreFileTime(*local - CurrentOffsetTicks(), lpFileTime);
}
