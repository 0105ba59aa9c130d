// CMAPIInterface: discovery of the profile's message stores and of the folders in each, as the records the host
// navigates by. Every store and folder taken is announced to the host's window as it is found.
#include <mapipim/MAPIInterface.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/SBinaryUtils.h>

#include "interface/FolderClassifier.h"
#include "platform/Pause.h"
#include "platform/platform.h"
#include "session/Scoped.h"

#include <memory>
#include <new>

using mapipim::FolderClassifier;
using mapipim::ScopedInterface;
using mapipim::ScopedRows;

namespace
{
const ULONG ulCountRows = 0x8000;
const ULONG ulStoreOpenFlags = MAPI_BEST_ACCESS | MDB_NO_DIALOG;

enum StoreColumn
{
    nStoreDisplayName,
    nStoreEntryID,
    nStoreProvider,
    nStoreDefault,
    nStoreColumns
};

bool IsCancelRequested()
{
    return CMAPIInterface::m_bCancel != 0;
}

void DeleteStores(CArray<COutlookStore*, COutlookStore*>& arrStores)
{
    for (INT_PTR nStore = 0; nStore < arrStores.GetSize(); ++nStore)
        delete arrStores[nStore];
    arrStores.RemoveAll();
}

// The row's store identifier; empty when the row holds none, which no store opens with.
SBinary RowStoreEntryID(SRow& row)
{
    const SPropValue& entryID = row.lpProps[nStoreEntryID];
    return entryID.ulPropTag == PR_ENTRYID ? entryID.Value.bin : SBinary{0, NULL};
}

// A record for the open store of a listed row, before its name is judged.
COutlookStore* NewStoreRecord(CMAPIEx& mapi, SRow& row)
{
    COutlookStore* pStore = new (std::nothrow) COutlookStore;
    if (!pStore)
        return NULL;
    pStore->nSupportMask = mapi.GetMessageStoreSupport();
    if (!(pStore->nSupportMask & STORE_UNICODE_OK))
    {
        CMAPIEx::m_nMAPICode = 0;
        CMAPIEx::m_bOnlyANSIOnUnicode = TRUE;
        LOGTRACE(_T("[MAPI] OnlyANSIOnUnicode : TRUE"));
    }
    CopySBinary(pStore->sbEntryID, RowStoreEntryID(row));
    CMAPIEx::GetValidStringA(row.lpProps[nStoreDisplayName], pStore->strName);
    return pStore;
}

void ReadStoreDetails(COutlookStore& store, SRow& row)
{
    const SPropValue& isDefault = row.lpProps[nStoreDefault];
    store.bDefault = isDefault.ulPropTag == PR_DEFAULT_STORE && isDefault.Value.b;
    CMAPIEx::GetValidStringA(row.lpProps[nStoreProvider], store.strProvider);
}

// Opens a folder's hierarchy table when the folder says it has sub folders.
bool OpenSubFolders(CMAPIFolder& folder)
{
    return folder.GetHierarchy() && folder.GetPropertyBool(PR_SUBFOLDERS, FALSE);
}

// A hierarchy row whose folder could not be opened, or whose identifier could not be read, gives no usable
// record: the host could never reach the folder through it.
bool IsUsable(CMAPIFolder& folder)
{
    return folder.GetEntryID()->cb != 0;
}

COutlookFolder* NewFolderRecord(CMAPIFolder& folder, CMAPIFolder& parent, COutlookStore& store, int nDepth,
                                const CString& strName, ULONG ulType, BOOL bCount)
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

BOOL CMAPIInterface::GetAllStoreInfo(CArray<COutlookStore*, COutlookStore*>& arrStores, int nReserved,
                                     LPCWSTR szStoreName)
{
    IMAPISession* pSession = m_MAPI.GetSession();
    if (!pSession)
        return FALSE;
    DeleteStores(arrStores);

    ScopedInterface<IMAPITable> stores;
    if (pSession->GetMsgStoresTable(0, &stores.Receive()) != S_OK || !stores)
    {
        LOGTRACE(_T("[MAPI] GetAllStoreInfo - GetMsgStoresTable failed"));
        return FALSE;
    }
    SizedSPropTagArray(nStoreColumns, columns) = {
        nStoreColumns, {PR_DISPLAY_NAME_A, PR_ENTRYID, PR_PROVIDER_DISPLAY_A, PR_DEFAULT_STORE}};
    if (stores->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0) != S_OK)
    {
        LOGTRACE(_T("[MAPI] GetAllStoreInfo - SetColumns failed"));
        return FALSE;
    }

    BOOL bOpened = FALSE;
    ScopedRows rows;
    for (;;)
    {
        if (stores->QueryRows(1, 0, &rows.Receive()) != S_OK)
        {
            LOGTRACE(_T("[MAPI] GetAllStoreInfo - QueryRows failed"));
            break;
        }
        if (!rows.Get() || rows->cRows != 1)
            break;
        SRow& row = rows->aRow[0];
        if (row.cValues < nStoreColumns)
            continue;

        SBinary entryID = RowStoreEntryID(row);
        bOpened = m_MAPI.ReplaceMessageStore(entryID);
        if (!bOpened)
        {
            LOGTRACE(_T("[MAPI] GetAllStoreInfo - OpenMsgStore failed"));
            continue;
        }
        if (m_MAPI.GetMessageStoreState() == 0)
        {
            LOGTRACE(_T("[MAPI] GetAllStoreInfo - GetMessageStoreState failed"));
            continue;
        }
        std::unique_ptr<COutlookStore> pStore(NewStoreRecord(m_MAPI, row));
        if (!pStore)
            continue;
        if (pStore->strName.IsEmpty())
        {
            LOGTRACE(_T("[MAPI] GetAllStoreInfo - GetStoreName failed"));
            continue;
        }
        if (szStoreName && pStore->strName.CompareNoCase(szStoreName) != 0)
            continue;
        ReadStoreDetails(*pStore, row);

        arrStores.Add(pStore.get());
        COutlookStore* pListed = pStore.release();
        SendMsg(WM_MAPI_GET_STOREINFO, reinterpret_cast<WPARAM>(pListed), static_cast<LPARAM>(arrStores.GetSize()));
        mapipim::Pause();
    }
    return bOpened;
}

BOOL CMAPIInterface::GetStoreFolder(CArray<COutlookStore*, COutlookStore*>& arrStores, ULONG ulFlags,
                                    LPCWSTR szStoreName)
{
    GetAllStoreInfo(arrStores, 0, szStoreName);
    return GetStoreSubFolder(arrStores, ulFlags);
}

BOOL CMAPIInterface::GetDefaultStoreFolder(CArray<COutlookStore*, COutlookStore*>& arrStores, ULONG ulFlags)
{
    GetAllStoreInfo(arrStores, 1, NULL);
    return GetStoreSubFolder(arrStores, ulFlags);
}

BOOL CMAPIInterface::GetStoreSubFolder(CArray<COutlookStore*, COutlookStore*>& arrStores, ULONG& ulFlags)
{
    BOOL bCount = (ulFlags & ulCountRows) != 0;
    for (INT_PTR nStore = 0; nStore < arrStores.GetSize(); ++nStore)
    {
        if (IsCancelRequested())
            return FALSE;
        COutlookStore* pStore = arrStores[nStore];
        if (!pStore)
            continue;
        if (!m_MAPI.OpenMessageStore(pStore->sbEntryID, ulStoreOpenFlags))
        {
            LOGTRACE(_T("[MAPI] GetStoreSubFolder - OpenMessageStore failed : %s"), pStore->strName);
            continue;
        }
        // The session owns its current folder and deletes it when the next store's root replaces it.
        CMAPIFolder* pRoot = m_MAPI.OpenRootFolder(TRUE);
        if (!pRoot || !OpenSubFolders(*pRoot))
            continue;

        FolderClassifier classifier(m_MAPI);
        CMAPIFolder subFolder;
        CString strName;
        while (!IsCancelRequested() && pRoot->GetNextSubFolder(subFolder, strName))
        {
            if (!IsUsable(subFolder))
                continue;
            ULONG ulType = classifier.Classify(subFolder);
            pStore->nFolderTypes |= static_cast<int>(ulType);
            if (!mapipim::IsFolderTypeRequested(ulType, ulFlags))
                continue;
            COutlookFolder* pRecord = NewFolderRecord(subFolder, *pRoot, *pStore, 1, strName, ulType, bCount);
            if (!pRecord)
                continue;
            pStore->arrFolders.Add(pRecord);
            SendMsg(WM_MAPI_GET_FOLDERINFO, reinterpret_cast<WPARAM>(pRecord), reinterpret_cast<LPARAM>(pStore));
            GetStoreSubFolder(&subFolder, 2, pStore, ulType, bCount);
        }
    }
    return IsCancelRequested() ? FALSE : TRUE;
}

BOOL CMAPIInterface::GetStoreSubFolder(CMAPIFolder* pFolder, int nDepth, COutlookStore* pStore, ULONG& ulType,
                                       BOOL& bCount)
{
    if (!pFolder || !pStore || IsCancelRequested() || !OpenSubFolders(*pFolder))
        return FALSE;
    CMAPIFolder subFolder;
    CString strName;
    while (!IsCancelRequested() && pFolder->GetNextSubFolder(subFolder, strName))
    {
        if (!IsUsable(subFolder))
            continue;
        COutlookFolder* pRecord = NewFolderRecord(subFolder, *pFolder, *pStore, nDepth, strName, ulType, bCount);
        if (!pRecord)
            continue;
        pStore->arrFolders.Add(pRecord);
        SendMsg(WM_MAPI_GET_FOLDERINFO, reinterpret_cast<WPARAM>(pRecord), reinterpret_cast<LPARAM>(pStore));
        GetStoreSubFolder(&subFolder, nDepth + 1, pStore, ulType, bCount);
    }
    return TRUE;
}
