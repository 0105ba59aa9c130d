#include "platform/win32/ZoneRule.h"

#include "platform/win32/CivilTime.h"

#include <unicode/basictz.h>
#include <unicode/tzrule.h>
#include <unicode/tztrans.h>

#include <optional>

namespace mapipim::win32
{
namespace
{
// Windows' own dynamic rules begin around the 2000s; earlier history is not part of them.
constexpr int kFirstDynamicYear = 2000;
constexpr int32_t kMillisecondsPerMinute = 60'000;

struct Offsets
{
    int32_t raw = 0;
    int32_t dst = 0;

    int32_t Total() const { return raw + dst; }
};

struct Transition
{
    int64_t wallClockBefore; // local time just before the change, in the offsets it leaves
    Offsets from;
    Offsets to;
};

Offsets OffsetsOf(const icu::TimeZoneRule& rule)
{
    return {rule.getRawOffset(), rule.getDSTSavings()};
}

Offsets OffsetsAtLocal(const icu::BasicTimeZone& zone, int64_t localTicks)
{
    Offsets offsets;
    UErrorCode status = U_ZERO_ERROR;
    zone.getOffset(UDateFromTicks(localTicks), true, offsets.raw, offsets.dst, status);
    return offsets;
}

int64_t YearStart(int year)
{
    return DaysFromCivil(year, 1, 1) * kTicksPerDay;
}

// Offset changes whose wall-clock time falls in the year; a zone's offset is less than a day, so the search runs
// a day beyond each end of the year.
std::vector<Transition> TransitionsOfYear(const icu::BasicTimeZone& zone, int year)
{
    const int64_t start = YearStart(year);
    const int64_t end = YearStart(year + 1);
    const double limit = UDateFromTicks(end + kTicksPerDay);
    std::vector<Transition> transitions;
    icu::TimeZoneTransition transition;
    UDate base = UDateFromTicks(start - kTicksPerDay);
    while (zone.getNextTransition(base, false, transition) && transition.getTime() < limit)
    {
        base = transition.getTime();
        const Offsets from = OffsetsOf(*transition.getFrom());
        const Offsets to = OffsetsOf(*transition.getTo());
        const int64_t wallClock = TicksFromUDate(base) + from.Total() * kTicksPerMillisecond;
        if (wallClock >= start && wallClock < end)
            transitions.push_back({wallClock, from, to});
    }
    return transitions;
}

// The daylight saving most recently observed before `ticks`: the amount Windows keeps as DaylightBias for a zone
// that no longer has daylight time.
int32_t LastDaylightSaving(const icu::BasicTimeZone& zone, int64_t ticks)
{
    icu::TimeZoneTransition transition;
    UDate base = UDateFromTicks(ticks);
    while (zone.getPreviousTransition(base, false, transition))
    {
        base = transition.getTime();
        if (transition.getTo()->getDSTSavings() != 0)
            return transition.getTo()->getDSTSavings();
        if (transition.getFrom()->getDSTSavings() != 0)
            return transition.getFrom()->getDSTSavings();
    }
    return 0;
}

// A wall-clock time as Windows' yearly rule gives it: month, weekday and its week in the month (5 = the last).
SYSTEMTIME WeekdayRule(int64_t wallClock)
{
    SYSTEMTIME date = SystemTimeFromTicks(wallClock).value_or(SYSTEMTIME{});
    const bool isLast = date.wDay + 7 > DaysInMonth(date.wYear, date.wMonth);
    date.wDay = static_cast<WORD>(isLast ? 5 : (date.wDay - 1) / 7 + 1);
    date.wYear = 0;
    return date;
}

LONG Minutes(int32_t milliseconds)
{
    return static_cast<LONG>(milliseconds / kMillisecondsPerMinute);
}

ZoneRule RuleWithoutDaylightChange(const icu::BasicTimeZone& zone, int year)
{
    const int64_t end = YearStart(year + 1);
    ZoneRule rule;
    // A year spent wholly in daylight time (a zone on permanent daylight time) keeps its offset as the bias.
    rule.Bias = -Minutes(OffsetsAtLocal(zone, end - 1).Total());
    rule.DaylightBias = -Minutes(LastDaylightSaving(zone, end));
    return rule;
}

// A change into daylight time, or, among changes of the standard offset alone, one that puts the clocks forward.
// A change that only renames the offset (daylight time made the new standard time) moves no clock and is none.
bool BeginsDaylight(const Transition& transition, bool offsetChangesOnly)
{
    if (offsetChangesOnly)
        return transition.to.Total() > transition.from.Total();
    return transition.from.dst == 0 && transition.to.dst != 0 && transition.to.Total() != transition.from.Total();
}

bool BeginsStandard(const Transition& transition, bool offsetChangesOnly)
{
    if (offsetChangesOnly)
        return transition.to.Total() < transition.from.Total();
    return transition.from.dst != 0 && transition.to.dst == 0 && transition.to.Total() != transition.from.Total();
}

struct YearChanges
{
    std::optional<Transition> daylightStart; // the first
    std::optional<Transition> standardStart; // the last
};

YearChanges FindChanges(const std::vector<Transition>& transitions, bool offsetChangesOnly)
{
    YearChanges changes;
    for (const Transition& transition : transitions)
    {
        if (!changes.daylightStart && BeginsDaylight(transition, offsetChangesOnly))
            changes.daylightStart = transition;
        if (BeginsStandard(transition, offsetChangesOnly))
            changes.standardStart = transition;
    }
    return changes;
}

// Daylight-time changes when the year has any; otherwise the moves of the standard offset, which Windows writes
// the same way (Moscow's move to UTC+4 in 2011 is "daylight time" from March to the end of that year).
YearChanges ChangesOfYear(const std::vector<Transition>& transitions)
{
    const YearChanges daylight = FindChanges(transitions, false);
    if (daylight.daylightStart || daylight.standardStart)
        return daylight;
    return FindChanges(transitions, true);
}
} // namespace

bool operator==(const ZoneRule& a, const ZoneRule& b)
{
    return SerializeZoneRule(a) == SerializeZoneRule(b);
}

std::array<BYTE, kZoneRuleBytes> SerializeZoneRule(const ZoneRule& rule)
{
    std::array<BYTE, kZoneRuleBytes> bytes{};
    size_t at = 0;
    const auto put = [&](uint32_t value, size_t width)
    {
        for (size_t i = 0; i < width; ++i)
            bytes[at++] = static_cast<BYTE>(value >> (8 * i));
    };
    const auto putDate = [&](const SYSTEMTIME& st)
    {
        for (WORD field :
             {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds})
            put(field, 2);
    };
    put(static_cast<uint32_t>(rule.Bias), 4);
    put(static_cast<uint32_t>(rule.StandardBias), 4);
    put(static_cast<uint32_t>(rule.DaylightBias), 4);
    putDate(rule.StandardDate);
    putDate(rule.DaylightDate);
    return bytes;
}

// Windows holds one daylight period a year: it begins at the year's first change into daylight time and ends at
// its last change out of it (a pause within the year, such as Morocco's Ramadan, is not representable). A year
// that begins in daylight time starts it on January 1st 00:00; one that ends in it ends it on December 31st
// 23:59:59.999.
ZoneRule ZoneRuleForYear(const icu::BasicTimeZone& zone, int year)
{
    const YearChanges changes = ChangesOfYear(TransitionsOfYear(zone, year));
    const std::optional<Transition>& daylightStart = changes.daylightStart;
    const std::optional<Transition>& standardStart = changes.standardStart;
    if (!daylightStart && !standardStart)
        return RuleWithoutDaylightChange(zone, year);

    const Offsets standard = standardStart ? standardStart->to : daylightStart->from;
    const Offsets daylight = daylightStart ? daylightStart->to : standardStart->from;
    ZoneRule rule;
    rule.Bias = -Minutes(standard.Total());
    rule.DaylightBias = -Minutes(daylight.Total() - standard.Total());
    rule.DaylightDate = WeekdayRule(daylightStart ? daylightStart->wallClockBefore : YearStart(year));
    rule.StandardDate =
        WeekdayRule(standardStart ? standardStart->wallClockBefore : YearStart(year + 1) - kTicksPerMillisecond);
    return rule;
}

DynamicZoneRules DynamicZoneRulesOf(const icu::BasicTimeZone& zone, int throughYear)
{
    std::vector<ZoneRule> yearly;
    for (int year = kFirstDynamicYear; year <= throughYear; ++year)
        yearly.push_back(ZoneRuleForYear(zone, year));
    size_t firstChange = 0;
    size_t lastChange = 0;
    for (size_t i = 1; i < yearly.size(); ++i)
    {
        if (yearly[i] == yearly[i - 1])
            continue;
        if (firstChange == 0)
            firstChange = i;
        lastChange = i;
    }
    DynamicZoneRules dynamic;
    if (firstChange == 0)
        return dynamic;
    // From the last year of the old rule, as Windows lists them, to the year the final rule begins.
    dynamic.firstYear = kFirstDynamicYear + static_cast<int>(firstChange) - 1;
    dynamic.rules.assign(yearly.begin() + static_cast<ptrdiff_t>(firstChange) - 1,
                         yearly.begin() + static_cast<ptrdiff_t>(lastChange) + 1);
    return dynamic;
}

int CurrentYear()
{
    return SystemTimeFromTicks(NowTicks()).value_or(SYSTEMTIME{}).wYear;
}
} // namespace mapipim::win32
