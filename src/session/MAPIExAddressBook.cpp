// CMAPIEx: the address dialog, e-mail addresses of address entries and address-book users, the profile's own
// address, and the session's verdict on whether two entry identifiers name the same object.
#include <mapipim/MAPIEx.h>

#include "session/Scoped.h"
#include "session/SingleProperty.h"
#include "session/StringMode.h"

using mapipim::ScopedBuffer;
using mapipim::ScopedInterface;

namespace
{
// The caption buffer of the address dialog, 8-bit text because the dialog is asked for without MAPI_UNICODE.
const int nCaptionBytes = 255;

// Converts a caption into the dialog's buffer, shortened at a character boundary when it does not fit, and always
// terminated.
void FitCaption(LPCWSTR szCaption, char (&caption)[nCaptionBytes])
{
    int nUsed = 0;
    for (int nChar = 0; szCaption[nChar];)
    {
        // A surrogate pair is one character: it is kept or dropped whole.
        const bool bPair = (szCaption[nChar] & 0xFC00) == 0xD800 && (szCaption[nChar + 1] & 0xFC00) == 0xDC00;
        const int nUnits = bPair ? 2 : 1;
        const int nRoom = nCaptionBytes - 1 - nUsed;
        const int nBytes = WideCharToMultiByte(CP_ACP, 0, szCaption + nChar, nUnits, NULL, 0, NULL, NULL);
        if (nBytes <= 0 || nBytes > nRoom)
            break;
        nUsed += WideCharToMultiByte(CP_ACP, 0, szCaption + nChar, nUnits, caption + nUsed, nRoom, NULL, NULL);
        nChar += nUnits;
    }
    caption[nUsed] = '\0';
}

// The text of an address-entry value in the form its tag names: UTF-16 for PT_UNICODE, 8-bit widened otherwise.
void ReadTaggedText(SPropValue& value, CString& strText, LPCWSTR (*validate)(LPCWSTR))
{
    if (PROP_TYPE(value.ulPropTag) == PT_UNICODE)
        strText = validate(value.Value.lpszW);
    else
        CMAPIEx::GetValidStringA(value, strText);
}

LPSPropValue FindProp(ADRENTRY& entry, ULONG ulPropTag)
{
    return entry.rgPropVals ? PpropFindProp(entry.rgPropVals, entry.cValues, ulPropTag) : NULL;
}

// The first of the two forms of a string property that the entry holds.
LPSPropValue FindStringProp(ADRENTRY& entry, ULONG ulUnicodeTag, ULONG ulAnsiTag)
{
    LPSPropValue pValue = FindProp(entry, ulUnicodeTag);
    return pValue ? pValue : FindProp(entry, ulAnsiTag);
}

// Reads one string property of a mail user into strText; false when GetProps does not return it in full.
bool ReadUserString(IMailUser* pUser, ULONG ulUnicodeTag, CString& strText)
{
    const ULONG ulPropTag = mapipim::StoreStringTag(ulUnicodeTag);
    ScopedBuffer<SPropValue> value;
    if (!mapipim::ReadSingleProperty(pUser, ulPropTag, static_cast<ULONG>(CMAPIEx::m_nMAPICode), value))
        return false;
    CMAPIEx::GetValidString(*value.Get(), strText);
    return true;
}
} // namespace

int CMAPIEx::ShowAddressBook(LPADRLIST& pAddressList, LPCWSTR szCaption)
{
    if (!m_pSession)
        return 0;
    ScopedInterface<IAddrBook> addressBook;
    if (m_pSession->OpenAddressBook(0, NULL, 0, &addressBook.Receive()) != S_OK || !addressBook)
        return 0;
    pAddressList = NULL;

    char caption[nCaptionBytes] = {};
    if (szCaption)
        FitCaption(szCaption, caption);
    char szTo[] = "To";
    LPTSTR destinationTitles[] = {reinterpret_cast<LPTSTR>(szTo)};
    ULONG destinationTypes[] = {MAPI_TO};

    ADRPARM parameters = {};
    parameters.ulFlags = DIALOG_MODAL | AB_RESOLVE;
    parameters.lpszCaption = szCaption ? reinterpret_cast<LPTSTR>(caption) : NULL;
    parameters.cDestFields = 1;
    parameters.lppszDestTitles = destinationTitles;
    parameters.lpulDestComps = destinationTypes;

    ULONG_PTR ulUIParam = reinterpret_cast<ULONG_PTR>(GetDesktopWindow());
    const HRESULT hr = addressBook->Address(&ulUIParam, &parameters, &pAddressList);
    if (hr != S_OK && pAddressList)
    {
        // A list that came back with a failure is no choice of the user's; nobody would free it.
        FreePadrlist(pAddressList);
        pAddressList = NULL;
    }
    if (hr == S_OK)
        return 1;
    return hr == MAPI_E_USER_CANCEL ? 2 : 0;
}

void CMAPIEx::ReleaseAddressList(LPADRLIST pAddressList)
{
    if (pAddressList)
        FreePadrlist(pAddressList);
}

BOOL CMAPIEx::GetEmail(ADRENTRY& adrEntry, CString& strEmail)
{
    LPSPropValue pAddressType = FindStringProp(adrEntry, PR_ADDRTYPE_W, PR_ADDRTYPE_A);
    CString strAddressType;
    if (pAddressType)
        ReadTaggedText(*pAddressType, strAddressType, ValidateString);
    if (strAddressType == _T("EX"))
    {
        LPSPropValue pEntryID = FindProp(adrEntry, PR_ENTRYID);
        return pEntryID ? GetExEmail(pEntryID->Value.bin, strEmail) : FALSE;
    }
    LPSPropValue pAddress = FindStringProp(adrEntry, PR_EMAIL_ADDRESS_W, PR_EMAIL_ADDRESS_A);
    if (!pAddress)
        return FALSE;
    ReadTaggedText(*pAddress, strEmail, ValidateString);
    return TRUE;
}

BOOL CMAPIEx::GetExEmail(SBinary entryID, CString& strEmail)
{
    if (!m_pSession)
        return FALSE;
    ScopedInterface<IAddrBook> addressBook;
    if (m_pSession->OpenAddressBook(0, NULL, AB_NO_DIALOG, &addressBook.Receive()) != S_OK || !addressBook)
        return FALSE;
    ULONG ulObjType = 0;
    ScopedInterface<IUnknown> object;
    if (addressBook->OpenEntry(entryID.cb, reinterpret_cast<LPENTRYID>(entryID.lpb), NULL, MAPI_BEST_ACCESS, &ulObjType,
                               &object.Receive()) != S_OK ||
        !object || ulObjType != MAPI_MAILUSER)
        return FALSE;
    IMailUser* pUser = static_cast<IMailUser*>(object.Get());
    return ReadUserString(pUser, PR_SMTP_ADDRESS_W, strEmail) || ReadUserString(pUser, PR_EMAIL_ADDRESS_W, strEmail);
}

BOOL CMAPIEx::GetProfileEmail(CString& strEmail)
{
    if (!m_pSession)
        return FALSE;
    ULONG cb = 0;
    ScopedBuffer<ENTRYID> identity;
    if (m_pSession->QueryIdentity(&cb, &identity.Receive()) != S_OK || !identity)
        return FALSE;
    SBinary entryID = {cb, reinterpret_cast<LPBYTE>(identity.Get())};
    return GetExEmail(entryID, strEmail);
}

ULONG CMAPIEx::CompareEntryIDs(ULONG cb1, LPENTRYID lpEntryID1, ULONG cb2, LPENTRYID lpEntryID2)
{
    if (!m_pSession)
        return 0;
    ULONG ulResult = 0;
    if (m_pSession->CompareEntryIDs(cb1, lpEntryID1, cb2, lpEntryID2, 0, &ulResult) != S_OK)
        return 0;
    return ulResult;
}
