// GetTimeZoneInformation and GetDynamicTimeZoneInformation: the machine zone's rule for the current year in
// Windows' form, the second with the zone's registry key (empty for a zone that has none, as a POSIX TZ rule).
#include "platform/platform.h"

#include "platform/win32/CivilTime.h"
#include "platform/win32/MachineZone.h"
#include "platform/win32/TziRule.h"

#include <algorithm>

using namespace mapipim::win32;

namespace
{
template <size_t N> void CopyName(const std::u16string& name, WCHAR (&target)[N])
{
    const size_t length = std::min(name.size(), N - 1);
    std::copy_n(name.begin(), length, target);
    std::fill(target + length, target + N, WCHAR{0});
}

DWORD ZoneId(const std::optional<ZonePeriod>& period)
{
    if (!period)
        return TIME_ZONE_ID_INVALID;
    switch (*period)
    {
    case ZonePeriod::Standard:
        return TIME_ZONE_ID_STANDARD;
    case ZonePeriod::Daylight:
        return TIME_ZONE_ID_DAYLIGHT;
    case ZonePeriod::NoDaylight:
        break;
    }
    return TIME_ZONE_ID_UNKNOWN;
}

DWORD ZoneInformationOf(const MachineZone& zone, TIME_ZONE_INFORMATION& tzi)
{
    const ZoneRule rule = zone.RuleForYear(CurrentYear());
    tzi.Bias = rule.Bias;
    tzi.StandardBias = rule.StandardBias;
    tzi.DaylightBias = rule.DaylightBias;
    tzi.StandardDate = rule.StandardDate;
    tzi.DaylightDate = rule.DaylightDate;
    CopyName(zone.StandardName(), tzi.StandardName);
    CopyName(zone.DaylightName(), tzi.DaylightName);
    return ZoneId(PeriodAtUtc(tzi, NowTicks()));
}
} // namespace

DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation)
{
    if (!lpTimeZoneInformation)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    return ZoneInformationOf(*MachineZone::Current(), *lpTimeZoneInformation);
}

DWORD GetDynamicTimeZoneInformation(PDYNAMIC_TIME_ZONE_INFORMATION pTimeZoneInformation)
{
    if (!pTimeZoneInformation)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    const std::shared_ptr<const MachineZone> zone = MachineZone::Current();
    TIME_ZONE_INFORMATION tzi = {};
    const DWORD dwId = ZoneInformationOf(*zone, tzi);
    DYNAMIC_TIME_ZONE_INFORMATION& dtzi = *pTimeZoneInformation;
    dtzi.Bias = tzi.Bias;
    std::copy_n(tzi.StandardName, 32, dtzi.StandardName);
    dtzi.StandardDate = tzi.StandardDate;
    dtzi.StandardBias = tzi.StandardBias;
    std::copy_n(tzi.DaylightName, 32, dtzi.DaylightName);
    dtzi.DaylightDate = tzi.DaylightDate;
    dtzi.DaylightBias = tzi.DaylightBias;
    CopyName(zone->WindowsKey(), dtzi.TimeZoneKeyName);
    dtzi.DynamicDaylightTimeDisabled = FALSE;
    return dwId;
}
