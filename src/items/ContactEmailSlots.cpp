// CMAPIContactItem: the three e-mail slots. Each slot keeps four PSETID_Address properties around its address id
// A: the address type at A - 1, the address at A, the original display name at A + 1 and the display name at
// A - 3; the slots' address ids are 0x10 apart.
#include "items/MAPIContactItem.h"

#include "items/ContactFields.h"
#include "items/ContactProperties.h"

namespace
{
struct EmailSlotIds
{
    LONG lAddress;
    LONG lAddressType;
    LONG lOriginalDisplayName;
    LONG lDisplayName;
};

// False for a slot number outside 1 to 3.
bool GetSlotIds(int nSlot, EmailSlotIds& ids)
{
    if (nSlot < 1 || nSlot > 3)
        return false;
    const LONG lAddress = mapipim::PidLidEmail1EmailAddress + 0x10 * (nSlot - 1);
    ids = {lAddress, lAddress - 1, lAddress + 1, lAddress - 3};
    return true;
}
} // namespace

void mapipim::CollectEmailSlotProperties(std::vector<PropertyName>& properties)
{
    for (int nSlot = 1; nSlot <= 3; ++nSlot)
    {
        EmailSlotIds ids;
        GetSlotIds(nSlot, ids);
        for (LONG lId : {ids.lAddressType, ids.lAddress, ids.lOriginalDisplayName, ids.lDisplayName})
            properties.push_back({static_cast<ULONG>(lId), MAPIPIM_SET_ADDRESS});
    }
}

// An Exchange ("EX") address is an X.500 name no host can mail to; the slot's original display name, which holds
// what the user typed or picked, is shown instead.
BOOL CMAPIContactItem::GetEmailAddress(CString& strValue, int nSlot)
{
    EmailSlotIds ids;
    if (!GetSlotIds(nSlot, ids))
        return FALSE;
    CString strAddressType;
    if (!GetPropertyString(ids.lAddressType, strAddressType, MAPIPIM_SET_ADDRESS) ||
        !GetPropertyString(ids.lAddress, strValue, MAPIPIM_SET_ADDRESS))
    {
        strValue.Empty();
        return FALSE;
    }
    if (strAddressType == _T("EX"))
        GetPropertyString(ids.lOriginalDisplayName, strValue, MAPIPIM_SET_ADDRESS);
    return TRUE;
}

BOOL CMAPIContactItem::GetEmailDisplayName(CString& strValue, int nSlot)
{
    EmailSlotIds ids;
    if (!GetSlotIds(nSlot, ids))
        return FALSE;
    return GetPropertyString(ids.lDisplayName, strValue, MAPIPIM_SET_ADDRESS);
}

// The slot becomes an SMTP address, its value standing in for both display names until SetEmailDisplayName
// writes the record's own display name.
BOOL CMAPIContactItem::SetEmailAddress(LPCWSTR szValue, int nSlot)
{
    EmailSlotIds ids;
    if (!GetSlotIds(nSlot, ids))
        return FALSE;
    return SetPropertyString(ids.lAddressType, _T("SMTP"), MAPIPIM_SET_ADDRESS) &&
           SetPropertyString(ids.lAddress, szValue, MAPIPIM_SET_ADDRESS) &&
           SetPropertyString(ids.lOriginalDisplayName, szValue, MAPIPIM_SET_ADDRESS) &&
           SetPropertyString(ids.lDisplayName, szValue, MAPIPIM_SET_ADDRESS);
}

BOOL CMAPIContactItem::SetEmailDisplayName(LPCWSTR szValue, int nSlot)
{
    EmailSlotIds ids;
    if (!GetSlotIds(nSlot, ids))
        return FALSE;
    return SetPropertyString(ids.lDisplayName, szValue, MAPIPIM_SET_ADDRESS);
}
