// Reading contacts through the interface object, every field included (read options 0x7: times, names and the
// rest), with the failures put into words.
#pragma once

#include "Host.h"
#include "RecordArray.h"

#include <mapipim/MAPIContactInfo.h>

#include <string>

namespace cli
{
const ULONG kReadAllContactFields = 0x7;

// Reads the item the entry identifier text names; throws UsageFailure for malformed text and Failure when no
// item has that identifier.
void ReadContact(Host& host, const std::string& entryId, CMAPIContactInfo& contact);

// Lists a folder (path is for messages), driving the progress bar with the folder's row count. Throws Cancelled
// or Failure.
void ListContacts(Host& host, COutlookFolder& folder, const std::string& path, RecordArray<CMAPIContactInfo>& contacts);
} // namespace cli
