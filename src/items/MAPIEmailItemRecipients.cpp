// CMAPIEmailItem: the recipient table, adding recipients through one-off entries resolved by the address book,
// and removing them.
#include <mapipim/MAPIEmailItem.h>

#include <mapipim/MAPIEx.h>

#include "session/AnsiText.h"
#include "session/Scoped.h"
#include "session/StringValue.h"

#include <cstring>
#include <memory>
#include <vector>

using mapipim::ScopedBuffer;
using mapipim::ScopedInterface;
using mapipim::ScopedRows;

namespace
{
enum RecipientColumn
{
    kColumnType,
    kColumnName,
    kColumnEmail,
    kColumnAddrType,
    kColumnEntryID,
    kColumnRowID,
    kColumnCount
};

// The values of an added recipient, in the order AddRecipient fills them.
enum RecipientValue
{
    kValueType,
    kValueName,
    kValueEmail,
    kValueAddrType,
    kValueEntryID,
    kValueCount
};

CString EntryText(const ADRENTRY& entry, ULONG ulUnicodeTag)
{
    for (ULONG i = 0; i < entry.cValues; ++i)
        if (PROP_ID(entry.rgPropVals[i].ulPropTag) == PROP_ID(ulUnicodeTag))
            return mapipim::StringOf(entry.rgPropVals[i]);
    return CString();
}

// CreateOneOff with the strings in the width the session's string mode asks for.
HRESULT CreateOneOff(IAddrBook* pAddrBook, const CString& strName, const CString& strAddrType,
                     const CString& strEmail, ULONG* pcb, LPENTRYID* ppEntryID)
{
    const ULONG ulFlags = static_cast<ULONG>(CMAPIEx::m_nMAPICode);
    if (ulFlags & MAPI_UNICODE)
        return pAddrBook->CreateOneOff(reinterpret_cast<LPTSTR>(const_cast<LPWSTR>(static_cast<LPCWSTR>(strName))),
                                       reinterpret_cast<LPTSTR>(const_cast<LPWSTR>(static_cast<LPCWSTR>(strAddrType))),
                                       reinterpret_cast<LPTSTR>(const_cast<LPWSTR>(static_cast<LPCWSTR>(strEmail))),
                                       ulFlags, pcb, ppEntryID);
    mapipim::AnsiText name(strName), addrType(strAddrType), email(strEmail);
    return pAddrBook->CreateOneOff(reinterpret_cast<LPTSTR>(name.Get()), reinterpret_cast<LPTSTR>(addrType.Get()),
                                   reinterpret_cast<LPTSTR>(email.Get()), ulFlags, pcb, ppEntryID);
}

// A string value of an added recipient: UTF-16 in a Unicode store, else an 8-bit copy the caller keeps.
void SetStringValue(SPropValue& value, ULONG ulUnicodeTag, LPCWSTR szText, bool bUnicode,
                    std::vector<std::unique_ptr<mapipim::AnsiText>>& copies)
{
    if (bUnicode)
    {
        value.ulPropTag = ulUnicodeTag;
        value.Value.lpszW = const_cast<LPWSTR>(szText);
        return;
    }
    copies.emplace_back(new mapipim::AnsiText(szText));
    value.ulPropTag = CHANGE_PROP_TYPE(ulUnicodeTag, PT_STRING8);
    value.Value.lpszA = copies.back()->Get();
}
} // namespace

BOOL CMAPIEmailItem::OpenRecipientTable()
{
    IMessage* pMessage = static_cast<IMessage*>(m_pItem);
    if (!pMessage)
        return FALSE;
    if (m_pRecipients)
    {
        m_pRecipients->Release();
        m_pRecipients = NULL;
    }
    if (pMessage->GetRecipientTable(static_cast<ULONG>(CMAPIEx::m_nMAPICode), &m_pRecipients) != S_OK)
        return FALSE;
    SizedSPropTagArray(kColumnCount, columns) = {
        kColumnCount,
        {PR_RECIPIENT_TYPE, StringTag(PR_DISPLAY_NAME_W), StringTag(PR_EMAIL_ADDRESS_W), StringTag(PR_ADDRTYPE_W),
         PR_ENTRYID, PR_ROWID}};
    return m_pRecipients->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0) == S_OK;
}

BOOL CMAPIEmailItem::GetNextRecipient(CString& strName, CString& strEmail, int& nType)
{
    if (!m_pRecipients)
        return FALSE;
    strName.Empty();
    strEmail.Empty();
    ScopedRows rows;
    if (m_pRecipients->QueryRows(1, 0, &rows.Receive()) != S_OK || !rows || rows->cRows == 0)
        return FALSE;
    const SRow& row = rows->aRow[0];
    if (row.cValues < kColumnCount)
        return FALSE;
    nType = row.lpProps[kColumnType].Value.l;
    strName = mapipim::StringOf(row.lpProps[kColumnName]);
    const CString strAddrType = mapipim::StringOf(row.lpProps[kColumnAddrType]);
    if (strAddrType != _T("EX"))
        strEmail = mapipim::StringOf(row.lpProps[kColumnEmail]);
    else if (m_pMAPI && PROP_TYPE(row.lpProps[kColumnEntryID].ulPropTag) == PT_BINARY)
        m_pMAPI->GetExEmail(row.lpProps[kColumnEntryID].Value.bin, strEmail);
    return TRUE;
}

BOOL CMAPIEmailItem::RemoveAllRecipients()
{
    if (!OpenRecipientTable())
        return FALSE;
    IMessage* pMessage = static_cast<IMessage*>(m_pItem);
    BOOL bRemoved = FALSE;
    for (;;)
    {
        ScopedRows rows;
        if (m_pRecipients->QueryRows(1, 0, &rows.Receive()) != S_OK || !rows || rows->cRows == 0)
            break;
        if (pMessage->ModifyRecipients(MODRECIP_REMOVE, reinterpret_cast<LPADRLIST>(rows.Get())) == S_OK)
            bRemoved = TRUE;
    }
    return bRemoved;
}

BOOL CMAPIEmailItem::AddRecipient(LPCWSTR szName, LPCWSTR szEmail, int nType, LPCWSTR szAddrType)
{
    if (!m_pItem || !m_pMAPI || !szEmail || !szEmail[0])
        return FALSE;
    LPADRLIST pList = NULL;
    if (MAPIAllocateBuffer(CbNewADRLIST(1), reinterpret_cast<LPVOID*>(&pList)) != S_OK || !pList)
        return FALSE;
    memset(pList, 0, CbNewADRLIST(1));
    LPSPropValue pValues = NULL;
    if (MAPIAllocateBuffer(kValueCount * sizeof(SPropValue), reinterpret_cast<LPVOID*>(&pValues)) != S_OK || !pValues)
    {
        CMAPIEx::ReleaseAddressList(pList);
        return FALSE;
    }
    memset(pValues, 0, kValueCount * sizeof(SPropValue));
    pList->cEntries = 1;
    pList->aEntries[0].cValues = kValueCount;
    pList->aEntries[0].rgPropVals = pValues;

    const bool bUnicode = IsUnicodeStore();
    std::vector<std::unique_ptr<mapipim::AnsiText>> copies;
    pValues[kValueType].ulPropTag = PR_RECIPIENT_TYPE;
    pValues[kValueType].Value.l = nType;
    SetStringValue(pValues[kValueName], PR_DISPLAY_NAME_W, szName && szName[0] ? szName : szEmail, bUnicode, copies);
    SetStringValue(pValues[kValueEmail], PR_EMAIL_ADDRESS_W, szEmail, bUnicode, copies);
    SetStringValue(pValues[kValueAddrType], PR_ADDRTYPE_W, szAddrType ? szAddrType : _T("SMTP"), bUnicode, copies);
    pValues[kValueEntryID].ulPropTag = PR_ENTRYID;

    const BOOL bResult = AddRecipients(pList);
    CMAPIEx::ReleaseAddressList(pList);
    return bResult;
}

BOOL CMAPIEmailItem::AddRecipients(LPADRLIST pAddressList)
{
    if (!m_pMAPI || !m_pMAPI->GetSession() || !m_pItem || !pAddressList || pAddressList->cEntries == 0)
        return FALSE;
    ScopedInterface<IAddrBook> addrBook;
    if (m_pMAPI->GetSession()->OpenAddressBook(0, NULL, AB_NO_DIALOG, &addrBook.Receive()) != S_OK || !addrBook)
        return FALSE;
    ADRENTRY& entry = pAddressList->aEntries[0];
    ULONG cbEntryID = 0;
    ScopedBuffer<ENTRYID> oneOff;
    const HRESULT hrOneOff =
        CreateOneOff(addrBook.Get(), EntryText(entry, PR_DISPLAY_NAME_W), EntryText(entry, PR_ADDRTYPE_W),
                     EntryText(entry, PR_EMAIL_ADDRESS_W), &cbEntryID, &oneOff.Receive());
    if (hrOneOff == S_OK)
        if (LPSPropValue pEntryID = PpropFindProp(entry.rgPropVals, entry.cValues, PR_ENTRYID))
        {
            pEntryID->Value.bin.cb = cbEntryID;
            pEntryID->Value.bin.lpb = reinterpret_cast<LPBYTE>(oneOff.Get());
        }
    const HRESULT hrResolve = addrBook->ResolveName(0, static_cast<ULONG>(CMAPIEx::m_nMAPICode), NULL, pAddressList);
    const HRESULT hrModify = static_cast<IMessage*>(m_pItem)->ModifyRecipients(MODRECIP_ADD, pAddressList);
    // The identifier lent to the list goes back with the buffer that holds it, not with the list.
    if (LPSPropValue pEntryID = PpropFindProp(entry.rgPropVals, entry.cValues, PR_ENTRYID))
        if (pEntryID->Value.bin.lpb == reinterpret_cast<LPBYTE>(oneOff.Get()))
            pEntryID->Value.bin = SBinary{0, NULL};
    return hrOneOff == S_OK && hrResolve == S_OK && hrModify == S_OK;
}
