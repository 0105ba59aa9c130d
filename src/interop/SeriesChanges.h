// The deleted and the changed occurrences of a stored series, read from its recurrence blob by the library's own
// reader, and written back into the blob of an appointment an import has created. Outlook lists the original day of
// a changed occurrence among the deleted ones as well; here the deleted are only those removed outright.
#pragma once

#include <mapipim/MAPIEx.h>

#include "items/RecurrenceExceptionBlob.h"

#include <vector>

namespace mapipim::interop
{
struct SeriesChanges
{
    std::vector<DWORD> deleted;               // minutes since 1601 of each removed occurrence's day
    std::vector<RecurrenceException> changed; // times in the series' zone
};

// Empty when the item has no blob.
SeriesChanges ReadSeriesChanges(CMAPIEx& mapi, SBinary& entryID);
// Replaces the blob's instance lists and exceptions with these and saves the item.
bool WriteSeriesChanges(CMAPIEx& mapi, SBinary& entryID, const SeriesChanges& changes);
} // namespace mapipim::interop
