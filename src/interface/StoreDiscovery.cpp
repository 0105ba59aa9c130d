// CMAPIInterface: discovery of the profile's message stores and of the folders in each, as the records the host
// navigates by. Every store and folder taken is announced to the host's window as it is found.
#include <mapipim/MAPIInterface.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/SBinaryUtils.h>

#include "interface/FolderWalk.h"
#include "interface/ProgressWindow.h"
#include "platform/Pause.h"
#include "platform/platform.h"
#include "session/StringMode.h"
#include "session/Scoped.h"

#include <memory>
#include <new>

using mapipim::FolderWalk;
using mapipim::ScopedInterface;
using mapipim::ScopedRows;

namespace
{
const ULONG ulCountRows = 0x8000;

enum StoreColumn
{
    nStoreDisplayName,
    nStoreEntryID,
    nStoreProvider,
    nStoreDefault,
    nStoreColumns
};

void DeleteStores(CArray<COutlookStore*, COutlookStore*>& arrStores)
{
    for (INT_PTR nStore = 0; nStore < arrStores.GetSize(); ++nStore)
        delete arrStores[nStore];
    arrStores.RemoveAll();
}

// The session's table of message stores with the listing's columns; traced when it cannot be had.
bool OpenStoresTable(IMAPISession* pSession, ScopedInterface<IMAPITable>& stores)
{
    if (pSession->GetMsgStoresTable(0, &stores.Receive()) != S_OK || !stores)
    {
        LOGTRACE(_T("[MAPI] GetAllStoreInfo - GetMsgStoresTable failed"));
        return false;
    }
    SizedSPropTagArray(nStoreColumns, columns) = {
        nStoreColumns, {PR_DISPLAY_NAME_A, PR_ENTRYID, PR_PROVIDER_DISPLAY_A, PR_DEFAULT_STORE}};
    if (stores->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0) != S_OK)
    {
        LOGTRACE(_T("[MAPI] GetAllStoreInfo - SetColumns failed"));
        return false;
    }
    return true;
}

// The next row of the stores table that holds every column, freeing the previous one; false at the end of the
// table or when a fetch fails (traced).
bool NextStoreRow(IMAPITable* pStores, ScopedRows& rows)
{
    for (;;)
    {
        if (pStores->QueryRows(1, 0, &rows.Receive()) != S_OK)
        {
            LOGTRACE(_T("[MAPI] GetAllStoreInfo - QueryRows failed"));
            return false;
        }
        if (!rows.Get() || rows->cRows != 1)
            return false;
        if (rows->aRow[0].cValues >= nStoreColumns)
            return true;
    }
}

// The row's store identifier; empty when the row holds none, which no store opens with.
SBinary RowStoreEntryID(SRow& row)
{
    const SPropValue& entryID = row.lpProps[nStoreEntryID];
    return entryID.ulPropTag == PR_ENTRYID ? entryID.Value.bin : SBinary{0, NULL};
}

// The record of a listed row whose store is the session's open store; null when the store is not listed: its
// state reads as 0, it has no name, or its name is not the one asked for (szStoreName, ignoring case).
std::unique_ptr<COutlookStore> NewStoreRecord(CMAPIEx& mapi, SRow& row, LPCWSTR szStoreName)
{
    if (mapi.GetMessageStoreState() == 0)
    {
        LOGTRACE(_T("[MAPI] GetAllStoreInfo - GetMessageStoreState failed"));
        return nullptr;
    }
    std::unique_ptr<COutlookStore> pStore(new (std::nothrow) COutlookStore);
    if (!pStore)
        return nullptr;
    pStore->nSupportMask = mapi.GetMessageStoreSupport();
    // Also a store that is not listed switches the process to 8-bit strings.
    if (mapipim::SwitchToAnsiOnlyUnlessUnicode(pStore->nSupportMask))
        LOGTRACE(_T("[MAPI] OnlyANSIOnUnicode : TRUE"));
    CopySBinary(pStore->sbEntryID, RowStoreEntryID(row));
    CMAPIEx::GetValidStringA(row.lpProps[nStoreDisplayName], pStore->strName);
    if (pStore->strName.IsEmpty())
    {
        LOGTRACE(_T("[MAPI] GetAllStoreInfo - GetStoreName failed"));
        return nullptr;
    }
    if (szStoreName && pStore->strName.CompareNoCase(szStoreName) != 0)
        return nullptr;
    const SPropValue& isDefault = row.lpProps[nStoreDefault];
    pStore->bDefault = isDefault.ulPropTag == PR_DEFAULT_STORE && isDefault.Value.b;
    CMAPIEx::GetValidStringA(row.lpProps[nStoreProvider], pStore->strProvider);
    return pStore;
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
    if (!OpenStoresTable(pSession, stores))
        return FALSE;

    // The result tells only whether the last store tried could be opened.
    BOOL bOpened = FALSE;
    ScopedRows rows;
    while (NextStoreRow(stores.Get(), rows))
    {
        SRow& row = rows->aRow[0];
        SBinary entryID = RowStoreEntryID(row);
        bOpened = m_MAPI.ReplaceMessageStore(entryID);
        if (!bOpened)
        {
            LOGTRACE(_T("[MAPI] GetAllStoreInfo - OpenMsgStore failed"));
            continue;
        }
        std::unique_ptr<COutlookStore> pStore = NewStoreRecord(m_MAPI, row, szStoreName);
        if (!pStore)
            continue;
        arrStores.Add(pStore.get());
        mapipim::ProgressWindow(m_hMsgWnd).StoreListed(pStore.release(), arrStores.GetSize());
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
    FolderWalk walk(m_MAPI, m_hMsgWnd, (ulFlags & ulCountRows) != 0);
    for (INT_PTR nStore = 0; nStore < arrStores.GetSize(); ++nStore)
    {
        if (IsCancel())
            return FALSE;
        if (arrStores[nStore])
            walk.WalkStore(*arrStores[nStore], ulFlags);
    }
    return IsCancel() ? FALSE : TRUE;
}

BOOL CMAPIInterface::GetStoreSubFolder(CMAPIFolder* pFolder, int nDepth, COutlookStore* pStore, ULONG& ulType,
                                       BOOL& bCount)
{
    if (!pFolder || !pStore)
        return FALSE;
    return FolderWalk(m_MAPI, m_hMsgWnd, bCount != FALSE).WalkBelow(*pFolder, nDepth, *pStore, ulType);
}
