#include "interface/FolderWalk.h"

#include <mapipim/MAPIInterface.h>
#include <mapipim/SBinaryUtils.h>

#include "interface/FolderClassifier.h"
#include "platform/trace/Trace.h"

#include <memory>
#include <new>

namespace mapipim
{
namespace
{
const ULONG ulStoreOpenFlags = MAPI_BEST_ACCESS | MDB_NO_DIALOG;

// Opens a folder's hierarchy table when the folder says it has sub folders; a leaf, most folders of a tree, gets
// no table built only to find it empty.
bool OpenSubFolders(CMAPIFolder& folder)
{
    return folder.GetPropertyBool(PR_SUBFOLDERS, FALSE) && folder.GetHierarchy();
}

// A hierarchy row whose folder could not be opened, or whose identifier could not be read, gives no usable
// record: the host could never reach the folder through it.
bool IsUsable(CMAPIFolder& folder)
{
    return folder.GetEntryID()->cb != 0;
}

COutlookFolder* NewFolderRecord(CMAPIFolder& folder, CMAPIFolder& parent, COutlookStore& store, int nDepth,
                                const CString& strName, ULONG ulType, bool bCount)
{
    std::unique_ptr<COutlookFolder> pRecord(new (std::nothrow) COutlookFolder);
    if (!pRecord || !CopySBinary(pRecord->sbEntryID, *folder.GetEntryID()) ||
        !CopySBinary(pRecord->sbParentEntryID, *parent.GetEntryID()) ||
        !CopySBinary(pRecord->sbStoreEntryID, store.sbEntryID))
        return NULL;
    pRecord->strName = strName;
    pRecord->nFolderType = static_cast<int>(ulType);
    pRecord->nDepth = nDepth;
    if (bCount && folder.GetContents())
        pRecord->nCount = folder.GetRowCount();
    return pRecord.release();
}
} // namespace

void FolderWalk::WalkStore(COutlookStore& store, ULONG ulFlags)
{
    if (!m_mapi.OpenMessageStore(store.sbEntryID, ulStoreOpenFlags))
    {
        LOGTRACE(_T("[MAPI] GetStoreSubFolder - OpenMessageStore failed : %s"), store.strName);
        return;
    }
    // The session owns its current folder and deletes it when the next store's root replaces it.
    CMAPIFolder* pRoot = m_mapi.OpenRootFolder(TRUE);
    if (!pRoot || !OpenSubFolders(*pRoot))
        return;

    FolderClassifier classifier(m_mapi);
    CMAPIFolder subFolder;
    CString strName;
    while (!CMAPIInterface::IsCancel() && pRoot->GetNextSubFolder(subFolder, strName))
    {
        if (!IsUsable(subFolder))
            continue;
        const ULONG ulType = classifier.Classify(subFolder);
        // Every special folder met shows in the store's types, whether or not it is taken.
        store.nFolderTypes |= static_cast<int>(ulType);
        if (IsFolderTypeRequested(ulType, ulFlags))
            Take(subFolder, *pRoot, store, 1, strName, ulType);
    }
}

bool FolderWalk::WalkBelow(CMAPIFolder& folder, int nDepth, COutlookStore& store, ULONG ulType)
{
    if (CMAPIInterface::IsCancel() || !OpenSubFolders(folder))
        return false;
    CMAPIFolder subFolder;
    CString strName;
    while (!CMAPIInterface::IsCancel() && folder.GetNextSubFolder(subFolder, strName))
    {
        if (IsUsable(subFolder))
            Take(subFolder, folder, store, nDepth, strName, ulType);
    }
    return true;
}

void FolderWalk::Take(CMAPIFolder& folder, CMAPIFolder& parent, COutlookStore& store, int nDepth,
                      const CString& strName, ULONG ulType)
{
    COutlookFolder* pRecord = NewFolderRecord(folder, parent, store, nDepth, strName, ulType, m_bCount);
    if (!pRecord)
        return;
    store.arrFolders.Add(pRecord);
    m_progress.FolderFound(pRecord, &store);
    WalkBelow(folder, nDepth + 1, store, ulType);
}
} // namespace mapipim
