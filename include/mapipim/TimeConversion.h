// Conversions between the local times that records carry and the UTC times that MAPI stores.
//
// Without a zone (null) the machine's zone applies with its daylight-saving rules, exactly as Windows converts
// with TzSpecificLocalTimeToSystemTime and SystemTimeToTzSpecificLocalTime, which is also how every item read
// turns stored UTC back into local time: a time written this way reads back unchanged in summer and in winter.
// One rule holds for the two awkward hours of the year: a local time in the hour skipped when the clocks go
// forward, or in the hour repeated when they go back, is taken as daylight time. A repeated time therefore stands
// for its first occurrence and round-trips; a skipped time (which no clock showed) comes back an hour earlier.
//
// With a zone, only its nBias applies (UTC = local + nBias), whatever the season. A caller that needs the
// machine's standard offset all year round, as the recurrence writer does for the start and end offsets of an
// appointment's pattern, passes a default-constructed CMAPITimeZone, which carries the machine's standard Bias.
//
// The input is read as a calendar date-time to the second. The output receives year, month, day, hour, minute,
// second and the day of the week (Sunday = 0); GetLocalTimeToSystemTime copies the input's milliseconds, while
// GetSystemTimeToLocalTime leaves the output's milliseconds as they were. An input that names no valid date
// (month 0, as in an all-zero SYSTEMTIME, or day 31 of April) gives 0xFFFF in each of those seven fields.
#pragma once

#include <mapipim/platform.h>

class CMAPITimeZone;

MAPIPIM_API void GetLocalTimeToSystemTime(SYSTEMTIME& tmLocal, SYSTEMTIME& tmUTC, CMAPITimeZone* pTimeZone);
MAPIPIM_API void GetSystemTimeToLocalTime(SYSTEMTIME& tmUTC, SYSTEMTIME& tmLocal, CMAPITimeZone* pTimeZone);
