// The calendar arithmetic of recurrence patterns: the first date-time the blob carries, and the completion of a
// pattern's range by the occurrence enumerator.
#include "items/MAPIRecurItem.h"

#include "items/RecurrenceRule.h"
#include "platform/trace/Trace.h"

using namespace mapipim;

namespace
{
enum : LONG
{
    kEndByDate = 0,
    kEndAfterCount = 1,
    kEndNever = 2,
};

constexpr LONGLONG kMinutesPerWeek = kMinutesPerDay * kDaysPerWeek;
constexpr LONG kNeverEndingCount = 10;

BOOL LeaveRangeAsGiven(LPCWSTR pszReason)
{
    LOGTRACE(_T("[MAPI] Recurrence range left as given : %s"), pszReason);
    return FALSE;
}

// Weekly patterns: minutes of the first day of the week that holds the start (its time of day kept), modulo the
// period in minutes.
DWORD WeeklyFirstDateTime(DWORD dwStart, DWORD dwPeriodWeeks, int nFirstDayOfWeek)
{
    const DayNumber day = static_cast<DayNumber>(dwStart / kMinutesPerDay);
    const LONGLONG timeOfDay = dwStart % kMinutesPerDay;
    const DayNumber weekStart = day - static_cast<DayNumber>(FloorMod(WeekdayOf(day) - nFirstDayOfWeek, kDaysPerWeek));
    return static_cast<DWORD>(
        FloorMod(static_cast<LONGLONG>(weekStart) * kMinutesPerDay + timeOfDay, kMinutesPerWeek * dwPeriodWeeks));
}

// Monthly and yearly patterns: the first day of the month that lies as many months after January 1601 as the
// start's month does, modulo the period.
DWORD MonthlyFirstDateTime(DWORD dwStart, DWORD dwPeriodMonths)
{
    const CivilDate start = CivilDateOf(static_cast<DayNumber>(dwStart / kMinutesPerDay));
    const LONG nMonths = static_cast<LONG>(FloorMod(MonthIndexOf(start), dwPeriodMonths));
    return static_cast<DWORD>(FirstDayOfMonthIndex(nMonths)) * kMinutesPerDay;
}

void SetDate(SYSTEMTIME& tm, DayNumber day)
{
    const CivilDate date = CivilDateOf(day);
    tm.wYear = static_cast<WORD>(date.year);
    tm.wMonth = static_cast<WORD>(date.month);
    tm.wDay = static_cast<WORD>(date.day);
    tm.wDayOfWeek = static_cast<WORD>(WeekdayOf(day));
    tm.wHour = tm.wMinute = tm.wSecond = 0;
}

void SetNeverEnding(CMAPIRecurring& pattern)
{
    pattern.tmEndDate.wYear = 4500;
    pattern.tmEndDate.wMonth = 8;
    pattern.tmEndDate.wDay = 31;
    pattern.tmEndDate.wHour = 23;
    pattern.tmEndDate.wMinute = 59;
    pattern.nOccurrenceCount = kNeverEndingCount;
}

// The pattern as the blob records it: a month or month-end pattern recurs on its start's day of the month.
CMAPIRecurring AsRecorded(const CMAPIRecurring& pattern)
{
    CMAPIRecurring recorded(pattern);
    if (pattern.nPatternType == 2 || pattern.nPatternType == 4)
        recorded.nDayMask = pattern.tmStartDate.wDay;
    return recorded;
}

BOOL CompleteByWalking(CMAPIRecurring& pattern, int nFirstDayOfWeek)
{
    RecurrenceRule rule;
    if (!RecurrenceRuleOf(AsRecorded(pattern), nFirstDayOfWeek, rule))
        return LeaveRangeAsGiven(_T("no valid start date"));
    if (pattern.nEndType == kEndByDate)
    {
        DayNumber last = 0;
        if (!DayNumberOfSystemTime(pattern.tmEndDate, last))
            return LeaveRangeAsGiven(_T("no valid end date"));
        pattern.nOccurrenceCount = CountOccurrencesThrough(rule, last);
        return TRUE;
    }
    if (pattern.nOccurrenceCount < 1)
        return LeaveRangeAsGiven(_T("occurrence count below 1"));
    DayNumber day = 0;
    LONG nReached = 0;
    if (!FindNthOccurrence(rule, pattern.nOccurrenceCount, day, nReached))
        return LeaveRangeAsGiven(_T("no occurrence before 4500-08-31"));
    SetDate(pattern.tmEndDate, day);
    pattern.nOccurrenceCount = nReached;
    return TRUE;
}
} // namespace

DWORD CMAPIRecurItem::GetFirstDateTime(const CMAPIRecurring& pattern, int nFirstDayOfWeek)
{
    if (CheckPattern(pattern).shape == PatternShape::Degenerate)
        return 0;
    const DWORD dwStart = MinutesOf(pattern.tmStartDate);
    switch (pattern.nFrequency)
    {
    case 0:
    case 1:
        if (pattern.nPatternType == 0)
            return dwStart % pattern.nPeriod;
        return WeeklyFirstDateTime(dwStart, pattern.nPeriod, nFirstDayOfWeek);
    case 2:
    case 3:
        return MonthlyFirstDateTime(dwStart, pattern.nPeriod);
    default:
        return 0;
    }
}

BOOL CMAPIRecurItem::CompleteRecurrenceRange(CMAPIRecurring& pattern, int nFirstDayOfWeek)
{
    if (pattern.nEndType != kEndByDate && pattern.nEndType != kEndAfterCount && pattern.nEndType != kEndNever)
        return TRUE; // nothing to complete
    const PatternCheck check = CheckPattern(pattern);
    if (check.shape == PatternShape::Degenerate)
        return LeaveRangeAsGiven(check.pszReason);
    if (pattern.nEndType == kEndNever)
    {
        SetNeverEnding(pattern);
        return TRUE;
    }
    if (check.shape != PatternShape::Walkable)
        return LeaveRangeAsGiven(check.pszReason);
    return CompleteByWalking(pattern, nFirstDayOfWeek);
}

int CMAPIRecurItem::GetDaysInMonth(int nYear, int nMonth)
{
    return DaysInMonth(nYear, nMonth);
}

int CMAPIRecurItem::CalcDayOfWeek(int nYear, int nMonth, int nDay)
{
    return WeekdayOf(DayNumberOf(CivilDate{nYear, nMonth, nDay}));
}
