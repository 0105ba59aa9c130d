// What became of single occurrences of a series: those deleted outright and those changed (moved, retitled,
// relocated...), as the appointment's recurrence blob records them. The library's schedule records carry the
// pattern alone, so a calendar view reads these from the item itself.
#pragma once

#include "items/RecurrenceExceptionBlob.h"

#include <mapipim/platform.h>

#include <vector>

namespace cli
{
struct SeriesEdits
{
    std::vector<LONG> missingDays;                     // days since 1601 whose pattern occurrence is gone or changed
    std::vector<mapipim::RecurrenceException> changed; // each changed occurrence, times in the series' zone

    bool Misses(LONG day) const;
};

// Empty when the item cannot be opened or has no recurrence blob.
SeriesEdits ReadSeriesEdits(IMAPISession* pSession, const SBinary& entryID);
} // namespace cli
