// GetTimeZoneInformation: the machine zone's rule for the current year in Windows' form.
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
} // namespace

DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION lpTimeZoneInformation)
{
    if (!lpTimeZoneInformation)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    const std::shared_ptr<const MachineZone> zone = MachineZone::Current();
    const ZoneRule rule = zone->RuleForYear(CurrentYear());
    TIME_ZONE_INFORMATION& tzi = *lpTimeZoneInformation;
    tzi.Bias = rule.Bias;
    tzi.StandardBias = rule.StandardBias;
    tzi.DaylightBias = rule.DaylightBias;
    tzi.StandardDate = rule.StandardDate;
    tzi.DaylightDate = rule.DaylightDate;
    CopyName(zone->StandardName(), tzi.StandardName);
    CopyName(zone->DaylightName(), tzi.DaylightName);
    return ZoneId(PeriodAtUtc(tzi, NowTicks()));
}
