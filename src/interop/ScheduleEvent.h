// An appointment as a VEVENT and back: start and end in the appointment's zone (dates for all-day events), the
// texts, categories, sensitivity, importance, busy status, reminder, and the recurrence with the deleted
// occurrences as EXDATEs. The deleted occurrences are the dates the recurrence blob lists, as minutes since 1601
// of each occurrence's day. A VEVENT with a RECURRENCE-ID reads as any other: whether it changes a series is the
// caller's to decide (ChangedOccurrences.h).
#pragma once

#include "interop/CalendarZones.h"

#include <mapipim/MAPIScheduleInfo.h>

#include <string>
#include <vector>

namespace mapipim::interop
{
// Null with the reason when the appointment has no expression in iCalendar.
icalcomponent* EventOfSchedule(const CMAPIScheduleInfo& schedule, const std::vector<DWORD>& deletedDates,
                               CalendarZones& zones, int nFirstDayOfWeek, std::string& error);

bool ScheduleOfEvent(icalcomponent* event, CalendarZones& zones, CMAPIScheduleInfo& schedule,
                     std::vector<DWORD>& deletedDates, std::string& error);
} // namespace mapipim::interop
