// CMAPIContactItem: the three postal addresses. Each has five parts, kept in ordinary properties for the home and
// other addresses and in PSETID_Address for the business address, and one composed text that Outlook shows.
#include "items/MAPIContactItem.h"

#include "items/ContactFields.h"
#include "items/ContactProperties.h"
#include "items/ItemFields.h"
#include "platform/trace/Trace.h"

using mapipim::ContactField;

namespace
{
const int kPartCount = 5;

// The parts of each address in the order they are read and written: city, country, state, street, postal code.
const ContactField kAddressParts[][kPartCount] = {
    {
        CONTACT_TEXT(strHomeCity, PR_HOME_ADDRESS_CITY_W, MAPIPIM_CONTACT_OTHERS),
        CONTACT_TEXT(strHomeCountry, PR_HOME_ADDRESS_COUNTRY_W, MAPIPIM_CONTACT_OTHERS),
        CONTACT_TEXT(strHomeState, PR_HOME_ADDRESS_STATE_OR_PROVINCE_W, MAPIPIM_CONTACT_OTHERS),
        CONTACT_TEXT(strHomeStreet, PR_HOME_ADDRESS_STREET_W, MAPIPIM_CONTACT_OTHERS),
        CONTACT_TEXT(strHomePostalCode, PR_HOME_ADDRESS_POSTAL_CODE_W, MAPIPIM_CONTACT_OTHERS),
    },
    {
        CONTACT_NAMED_TEXT(strBizCity, mapipim::PidLidWorkAddressCity, MAPIPIM_CONTACT_OTHERS),
        CONTACT_NAMED_TEXT(strBizCountry, mapipim::PidLidWorkAddressCountry, MAPIPIM_CONTACT_OTHERS),
        CONTACT_NAMED_TEXT(strBizState, mapipim::PidLidWorkAddressState, MAPIPIM_CONTACT_OTHERS),
        CONTACT_NAMED_TEXT(strBizStreet, mapipim::PidLidWorkAddressStreet, MAPIPIM_CONTACT_OTHERS),
        CONTACT_NAMED_TEXT(strBizPostalCode, mapipim::PidLidWorkAddressPostalCode, MAPIPIM_CONTACT_OTHERS),
    },
    {
        CONTACT_TEXT(strOtherCity, PR_OTHER_ADDRESS_CITY_W, MAPIPIM_CONTACT_OTHERS),
        CONTACT_TEXT(strOtherCountry, PR_OTHER_ADDRESS_COUNTRY_W, MAPIPIM_CONTACT_OTHERS),
        CONTACT_TEXT(strOtherState, PR_OTHER_ADDRESS_STATE_OR_PROVINCE_W, MAPIPIM_CONTACT_OTHERS),
        CONTACT_TEXT(strOtherStreet, PR_OTHER_ADDRESS_STREET_W, MAPIPIM_CONTACT_OTHERS),
        CONTACT_TEXT(strOtherPostalCode, PR_OTHER_ADDRESS_POSTAL_CODE_W, MAPIPIM_CONTACT_OTHERS),
    },
};

enum AddressPart
{
    City,
    Country,
    State,
    Street,
    PostalCode
};

bool IsAddressType(int nType)
{
    return nType >= MAPIPIM_ADDRESS_HOME && nType <= MAPIPIM_ADDRESS_OTHER;
}

const CString& Part(const CMAPIContactInfo& info, int nType, AddressPart part)
{
    return info.*kAddressParts[nType][part].pText;
}

// The address as an envelope shows it: street; city, state and postal code; country.
CString ComposeAddress(const CMAPIContactInfo& info, int nType)
{
    CString strAddress;
    strAddress.Format(_T("%s\r\n%s  %s  %s\r\n%s"), Part(info, nType, Street), Part(info, nType, City),
                      Part(info, nType, State), Part(info, nType, PostalCode), Part(info, nType, Country));
    return strAddress;
}

// True when the composed text holds more than the blanks and line breaks of its layout.
bool HasContent(CString strAddress)
{
    strAddress.Replace(_T(" "), _T(""));
    strAddress.Replace(_T("\r\n"), _T(""));
    return !strAddress.IsEmpty();
}
} // namespace

void mapipim::CollectAddressProperties(std::vector<PropertyName>& properties)
{
    for (const auto& parts : kAddressParts)
        CollectProperties(parts, MAPIPIM_CONTACT_OTHERS, properties);
}

BOOL CMAPIContactItem::GetAddress(CMAPIContactInfo* pInfo, int nType)
{
    if (!pInfo)
        return FALSE;
    if (!IsAddressType(nType))
    {
        LOGTRACE(_T("[MAPI] Get failed : InvalidType : %d(nType)"), nType);
        return FALSE;
    }
    return mapipim::ReadFields(*this, kAddressParts[nType], *pInfo);
}

// A part left empty removes the stored one, so that an address the user cleared does not come back.
BOOL CMAPIContactItem::SetAddress(CMAPIContactInfo* pInfo, int nType)
{
    if (!pInfo || !IsAddressType(nType))
        return FALSE;
    BOOL bResult = TRUE;
    for (const ContactField& part : kAddressParts[nType])
    {
        const CString& strValue = pInfo->*part.pText;
        if (strValue.IsEmpty())
        {
            if (!RemoveProperty(part.property.ulTag, part.property.nSet))
                LOGTRACE(_T("[MAPI] Remove failed : %s(%s)"), strValue, part.szName);
        }
        else if (!SetPropertyString(part.property.ulTag, strValue, part.property.nSet))
        {
            LOGTRACE(_T("[MAPI] Set failed : %s(%s)"), strValue, part.szName);
            bResult = FALSE;
        }
    }
    return SetDisplayAddress(pInfo, nType) && bResult;
}

BOOL CMAPIContactItem::SetDisplayAddress(CMAPIContactInfo* pInfo, int nType)
{
    if (!pInfo || !IsAddressType(nType))
        return FALSE;
    const CString strAddress = ComposeAddress(*pInfo, nType);
    const LONG lComposedId = mapipim::PidLidHomeAddress + nType;
    if (HasContent(strAddress))
    {
        if (SetPropertyString(lComposedId, strAddress, MAPIPIM_SET_ADDRESS))
            return TRUE;
        LOGTRACE(_T("[MAPI] Set failed : %s(strDisplayAddress)"), strAddress);
        return FALSE;
    }
    if (RemoveProperty(lComposedId, MAPIPIM_SET_ADDRESS))
        return TRUE;
    LOGTRACE(_T("[MAPI] Remove failed : %s(strDisplayAddress)"), strAddress);
    return FALSE;
}
