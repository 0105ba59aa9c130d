// COutlookFolder: one folder of a message store as discovery found it. The host names a folder by this record in
// every item operation; the library opens it through the store and folder entry identifiers.
#pragma once

#include <mapipim/platform.h>

class MAPIPIM_API COutlookFolder
{
public:
    COutlookFolder();
    COutlookFolder(const COutlookFolder& source);
    ~COutlookFolder();

    // Copies every field; the identifiers deeply, so that each record owns its own bytes.
    COutlookFolder& operator=(const COutlookFolder& source);

    SBinary sbEntryID;       // the folder's PR_ENTRYID; owned bytes
    SBinary sbParentEntryID; // the folder it was found in (the store's root for first-level folders); owned bytes
    SBinary sbStoreEntryID;  // the store that holds the folder; owned bytes
    CString strName;         // display name
    int nFolderType;         // folder type bit; sub folders carry the type of the first-level folder above them
    int nDepth;              // 1 directly below the store's root, one more for each level further down
    int nCount;              // contents rows when counted; -1 when the table could not be counted
};
