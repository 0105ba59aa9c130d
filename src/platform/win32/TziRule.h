// How Windows applies a TIME_ZONE_INFORMATION: its bias, and its yearly daylight period given by the two
// transition dates, the same rule every year (no history). Used where a caller hands an explicit zone to the
// conversions and to tell GetTimeZoneInformation's caller which period it is in.
#pragma once

#include <mapipim/win32/wintypes.h>

#include <cstdint>
#include <optional>

namespace mapipim::win32
{
enum class ZonePeriod
{
    NoDaylight, // the rule has no transition dates
    Standard,
    Daylight,
};

// Empty when the rule's transition dates are malformed (as Windows, which then fails with ERROR_INVALID_PARAMETER).
std::optional<ZonePeriod> PeriodAtUtc(const TIME_ZONE_INFORMATION& tzi, int64_t utcTicks);
// A local time in the hour skipped when daylight time begins, or repeated when it ends, counts as daylight time:
// Windows compares the local time with both transition dates as they are written (the daylight date in standard
// wall-clock time, the standard date in daylight wall-clock time), and such times lie after the first and before
// the second.
std::optional<ZonePeriod> PeriodAtLocal(const TIME_ZONE_INFORMATION& tzi, int64_t localTicks);

// In minutes: UTC = local time + bias.
LONG BiasOf(const TIME_ZONE_INFORMATION& tzi, ZonePeriod period);
} // namespace mapipim::win32
