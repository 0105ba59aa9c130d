// A time zone's rule for one year in the form Windows keeps it (the registry's REG_TZI_FORMAT): biases in minutes
// (UTC = local time + bias) and the two yearly transitions as "the n-th weekday of a month at a wall-clock time".
// The rules are derived from ICU's actual transitions of the year, so they follow every historical change that
// the IANA data knows.
#pragma once

#include <unicode/uversion.h>

#include <mapipim/win32/wintypes.h>

#include <array>
#include <vector>

U_NAMESPACE_BEGIN
class BasicTimeZone;
U_NAMESPACE_END

namespace mapipim::win32
{
struct ZoneRule
{
    LONG Bias = 0;
    LONG StandardBias = 0;
    LONG DaylightBias = 0;
    SYSTEMTIME StandardDate{}; // when standard time begins, in daylight wall-clock time
    SYSTEMTIME DaylightDate{}; // when daylight time begins, in standard wall-clock time

    bool HasDaylight() const { return DaylightDate.wMonth != 0; }
};
bool operator==(const ZoneRule& a, const ZoneRule& b);
inline bool operator!=(const ZoneRule& a, const ZoneRule& b)
{
    return !(a == b);
}

constexpr size_t kZoneRuleBytes = 44;
// Little-endian, in REG_TZI_FORMAT's field order.
std::array<BYTE, kZoneRuleBytes> SerializeZoneRule(const ZoneRule& rule);

// The rule in force during `year`. Where the year has no daylight time, the dates are zero and DaylightBias is the
// saving the zone last observed (Windows keeps -60 for zones such as Tokyo that once had daylight time).
ZoneRule ZoneRuleForYear(const icu::BasicTimeZone& zone, int year);

// Windows' "Dynamic DST" data: the rules of consecutive years from `firstYear`, where the last one stays in force
// for the years after it. Empty when the zone's rule has not changed since 2000.
struct DynamicZoneRules
{
    int firstYear = 0;
    std::vector<ZoneRule> rules;

    bool Empty() const { return rules.empty(); }
    int LastYear() const { return firstYear + static_cast<int>(rules.size()) - 1; }
};
DynamicZoneRules DynamicZoneRulesOf(const icu::BasicTimeZone& zone, int throughYear);

// The current year (UTC), the year whose rule GetTimeZoneInformation and the registry's TZI values report.
int CurrentYear();
} // namespace mapipim::win32
