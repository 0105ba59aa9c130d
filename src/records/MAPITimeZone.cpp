#include <mapipim/MAPITimeZone.h>

#include "platform/TimeZoneKeyName.h"

CMAPITimeZone::CMAPITimeZone()
    : tmDateTime(), strKeyName(mapipim::TimeZoneKeyName()), nBias(0), nStandardBias(0), nDaylightBias(0)
{
    TIME_ZONE_INFORMATION tzi = {};
    if (GetTimeZoneInformation(&tzi) == TIME_ZONE_ID_INVALID)
        return;
    nBias = tzi.Bias;
    nStandardBias = tzi.StandardBias;
    nDaylightBias = tzi.DaylightBias;
}

CMAPITimeZone::CMAPITimeZone(const CMAPITimeZone& source) = default;
CMAPITimeZone::~CMAPITimeZone() = default;
CMAPITimeZone& CMAPITimeZone::operator=(const CMAPITimeZone& source) = default;
