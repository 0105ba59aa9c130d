// Reading appointments through the interface object, every field included (read options 0x7: times, subject and
// the rest), with the failures put into words.
#pragma once

#include "Host.h"
#include "RecordArray.h"

#include <mapipim/MAPIScheduleInfo.h>

#include <string>

namespace cli
{
const ULONG kReadAllScheduleFields = 0x7;

// Reads the item the entry identifier text names; throws UsageFailure for malformed text and Failure when no
// item has that identifier.
void ReadSchedule(Host& host, const std::string& entryId, CMAPIScheduleInfo& schedule);

// Lists a folder (path is for messages), driving the progress bar with the folder's row count. Throws Cancelled
// or Failure.
void ListSchedules(Host& host, COutlookFolder& folder, const std::string& path,
                   RecordArray<CMAPIScheduleInfo>& schedules);
} // namespace cli
