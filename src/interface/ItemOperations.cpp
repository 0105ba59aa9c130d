// The parts of the item operations that are the same for every kind.
#include "interface/ItemOperations.h"

namespace mapipim
{
BOOL OpenRecordFolder(CMAPIEx& mapi, COutlookFolder& folderRecord, CMAPIFolder& folder)
{
    return mapi.OpenFolder(folderRecord.sbStoreEntryID, folderRecord.sbEntryID, folder);
}

BOOL DeleteFolderItem(CMAPIEx& mapi, COutlookFolder* pFolder, SBinary& entryID, int bMoveToDeletedItems)
{
    CMAPIFolder folder;
    if (!OpenRecordFolder(mapi, *pFolder, folder))
        return FALSE;
    if (!bMoveToDeletedItems)
        return folder.DeleteMessage(&entryID);
    CMAPIFolder deletedItems;
    if (!mapi.OpenFolder(PR_IPM_WASTEBASKET_ENTRYID, deletedItems))
        return FALSE;
    return folder.MoveMessage(&entryID, &deletedItems);
}
} // namespace mapipim
