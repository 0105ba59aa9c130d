// The one walk over the dates of a recurring series, for every part of the library that needs them: completing a
// pattern's end date or occurrence count before it is written, and expanding a series into the days of a calendar
// view. It is plain calendar arithmetic on dates (no times, no time zones), so that each occurrence can be checked
// against a paper calendar.
//
//   RecurrenceRule rule = ...;               // from a CMAPIRecurring: see RecurrenceRule.h
//   OccurrenceEnumerator dates(rule);
//   dates.SeekTo(firstDayShown);             // optional: jump to a window
//   DayNumber day;
//   while (dates.Next(day) && day <= lastDayShown) ...
//
// A series never reaches past 4500-08-31, the last day Outlook's calendar shows (its clip end for a series
// without end); Next reports false there.
#pragma once

#include "items/RecurrenceCalendar.h"

namespace mapipim
{
// The last day any series reaches.
DayNumber LastRecurrenceDay();

struct RecurrenceRule
{
    enum class Kind
    {
        EveryNDays,          // start, start + interval, ...
        Weekly,              // the days of dayMask in every interval-th week, weeks beginning on firstDayOfWeek
        MonthlyOnDay,        // dayOfMonth of every interval-th month
        MonthlyOnNthWeekday, // the weekNumber-th day of dayMask's days in every interval-th month
    };

    Kind kind = Kind::EveryNDays;
    LONG interval = 1;      // days, weeks or months from one cycle to the next; at least 1
    DWORD dayMask = 0;      // Weekly and MonthlyOnNthWeekday: bit 0 Sunday ... bit 6 Saturday; not empty
    int dayOfMonth = 1;     // MonthlyOnDay: 1 to 31; a day past the end of a month means its last day
    int weekNumber = 1;     // MonthlyOnNthWeekday: 1 to 4, or 5 for the last
    int firstDayOfWeek = 0; // Weekly: 0 Sunday to 6 Saturday
    DayNumber start = 0;    // the first day of the series: no occurrence comes before it
};

class OccurrenceEnumerator
{
public:
    explicit OccurrenceEnumerator(const RecurrenceRule& rule);

    // The next occurrence in date order; false once the series has passed LastRecurrenceDay().
    bool Next(DayNumber& day);
    // Makes Next continue with the first occurrence on or after day (or after the start, if that is later).
    void SeekTo(DayNumber day);

private:
    friend LONG CountOccurrencesThrough(const RecurrenceRule& rule, DayNumber last);
    friend bool FindNthOccurrence(const RecurrenceRule& rule, LONG n, DayNumber& day, LONG& count);

    // The cycle that holds a day on or after the start (or the cycle before it, when the day falls between two).
    LONGLONG CycleHolding(DayNumber day) const;
    // Every cycle but the first holds this many occurrences (the first may begin before the start).
    int OccurrencesPerCycle() const;
    // The first day of a cycle: the cycle's day, the first day of its week, or the first day of its month.
    DayNumber CycleStart(LONGLONG cycle) const;
    // The occurrence of a cycle at position (Weekly: the position-th day of its week; others: only position 0).
    bool Candidate(LONGLONG cycle, int position, DayNumber& day) const;
    DayNumber NthWeekdayOfMonth(DayNumber firstOfMonth) const;

    RecurrenceRule m_rule;
    DayNumber m_firstCycleStart; // the first day of the cycle that holds the start
    LONG m_firstMonth = 0;       // monthly rules: the month index of that cycle
    DayNumber m_from;            // no occurrence before this day
    LONGLONG m_cycle = 0;
    int m_position = 0;
};

// The number of occurrences from the start through the day `last`. Whole cycles are counted, not walked, so the
// cost does not grow with the length of the range (nor does FindNthOccurrence's with n).
LONG CountOccurrencesThrough(const RecurrenceRule& rule, DayNumber last);

// The n-th occurrence (n >= 1) and the number of occurrences up to it. A series that ends at LastRecurrenceDay()
// before its n-th occurrence gives its last occurrence and that smaller count; false when it has none at all.
bool FindNthOccurrence(const RecurrenceRule& rule, LONG n, DayNumber& day, LONG& count);
} // namespace mapipim
