// CMAPIEmailItem: the sender (written with a one-off entry identifier so that replies find it) and the transport
// headers a received message carries.
#include <mapipim/MAPIEmailItem.h>

#include <mapipim/MAPIEx.h>

#include "session/AnsiText.h"
#include "session/Scoped.h"

using mapipim::ScopedBuffer;
using mapipim::ScopedInterface;

namespace
{
const ULONG kSenderProperties[] = {PR_SENDER_NAME_W, PR_SENDER_EMAIL_ADDRESS_W, PR_SENT_REPRESENTING_NAME_W,
                                   PR_SENT_REPRESENTING_EMAIL_ADDRESS_W, PR_SENT_REPRESENTING_ADDRTYPE_W};

HRESULT CreateSmtpOneOff(IAddrBook* pAddrBook, LPCWSTR szDisplay, LPCWSTR szEmail, ULONG* pcb, LPENTRYID* ppEntryID)
{
    const ULONG ulFlags = static_cast<ULONG>(CMAPIEx::m_nMAPICode);
    if (ulFlags & MAPI_UNICODE)
        return pAddrBook->CreateOneOff(reinterpret_cast<LPTSTR>(const_cast<LPWSTR>(szDisplay)),
                                       reinterpret_cast<LPTSTR>(const_cast<LPWSTR>(_T("SMTP"))),
                                       reinterpret_cast<LPTSTR>(const_cast<LPWSTR>(szEmail)), ulFlags, pcb, ppEntryID);
    mapipim::AnsiText display(szDisplay), type(_T("SMTP")), email(szEmail);
    return pAddrBook->CreateOneOff(reinterpret_cast<LPTSTR>(display.Get()), reinterpret_cast<LPTSTR>(type.Get()),
                                   reinterpret_cast<LPTSTR>(email.Get()), ulFlags, pcb, ppEntryID);
}
} // namespace

BOOL CMAPIEmailItem::GetTransportHeaders(CString& strHeaders)
{
    return GetPropertyString(PR_TRANSPORT_MESSAGE_HEADERS_W, strHeaders);
}

BOOL CMAPIEmailItem::GetSenderEmail(CString& strSenderEmail)
{
    CString strAddrType;
    GetPropertyString(PR_SENDER_ADDRTYPE_W, strAddrType);
    BOOL bResult = GetPropertyString(PR_SENDER_EMAIL_ADDRESS_W, strSenderEmail);
    if (strAddrType != _T("EX") || !m_pMAPI)
        return bResult;
    ScopedBuffer<SPropValue> entryID;
    if (GetProperty(PR_SENDER_ENTRYID, entryID.Receive()) == S_OK && entryID &&
        PROP_TYPE(entryID->ulPropTag) == PT_BINARY)
        bResult = m_pMAPI->GetExEmail(entryID->Value.bin, strSenderEmail);
    return bResult;
}

BOOL CMAPIEmailItem::SetSender(CString& strSenderName, CString& strSenderEmail)
{
    if (!m_pMAPI || !m_pItem)
        return FALSE;
    if (strSenderEmail.IsEmpty())
    {
        for (ULONG ulTag : kSenderProperties)
            RemoveProperty(ulTag);
        return TRUE;
    }
    const CString strDisplay = strSenderName.IsEmpty() ? strSenderEmail : strSenderName;
    BOOL bResult = SetPropertyString(PR_SENDER_NAME_W, strSenderName);
    bResult = SetPropertyString(PR_SENDER_EMAIL_ADDRESS_W, strSenderEmail) && bResult;
    ScopedInterface<IAddrBook> addrBook;
    if (!m_pMAPI->GetSession() ||
        m_pMAPI->GetSession()->OpenAddressBook(0, NULL, AB_NO_DIALOG, &addrBook.Receive()) != S_OK || !addrBook)
        return bResult;
    ULONG cbEntryID = 0;
    ScopedBuffer<ENTRYID> oneOff;
    if (CreateSmtpOneOff(addrBook.Get(), strDisplay, strSenderEmail, &cbEntryID, &oneOff.Receive()) != S_OK)
        return bResult;
    for (ULONG ulTag : {PR_SENT_REPRESENTING_ENTRYID, PR_SENDER_ENTRYID})
    {
        SPropValue value;
        value.ulPropTag = ulTag;
        value.Value.bin.cb = cbEntryID;
        value.Value.bin.lpb = reinterpret_cast<LPBYTE>(oneOff.Get());
        HrSetOneProp(m_pItem, &value);
    }
    bResult = SetPropertyString(PR_SENT_REPRESENTING_NAME_W, strDisplay) && bResult;
    bResult = SetPropertyString(PR_SENT_REPRESENTING_EMAIL_ADDRESS_W, strSenderEmail) && bResult;
    bResult = SetPropertyString(PR_SENT_REPRESENTING_ADDRTYPE_W, _T("SMTP")) && bResult;
    return bResult;
}
