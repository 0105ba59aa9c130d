// The zones one iCalendar file uses, as libical zones, and the conversions between the records' times and the
// files'. A record keeps times in the machine's local time (the store holds their UTC) and names the zone the
// appointment was made in; a file holds the time in that zone. Every conversion goes through UTC.
#pragma once

#include "platform/platform.h"

#include <libical/ical.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mapipim::interop
{
// A libical component owned by one scope.
struct ComponentDeleter
{
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
typedef std::unique_ptr<icalcomponent, ComponentDeleter> ComponentPtr;

class CalendarZones
{
public:
    CalendarZones() = default;
    ~CalendarZones();
    CalendarZones(const CalendarZones&) = delete;
    CalendarZones& operator=(const CalendarZones&) = delete;

    // Writing: the zone of a registry key (the machine's for an empty key), built from its rules; null when the
    // registry does not know the key. Its VTIMEZONE is kept for the file.
    icaltimezone* ForKey(const CString& strKey, CString& strUsedKey);
    // The zone a record's key stands for: ForKey's, else the machine's when the registry does not know the key.
    icaltimezone* ForRecordKey(const CString& strKey, CString& strUsedKey);
    const std::vector<std::string>& Definitions() const { return m_definitions; }

    // Reading: a VTIMEZONE of the file (its text); false with the reason when it cannot be read.
    bool Add(const std::string& text, std::string& error);
    // The zone of a TZID and the registry key it stands for (empty when none: the file's own rules still convert).
    // Null when neither the file nor the registry knows the TZID.
    icaltimezone* ForTzid(const std::string& tzid, CString& strKey);

private:
    icaltimezone* Adopt(icalcomponent* component);

    std::map<std::string, icaltimezone*> m_zones; // by TZID
    std::map<std::string, CString> m_keys;        // by TZID
    std::vector<std::string> m_definitions;
};

// UTC seconds of a record's machine-local time, and back; false for a time that names no date.
bool UtcOfMachineLocal(const SYSTEMTIME& local, time_t& utc);
// False for an instant outside the years a SYSTEMTIME holds (1601 to 30827).
bool MachineLocalOfUtc(time_t utc, SYSTEMTIME& local);
// A UTC instant as a local time of a zone (floating when the zone is null), and back.
icaltimetype ZoneTimeOfUtc(time_t utc, icaltimezone* zone);
time_t UtcOfZoneTime(const icaltimetype& time, icaltimezone* zone);

icaltimetype DateOf(const SYSTEMTIME& tm);
SYSTEMTIME SystemTimeOf(const icaltimetype& time);
} // namespace mapipim::interop
