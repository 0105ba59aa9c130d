// CMAPIInterface: the contact operations, the item operations of every kind applied to contacts.
#include <mapipim/MAPIInterface.h>

#include "interface/ItemOperations.h"
#include "items/MAPIContactItem.h"

namespace
{
const mapipim::ItemKindTexts kContactTexts = {
    _T("GetContact"),
    _T("[MAPI] GetContact - Open failed a folder : %s"),
    _T("[MAPI] GetContact - Open failed a contact : %s"),
    _T("[MAPI] CreateContact - Create failed a contact : %s"),
};

typedef mapipim::ItemOperations<CMAPIContactInfo, CMAPIContactItem> ContactOperations;
} // namespace

BOOL CMAPIInterface::GetContact(COutlookFolder* pFolder, CArray<CMAPIContactInfo*, CMAPIContactInfo*>& arrContacts,
                                ULONG ulFlags)
{
    return ContactOperations(m_MAPI, m_hMsgWnd, kContactTexts).List(pFolder, arrContacts, ulFlags);
}

BOOL CMAPIInterface::GetContact(CMAPIContactInfo* pContact, ULONG ulFlags)
{
    return ContactOperations(m_MAPI, m_hMsgWnd, kContactTexts).Read(pContact, ulFlags);
}

BOOL CMAPIInterface::CreateContact(COutlookFolder* pFolder, CMAPIContactInfo* pContact)
{
    return ContactOperations(m_MAPI, m_hMsgWnd, kContactTexts).Create(pFolder, pContact);
}

BOOL CMAPIInterface::ModifyContact(COutlookFolder* pFolder, CMAPIContactInfo* pContact)
{
    return ContactOperations(m_MAPI, m_hMsgWnd, kContactTexts).Modify(pFolder, pContact);
}

BOOL CMAPIInterface::DeleteContact(COutlookFolder* pFolder, CMAPIContactInfo* pContact, int bMoveToDeletedItems)
{
    return ContactOperations(m_MAPI, m_hMsgWnd, kContactTexts).Delete(pFolder, pContact, bMoveToDeletedItems);
}
