#include <mapipim/OutlookStore.h>

#include "session/SBinaryBytes.h"

COutlookStore::COutlookStore() : sbEntryID(), nFolderTypes(0), bDefault(FALSE), nSupportMask(0)
{
    Clear();
}

COutlookStore::~COutlookStore()
{
    Clear();
}

void COutlookStore::Clear()
{
    strName.Empty();
    strProvider.Empty();
    bDefault = FALSE;
    nFolderTypes = 0;
    nSupportMask = 0;
    for (INT_PTR i = 0; i < arrFolders.GetSize(); ++i)
        delete arrFolders[i];
    arrFolders.RemoveAll();
    mapipim::FreeSBinary(sbEntryID);
}
