// CMAPITimeZone: a local date and time together with the time zone it is expressed in: the zone's registry key
// name and its biases in minutes, as Windows defines them (UTC = local + bias).
#pragma once

#include <mapipim/platform.h>

class MAPIPIM_API CMAPITimeZone
{
public:
    // The machine's zone: the key name the session found at its construction (empty before any session exists)
    // and the biases GetTimeZoneInformation reports.
    CMAPITimeZone();
    CMAPITimeZone(const CMAPITimeZone& source);
    ~CMAPITimeZone();

    CMAPITimeZone& operator=(const CMAPITimeZone& source);

    SYSTEMTIME tmDateTime; // the local date and time
    CString strKeyName;    // key under the registry's Time Zones; empty stands for the machine's own zone
    LONG nBias;            // minutes to add to the local time to obtain UTC
    LONG nStandardBias;    // added to nBias during standard time
    LONG nDaylightBias;    // added to nBias during daylight time
};
