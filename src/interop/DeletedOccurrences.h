// The deleted occurrences of a stored series: the dates the appointment's recurrence blob lists, read by the
// library's own blob reader, and written back into the blob of an appointment an import has just created.
#pragma once

#include <mapipim/MAPIEx.h>

#include <vector>

namespace mapipim::interop
{
// Minutes since 1601 of each deleted occurrence's day; empty when the item has no blob.
std::vector<DWORD> ReadDeletedOccurrences(CMAPIEx& mapi, SBinary& entryID);
bool WriteDeletedOccurrences(CMAPIEx& mapi, SBinary& entryID, const std::vector<DWORD>& dates);
} // namespace mapipim::interop
