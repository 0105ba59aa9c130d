// What a CMAPIRecurring means as a walk over dates (RecurrenceRule, for the occurrence enumerator), and which
// patterns have no such meaning.
//
// The pattern type decides the shape: a day pattern recurs every nPeriod / 1440 days; a week pattern on the days of
// nDayMask every nPeriod weeks, except that a daily frequency with a week pattern is Outlook's "every weekday"
// (Monday to Friday, every week); a month pattern on a day of the month (nDayMask, as a read pattern holds it) and
// a month-end pattern on the last day, every nPeriod months; a month-nth pattern on the nWeekNumber-th of
// nDayMask's days (5 the last). A yearly frequency counts its period in months but never recurs more often than
// once a year, so a yearly pattern with the default period of 1 means every year.
#pragma once

#include "items/OccurrenceEnumerator.h"

#include <mapipim/MAPIRecurring.h>

namespace mapipim
{
enum class PatternShape
{
    Walkable,
    Degenerate,   // nothing to walk: its arithmetic would divide by zero or never find a date
    NotGregorian, // a Hijri or other non-Gregorian pattern, or an unknown frequency or pattern type
};

struct PatternCheck
{
    PatternShape shape = PatternShape::Walkable;
    LPCWSTR pszReason = NULL; // why the pattern is not walkable, for the trace line
};

PatternCheck CheckPattern(const CMAPIRecurring& pattern);

// The rule of a walkable pattern from its start date; false when tmStartDate names no valid date.
bool RecurrenceRuleOf(const CMAPIRecurring& pattern, int nFirstDayOfWeek, RecurrenceRule& rule);
} // namespace mapipim
