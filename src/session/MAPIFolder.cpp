// CMAPIFolder: one open MAPI folder, its hierarchy table walked one sub folder at a time and its contents table
// walked one item at a time from batches of rows.
#include <mapipim/MAPIFolder.h>
#include <mapipim/MAPIEx.h>

#include "session/FolderEntry.h"
#include "session/Scoped.h"
#include "session/StringValue.h"

using mapipim::ScopedInterface;
using mapipim::ScopedRows;

namespace
{
enum HierarchyColumn
{
    nHierarchyDisplayName,
    nHierarchyEntryID,
    nHierarchyColumns
};

enum ContentsColumn
{
    nContentsMessageFlags,
    nContentsEntryID,
    nContentsColumns
};

// The entry identifier column of a row, or null when the row holds none (the column came back as an error).
SBinary* RowEntryID(SRow& row, ULONG nColumn)
{
    if (row.cValues <= nColumn || row.lpProps[nColumn].ulPropTag != PR_ENTRYID)
        return NULL;
    return &row.lpProps[nColumn].Value.bin;
}

// Keeps a table that was just opened when it takes its columns; releases it and gives null otherwise.
IMAPITable* WithColumns(HRESULT hrOpened, IMAPITable* pOpened, LPSPropTagArray pColumns)
{
    ScopedInterface<IMAPITable> table(pOpened);
    if (hrOpened != S_OK || !table || table->SetColumns(pColumns, 0) != S_OK)
        return NULL;
    return table.Detach();
}

void ReleaseTable(IMAPITable*& pTable)
{
    if (pTable)
        pTable->Release();
    pTable = NULL;
}
} // namespace

CMAPIFolder::CMAPIFolder()
    : m_pHierarchy(NULL), m_pContents(NULL), m_nRowsPerQuery(512), m_nRowIndex(0), m_pRows(NULL), m_hrLastFetch(S_OK)
{
}

CMAPIFolder::CMAPIFolder(CMAPIEx* pMAPI, IMAPIFolder* pFolder, LPCWSTR szName) : CMAPIFolder()
{
    Attach(pMAPI, pFolder, szName);
}

CMAPIFolder::~CMAPIFolder()
{
    CMAPIFolder::Close();
}

void CMAPIFolder::Close()
{
    FreeRows();
    m_hrLastFetch = S_OK;
    ReleaseTable(m_pHierarchy);
    ReleaseTable(m_pContents);
    CMAPIItem::Close();
}

void CMAPIFolder::FreeRows()
{
    if (m_pRows)
        FreeProws(m_pRows);
    m_pRows = NULL;
    m_nRowIndex = 0;
}

void CMAPIFolder::Attach(CMAPIEx* pMAPI, IMAPIFolder* pFolder, LPCWSTR szName)
{
    Close();
    m_pMAPI = pMAPI;
    m_pItem = pFolder;
    m_strName = szName;
    // Reads PR_ENTRYID into the emptied cache (an unreadable identifier leaves it empty) and finds the store.
    IdentifyObject();
}

IMAPIFolder* CMAPIFolder::Detach()
{
    IMAPIFolder* pFolder = GetMAPIFolder();
    m_pItem = NULL;
    return pFolder;
}

IMAPITable* CMAPIFolder::GetHierarchy()
{
    SizedSPropTagArray(nHierarchyColumns, columns) = {nHierarchyColumns, {StringTag(PR_DISPLAY_NAME_W), PR_ENTRYID}};
    return GetHierarchy(reinterpret_cast<LPSPropTagArray>(&columns), 0);
}

IMAPITable* CMAPIFolder::GetHierarchy(LPSPropTagArray pColumns, ULONG ulFlags)
{
    IMAPIFolder* pFolder = GetMAPIFolder();
    if (!pFolder)
        return NULL;
    ReleaseTable(m_pHierarchy);
    IMAPITable* pTable = NULL;
    const HRESULT hr = pFolder->GetHierarchyTable(ulFlags, &pTable);
    m_pHierarchy = WithColumns(hr, pTable, pColumns);
    return m_pHierarchy;
}

IMAPITable* CMAPIFolder::GetContents()
{
    IMAPIFolder* pFolder = GetMAPIFolder();
    if (!pFolder)
        return NULL;
    ReleaseTable(m_pContents);
    // Rows left from the previous table would otherwise be handed out as if they were this table's.
    FreeRows();
    m_hrLastFetch = S_OK;
    SizedSPropTagArray(nContentsColumns, columns) = {nContentsColumns, {PR_MESSAGE_FLAGS, PR_ENTRYID}};
    IMAPITable* pTable = NULL;
    const HRESULT hr = pFolder->GetContentsTable(GetStringFlags(), &pTable);
    m_pContents = WithColumns(hr, pTable, reinterpret_cast<LPSPropTagArray>(&columns));
    return m_pContents;
}

int CMAPIFolder::GetRowCount()
{
    ULONG ulCount = 0;
    if (!m_pContents || m_pContents->GetRowCount(0, &ulCount) != S_OK)
        return -1;
    return static_cast<int>(ulCount);
}

BOOL CMAPIFolder::SortContents(ULONG ulSortParam, ULONG ulSortField)
{
    if (!m_pContents)
        return FALSE;
    SizedSSortOrderSet(1, sortOrder) = {1, 0, 0, {{ulSortField, ulSortParam}}};
    return m_pContents->SortTable(reinterpret_cast<LPSSortOrderSet>(&sortOrder), 0) == S_OK;
}

BOOL CMAPIFolder::SetUnreadOnly(BOOL bUnreadOnly)
{
    if (!bUnreadOnly)
        return SetRestriction(NULL);
    SRestriction unread = {};
    unread.rt = RES_BITMASK;
    unread.res.resBitMask.relBMR = BMR_EQZ;
    unread.res.resBitMask.ulPropTag = PR_MESSAGE_FLAGS;
    unread.res.resBitMask.ulMask = MSGFLAG_READ;
    return SetRestriction(&unread);
}

BOOL CMAPIFolder::SetRestriction(SRestriction* pRestriction)
{
    if (!m_pContents)
        return FALSE;
    return m_pContents->Restrict(pRestriction, 0) == S_OK;
}

SRow* CMAPIFolder::NextContentsRow()
{
    if (m_pRows && m_nRowIndex < m_pRows->cRows)
        return &m_pRows->aRow[m_nRowIndex++];
    FreeRows();
    if (!m_pContents)
    {
        m_hrLastFetch = MAPI_E_INVALID_OBJECT;
        return NULL;
    }
    m_hrLastFetch = m_pContents->QueryRows(m_nRowsPerQuery, 0, &m_pRows);
    if (m_hrLastFetch == S_OK && !m_pRows)
        m_hrLastFetch = MAPI_E_CALL_FAILED;
    if (m_hrLastFetch != S_OK || m_pRows->cRows == 0)
    {
        FreeRows();
        return NULL;
    }
    return &m_pRows->aRow[m_nRowIndex++];
}

BOOL CMAPIFolder::GetNextContents(CMAPIItem* pItem)
{
    if (!pItem)
        return FALSE;
    // A row whose item cannot be opened (deleted meanwhile, or damaged) is passed over: only the end of the
    // table or a failed fetch ends the walk, and GetLastFetchResult tells those two apart.
    while (SRow* pRow = NextContentsRow())
    {
        SBinary* pEntryID = RowEntryID(*pRow, nContentsEntryID);
        if (pEntryID && pItem->OpenFromRow(m_pMAPI, *pEntryID, GetStoreFacts()))
            return TRUE;
    }
    return FALSE;
}

BOOL CMAPIFolder::GetNextSubFolder(CMAPIFolder& subFolder, CString& strFolderName)
{
    // A detached folder keeps its hierarchy table but has no folder left to open the rows with; a folder cannot
    // walk into itself, since closing the sub folder would close the walk.
    if (!m_pHierarchy || !GetMAPIFolder() || &subFolder == this)
        return FALSE;
    subFolder.Close();
    ScopedRows rows;
    if (m_pHierarchy->QueryRows(1, 0, &rows.Receive()) != S_OK || !rows.Get() || rows->cRows == 0)
        return FALSE;
    SRow& row = rows->aRow[0];

    SBinary* pEntryID = RowEntryID(row, nHierarchyEntryID);
    IMAPIFolder* pFolder = pEntryID ? mapipim::OpenFolderEntry(GetMAPIFolder(), *pEntryID, MAPI_MODIFY) : NULL;

    if (row.cValues > nHierarchyDisplayName)
        strFolderName = mapipim::StringOf(row.lpProps[nHierarchyDisplayName]);
    else
        strFolderName.Empty();
    subFolder.Attach(m_pMAPI, pFolder, strFolderName);
    return TRUE;
}

CMAPIFolder* CMAPIFolder::OpenSubFolder(LPCWSTR szFolderName)
{
    if (!szFolderName || !GetHierarchy())
        return NULL;
    CMAPIFolder subFolder;
    CString strName;
    while (GetNextSubFolder(subFolder, strName))
    {
        // A match that could not be opened is no result; the search goes on.
        if (strName.CompareNoCase(szFolderName) == 0 && subFolder.GetMAPIFolder())
            return mapipim::NewFolderObject(m_pMAPI, subFolder.Detach());
        if (CMAPIFolder* pFound = subFolder.OpenSubFolder(szFolderName))
            return pFound;
    }
    return NULL;
}

BOOL CMAPIFolder::OpenSubFolder(SBinary& entryID, CMAPIFolder& subFolder)
{
    if (&subFolder == this)
        return FALSE;
    IMAPIFolder* pFolder = mapipim::OpenFolderEntry(GetMAPIFolder(), entryID, MAPI_MODIFY);
    if (!pFolder)
        return FALSE;
    subFolder.Attach(m_pMAPI, pFolder, _T(""));
    return TRUE;
}

BOOL CMAPIFolder::MoveMessage(SBinary* pEntryID, CMAPIFolder* pDestination)
{
    IMAPIFolder* pFolder = GetMAPIFolder();
    if (!pFolder || !pEntryID || !pDestination || !pDestination->GetMAPIFolder())
        return FALSE;
    ENTRYLIST messages = {1, pEntryID};
    return pFolder->CopyMessages(&messages, NULL, pDestination->GetMAPIFolder(), 0, NULL, MESSAGE_MOVE) == S_OK;
}

BOOL CMAPIFolder::DeleteMessage(SBinary* pEntryID)
{
    IMAPIFolder* pFolder = GetMAPIFolder();
    if (!pFolder || !pEntryID)
        return FALSE;
    ENTRYLIST messages = {1, pEntryID};
    return pFolder->DeleteMessages(&messages, 0, NULL, 0) == S_OK;
}
