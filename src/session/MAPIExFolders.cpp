// CMAPIEx: opening folders of the open store (by a store or Inbox property, by name, by entry identifier, by
// role) and the members that forward to the session's current folder.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>

#include "session/FolderEntry.h"
#include "session/Scoped.h"
#include "session/SingleProperty.h"

#include <memory>

using mapipim::OpenFolderEntry;
using mapipim::ScopedBuffer;

namespace
{
const ULONG ulStoreOpenFlags = MAPI_BEST_ACCESS | MDB_NO_DIALOG;

// The binary value of a property that GetProps returned in full.
bool IsBinaryValue(const ScopedBuffer<SPropValue>& value, ULONG ulPropTag)
{
    return value && value->ulPropTag == ulPropTag && PROP_TYPE(ulPropTag) == PT_BINARY;
}

// Opens the folder whose entry identifier the store keeps in the binary property ulFolderID.
IMAPIFolder* OpenFolderOfStoreProperty(IMsgStore* pStore, ULONG ulFolderID, ULONG ulFlags)
{
    ScopedBuffer<SPropValue> value;
    if (!mapipim::ReadSingleProperty(pStore, ulFolderID, static_cast<ULONG>(CMAPIEx::m_nMAPICode), value) ||
        !IsBinaryValue(value, ulFolderID))
        return NULL;
    return OpenFolderEntry(pStore, value->Value.bin, ulFlags);
}

// A new folder object around pFolder (whose reference it takes), handed to the caller or made current.
CMAPIFolder* WrapFolder(CMAPIEx& mapi, IMAPIFolder* pFolder, int bSetCurrent)
{
    CMAPIFolder* pWrapper = mapipim::NewFolderObject(&mapi, pFolder);
    if (pWrapper && bSetCurrent)
        mapi.SetFolder(pWrapper);
    return pWrapper;
}

// Hands an opened folder, without a name, to the caller's folder object; false when none was opened.
BOOL AttachFolder(CMAPIEx& mapi, IMAPIFolder* pFolder, CMAPIFolder& folder)
{
    if (!pFolder)
        return FALSE;
    folder.Attach(&mapi, pFolder, _T(""));
    return TRUE;
}
} // namespace

CMAPIFolder* CMAPIEx::OpenFolder(ULONG ulFolderID, int bSetCurrent)
{
    return WrapFolder(*this, OpenFolderOfStoreProperty(m_pMsgStore, ulFolderID, m_ulMDBFlags), bSetCurrent);
}

CMAPIFolder* CMAPIEx::OpenFolder(LPCWSTR szFolderName, int bSetCurrent)
{
    std::unique_ptr<CMAPIFolder> root(OpenRootFolder(FALSE));
    CMAPIFolder* pFolder = root ? root->OpenSubFolder(szFolderName) : NULL;
    if (bSetCurrent)
        SetFolder(pFolder);
    return pFolder;
}

BOOL CMAPIEx::OpenFolder(ULONG ulFolderID, CMAPIFolder& folder)
{
    return AttachFolder(*this, OpenFolderOfStoreProperty(m_pMsgStore, ulFolderID, m_ulMDBFlags), folder);
}

BOOL CMAPIEx::OpenFolder(SBinary& storeEntryID, SBinary& folderEntryID, CMAPIFolder& folder)
{
    if (!OpenMessageStore(storeEntryID, ulStoreOpenFlags))
        return FALSE;
    return AttachFolder(*this, OpenFolderEntry(m_pMsgStore, folderEntryID, m_ulMDBFlags), folder);
}

CMAPIFolder* CMAPIEx::OpenSpecialFolder(ULONG ulFolderID, int bSetCurrent)
{
    std::unique_ptr<CMAPIFolder> inbox(OpenInbox(FALSE));
    if (!inbox || !m_pMsgStore)
        return NULL;
    ScopedBuffer<SPropValue> value;
    if (inbox->GetProperty(ulFolderID, value.Receive()) != S_OK || !IsBinaryValue(value, ulFolderID))
        return NULL;
    IMAPIFolder* pFolder = OpenFolderEntry(m_pMsgStore, value->Value.bin, m_ulMDBFlags);
    value.Reset();
    inbox.reset();
    return WrapFolder(*this, pFolder, bSetCurrent);
}

CMAPIFolder* CMAPIEx::OpenRootFolder(int bSetCurrent)
{
    return OpenFolder(PR_IPM_SUBTREE_ENTRYID, bSetCurrent);
}

CMAPIFolder* CMAPIEx::OpenInbox(int bSetCurrent)
{
    if (!m_pMsgStore)
        return NULL;
    ULONG cb = 0;
    ScopedBuffer<ENTRYID> entryID;
    if (m_pMsgStore->GetReceiveFolder(NULL, 0, &cb, &entryID.Receive(), NULL) != S_OK || !entryID)
        return NULL;
    IMAPIFolder* pFolder = OpenFolderEntry(m_pMsgStore, cb, entryID.Get(), m_ulMDBFlags);
    entryID.Reset();
    return WrapFolder(*this, pFolder, bSetCurrent);
}

CMAPIFolder* CMAPIEx::OpenOutbox(int bSetCurrent)
{
    return OpenFolder(PR_IPM_OUTBOX_ENTRYID, bSetCurrent);
}

CMAPIFolder* CMAPIEx::OpenSentItems(int bSetCurrent)
{
    return OpenFolder(PR_IPM_SENTMAIL_ENTRYID, bSetCurrent);
}

CMAPIFolder* CMAPIEx::OpenDeletedItems(int bSetCurrent)
{
    return OpenFolder(PR_IPM_WASTEBASKET_ENTRYID, bSetCurrent);
}

CMAPIFolder* CMAPIEx::OpenContacts(int bSetCurrent)
{
    return OpenSpecialFolder(PR_IPM_CONTACT_ENTRYID, bSetCurrent);
}

CMAPIFolder* CMAPIEx::OpenDrafts(int bSetCurrent)
{
    return OpenSpecialFolder(PR_IPM_DRAFTS_ENTRYID, bSetCurrent);
}

CMAPIFolder* CMAPIEx::OpenCalendar(int bSetCurrent)
{
    return OpenSpecialFolder(PR_IPM_APPOINTMENT_ENTRYID, bSetCurrent);
}

IMAPITable* CMAPIEx::GetHierarchy()
{
    return m_pFolder ? m_pFolder->GetHierarchy() : NULL;
}

IMAPITable* CMAPIEx::GetContents()
{
    return m_pFolder ? m_pFolder->GetContents() : NULL;
}

int CMAPIEx::GetRowCount()
{
    return m_pFolder ? m_pFolder->GetRowCount() : 0;
}

BOOL CMAPIEx::SortContents(ULONG ulSortParam, ULONG ulSortField)
{
    return m_pFolder ? m_pFolder->SortContents(ulSortParam, ulSortField) : FALSE;
}

BOOL CMAPIEx::SetUnreadOnly(BOOL bUnreadOnly)
{
    return m_pFolder ? m_pFolder->SetUnreadOnly(bUnreadOnly) : FALSE;
}

BOOL CMAPIEx::SetRestriction(SRestriction* pRestriction)
{
    return m_pFolder ? m_pFolder->SetRestriction(pRestriction) : FALSE;
}

BOOL CMAPIEx::GetNextSubFolder(CMAPIFolder& subFolder, CString& strFolderName)
{
    return m_pFolder ? m_pFolder->GetNextSubFolder(subFolder, strFolderName) : FALSE;
}
