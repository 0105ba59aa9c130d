// CMAPIEx: the session, its profiles and the string helpers. The store, folder and address-book members live
// in files of their own.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>

#include "platform/platform.h"
#include "platform/TimeZoneKeyName.h"
#include "session/AnsiText.h"
#include "session/Scoped.h"
#include "session/SessionState.h"
#include "session/StringMode.h"

using mapipim::AnsiText;
using mapipim::ScopedInterface;
using mapipim::ScopedRows;

int CMAPIEx::m_nMAPICode = static_cast<int>(MAPI_UNICODE);
int CMAPIEx::m_bOnlyANSIOnUnicode = FALSE;
// Constructed empty as the library loads and destroyed as it unloads; the records read it through the platform.
CString CMAPIEx::m_strTMKeyName;

namespace
{
const ULONG ulDefaultMDBFlags = MAPI_BEST_ACCESS | MAPI_MODIFY;
const ULONG ulLoginFlags = MAPI_NEW_SESSION | MAPI_EXTENDED | MAPI_USE_DEFAULT;
const ULONG ulServiceLoginFlags = MAPI_EXPLICIT_PROFILE | MAPI_NT_SERVICE;

// A property value whose string pointer may be read: a failed column or property holds an error code there.
bool HoldsString(const SPropValue& prop)
{
    return PROP_TYPE(prop.ulPropTag) != PT_ERROR;
}

// The profile administration object; profile names reach it as 8-bit text, since it is not asked for Unicode.
bool OpenProfileAdmin(ScopedInterface<IProfAdmin>& admin)
{
    return MAPIAdminProfiles(0, &admin.Receive()) == S_OK && admin;
}

bool IsReadableA(LPCSTR lpsz)
{
    return lpsz != nullptr && !IsBadStringPtrA(lpsz, static_cast<UINT_PTR>(0xFFFFFFFF));
}

[[maybe_unused]] const bool bKeyNameBound = (mapipim::BindTimeZoneKeyName(&CMAPIEx::m_strTMKeyName), true);
} // namespace

CMAPIEx::CMAPIEx()
    : m_pSession(NULL), m_pMsgStore(NULL), m_ulMDBFlags(ulDefaultMDBFlags), m_pFolder(NULL), m_ulConnection(0),
      m_pState(new mapipim::SessionState)
{
    GetLocalTimeZoneKeyName(m_strTMKeyName);
}

CMAPIEx::~CMAPIEx()
{
    Logout();
    delete m_pState;
}

BOOL CMAPIEx::Init(int bMultiThreadedNotifications, int bInitAsService)
{
    ULONG ulFlags = 0;
    if (bMultiThreadedNotifications)
        ulFlags |= MAPI_MULTITHREAD_NOTIFICATIONS;
    if (bInitAsService)
        ulFlags |= MAPI_NT_SERVICE;
    if (ulFlags == 0)
        return MAPIInitialize(NULL) == S_OK;
    MAPIINIT_0 init = {MAPI_INIT_VERSION, ulFlags};
    return MAPIInitialize(&init) == S_OK;
}

void CMAPIEx::Term()
{
    MAPIUninitialize();
}

BOOL CMAPIEx::Login(LPCWSTR szProfileName, BOOL bInitAsService)
{
    if (m_pSession)
        Logout();
    const ULONG ulFlags = bInitAsService ? ulLoginFlags | ulServiceLoginFlags : ulLoginFlags;
    // Without MAPI_UNICODE, MAPI reads the profile name as 8-bit text.
    AnsiText profileName(szProfileName);
    // A failing logon may still have stored a session; it is released and the object stays logged out.
    ScopedInterface<IMAPISession> session;
    if (MAPILogonEx(0, reinterpret_cast<LPTSTR>(profileName.Get()), NULL, ulFlags, &session.Receive()) != S_OK ||
        !session)
        return FALSE;
    m_pSession = session.Detach();
    return TRUE;
}

void CMAPIEx::Logout()
{
    m_pState->EndAdvise(m_pMsgStore, m_ulConnection);
    SetFolder(NULL);
    if (m_pMsgStore)
        m_pMsgStore->Release();
    m_pMsgStore = NULL;
    m_pState->SetOpenStore(NULL);
    if (m_pSession)
        m_pSession->Release();
    m_pSession = NULL;
}

BOOL CMAPIEx::CreateProfile(LPCWSTR szProfileName)
{
    ScopedInterface<IProfAdmin> admin;
    if (!OpenProfileAdmin(admin))
        return FALSE;
    AnsiText profileName(szProfileName);
    return admin->CreateProfile(reinterpret_cast<LPTSTR>(profileName.Get()), NULL, 0, 0) == S_OK;
}

BOOL CMAPIEx::DeleteProfile(LPCWSTR szProfileName)
{
    ScopedInterface<IProfAdmin> admin;
    if (!OpenProfileAdmin(admin))
        return FALSE;
    AnsiText profileName(szProfileName);
    return admin->DeleteProfile(reinterpret_cast<LPTSTR>(profileName.Get()), 0) == S_OK;
}

BOOL CMAPIEx::GetProfileName(CString& strProfileName)
{
    strProfileName.Empty();
    if (!m_pSession)
        return FALSE;
    ScopedInterface<IMAPITable> statusTable;
    if (m_pSession->GetStatusTable(0, &statusTable.Receive()) != S_OK || !statusTable)
        return FALSE;

    enum
    {
        nDisplayName,
        nResourceType,
        nColumns
    };
    SizedSPropTagArray(nColumns, columns) = {nColumns, {mapipim::StoreStringTag(PR_DISPLAY_NAME_W), PR_RESOURCE_TYPE}};
    if (statusTable->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0) != S_OK)
        return FALSE;

    ScopedRows rows;
    while (statusTable->QueryRows(1, 0, &rows.Receive()) == S_OK && rows.Get() && rows->cRows == 1)
    {
        const SRow& row = rows->aRow[0];
        if (row.cValues < nColumns)
            continue;
        const SPropValue& resourceType = row.lpProps[nResourceType];
        if (resourceType.ulPropTag == PR_RESOURCE_TYPE && resourceType.Value.ul == MAPI_SUBSYSTEM)
        {
            GetValidString(row.lpProps[nDisplayName], strProfileName);
            return TRUE;
        }
    }
    return FALSE;
}

void CMAPIEx::SetFolder(CMAPIFolder* pFolder)
{
    // Handing back the current folder keeps it; deleting it would leave the session pointing at freed memory.
    if (pFolder == m_pFolder)
        return;
    delete m_pFolder;
    m_pFolder = pFolder;
}

void CMAPIEx::PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

LPCWSTR CMAPIEx::ValidateString(LPCWSTR lpsz)
{
    if (lpsz && !IsBadStringPtrW(lpsz, static_cast<UINT_PTR>(0xFFFFFFFF)))
        return lpsz;
    return NULL;
}

void CMAPIEx::GetValidString(SPropValue& prop, CString& strValue)
{
    strValue.Empty();
    if (!HoldsString(prop))
        return;
    if (m_bOnlyANSIOnUnicode)
    {
        if (IsReadableA(prop.Value.lpszA))
            GetUnicodeString(strValue, prop.Value.lpszA);
        return;
    }
    strValue = ValidateString(prop.Value.lpszW);
}

void CMAPIEx::GetValidStringA(SPropValue& prop, CString& strValue)
{
    strValue.Empty();
    if (HoldsString(prop) && IsReadableA(prop.Value.lpszA))
        GetUnicodeString(strValue, prop.Value.lpszA);
}

void CMAPIEx::GetValidMVString(SPropValue& prop, CString& strValue, int nIndex)
{
    strValue.Empty();
    // The value count is checked although callers stay below it: an index past the end would read foreign memory.
    if (!HoldsString(prop) || nIndex < 0 || static_cast<ULONG>(nIndex) >= prop.Value.MVszW.cValues)
        return;
    if (m_bOnlyANSIOnUnicode)
    {
        if (prop.Value.MVszA.lppszA && IsReadableA(prop.Value.MVszA.lppszA[nIndex]))
            GetUnicodeString(strValue, prop.Value.MVszA.lppszA[nIndex]);
        return;
    }
    if (prop.Value.MVszW.lppszW)
        strValue = ValidateString(prop.Value.MVszW.lppszW[nIndex]);
}

void CMAPIEx::GetUnicodeString(CString& strValue, char* lpszA)
{
    strValue.Empty();
    if (!lpszA)
        return;
    const int nChars = MultiByteToWideChar(CP_ACP, 0, lpszA, -1, NULL, 0);
    if (nChars <= 1)
        return;
    LPWSTR lpszBuffer = strValue.GetBuffer(nChars);
    const int nConverted = MultiByteToWideChar(CP_ACP, 0, lpszA, -1, lpszBuffer, nChars);
    strValue.ReleaseBuffer(nConverted > 0 ? nConverted - 1 : 0);
}
