// CMAPIRecurring: a recurrence pattern of an appointment or a task, in the terms of Outlook's recurrence blob.
// The default describes a weekly pattern, every week, on Monday and Tuesday, that never ends.
#pragma once

#include <mapipim/platform.h>

class MAPIPIM_API CMAPIRecurring
{
public:
    CMAPIRecurring();
    CMAPIRecurring(const CMAPIRecurring& source);

    CMAPIRecurring& operator=(const CMAPIRecurring& source);

    WORD nFrequency;        // 0 daily, 1 weekly, 2 monthly, 3 yearly
    DWORD nPeriod;          // minutes (daily), weeks (weekly) or months (monthly and yearly) between occurrences
    WORD nPatternType;      // 0 day, 1 week, 2 month, 3 month-nth, 4 month-end, 10/11/12 their Hijri forms
    LONG nWeekNumber;       // month-nth patterns: which occurrence of the weekday in the month
    DWORD nDayMask;         // weekday bits (bit 0 Sunday ... bit 6 Saturday), or the day of the month once read
    WORD nCalendarType;     // 0 Gregorian
    SYSTEMTIME tmStartDate; // start of the range, local
    SYSTEMTIME tmEndDate;   // last day of the range; recomputed when the pattern is written
    LONG nEndType;          // 0 ends on tmEndDate, 1 after nOccurrenceCount occurrences, 2 never
    LONG nOccurrenceCount;  // recomputed when the pattern is written for end types 0 and 2
    DWORD nSlidingFlag;
};
