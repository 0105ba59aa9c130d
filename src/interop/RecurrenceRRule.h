// A recurrence pattern as an RRULE and back. Outlook's patterns are a subset of RRULE: every n days, every weekday,
// weekly on a set of days, monthly or yearly on a day of the month, on the month's last day, or on the n-th (or
// last) of a set of weekdays; ending on a date, after a count, or never. A pattern's day 29 to 31 falls on the
// month's last day in shorter months, which RRULE says as BYMONTHDAY=28,29,30,31;BYSETPOS=-1 cut at that day.
// An RRULE outside the subset (hourly, BYWEEKNO, several months, ...) is refused with the reason.
#pragma once

#include <mapipim/MAPIRecurring.h>

#include <libical/ical.h>

#include <string>

namespace mapipim::interop
{
// dtstart: the first occurrence in the series' zone (a date for all-day series); zone: that zone, for UNTIL.
bool RRuleOfPattern(const CMAPIRecurring& pattern, const icaltimetype& dtstart, icaltimezone* zone,
                    int nFirstDayOfWeek, icalrecurrencetype& rule, std::string& error);

bool PatternOfRRule(const icalrecurrencetype& rule, const icaltimetype& dtstart, icaltimezone* zone,
                    CMAPIRecurring& pattern, std::string& error);
} // namespace mapipim::interop
