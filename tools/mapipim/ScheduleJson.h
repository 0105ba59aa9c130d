// Appointments as JSON, in the manner of JsonRecords.h: every field of the schedule record under its own name,
// the zones and the recurrence pattern as objects of their fields, and "busy" naming nSign.
#pragma once

#include "Host.h"

#include <mapipim/MAPIScheduleInfo.h>

namespace cli
{
Json TimeZoneJson(const CMAPITimeZone& zone);
Json ScheduleJson(const CMAPIScheduleInfo& schedule);
} // namespace cli
