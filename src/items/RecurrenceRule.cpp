#include "items/RecurrenceRule.h"

namespace mapipim
{
namespace
{
enum : WORD
{
    kDaily = 0,
    kWeekly = 1,
    kMonthly = 2,
    kYearly = 3,
};

enum : WORD
{
    kDayPattern = 0,
    kWeekPattern = 1,
    kMonthPattern = 2,
    kMonthNthPattern = 3,
    kMonthEndPattern = 4,
};

constexpr DWORD kWeekdays = 0x3E; // Monday to Friday
constexpr DWORD kEveryWeekday = 0x7F;
constexpr int kLastWeek = 5;
// Longer intervals than the days from 1601 to 4500 give a series of one occurrence all the same.
constexpr DWORD kLongestInterval = 10000000;

LONG Interval(DWORD nPeriod)
{
    return static_cast<LONG>(nPeriod < kLongestInterval ? nPeriod : kLongestInterval);
}

// Calendar types whose months are the Gregorian ones: the default, and the Gregorian variants.
bool IsGregorianCalendar(WORD nCalendarType)
{
    return nCalendarType <= 2 || (nCalendarType >= 9 && nCalendarType <= 12);
}

bool IsEveryWeekday(const CMAPIRecurring& pattern)
{
    return pattern.nFrequency == kDaily && pattern.nPatternType == kWeekPattern;
}

PatternCheck Degenerate(LPCWSTR pszReason)
{
    return PatternCheck{PatternShape::Degenerate, pszReason};
}

LONG MonthInterval(const CMAPIRecurring& pattern)
{
    if (pattern.nFrequency != kYearly)
        return Interval(pattern.nPeriod);
    const DWORD nYears = pattern.nPeriod / 12;
    return nYears < 1 ? 12 : Interval(nYears * 12);
}
} // namespace

PatternCheck CheckPattern(const CMAPIRecurring& pattern)
{
    if (pattern.nPeriod == 0)
        return Degenerate(_T("period of 0")); // in any calendar
    if (pattern.nFrequency > kYearly || pattern.nPatternType > kMonthEndPattern ||
        !IsGregorianCalendar(pattern.nCalendarType))
        return PatternCheck{PatternShape::NotGregorian, _T("not a Gregorian pattern")};
    if (pattern.nPatternType == kDayPattern && pattern.nPeriod < static_cast<DWORD>(kMinutesPerDay))
        return Degenerate(_T("daily period below one day"));
    const bool bUsesMask =
        (pattern.nPatternType == kWeekPattern && !IsEveryWeekday(pattern)) || pattern.nPatternType == kMonthNthPattern;
    if (bUsesMask && (pattern.nDayMask & kEveryWeekday) == 0)
        return Degenerate(_T("no weekday in the day mask"));
    if (pattern.nPatternType == kMonthNthPattern && (pattern.nWeekNumber < 1 || pattern.nWeekNumber > kLastWeek))
        return Degenerate(_T("week number outside 1 to 5"));
    return PatternCheck{};
}

bool RecurrenceRuleOf(const CMAPIRecurring& pattern, int nFirstDayOfWeek, RecurrenceRule& rule)
{
    rule = RecurrenceRule{};
    if (!DayNumberOfSystemTime(pattern.tmStartDate, rule.start))
        return false;
    rule.firstDayOfWeek = nFirstDayOfWeek;
    switch (pattern.nPatternType)
    {
    case kDayPattern:
        rule.kind = RecurrenceRule::Kind::EveryNDays;
        rule.interval = Interval(pattern.nPeriod / kMinutesPerDay);
        break;
    case kWeekPattern:
        rule.kind = RecurrenceRule::Kind::Weekly;
        rule.interval = IsEveryWeekday(pattern) ? 1 : Interval(pattern.nPeriod);
        rule.dayMask = IsEveryWeekday(pattern) ? kWeekdays : (pattern.nDayMask & kEveryWeekday);
        break;
    case kMonthNthPattern:
        rule.kind = RecurrenceRule::Kind::MonthlyOnNthWeekday;
        rule.interval = MonthInterval(pattern);
        rule.dayMask = pattern.nDayMask & kEveryWeekday;
        rule.weekNumber = static_cast<int>(pattern.nWeekNumber);
        break;
    default: // a day of the month, or its end
        rule.kind = RecurrenceRule::Kind::MonthlyOnDay;
        rule.interval = MonthInterval(pattern);
        if (pattern.nPatternType == kMonthEndPattern)
            rule.dayOfMonth = 31;
        else if (pattern.nDayMask >= 1 && pattern.nDayMask <= 31)
            rule.dayOfMonth = static_cast<int>(pattern.nDayMask);
        else
            rule.dayOfMonth = CivilDateOf(rule.start).day;
        break;
    }
    return true;
}
} // namespace mapipim
