#include "interface/FolderWalk.h"

#include <mapipim/MAPIInterface.h>
#include <mapipim/SBinaryUtils.h>

#include "interface/FolderClassifier.h"
#include "interface/FolderLineage.h"
#include "interface/FolderRow.h"
#include "platform/trace/Trace.h"
#include "session/BatchedRows.h"

#include <memory>
#include <new>

namespace mapipim
{
namespace
{
const ULONG ulStoreOpenFlags = MAPI_BEST_ACCESS | MDB_NO_DIALOG;
const LONG nRowsPerBatch = 256;

COutlookFolder* NewFolderRecord(FolderRow& row, const SBinary& parentID, COutlookStore& store, int nDepth, ULONG ulType,
                                bool bCount)
{
    std::unique_ptr<COutlookFolder> pRecord(new (std::nothrow) COutlookFolder);
    if (!pRecord || !CopySBinary(pRecord->sbEntryID, *row.EntryID()) ||
        !CopySBinary(pRecord->sbParentEntryID, parentID) || !CopySBinary(pRecord->sbStoreEntryID, store.sbEntryID))
        return NULL;
    pRecord->strName = row.Name();
    pRecord->nFolderType = static_cast<int>(ulType);
    pRecord->nDepth = nDepth;
    if (bCount)
        pRecord->nCount = row.Count();
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
    if (!pRoot || !pRoot->GetPropertyBool(PR_SUBFOLDERS, FALSE))
        return;
    FolderRow::Columns columns(*pRoot, false, m_bCount);
    BatchedRows rows(pRoot->GetHierarchy(columns.Get(), 0), nRowsPerBatch);

    FolderClassifier classifier(m_mapi);
    while (!CMAPIInterface::IsCancel())
    {
        SRow* pRow = rows.Next();
        if (!pRow)
            break;
        FolderRow row(*pRoot, *pRow);
        // A row without an identifier names no folder the host could ever reach.
        if (!row.EntryID())
            continue;
        const ULONG ulType = classifier.Classify(row.ContainerClass(), *row.EntryID());
        // Every special folder met shows in the store's types, whether or not it is taken.
        store.nFolderTypes |= static_cast<int>(ulType);
        if (!IsFolderTypeRequested(ulType, ulFlags))
            continue;
        COutlookFolder* pRecord = Take(row, *pRoot->GetEntryID(), store, 1, ulType);
        if (pRecord && row.HasSubFolders() && row.Folder())
            WalkAllLevels(*row.Folder(), pRecord->sbEntryID, 2, store, ulType);
    }
}

bool FolderWalk::WalkBelow(CMAPIFolder& folder, int nDepth, COutlookStore& store, ULONG ulType)
{
    if (CMAPIInterface::IsCancel() || !folder.GetPropertyBool(PR_SUBFOLDERS, FALSE))
        return false;
    return WalkAllLevels(folder, *folder.GetEntryID(), nDepth, store, ulType);
}

bool FolderWalk::WalkAllLevels(CMAPIFolder& folder, const SBinary& folderID, int nDepth, COutlookStore& store,
                               ULONG ulType)
{
    if (CMAPIInterface::IsCancel())
        return false;
    FolderRow::Columns columns(folder, true, m_bCount);
    IMAPITable* pTable = folder.GetHierarchy(columns.Get(), CONVENIENT_DEPTH);
    if (!pTable)
        return false;
    BatchedRows rows(pTable, nRowsPerBatch);
    FolderLineage lineage(folderID);
    while (!CMAPIInterface::IsCancel())
    {
        SRow* pRow = rows.Next();
        if (!pRow)
            break;
        FolderRow row(folder, *pRow);
        if (!lineage.Place(row.Depth()))
            continue;
        const int nRowDepth = nDepth + static_cast<int>(lineage.Level()) - 1;
        COutlookFolder* pRecord = row.EntryID() ? Take(row, lineage.Parent(), store, nRowDepth, ulType) : NULL;
        // A folder left out takes the folders below it along.
        lineage.Enter(pRecord ? &pRecord->sbEntryID : NULL);
    }
    return true;
}

COutlookFolder* FolderWalk::Take(FolderRow& row, const SBinary& parentID, COutlookStore& store, int nDepth,
                                 ULONG ulType)
{
    COutlookFolder* pRecord = NewFolderRecord(row, parentID, store, nDepth, ulType, m_bCount);
    if (!pRecord)
        return NULL;
    store.arrFolders.Add(pRecord);
    m_progress.FolderFound(pRecord, &store);
    return pRecord;
}
} // namespace mapipim
