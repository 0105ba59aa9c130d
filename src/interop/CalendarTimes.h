// The date-time properties of appointments and tasks (DTSTART, DTEND, DUE, EXDATE): written in a zone with its
// TZID, or as dates; read back to the instant they name, through the file's VTIMEZONEs or the registry's zones.
#pragma once

#include "interop/CalendarZones.h"

#include <string>

namespace mapipim::interop
{
// A property of the kind with the time: a TZID parameter naming strKey for a zoned time, VALUE=DATE for a date.
icalproperty* NewTimeProperty(icalproperty_kind kind, icaltimetype time, const CString& strKey);

struct ItemTime
{
    icaltimetype local = icaltime_null_time(); // as the file gives it, in its zone
    icaltimezone* zone = nullptr;             // null for dates and UTC times
    CString strKey;                           // the registry key of the zone; empty for the machine's
    time_t utc = 0;                           // the instant (for dates: midnight of the machine's zone)
};

// False with the reason for a time whose TZID neither the file nor the registry knows, or that names no date.
bool ReadItemTime(icalproperty* property, CalendarZones& zones, ItemTime& time, std::string& error);
} // namespace mapipim::interop
