// Appointments as the days of a calendar view show them: each single appointment once, each recurring series
// expanded by the library's occurrence enumerator into the occurrences that fall in the view, at the local time
// of day of the series' first appointment and with its length.
#pragma once

#include "RecordArray.h"

#include <mapipim/MAPIScheduleInfo.h>

#include <vector>

namespace cli
{
struct Occurrence
{
    const CMAPIScheduleInfo* schedule;
    SYSTEMTIME start; // local
    SYSTEMTIME end;
    bool recurring; // one of the occurrences of a series
};

// The occurrences that overlap the days from firstDay to lastDay (dates, both included), in order of their start.
// A series whose pattern names no walk (a Hijri calendar, a period of 0) shows its first appointment only.
std::vector<Occurrence> OccurrencesBetween(const RecordArray<CMAPIScheduleInfo>& schedules, const SYSTEMTIME& firstDay,
                                           const SYSTEMTIME& lastDay);
} // namespace cli
