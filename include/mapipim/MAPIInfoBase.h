// CMAPIInfoBase: the first part of every item record: the item's entry identifier (owned bytes, see
// SBinaryUtils.h), its hexadecimal text, and the item's creation and last-modification times (local time).
#pragma once

#include <mapipim/platform.h>

class CMAPIInfoBase
{
public:
    CMAPIInfoBase();
    CMAPIInfoBase(const CMAPIInfoBase& source);
    ~CMAPIInfoBase();

    // A deep copy: the target gets its own copy of the identifier bytes and releases the ones it held.
    CMAPIInfoBase& operator=(const CMAPIInfoBase& source);

    SBinary sbEntryID;   // PR_ENTRYID; owned bytes
    CString strEntryID;  // the same identifier as upper-case hexadecimal text
    SYSTEMTIME tmCTime;  // creation time; all zero when not read
    SYSTEMTIME tmLMTime; // last modification time; all zero when not read
};
