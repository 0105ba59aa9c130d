#include "interop/RecurrenceRRule.h"

#include "interop/CalendarZones.h"
#include "items/RecurrenceCalendar.h"
#include "items/RecurrenceRule.h"

#include <algorithm>
#include <vector>

namespace mapipim::interop
{
namespace
{
enum : WORD
{
    kDaily = 0,
    kWeekly = 1,
    kMonthly = 2,
    kYearly = 3,
    kDayPattern = 0,
    kWeekPattern = 1,
    kMonthPattern = 2,
    kMonthNthPattern = 3,
    kMonthEndPattern = 4,
};
constexpr DWORD kWeekdayMask = 0x3E; // Monday to Friday
constexpr LONG kLastWeek = 5;

short EncodeDay(int nWeekday, int nPosition) // nWeekday 0 Sunday
{
    const int nCode = (nPosition < 0 ? -nPosition : nPosition) * 8 + nWeekday + 1;
    return static_cast<short>(nPosition < 0 ? -nCode : nCode);
}

void PutDays(icalrecurrencetype& rule, DWORD nMask, int nPosition)
{
    int n = 0;
    for (int day = 0; day < 7; ++day)
        if (nMask & (1u << day))
            rule.by_day[n++] = EncodeDay(day, nPosition);
    rule.by_day[n] = ICAL_RECURRENCE_ARRAY_MAX;
}

// The day of the month: a day past the 28th becomes "that day, or the month's last when shorter".
void PutMonthDay(icalrecurrencetype& rule, int nDay)
{
    if (nDay <= 28)
    {
        rule.by_month_day[0] = static_cast<short>(nDay);
        rule.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        return;
    }
    int n = 0;
    for (int day = 28; day <= nDay; ++day)
        rule.by_month_day[n++] = static_cast<short>(day);
    rule.by_month_day[n] = ICAL_RECURRENCE_ARRAY_MAX;
    rule.by_set_pos[0] = -1;
    rule.by_set_pos[1] = ICAL_RECURRENCE_ARRAY_MAX;
}

int DayOfMonthOf(const CMAPIRecurring& pattern)
{
    if (pattern.nDayMask >= 1 && pattern.nDayMask <= 31)
        return static_cast<int>(pattern.nDayMask);
    return pattern.tmStartDate.wDay;
}

bool PutShape(const CMAPIRecurring& pattern, icalrecurrencetype& rule, std::string& error)
{
    const bool bYearly = pattern.nFrequency == kYearly;
    const int nMonths = bYearly ? std::max<int>(1, static_cast<int>(pattern.nPeriod / 12)) : pattern.nPeriod;
    switch (pattern.nPatternType)
    {
    case kDayPattern:
        rule.freq = ICAL_DAILY_RECURRENCE;
        rule.interval = static_cast<short>(std::max<DWORD>(1, pattern.nPeriod / kMinutesPerDay));
        return true;
    case kWeekPattern:
        if (pattern.nFrequency == kDaily)
        {
            rule.freq = ICAL_DAILY_RECURRENCE; // every weekday: the days of the week that are no weekend
            PutDays(rule, kWeekdayMask, 0);
            return true;
        }
        rule.freq = ICAL_WEEKLY_RECURRENCE;
        rule.interval = static_cast<short>(pattern.nPeriod);
        PutDays(rule, pattern.nDayMask, 0);
        return true;
    case kMonthPattern:
    case kMonthEndPattern:
    case kMonthNthPattern:
        rule.freq = bYearly ? ICAL_YEARLY_RECURRENCE : ICAL_MONTHLY_RECURRENCE;
        rule.interval = static_cast<short>(nMonths);
        if (bYearly)
        {
            rule.by_month[0] = static_cast<short>(pattern.tmStartDate.wMonth);
            rule.by_month[1] = ICAL_RECURRENCE_ARRAY_MAX;
        }
        if (pattern.nPatternType == kMonthEndPattern)
        {
            rule.by_month_day[0] = -1;
            rule.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        }
        else if (pattern.nPatternType == kMonthPattern)
            PutMonthDay(rule, DayOfMonthOf(pattern));
        else
        {
            PutDays(rule, pattern.nDayMask, 0);
            rule.by_set_pos[0] = static_cast<short>(pattern.nWeekNumber >= kLastWeek ? -1 : pattern.nWeekNumber);
            rule.by_set_pos[1] = ICAL_RECURRENCE_ARRAY_MAX;
        }
        return true;
    default:
        error = "pattern type " + std::to_string(pattern.nPatternType) + " has no RRULE";
        return false;
    }
}

template <size_t N> size_t CountOf(const short (&values)[N])
{
    size_t n = 0;
    while (n < N && values[n] != ICAL_RECURRENCE_ARRAY_MAX)
        ++n;
    return n;
}

bool Unsupported(std::string& error, const char* part)
{
    error = std::string("RRULE with ") + part + " has no Outlook pattern";
    return false;
}

bool CheckParts(const icalrecurrencetype& rule, std::string& error)
{
    if (rule.freq < ICAL_DAILY_RECURRENCE || rule.freq > ICAL_YEARLY_RECURRENCE)
        return Unsupported(error, "a frequency below daily");
    if (CountOf(rule.by_second) || CountOf(rule.by_minute) || CountOf(rule.by_hour))
        return Unsupported(error, "BYHOUR, BYMINUTE or BYSECOND");
    if (CountOf(rule.by_year_day) || CountOf(rule.by_week_no))
        return Unsupported(error, "BYYEARDAY or BYWEEKNO");
    if (CountOf(rule.by_month) > 1)
        return Unsupported(error, "several months");
    if (rule.interval < 1)
        return Unsupported(error, "an INTERVAL below 1");
    if (rule.count < 0)
        return Unsupported(error, "a COUNT out of range");
    return true;
}

// The weekdays of BYDAY and the one position they share (0 when none); false when they differ.
bool ReadDays(const icalrecurrencetype& rule, DWORD& nMask, int& nPosition)
{
    nMask = 0;
    nPosition = 0;
    const size_t n = CountOf(rule.by_day);
    for (size_t i = 0; i < n; ++i)
    {
        const int nWeekday = static_cast<int>(icalrecurrencetype_day_day_of_week(rule.by_day[i])) - 1;
        const int nPos = icalrecurrencetype_day_position(rule.by_day[i]);
        if (nWeekday < 0 || nWeekday > 6 || (i > 0 && nPos != nPosition) || (nMask & (1u << nWeekday)))
            return false; // a day named twice says nothing an Outlook pattern could keep
        nPosition = nPos;
        nMask |= 1u << nWeekday;
    }
    return true;
}

bool ReadMonthly(const icalrecurrencetype& rule, const icaltimetype& dtstart, CMAPIRecurring& pattern,
                 std::string& error)
{
    DWORD nMask = 0;
    int nPosition = 0;
    if (!ReadDays(rule, nMask, nPosition))
        return Unsupported(error, "BYDAY entries of different positions or a day named twice");
    const size_t nMonthDays = CountOf(rule.by_month_day);
    const size_t nSetPos = CountOf(rule.by_set_pos);
    const int nSetPosition = nSetPos ? rule.by_set_pos[0] : 0;
    if (nSetPos > 1 || (nMask && nMonthDays))
        return Unsupported(error, "that combination of BYDAY, BYMONTHDAY and BYSETPOS");
    if (nMask)
    {
        const int nWeek = nSetPos ? nSetPosition : nPosition;
        if ((nSetPos && nPosition) || nWeek == 0 || nWeek < -1 || nWeek > 4)
            return Unsupported(error, "that position of a weekday");
        pattern.nPatternType = kMonthNthPattern;
        pattern.nDayMask = nMask;
        pattern.nWeekNumber = nWeek == -1 ? kLastWeek : nWeek;
        return true;
    }
    pattern.nPatternType = kMonthPattern;
    if (nMonthDays == 0)
    {
        pattern.nDayMask = static_cast<DWORD>(dtstart.day);
        return true;
    }
    std::vector<short> days(rule.by_month_day, rule.by_month_day + nMonthDays);
    std::sort(days.begin(), days.end());
    if (nMonthDays == 1 && days[0] == -1 && !nSetPos)
    {
        pattern.nPatternType = kMonthEndPattern;
        return true;
    }
    // One day, or a run from the 28th with BYSETPOS=-1: that day, or the month's last when shorter.
    const bool bRun = nSetPosition == -1 && days.front() == 28 && days.back() - days.front() + 1 == int(nMonthDays);
    if ((nMonthDays == 1 && !nSetPos && days[0] >= 1) || bRun)
    {
        pattern.nDayMask = static_cast<DWORD>(days.back());
        return true;
    }
    return Unsupported(error, "those days of the month");
}

bool ReadEnd(const icalrecurrencetype& rule, icaltimezone* zone, CMAPIRecurring& pattern)
{
    pattern.nOccurrenceCount = 0;
    if (rule.count > 0)
    {
        pattern.nEndType = 1;
        pattern.nOccurrenceCount = rule.count;
        return true;
    }
    if (icaltime_is_null_time(rule.until))
    {
        pattern.nEndType = 2;
        return true;
    }
    icaltimetype until = rule.until;
    if (!until.is_date && icaltime_is_utc(until))
        until = ZoneTimeOfUtc(UtcOfZoneTime(until, nullptr), zone);
    pattern.nEndType = 0;
    pattern.tmEndDate = SystemTimeOf(icaltime_from_day_of_year(icaltime_day_of_year(until), until.year));
    return true;
}
} // namespace

bool RRuleOfPattern(const CMAPIRecurring& pattern, const icaltimetype& dtstart, icaltimezone* zone,
                    int nFirstDayOfWeek, icalrecurrencetype& rule, std::string& error)
{
    icalrecurrencetype_clear(&rule);
    const PatternCheck check = CheckPattern(pattern);
    if (check.shape != PatternShape::Walkable)
    {
        error = "pattern without an RRULE: " + CString(check.pszReason).ToUtf8();
        return false;
    }
    if (!PutShape(pattern, rule, error))
        return false;
    rule.week_start = static_cast<icalrecurrencetype_weekday>(nFirstDayOfWeek % 7 + 1);
    if (pattern.nEndType == 1)
        rule.count = pattern.nOccurrenceCount;
    else if (pattern.nEndType == 0)
    {
        icaltimetype until = DateOf(pattern.tmEndDate);
        if (!dtstart.is_date)
        {
            // The last day's occurrence at the series' time of day, in UTC as RRULE wants it.
            until.is_date = 0;
            until.hour = dtstart.hour;
            until.minute = dtstart.minute;
            until.second = dtstart.second;
            until = ZoneTimeOfUtc(UtcOfZoneTime(until, zone), nullptr);
        }
        rule.until = until;
    }
    return true;
}

bool PatternOfRRule(const icalrecurrencetype& rule, const icaltimetype& dtstart, icaltimezone* zone,
                    CMAPIRecurring& pattern, std::string& error)
{
    if (!CheckParts(rule, error))
        return false;
    pattern = CMAPIRecurring();
    pattern.tmStartDate = SystemTimeOf(icaltime_from_day_of_year(icaltime_day_of_year(dtstart), dtstart.year));
    pattern.nSlidingFlag = 0;
    pattern.nCalendarType = 0;
    DWORD nMask = 0;
    int nPosition = 0;
    switch (rule.freq)
    {
    case ICAL_DAILY_RECURRENCE:
        if (!ReadDays(rule, nMask, nPosition) || nPosition || CountOf(rule.by_month_day) || CountOf(rule.by_month) ||
            CountOf(rule.by_set_pos))
            return Unsupported(error, "FREQ=DAILY and a BY part, or a day named twice");
        if (nMask == kWeekdayMask && rule.interval == 1)
        {
            pattern.nFrequency = kDaily; // every weekday
            pattern.nPatternType = kWeekPattern;
            pattern.nDayMask = kWeekdayMask;
            pattern.nPeriod = 1;
        }
        else if (nMask != 0)
            return Unsupported(error, "FREQ=DAILY and BYDAY");
        else
        {
            pattern.nFrequency = kDaily;
            pattern.nPatternType = kDayPattern;
            pattern.nPeriod = static_cast<DWORD>(rule.interval) * kMinutesPerDay;
        }
        break;
    case ICAL_WEEKLY_RECURRENCE:
        if (!ReadDays(rule, nMask, nPosition) || nPosition || CountOf(rule.by_month_day) || CountOf(rule.by_month) ||
            CountOf(rule.by_set_pos))
            return Unsupported(error, "FREQ=WEEKLY and a BY part other than BYDAY, or a day named twice");
        pattern.nFrequency = kWeekly;
        pattern.nPatternType = kWeekPattern;
        pattern.nPeriod = static_cast<DWORD>(rule.interval);
        pattern.nDayMask = nMask ? nMask : 1u << WeekdayOf(DayNumberOf(CivilDate{dtstart.year, dtstart.month,
                                                                                  dtstart.day}));
        break;
    case ICAL_MONTHLY_RECURRENCE:
        if (CountOf(rule.by_month))
            return Unsupported(error, "FREQ=MONTHLY and BYMONTH");
        pattern.nFrequency = kMonthly;
        pattern.nPeriod = static_cast<DWORD>(rule.interval);
        if (!ReadMonthly(rule, dtstart, pattern, error))
            return false;
        break;
    default: // yearly
        if (CountOf(rule.by_month) && rule.by_month[0] != dtstart.month)
            return Unsupported(error, "a BYMONTH other than the month of DTSTART");
        pattern.nFrequency = kYearly;
        pattern.nPeriod = static_cast<DWORD>(rule.interval) * 12;
        if (!ReadMonthly(rule, dtstart, pattern, error))
            return false;
        break;
    }
    return ReadEnd(rule, zone, pattern);
}
} // namespace mapipim::interop
