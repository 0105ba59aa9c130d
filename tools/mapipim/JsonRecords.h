// The records as JSON: every field under the record's own field name, entry identifiers as their hexadecimal
// text, times as "YYYY-MM-DDTHH:MM:SS" (local) or null when not set. A few derived conveniences ("path", "type",
// "folderTypes", "unicode") stand beside the fields they explain.
#pragma once

#include "Host.h"

#include <mapipim/MAPIContactInfo.h>
#include <mapipim/MAPIRecurring.h>
#include <mapipim/MAPIEmailInfo.h>
#include <mapipim/OutlookStore.h>

#include <string>
#include <vector>

namespace cli
{
// A local time as "YYYY-MM-DDTHH:MM:SS", or null when not set (year 0).
Json TimeJson(const SYSTEMTIME& time);
// "YYYY-MM-DD" or null, for the values that are days.
Json DayJson(const SYSTEMTIME& time);
Json FolderJson(const COutlookFolder& folder, const std::string& path, bool bCounted = true);
// The store with its folders (paths as FolderPaths gives them), or without when bWithFolders is false.
Json StoreJson(const COutlookStore& store, bool bWithFolders, bool bCounted = true);
Json ContactJson(const CMAPIContactInfo& contact);
// A recurrence pattern, every field; null for none.
Json RecurringJson(const CMAPIRecurring* pRecurring);
// With "state" and "form" naming nMsgState and nForm.
Json EmailJson(const CMAPIEmailInfo& email);
} // namespace cli
