// Appointments as the days of a calendar view show them: each single appointment once, each recurring series
// expanded by the library's occurrence enumerator into the occurrences that fall in the view, at the local time
// of day of the series' first appointment and with its length, less the occurrences deleted from it and with the
// changed ones at their own times.
#pragma once

#include "RecordArray.h"
#include "SeriesEdits.h"

#include <mapipim/MAPIScheduleInfo.h>

#include <vector>

namespace cli
{
struct Occurrence
{
    const CMAPIScheduleInfo* schedule;
    SYSTEMTIME start; // local
    SYSTEMTIME end;
    bool recurring;                              // one of the occurrences of a series
    const mapipim::RecurrenceException* changed; // what a changed occurrence has of its own; null otherwise
};

// What an occurrence shows: a changed occurrence's own subject, location and all-day flag where it has them.
CString SubjectOf(const Occurrence& occurrence);
CString LocationOf(const Occurrence& occurrence);
bool IsAllDay(const Occurrence& occurrence);

// The occurrences that overlap the days from firstDay to lastDay (dates, both included), in order of their start.
// A series whose pattern names no walk (a Hijri calendar, a period of 0) shows its first appointment only. edits
// holds, at a series' index, what became of its single occurrences (none for an index it does not reach).
std::vector<Occurrence> OccurrencesBetween(const RecordArray<CMAPIScheduleInfo>& schedules,
                                           const std::vector<SeriesEdits>& edits, const SYSTEMTIME& firstDay,
                                           const SYSTEMTIME& lastDay);
} // namespace cli
