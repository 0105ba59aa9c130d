// CMAPIEx: the MAPI session object. It owns the logged-on session, the open message store and the session's
// current folder, and carries the process-wide switches that tell every layer how to read MAPI strings.
#pragma once

#include <mapipim/platform.h>

class CMAPIFolder;
namespace mapipim
{
class SessionState;
}

class MAPIPIM_API CMAPIEx
{
public:
    CMAPIEx();
    ~CMAPIEx();

    CMAPIEx(const CMAPIEx&) = delete;
    CMAPIEx& operator=(const CMAPIEx&) = delete;

    // ---- Session and profiles
    static BOOL Init(int bMultiThreadedNotifications = FALSE, int bInitAsService = FALSE);
    static void Term();
    BOOL Login(LPCWSTR szProfileName = NULL, BOOL bInitAsService = FALSE);
    void Logout();
    BOOL CreateProfile(LPCWSTR szProfileName);
    BOOL DeleteProfile(LPCWSTR szProfileName);
    BOOL GetProfileName(CString& strProfileName);

    IMAPISession* GetSession() { return m_pSession; }
    IMsgStore* GetMessageStore() { return m_pMsgStore; }
    CMAPIFolder* GetFolder() { return m_pFolder; }
    void SetFolder(CMAPIFolder* pFolder);

    static void PumpMessages();

    // The library's own state of the session: the identifier of the open store and what it learned about each
    // store (string width, named-property map). Not for hosts.
    mapipim::SessionState* GetSessionState() { return m_pState; }

    // ---- String helpers: m_bOnlyANSIOnUnicode alone decides between 8-bit and UTF-16 reading.
    static void GetValidString(SPropValue& prop, CString& strValue);
    static void GetValidStringA(SPropValue& prop, CString& strValue);
    static void GetValidMVString(SPropValue& prop, CString& strValue, int nIndex);
    static void GetUnicodeString(CString& strValue, char* lpszA);

    // ---- Message stores
    BOOL OpenMessageStore(LPCWSTR szStore = NULL, ULONG ulFlags = MAPI_BEST_ACCESS | MDB_NO_DIALOG);
    BOOL OpenMessageStore(SBinary& entryID, ULONG ulFlags = MAPI_BEST_ACCESS | MDB_NO_DIALOG);
    ULONG GetMessageStoreSupport();
    LONG GetMessageStoreState();

    // ---- Folders. Members returning a folder hand it to the caller unless bSetCurrent makes it current.
    CMAPIFolder* OpenFolder(ULONG ulFolderID, int bSetCurrent);
    CMAPIFolder* OpenFolder(LPCWSTR szFolderName, int bSetCurrent);
    BOOL OpenFolder(ULONG ulFolderID, CMAPIFolder& folder);
    BOOL OpenFolder(SBinary& storeEntryID, SBinary& folderEntryID, CMAPIFolder& folder);
    CMAPIFolder* OpenSpecialFolder(ULONG ulFolderID, int bSetCurrent);
    CMAPIFolder* OpenRootFolder(int bSetCurrent);
    CMAPIFolder* OpenInbox(int bSetCurrent);
    CMAPIFolder* OpenOutbox(int bSetCurrent);
    CMAPIFolder* OpenSentItems(int bSetCurrent);
    CMAPIFolder* OpenDeletedItems(int bSetCurrent);
    CMAPIFolder* OpenContacts(int bSetCurrent);
    CMAPIFolder* OpenDrafts(int bSetCurrent);
    CMAPIFolder* OpenCalendar(int bSetCurrent);

    // ---- Forwarded to the current folder
    IMAPITable* GetHierarchy();
    IMAPITable* GetContents();
    int GetRowCount();
    BOOL SortContents(ULONG ulSortParam, ULONG ulSortField);
    BOOL SetUnreadOnly(BOOL bUnreadOnly);
    BOOL SetRestriction(SRestriction* pRestriction);
    BOOL GetNextSubFolder(CMAPIFolder& subFolder, CString& strFolderName);

    // ---- Address book, entry identifiers and notifications
    BOOL Notify(LPNOTIFCALLBACK lpfnCallback, LPVOID lpvContext, ULONG ulEventMask);
    int ShowAddressBook(LPADRLIST& pAddressList, LPCWSTR szCaption = NULL);
    static void ReleaseAddressList(LPADRLIST pAddressList);
    BOOL GetEmail(ADRENTRY& adrEntry, CString& strEmail);
    BOOL GetExEmail(SBinary entryID, CString& strEmail);
    BOOL GetProfileEmail(CString& strEmail);
    ULONG CompareEntryIDs(ULONG cb1, LPENTRYID lpEntryID1, ULONG cb2, LPENTRYID lpEntryID2);

    // ---- Process-wide state
    static int m_nMAPICode;          // MAPI_UNICODE until a store without Unicode support is met, then 0
    static int m_bOnlyANSIOnUnicode; // 1 once such a store was met; never switched back
    static CString m_strTMKeyName;   // registry key name of the machine's time zone

    // Releases the open store (an advise made on it lives on until the next Notify or Logout) and opens the one
    // entryID names, without a dialog; a store listing opens each store it lists this way.
    // Leaves m_ulMDBFlags and the process's Unicode mode alone and traces nothing.
    BOOL ReplaceMessageStore(SBinary& entryID);

protected:
    static LPCWSTR ValidateString(LPCWSTR lpsz);

    IMAPISession* m_pSession;
    IMsgStore* m_pMsgStore;
    ULONG m_ulMDBFlags;
    CMAPIFolder* m_pFolder;
    ULONG m_ulConnection;
    mapipim::SessionState* m_pState;
};

// The registry key name of the machine's time zone; 1 when it was found.
MAPIPIM_API int GetLocalTimeZoneKeyName(CString& strName);
