// A changed occurrence of a series as a VEVENT of its own, and back. The VEVENT carries the series' UID, a
// RECURRENCE-ID with the occurrence's original start (in the series' zone; a date for an all-day series) and the
// series' fields with the changed ones in their place, since a VEVENT with a RECURRENCE-ID replaces the whole
// occurrence. The store keeps of a changed occurrence only its start and end, subject, location, busy status,
// reminder and all-day flag; a changed body lives in an attachment this library does not read, so such an
// occurrence goes without DESCRIPTION, and on the way in what else differs from the series is not kept.
#pragma once

#include "interop/CalendarZones.h"
#include "items/RecurrenceExceptionBlob.h"

#include <mapipim/MAPIScheduleInfo.h>

#include <string>

namespace mapipim::interop
{
icalcomponent* EventOfChangedOccurrence(const CMAPIScheduleInfo& series, const RecurrenceException& changed,
                                        CalendarZones& zones, int nFirstDayOfWeek, std::string& error);

// The change a VEVENT with a RECURRENCE-ID makes to a series as it was stored, compared field by field with the
// series; occurrence receives the VEVENT as a record. False with the reason when the RECURRENCE-ID names no
// occurrence of the series or the VEVENT cannot be read.
bool ChangedOccurrenceOfEvent(icalcomponent* event, const CMAPIScheduleInfo& series, CalendarZones& zones,
                              int nFirstDayOfWeek, CMAPIScheduleInfo& occurrence, RecurrenceException& changed,
                              std::string& error);
} // namespace mapipim::interop
