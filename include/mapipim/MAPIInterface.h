// CMAPIInterface: the object a host creates to use the library. It logs on to the default profile, discovers
// stores and folders, reads and writes items through records, handles attachments, reports progress with
// registered window messages and stops long operations when the host sets the cancel flag.
#pragma once

#include <mapipim/MAPIEx.h>
#include <mapipim/OutlookStore.h>
#include <mapipim/MAPIContactInfo.h>
#include <mapipim/MAPIScheduleInfo.h>
#include <mapipim/MAPIMemoInfo.h>
#include <mapipim/MAPITodoInfo.h>
#include <mapipim/MAPIEmailInfo.h>
#include <mapipim/Interop.h>

class CMAPIFolder;

class MAPIPIM_API CMAPIInterface
{
public:
    CMAPIInterface();
    virtual ~CMAPIInterface();

    CMAPIInterface(const CMAPIInterface&) = delete;
    CMAPIInterface& operator=(const CMAPIInterface&) = delete;

    // ---- Progress window and cancellation
    void SetMsgHwnd(HWND hWnd) { m_hMsgWnd = hWnd; }
    static void SetCancel(BOOL bCancel) { m_bCancel = bCancel; }
    static BOOL IsCancel() { return m_bCancel; }

    // The pause after each item, store and stream chunk (default 1 ms; 0 turns the pauses off), for hosts
    // without a user interface thread to keep responsive.
    static void SetYield(int nMilliseconds);
    static int GetYield();

    // ---- Store and folder discovery
    BOOL GetAllStoreInfo(CArray<COutlookStore*, COutlookStore*>& arrStores, int nReserved, LPCWSTR szStoreName);
    BOOL GetStoreFolder(CArray<COutlookStore*, COutlookStore*>& arrStores, ULONG ulFlags, LPCWSTR szStoreName);
    BOOL GetDefaultStoreFolder(CArray<COutlookStore*, COutlookStore*>& arrStores, ULONG ulFlags);

    // ---- Contacts
    BOOL GetContact(COutlookFolder* pFolder, CArray<CMAPIContactInfo*, CMAPIContactInfo*>& arrContacts,
                    ULONG ulFlags);
    BOOL GetContact(CMAPIContactInfo* pContact, ULONG ulFlags);
    BOOL CreateContact(COutlookFolder* pFolder, CMAPIContactInfo* pContact);
    BOOL ModifyContact(COutlookFolder* pFolder, CMAPIContactInfo* pContact);
    BOOL DeleteContact(COutlookFolder* pFolder, CMAPIContactInfo* pContact, int bMoveToDeletedItems);
    int GetRowCount(COutlookFolder* pFolder);

    // ---- Schedules (appointments)
    BOOL GetSchedule(COutlookFolder* pFolder, CArray<CMAPIScheduleInfo*, CMAPIScheduleInfo*>& arrSchedules,
                     ULONG ulFlags);
    BOOL GetSchedule(CMAPIScheduleInfo* pSchedule, ULONG ulFlags);
    BOOL CreateSchedule(COutlookFolder* pFolder, CMAPIScheduleInfo* pSchedule);
    BOOL ModifySchedule(COutlookFolder* pFolder, CMAPIScheduleInfo* pSchedule);
    BOOL DeleteSchedule(COutlookFolder* pFolder, CMAPIScheduleInfo* pSchedule, int bMoveToDeletedItems);
    // ---- Tasks
    BOOL GetTodo(COutlookFolder* pFolder, CArray<CMAPITodoInfo*, CMAPITodoInfo*>& arrTodos, ULONG ulFlags);
    BOOL GetTodo(CMAPITodoInfo* pTodo, ULONG ulFlags);
    BOOL CreateTodo(COutlookFolder* pFolder, CMAPITodoInfo* pTodo);
    BOOL ModifyTodo(COutlookFolder* pFolder, CMAPITodoInfo* pTodo);
    BOOL DeleteTodo(COutlookFolder* pFolder, CMAPITodoInfo* pTodo, int bMoveToDeletedItems);

    // ---- Sticky notes
    BOOL GetMemo(COutlookFolder* pFolder, CArray<CMAPIMemoInfo*, CMAPIMemoInfo*>& arrMemos, ULONG ulFlags);
    BOOL GetMemo(CMAPIMemoInfo* pMemo, ULONG ulFlags);
    BOOL CreateMemo(COutlookFolder* pFolder, CMAPIMemoInfo* pMemo);
    BOOL ModifyMemo(COutlookFolder* pFolder, CMAPIMemoInfo* pMemo);
    BOOL DeleteMemo(COutlookFolder* pFolder, CMAPIMemoInfo* pMemo, int bMoveToDeletedItems);
    // ---- E-mails. CreateEmail sets the record's nMsgState from the folder's type first (Outbox: to be sent,
    // Drafts: unsent, ...); DeleteEmail removes for good from Deleted Items, and takes a message waiting to be
    // sent out of the queue before it deletes it.
    BOOL GetEmail(COutlookFolder* pFolder, CArray<CMAPIEmailInfo*, CMAPIEmailInfo*>& arrEmails, ULONG ulFlags);
    BOOL GetEmail(CMAPIEmailInfo* pEmail, ULONG ulFlags);
    BOOL CreateEmail(COutlookFolder* pFolder, CMAPIEmailInfo* pEmail);
    BOOL ModifyEmail(COutlookFolder* pFolder, CMAPIEmailInfo* pEmail);
    BOOL DeleteEmail(COutlookFolder* pFolder, CMAPIEmailInfo* pEmail, int bMoveToDeletedItems);

    // ---- Attachments of any item, by entry identifier
    int GetAttachmentCount(SBinary& entryID);
    int GetAttachmentCID(SBinary& entryID, CString& strCID, int nIndex);
    int GetAttachmentName(SBinary& entryID, CString& strNames, int nIndex, int nFilter);
    int SaveAttachment(SBinary& entryID, LPCWSTR szPath, int nIndex, int nFilter);
    int DeleteAttachment(SBinary& entryID, int nIndex, int nFilter);

    // ---- Outlook item files (.msg), described in MsgFile.h
    BOOL ImportItem(COutlookFolder* pFolder, LPCWSTR szPath, CString& strEntryID);
    BOOL ExportItem(SBinary entryID, LPCWSTR szPath);

    // ---- iCalendar and vCard files (Linux builds; see Interop.h)
    MAPIPIM_INTEROP_MEMBERS

    static int m_bCancel;

protected:
    LRESULT SendMsg(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT PostMsg(UINT msg, WPARAM wParam, LPARAM lParam);

    BOOL GetStoreSubFolder(CArray<COutlookStore*, COutlookStore*>& arrStores, ULONG& ulFlags);
    BOOL GetStoreSubFolder(CMAPIFolder* pFolder, int nDepth, COutlookStore* pStore, ULONG& ulType, BOOL& bCount);

    CMAPIEx m_MAPI;
    BOOL m_bMAPIInit;
    HWND m_hMsgWnd;
};

// The four registered progress messages, numbered at library load.
MAPIPIM_API extern UINT WM_MAPI_GET_STOREINFO;
MAPIPIM_API extern UINT WM_MAPI_GET_FOLDERINFO;
MAPIPIM_API extern UINT WM_MAPI_GET_CONTENTS;
MAPIPIM_API extern UINT WM_MAPI_GET_CONTENTS_END;
