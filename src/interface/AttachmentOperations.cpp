// CMAPIInterface: the attachments of any stored item, named by its entry identifier. Each operation opens the
// item through the interface's own session, does the item's attachment operation and releases the item again.
#include <mapipim/MAPIInterface.h>
#include <mapipim/MAPIItem.h>
#include <mapipim/SBinaryUtils.h>

#include "platform/platform.h"

namespace
{
// Opens the item, or writes the operation's trace line with the entry identifier in hexadecimal.
bool OpenItem(CMAPIItem& item, CMAPIEx& mapi, SBinary& entryID, LPCWSTR szOpenFailedTrace)
{
    if (item.Open(&mapi, entryID))
        return true;
    CString strEntryID;
    GetSBinaryToString(strEntryID, entryID);
    LOGTRACE(szOpenFailedTrace, strEntryID);
    return false;
}
} // namespace

int CMAPIInterface::GetAttachmentCount(SBinary& entryID)
{
    CMAPIItem item;
    if (!OpenItem(item, m_MAPI, entryID, _T("[MAPI] GetAttachmentCount - Open failed a object : %s")))
        return 0;
    return item.GetAttachmentCount();
}

int CMAPIInterface::GetAttachmentCID(SBinary& entryID, CString& strCID, int nIndex)
{
    CMAPIItem item;
    if (!OpenItem(item, m_MAPI, entryID, _T("[MAPI] GetAttachmentCID - Open failed a object : %s")))
        return 0;
    return item.GetAttachmentCID(strCID, nIndex);
}

int CMAPIInterface::GetAttachmentName(SBinary& entryID, CString& strNames, int nIndex, int nFilter)
{
    CMAPIItem item;
    if (!OpenItem(item, m_MAPI, entryID, _T("[MAPI] GetAttachmentName - Open failed a object : %s")))
        return 0;
    return item.GetAttachmentNames(strNames, nIndex, nFilter);
}

int CMAPIInterface::SaveAttachment(SBinary& entryID, LPCWSTR szPath, int nIndex, int nFilter)
{
    CMAPIItem item;
    if (!OpenItem(item, m_MAPI, entryID, _T("[MAPI] SaveAttachment - Open failed a object : %s")))
        return 0;
    return item.SaveAttachment(szPath, nIndex, nFilter);
}

int CMAPIInterface::DeleteAttachment(SBinary& entryID, int nIndex, int nFilter)
{
    CMAPIItem item;
    if (!OpenItem(item, m_MAPI, entryID, _T("[MAPI] DeleteAttachment - Open failed a object : %s")))
        return 0;
    return item.DeleteAttachment(nIndex, nFilter) && item.Save(FALSE);
}
