// CMAPIEmailItem: creating an e-mail, and reading and writing the e-mail record. Recipients, the sender and the
// bodies live in files of their own.
#include <mapipim/MAPIEmailItem.h>

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/SBinaryUtils.h>
#include <mapipim/SubString.h>

#include "items/CancelFlag.h"
#include "items/EmailAddressList.h"
#include "items/EmailFormat.h"
#include "items/EmailMessageState.h"
#include "items/ItemFields.h"
#include "items/PropertyListCache.h"
#include "items/PropertyBatch.h"
#include "platform/Path.h"
#include "platform/trace/Trace.h"
#include "session/Scoped.h"

using mapipim::IsItemAccessCancelled;
using mapipim::PropertyName;

namespace
{
const LONG kUnknown = -1;

// The base times: reading fails when either is missing.
const mapipim::ItemField<CMAPIEmailInfo> kTimeFields[] = {
    mapipim::ItemField<CMAPIEmailInfo>::Time(&CMAPIEmailInfo::tmCTime, {PR_CREATION_TIME, 0}, MAPIPIM_EMAIL_TIMES,
                                             _T("tmCTime")),
    mapipim::ItemField<CMAPIEmailInfo>::Time(&CMAPIEmailInfo::tmLMTime, {PR_LAST_MODIFICATION_TIME, 0},
                                             MAPIPIM_EMAIL_TIMES, _T("tmLMTime")),
};

// Every property GetInfo reads for the groups in ulFlags, for one batch read.
// An e-mail's body is never in the batch: it is read apart, in the form the message keeps it.
std::vector<PropertyName> BuildPropertiesToRead(ULONG ulFlags, bool)
{
    std::vector<PropertyName> properties = {{PR_MESSAGE_SIZE, 0}, {PR_MESSAGE_FLAGS, 0}, {PR_ICON_INDEX, 0}};
    if (ulFlags & MAPIPIM_EMAIL_SUBJECT)
        properties.push_back({PR_SUBJECT_W, 0});
    if (ulFlags & MAPIPIM_EMAIL_OTHERS)
    {
        const ULONG others[] = {PR_SENT_REPRESENTING_NAME_W, PR_SENDER_ADDRTYPE_W, PR_SENDER_EMAIL_ADDRESS_W,
                                PR_IMPORTANCE, PR_MSG_EDITOR_FORMAT, PR_SENSITIVITY, PR_CLIENT_SUBMIT_TIME,
                                PR_MESSAGE_DELIVERY_TIME, PR_HASATTACH};
        for (ULONG ulTag : others)
            properties.push_back({ulTag, 0});
    }
    mapipim::CollectProperties(kTimeFields, ulFlags, properties);
    return properties;
}

const std::vector<PropertyName>& PropertiesToRead(ULONG ulFlags)
{
    return mapipim::CachedPropertyList<BuildPropertiesToRead>(ulFlags);
}

CString TrimQuotes(CString strText)
{
    strText.Trim(_T('\''));
    return strText;
}

// The record's recipient list of a recipient type; null for types the record has no list for.
CString* RecipientList(CMAPIEmailInfo& info, int nType)
{
    switch (nType)
    {
    case MAPI_TO:
        return &info.strTo;
    case MAPI_CC:
        return &info.strCC;
    case MAPI_BCC:
        return &info.strBCC;
    default:
        return NULL;
    }
}
} // namespace

CMAPIEmailItem::CMAPIEmailItem() : m_pRecipients(NULL) {}

CMAPIEmailItem::~CMAPIEmailItem()
{
    Close();
}

void CMAPIEmailItem::Close()
{
    if (m_pRecipients)
        m_pRecipients->Release();
    m_pRecipients = NULL;
    CMAPIItem::Close();
}

BOOL CMAPIEmailItem::Open(CMAPIEx* pMAPI, SBinary entryID)
{
    return CMAPIItem::Open(pMAPI, entryID) ? TRUE : FALSE;
}

BOOL CMAPIEmailItem::Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder)
{
    if (!pMAPI)
        return FALSE;
    if (!pFolder)
        pFolder = pMAPI->GetFolder();
    if (!pFolder)
        pFolder = pMAPI->OpenOutbox(1);
    if (!CMAPIItem::Create(pMAPI, pFolder))
        return FALSE;
    StampNewItem(_T("IPM.Note"), pFolder, FALSE);
    IMsgStore* pStore = pMAPI->GetMessageStore();
    SizedSPropTagArray(1, sentItems) = {1, {PR_IPM_SENTMAIL_ENTRYID}};
    ULONG cValues = 0;
    mapipim::ScopedBuffer<SPropValue> value;
    if (pStore &&
        pStore->GetProps(reinterpret_cast<LPSPropTagArray>(&sentItems), static_cast<ULONG>(CMAPIEx::m_nMAPICode),
                         &cValues, &value.Receive()) == S_OK &&
        value && PROP_TYPE(value->ulPropTag) == PT_BINARY)
    {
        value->ulPropTag = PR_SENTMAIL_ENTRYID;
        HrSetOneProp(m_pItem, value.Get());
    }
    return TRUE;
}

// ---- Reading

BOOL CMAPIEmailItem::GetInfo(CMAPIEmailInfo* pInfo, ULONG ulFlags)
{
    if (!pInfo)
        return FALSE;
    mapipim::PropertyBatchScope batch(*this, PropertiesToRead(ulFlags));
    BOOL bResult = ReadEntryIDInto(*pInfo);
    GetStateFields(*pInfo);
    if ((ulFlags & MAPIPIM_EMAIL_SUBJECT) && !GetPropertyString(PR_SUBJECT_W, pInfo->strSubject))
        LOGTRACE(_T("[MAPI] Get failed : strSubject"));
    if (ulFlags & MAPIPIM_EMAIL_OTHERS)
        GetOtherFields(*pInfo);
    if ((ulFlags & MAPIPIM_EMAIL_TIMES) && !GetTimes(*pInfo))
        bResult = FALSE;
    return IsItemAccessCancelled() ? FALSE : bResult;
}

void CMAPIEmailItem::GetStateFields(CMAPIEmailInfo& info)
{
    info.nSize = GetPropertyLong(PR_MESSAGE_SIZE, 0);
    const LONG lFlags = GetMessageFlags();
    const LONG lIcon = GetPropertyLong(PR_ICON_INDEX, mapipim::kIconUnread);
    info.bRead = (lFlags & MSGFLAG_READ) ? 1 : 0;
    info.nMsgState = mapipim::EmailStateFromMAPI(lFlags, lIcon);
}

void CMAPIEmailItem::GetOtherFields(CMAPIEmailInfo& info)
{
    GetSender(info);
    GetRecipients(info);
    info.nImportance = GetPropertyLong(PR_IMPORTANCE, kUnknown);
    if (info.nImportance == kUnknown)
    {
        info.nImportance = IMPORTANCE_NORMAL;
        LOGTRACE(_T("[MAPI] Get failed : nImportance"));
    }
    GetForm(info);
    info.nSensitivity = GetPropertyLong(PR_SENSITIVITY, kUnknown);
    if (info.nSensitivity == kUnknown)
    {
        info.nSensitivity = 0;
        LOGTRACE(_T("[MAPI] Get failed : nSensitivity"));
    }
    GetContents(info);
    if (!GetPropertyTime(PR_CLIENT_SUBMIT_TIME, info.tmSendTime))
        LOGTRACE(_T("[MAPI] Get failed : tmSendTime"));
    if (!GetPropertyTime(PR_MESSAGE_DELIVERY_TIME, info.tmRcvTime))
        LOGTRACE(_T("[MAPI] Get failed : tmRcvTime"));
    // A message without attachments has no table worth opening.
    if (GetPropertyBool(PR_HASATTACH, TRUE))
    {
        info.nAttachCount = GetAttachmentCount();
        GetAttachmentNames(info.strAttachFile, -1, MAPIPIM_ATTACH_ALL);
    }
    else if (!IsItemAccessCancelled())
    {
        info.nAttachCount = 0;
        info.strAttachFile.Empty();
    }
    if (!GetCategories(info.strLabel))
        LOGTRACE(_T("[MAPI] Get failed : strLabel"));
}

void CMAPIEmailItem::GetSender(CMAPIEmailInfo& info)
{
    if (!GetPropertyString(PR_SENT_REPRESENTING_NAME_W, info.strSenderName))
        LOGTRACE(_T("[MAPI] Get failed : strSenderName"));
    CString strEmail;
    if (GetSenderEmail(strEmail) != TRUE)
    {
        LOGTRACE(_T("[MAPI] Get failed : strSenderEmail"));
        return;
    }
    info.strSenderName = mapipim::FormatEmailAddress(TrimQuotes(info.strSenderName), strEmail);
}

void CMAPIEmailItem::GetRecipients(CMAPIEmailInfo& info)
{
    info.strTo.Empty();
    info.strCC.Empty();
    info.strBCC.Empty();
    if (!OpenRecipientTable())
    {
        LOGTRACE(_T("[MAPI] Get failed : strTo, strCC, strBCC"));
        return;
    }
    CString strName, strEmail;
    int nType = 0;
    while (GetNextRecipient(strName, strEmail, nType))
    {
        CString* pList = RecipientList(info, nType);
        if (!pList)
            continue;
        if (!pList->IsEmpty())
            *pList += _T(";");
        *pList += mapipim::FormatEmailAddress(TrimQuotes(strName), TrimQuotes(strEmail));
    }
}

void CMAPIEmailItem::GetForm(CMAPIEmailInfo& info)
{
    info.nForm = GetPropertyLong(PR_MSG_EDITOR_FORMAT, kUnknown);
    if (info.nForm != kUnknown)
        return;
    info.nForm = mapipim::kFormHTML;
    CString strHeaders;
    if (GetTransportHeaders(strHeaders) && !strHeaders.IsEmpty())
        info.nForm = mapipim::FormFromTransportHeaders(strHeaders, info.nForm);
}

void CMAPIEmailItem::GetContents(CMAPIEmailInfo& info)
{
    switch (info.nForm)
    {
    case mapipim::kFormUnknown:
    case mapipim::kFormText:
        if (!GetBodyText(info.strContents))
            LOGTRACE(_T("[MAPI] Get failed : strContents(TEXT)"));
        break;
    case mapipim::kFormHTML:
        if (GetBodyHTML(info.strContents))
            break;
        if (GetBodyRTF(info.strContents))
            info.nForm = mapipim::kFormRTF;
        else
            LOGTRACE(_T("[MAPI] Get failed : strContents(HTML)"));
        break;
    case mapipim::kFormRTF:
        if (GetBodyRTF(info.strContents))
            break;
        if (GetBodyHTML(info.strContents))
            info.nForm = mapipim::kFormHTML;
        else
            LOGTRACE(_T("[MAPI] Get failed : strContents(RTF)"));
        break;
    default:
        break;
    }
}

BOOL CMAPIEmailItem::GetTimes(CMAPIEmailInfo& info)
{
    return mapipim::ReadFields(*this, kTimeFields, info);
}

// ---- Writing

BOOL CMAPIEmailItem::SetInfo(COutlookFolder* pFolder, CMAPIEmailInfo* pInfo)
{
    if (!pFolder || !pInfo)
        return FALSE;
    const LPCWSTR szFolder = pFolder->strName;
    CMAPIEmailInfo& info = *pInfo;
    SetState(szFolder, info);
    if (!SetPropertyString(PR_SUBJECT_W, info.strSubject))
        LOGTRACE(_T("[MAPI] Set failed : %s(strSubject) - Folder:%s"), info.strSubject, szFolder);
    CString strSenderName, strSenderEmail;
    ParseAddress(info.strSenderName, strSenderName, strSenderEmail);
    if (!SetSender(strSenderName, strSenderEmail))
        LOGTRACE(_T("[MAPI] Set failed : %s(strSenderName) - Folder:%s"), info.strSenderName, szFolder);
    SetRecipients(szFolder, info);
    if (!SetPropertyLong(PR_IMPORTANCE, info.nImportance))
        LOGTRACE(_T("[MAPI] Set failed : %d(nImportance) - Folder:%s"), info.nImportance, szFolder);
    if (!SetPropertyLong(PR_MSG_EDITOR_FORMAT, info.nForm))
        LOGTRACE(_T("[MAPI] Set failed : %d(nForm) - Folder:%s"), info.nForm, szFolder);
    if (!SetPropertyLong(PR_SENSITIVITY, info.nSensitivity))
    {
        info.nSensitivity = 0;
        LOGTRACE(_T("[MAPI] Set failed : %d(nSensitivity) - Folder:%s"), info.nSensitivity, szFolder);
    }
    SetContents(szFolder, info);
    SetTimes(szFolder, info);
    SetAttachments(szFolder, info.strAttachFile);
    if (!SetCategories(info.strLabel))
        LOGTRACE(_T("[MAPI] Set failed : %s(strLabel) - Folder:%s"), info.strLabel, szFolder);
    if (IsItemAccessCancelled())
        return FALSE;
    const BOOL bSaved = Save(FALSE);
    if (bSaved == TRUE && info.nMsgState == mapipim::kEmailSubmitted)
        static_cast<IMessage*>(m_pItem)->SubmitMessage(0);
    return bSaved;
}

void CMAPIEmailItem::SetState(LPCWSTR szFolder, CMAPIEmailInfo& info)
{
    const mapipim::EmailStateForm form = mapipim::EmailStateToMAPI(info.nMsgState, info.bRead);
    info.bRead = form.bRead;
    if (!SetPropertyLong(PR_MESSAGE_FLAGS, form.lFlags))
        LOGTRACE(_T("[MAPI] Set failed : %d(MsgFlag) - Folder:%s"), form.lFlags, szFolder);
    IMessage* pMessage = static_cast<IMessage*>(m_pItem);
    const ULONG ulReadFlag = (form.lFlags & MSGFLAG_READ) ? SUPPRESS_RECEIPT : CLEAR_READ_FLAG;
    if (!pMessage || pMessage->SetReadFlag(ulReadFlag) != S_OK)
        LOGTRACE(_T("[MAPI] Set failed : %d(ReadFlag) - Folder:%s"), ulReadFlag, szFolder);
    if (!SetPropertyLong(PR_ICON_INDEX, form.lIcon))
        LOGTRACE(_T("[MAPI] Set failed : %d(lIcon) - Folder:%s"), form.lIcon, szFolder);
}

void CMAPIEmailItem::SetRecipients(LPCWSTR szFolder, const CMAPIEmailInfo& info)
{
    RemoveAllRecipients();
    const struct
    {
        const CString& strList;
        int nType;
        LPCWSTR szField;
    } lists[] = {{info.strTo, MAPI_TO, _T("strTo")}, {info.strCC, MAPI_CC, _T("strCC")},
                 {info.strBCC, MAPI_BCC, _T("strBCC")}};
    for (const auto& list : lists)
        for (const CString& strElement : mapipim::SplitRecipientList(list.strList))
        {
            CString strName, strEmail;
            ParseAddress(strElement, strName, strEmail);
            if (strEmail.IsEmpty())
                continue;
            if (!AddRecipient(strName, strEmail, list.nType, _T("SMTP")))
                LOGTRACE(_T("[MAPI] Set failed : %s<%s>(%s) - Folder:%s"), strName, strEmail, list.szField, szFolder);
        }
}

void CMAPIEmailItem::SetContents(LPCWSTR szFolder, const CMAPIEmailInfo& info)
{
    BOOL bWritten = TRUE;
    switch (info.nForm)
    {
    case mapipim::kFormUnknown:
    case mapipim::kFormText:
        bWritten = SetBodyText(info.strContents);
        break;
    case mapipim::kFormHTML:
        bWritten = SetBodyHTML(info.strContents);
        break;
    case mapipim::kFormRTF:
        bWritten = SetBodyRTF(info.strContents);
        break;
    default:
        break;
    }
    if (!bWritten)
        LOGTRACE(_T("[MAPI] Set failed : strContents - Folder:%s"), szFolder);
}

void CMAPIEmailItem::SetTimes(LPCWSTR szFolder, CMAPIEmailInfo& info)
{
    if (info.tmSendTime.wYear == 0)
        GetLocalTime(&info.tmSendTime);
    if (!mapipim::WriteLocalTime(*this, {PR_CLIENT_SUBMIT_TIME, 0}, info.tmSendTime))
        mapipim::TraceSetTimeFailed(info.tmSendTime, _T("tmSendTime"), szFolder);
    if (info.tmRcvTime.wYear == 0)
    {
        info.tmRcvTime = info.tmSendTime;
        info.tmRcvTime.wSecond = 0;
    }
    if (!mapipim::WriteLocalTime(*this, {PR_MESSAGE_DELIVERY_TIME, 0}, info.tmRcvTime))
        mapipim::TraceSetTimeFailed(info.tmRcvTime, _T("tmRcvTime"), szFolder);
}

// Full paths are attached; bare names (as reading gives them) stand for attachments already there. An empty list
// removes every attachment.
void CMAPIEmailItem::SetAttachments(LPCWSTR szFolder, const CString& strAttachFile)
{
    if (strAttachFile.IsEmpty())
    {
        if (!DeleteAttachment(-1, MAPIPIM_ATTACH_ALL))
            LOGTRACE(_T("[MAPI] Remove failed : AttachFile - Folder:%s"), szFolder);
        return;
    }
    CString strPath;
    for (int i = 0; GetExtractSubString(strPath, strAttachFile, i, _T(",;")); ++i)
    {
        if (!mapipim::IsFullFilePath(strPath))
            continue;
        if (!AddAttachment(strPath))
            LOGTRACE(_T("[MAPI] Set failed : %s(strAttachFile) - Folder:%s"), strPath, szFolder);
    }
}

void CMAPIEmailItem::ParseAddress(CString strText, CString& strName, CString& strEmail)
{
    mapipim::ParseEmailAddress(strText, strName, strEmail);
}
