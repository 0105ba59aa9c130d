// COutlookStore: one message store of the profile as discovery found it, with the folders found in it. The store
// owns its folder records: Clear() and the destructor delete them. Not copyable.
#pragma once

#include <mapipim/platform.h>
#include <mapipim/OutlookFolder.h>

class MAPIPIM_API COutlookStore
{
public:
    COutlookStore();
    ~COutlookStore();

    COutlookStore(const COutlookStore&) = delete;
    COutlookStore& operator=(const COutlookStore&) = delete;

    // Back to the defaults: strings empty, numbers 0, every folder record deleted, the identifier released.
    void Clear();

    SBinary sbEntryID;   // the store's PR_ENTRYID; owned bytes
    CString strName;     // PR_DISPLAY_NAME
    CString strProvider; // PR_PROVIDER_DISPLAY
    int nFolderTypes;    // the type bits of every special or default folder met in the store, or-ed together
    BOOL bDefault;       // non-zero for the profile's default store
    ULONG nSupportMask;  // PR_STORE_SUPPORT_MASK (STORE_UNICODE_OK tells whether it takes Unicode strings)
    CArray<COutlookFolder*, COutlookFolder*> arrFolders; // depth first: each folder followed by its sub folders
};
