// Time zones between the stores and iCalendar. A store names a zone by its Windows registry key and keeps its rules
// as the registry does (one rule per range of years); a VTIMEZONE is built from those rules, with the key as its
// TZID and the IANA name ICU maps the key to in X-LIC-LOCATION, the property libical and ical.js read. Coming
// back, a TZID that is a registry key is taken as it is, and an IANA name (also one behind a vendor prefix such as
// "/mozilla.org/20050126_1/") through ICU's mapping.
#pragma once

#include "platform/platform.h"

#include <string>
#include <string_view>

namespace mapipim::interop
{
// The VTIMEZONE of a registry key; empty when the registry does not know the key.
std::string VTimezoneOfKey(const CString& strKey);
// The IANA zone ICU maps a registry key to; empty when it maps it to none.
std::string IanaIdOfKey(const CString& strKey);
// The registry key a TZID (and the zone's X-LIC-LOCATION, when it has one) stands for; empty when none.
CString KeyOfTzid(std::string_view tzid, std::string_view location);
// The key of the machine's zone.
CString MachineZoneKey();
} // namespace mapipim::interop
