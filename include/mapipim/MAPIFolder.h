// CMAPIFolder: one open MAPI folder. Walks its hierarchy table (sub folders) and its contents table (items),
// sorts and restricts the contents, finds a sub folder by name, and moves or deletes single messages.
#pragma once

#include <mapipim/MAPIItem.h>

class MAPIPIM_API CMAPIFolder : public CMAPIItem
{
public:
    CMAPIFolder();
    CMAPIFolder(CMAPIEx* pMAPI, IMAPIFolder* pFolder, LPCWSTR szName);
    ~CMAPIFolder() override;

    void Close() override;
    void Attach(CMAPIEx* pMAPI, IMAPIFolder* pFolder, LPCWSTR szName);
    IMAPIFolder* Detach();
    LPCWSTR GetName() { return m_strName; }

    IMAPITable* GetHierarchy();
    // The hierarchy table with the caller's columns and GetHierarchyTable flags (CONVENIENT_DEPTH: every level
    // below, depth first); it replaces the folder's hierarchy table, which the folder keeps and releases.
    IMAPITable* GetHierarchy(LPSPropTagArray pColumns, ULONG ulFlags);
    IMAPITable* GetContents();
    int GetRowCount();
    BOOL SortContents(ULONG ulSortParam, ULONG ulSortField);
    BOOL SetUnreadOnly(BOOL bUnreadOnly);
    BOOL SetRestriction(SRestriction* pRestriction);

    BOOL GetNextContents(CMAPIItem* pItem);
    // The result of the last contents fetch: S_OK at a normal end of the table, the failure otherwise, so that
    // a caller can tell a truncated walk from a complete one.
    HRESULT GetLastFetchResult() const { return m_hrLastFetch; }
    BOOL GetNextSubFolder(CMAPIFolder& subFolder, CString& strFolderName);
    CMAPIFolder* OpenSubFolder(LPCWSTR szFolderName);
    // Opens the folder of a hierarchy row's entry identifier into subFolder (without a name); false when it is
    // no folder or cannot be opened.
    BOOL OpenSubFolder(SBinary& entryID, CMAPIFolder& subFolder);

    BOOL MoveMessage(SBinary* pEntryID, CMAPIFolder* pDestination);
    BOOL DeleteMessage(SBinary* pEntryID);

protected:
    IMAPIFolder* GetMAPIFolder() { return static_cast<IMAPIFolder*>(m_pItem); }
    // The next row of the contents walk, fetching the next batch when the current one is used up; null at the end
    // of the table or when a fetch failed (m_hrLastFetch tells which).
    SRow* NextContentsRow();
    void FreeRows();

    IMAPITable* m_pHierarchy;
    IMAPITable* m_pContents;
    int m_nRowsPerQuery;
    ULONG m_nRowIndex;
    SRowSet* m_pRows;
    CString m_strName;
    HRESULT m_hrLastFetch;
};
