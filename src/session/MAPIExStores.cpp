// CMAPIEx: opening a message store, by a part of its display name or by its entry identifier, and asking the open
// store for its capabilities and state.
#include <mapipim/MAPIEx.h>
#include <mapipim/SBinaryUtils.h>

#include "platform/platform.h"
#include "session/SessionState.h"
#include "session/StringMode.h"
#include "session/Scoped.h"
#include "session/SingleProperty.h"

using mapipim::ScopedBuffer;
using mapipim::ScopedInterface;
using mapipim::ScopedRows;

namespace
{
enum StoreColumn
{
    nStoreDisplayName,
    nStoreEntryID,
    nStoreDefault,
    nStoreColumns
};

// The row a store is chosen from: the default store when no name is given, else the first store whose display
// name contains the name (case-sensitive).
bool IsChosenStore(SRow& row, LPCWSTR szStore)
{
    if (row.cValues < nStoreColumns || row.lpProps[nStoreEntryID].ulPropTag != PR_ENTRYID)
        return false;
    if (!szStore)
    {
        const SPropValue& isDefault = row.lpProps[nStoreDefault];
        return isDefault.ulPropTag == PR_DEFAULT_STORE && isDefault.Value.b;
    }
    CString strName;
    CMAPIEx::GetValidStringA(row.lpProps[nStoreDisplayName], strName);
    return strName.Find(szStore) >= 0;
}

LONG ReadStoreLong(IMsgStore* pStore, ULONG ulPropTag)
{
    ScopedBuffer<SPropValue> value;
    return mapipim::ReadSingleProperty(pStore, ulPropTag, 0, value) ? value->Value.l : 0;
}
} // namespace

BOOL CMAPIEx::OpenMessageStore(LPCWSTR szStore, ULONG ulFlags)
{
    if (!m_pSession)
        return FALSE;
    ScopedInterface<IMAPITable> stores;
    if (m_pSession->GetMsgStoresTable(0, &stores.Receive()) != S_OK || !stores)
    {
        LOGTRACE(_T("[MAPI] Failed : OpenMessageStore - GetMsgStoresTable : %s, %d"), szStore, ulFlags);
        return FALSE;
    }
    SizedSPropTagArray(nStoreColumns, columns) = {nStoreColumns, {PR_DISPLAY_NAME_A, PR_ENTRYID, PR_DEFAULT_STORE}};
    if (stores->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0) != S_OK)
    {
        LOGTRACE(_T("[MAPI] Failed : OpenMessageStore - SetColumns : %s, %d"), szStore, ulFlags);
        return FALSE;
    }
    ScopedRows rows;
    while (stores->QueryRows(1, 0, &rows.Receive()) == S_OK && rows.Get() && rows->cRows == 1)
    {
        SRow& row = rows->aRow[0];
        if (IsChosenStore(row, szStore))
            return OpenMessageStore(row.lpProps[nStoreEntryID].Value.bin, ulFlags);
    }
    return FALSE;
}

BOOL CMAPIEx::OpenMessageStore(SBinary& entryID, ULONG ulFlags)
{
    if (!m_pSession)
        return FALSE;
    m_ulMDBFlags = ulFlags;
    if (!ReplaceMessageStore(entryID))
    {
        CString strEntryID;
        GetSBinaryToString(strEntryID, entryID);
        LOGTRACE(_T("[MAPI] OpenMessageStore - OpenMsgStore failed : %s"), strEntryID);
        return FALSE;
    }
    mapipim::SwitchToAnsiOnlyUnlessUnicode(GetMessageStoreSupport());
    return TRUE;
}

BOOL CMAPIEx::ReplaceMessageStore(SBinary& entryID)
{
    m_pState->ForgetUnmappedNames();
    // The store already open stays: closing and reopening it would cost its database and end its advise.
    const SBinary* pOpenStore = m_pState->GetOpenStore();
    if (m_pMsgStore && pOpenStore &&
        CompareEntryIDs(pOpenStore->cb, reinterpret_cast<LPENTRYID>(pOpenStore->lpb), entryID.cb,
                        reinterpret_cast<LPENTRYID>(entryID.lpb)))
        return TRUE;
    // An advise belongs to the store object it was made on: that object is kept, still calling the host, until
    // the next Notify or Logout ends the advise on it. Ending it here would silence the host without a word.
    m_pState->KeepAdvisedStore(m_pMsgStore, m_ulConnection);
    if (m_pMsgStore)
        m_pMsgStore->Release();
    m_pMsgStore = NULL;
    m_pState->SetOpenStore(NULL);
    if (!m_pSession)
        return FALSE;

    ScopedInterface<IMsgStore> store;
    if (m_pSession->OpenMsgStore(0, entryID.cb, reinterpret_cast<LPENTRYID>(entryID.lpb), NULL,
                                 MDB_NO_DIALOG | MAPI_BEST_ACCESS, &store.Receive()) != S_OK ||
        !store)
        return FALSE;
    m_pMsgStore = store.Detach();
    m_pState->SetOpenStore(&entryID);
    return TRUE;
}

ULONG CMAPIEx::GetMessageStoreSupport()
{
    return static_cast<ULONG>(ReadStoreLong(m_pMsgStore, PR_STORE_SUPPORT_MASK));
}

LONG CMAPIEx::GetMessageStoreState()
{
    return ReadStoreLong(m_pMsgStore, PR_STORE_STATE);
}
