// CMAPIInterface: the e-mail operations, the item operations of every kind applied to e-mails, with the state a
// new e-mail takes from its folder and the submission a deleted e-mail gives up first.
#include <mapipim/MAPIInterface.h>

#include <mapipim/MAPIEmailItem.h>

#include "interface/FolderClassifier.h"
#include "interface/ItemOperations.h"
#include "items/EmailMessageState.h"

namespace
{
const mapipim::ItemKindTexts kEmailTexts = {
    _T("GetEmail"),
    _T("[MAPI] GetEmail - Open failed a folder : %s"),
    _T("[MAPI] GetEmail- Open failed a memo : %s"),
    _T("[MAPI] CreateEmail - Create failed a Email : %s"),
};

typedef mapipim::ItemOperations<CMAPIEmailInfo, CMAPIEmailItem> EmailOperations;

// The state an e-mail created in a folder of this type is written with.
int StateForFolder(int nFolderType, int nMsgState)
{
    switch (nFolderType)
    {
    case mapipim::FOLDER_TYPE_OUTBOX:
        return mapipim::kEmailSubmitted;
    case mapipim::FOLDER_TYPE_SENT_ITEMS:
        return mapipim::kEmailRead;
    case mapipim::FOLDER_TYPE_DRAFTS:
        return mapipim::kEmailDraft;
    case mapipim::FOLDER_TYPE_DELETED_ITEMS:
        return mapipim::kEmailPlain;
    case mapipim::FOLDER_TYPE_INBOX:
        return nMsgState >= mapipim::kEmailPlain && nMsgState <= mapipim::kEmailForwarded ? nMsgState
                                                                                           : mapipim::kEmailPlain;
    default:
        return nMsgState;
    }
}

// A message waiting to be sent is taken out of the queue of the folder's store before it is deleted; a failure is
// traced and the deletion goes on.
void AbortQueuedSubmission(CMAPIEx& mapi, const COutlookFolder& folder, CMAPIEmailInfo& email)
{
    CMAPIEmailItem item;
    if (!item.Open(&mapi, email.sbEntryID))
        return;
    const LONG lFlags = item.GetMessageFlags();
    item.Close();
    if (!(lFlags & MSGFLAG_SUBMIT))
        return;
    IMsgStore* pStore = mapi.GetMessageStore();
    if (!pStore ||
        pStore->AbortSubmit(email.sbEntryID.cb, reinterpret_cast<LPENTRYID>(email.sbEntryID.lpb), 0) != S_OK)
        LOGTRACE(_T("[MAPI] AbortSubmit failed - Folder:%s"), folder.strName);
}
} // namespace

BOOL CMAPIInterface::GetEmail(COutlookFolder* pFolder, CArray<CMAPIEmailInfo*, CMAPIEmailInfo*>& arrEmails,
                              ULONG ulFlags)
{
    return EmailOperations(m_MAPI, m_hMsgWnd, kEmailTexts).List(pFolder, arrEmails, ulFlags);
}

BOOL CMAPIInterface::GetEmail(CMAPIEmailInfo* pEmail, ULONG ulFlags)
{
    return EmailOperations(m_MAPI, m_hMsgWnd, kEmailTexts).Read(pEmail, ulFlags);
}

BOOL CMAPIInterface::CreateEmail(COutlookFolder* pFolder, CMAPIEmailInfo* pEmail)
{
    if (pFolder && pEmail)
        pEmail->nMsgState = StateForFolder(pFolder->nFolderType, pEmail->nMsgState);
    return EmailOperations(m_MAPI, m_hMsgWnd, kEmailTexts).Create(pFolder, pEmail);
}

BOOL CMAPIInterface::ModifyEmail(COutlookFolder* pFolder, CMAPIEmailInfo* pEmail)
{
    return EmailOperations(m_MAPI, m_hMsgWnd, kEmailTexts).Modify(pFolder, pEmail);
}

BOOL CMAPIInterface::DeleteEmail(COutlookFolder* pFolder, CMAPIEmailInfo* pEmail, int bMoveToDeletedItems)
{
    if (!pFolder || !pEmail)
        return FALSE;
    CMAPIFolder folder;
    if (!mapipim::OpenRecordFolder(m_MAPI, *pFolder, folder))
        return FALSE;
    if (pFolder->nFolderType == mapipim::FOLDER_TYPE_DELETED_ITEMS)
        bMoveToDeletedItems = 0;
    AbortQueuedSubmission(m_MAPI, *pFolder, *pEmail);
    return EmailOperations(m_MAPI, m_hMsgWnd, kEmailTexts).Delete(pFolder, pEmail, bMoveToDeletedItems);
}
