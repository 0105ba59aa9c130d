// CMAPIContactItem: creating a contact message, and reading and writing the contact record field by field. The
// e-mail slots, postal addresses, derived names and the picture live in files of their own.
#include "items/MAPIContactItem.h"

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/SBinaryUtils.h>
#include <mapipim/TimeConversion.h>

#include "items/CancelFlag.h"
#include "items/ContactFields.h"
#include "items/ContactProperties.h"
#include "items/ItemAttachmentList.h"
#include "items/ItemFields.h"
#include "items/PropertyListCache.h"
#include "platform/trace/Trace.h"

using mapipim::ContactField;
using mapipim::IsItemAccessCancelled;
using mapipim::PropertyName;

namespace
{
// The name group. A contact is written with its name parts; the full name, the initials and the file-as name are
// derived from them (SetDisplayNames).
const ContactField kNameFields[] = {
    CONTACT_DERIVED_TEXT(strFullName, PR_DISPLAY_NAME_W, MAPIPIM_SET_NONE, MAPIPIM_CONTACT_NAMES),
    CONTACT_TEXT(strLastName, PR_SURNAME_W, MAPIPIM_CONTACT_NAMES),
    CONTACT_TEXT(strFirstName, PR_GIVEN_NAME_W, MAPIPIM_CONTACT_NAMES),
    CONTACT_TEXT(strMiddleName, PR_MIDDLE_NAME_W, MAPIPIM_CONTACT_NAMES),
    CONTACT_DERIVED_TEXT(strInitial, PR_INITIALS_W, MAPIPIM_SET_NONE, MAPIPIM_CONTACT_NAMES),
    CONTACT_DERIVED_TEXT(strDisplay, mapipim::PidLidFileUnder, MAPIPIM_SET_ADDRESS, MAPIPIM_CONTACT_NAMES),
};

const ContactField kOrganisationFields[] = {
    CONTACT_TEXT(strCompany, PR_COMPANY_NAME_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strDepartment, PR_DEPARTMENT_NAME_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strTitle, PR_TITLE_W, MAPIPIM_CONTACT_OTHERS),
};

const ContactField kWebFields[] = {
    CONTACT_TEXT(strBizHomePage, PR_BUSINESS_HOME_PAGE_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strHomePage, PR_PERSONAL_HOME_PAGE_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_NAMED_TEXT(strIMAddress, mapipim::PidLidInstantMessagingAddress, MAPIPIM_CONTACT_OTHERS),
};

const ContactField kTelephoneFields[] = {
    CONTACT_TEXT(strNumberBase, PR_PRIMARY_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberHome1, PR_HOME_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberHome2, PR_HOME2_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberHomeFax, PR_HOME_FAX_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberCellphone, PR_MOBILE_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberRadioTelephony, PR_RADIO_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberBeeper, PR_PAGER_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberCompany, PR_COMPANY_MAIN_PHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberBiz1, PR_BUSINESS_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberBiz2, PR_BUSINESS2_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberBizFax, PR_BUSINESS_FAX_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberAssistant, PR_ASSISTANT_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberCallback, PR_CALLBACK_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberCarphone, PR_CAR_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberOther, PR_OTHER_TELEPHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberOtherFax, PR_PRIMARY_FAX_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberISDN, PR_ISDN_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberTelex, PR_TELEX_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNumberTTYTDD, PR_TTYTDD_PHONE_NUMBER_W, MAPIPIM_CONTACT_OTHERS),
};

const ContactField kPersonalFields[] = {
    CONTACT_TEXT(strOffice, PR_OFFICE_LOCATION_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strJob, PR_PROFESSION_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strManagerName, PR_MANAGER_NAME_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strSpouseName, PR_SPOUSE_NAME_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNickName, PR_NICKNAME_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strAssistantName, PR_ASSISTANT_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strNamePrefix, PR_DISPLAY_NAME_PREFIX_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TEXT(strGeneration, PR_GENERATION_W, MAPIPIM_CONTACT_OTHERS),
    CONTACT_NAMED_TEXT(strInternetAddress, mapipim::PidLidFreeBusyLocation, MAPIPIM_CONTACT_OTHERS),
};

// Birthday and anniversary (UTC in the store, local in the record), and the sensitivity.
const ContactField kDateFields[] = {
    CONTACT_TIME(tmBirthday, PR_BIRTHDAY, MAPIPIM_CONTACT_OTHERS),
    CONTACT_TIME(tmAnniversary, PR_WEDDING_ANNIVERSARY, MAPIPIM_CONTACT_OTHERS),
    ContactField::Long(&CMAPIContactInfo::nSensitivity, {PR_SENSITIVITY, 0}, MAPIPIM_CONTACT_OTHERS,
                       _T("nSensitivity")),
};

// The base times: reading fails when either is missing.
const ContactField kTimeFields[] = {
    CONTACT_TIME(tmCTime, PR_CREATION_TIME, MAPIPIM_CONTACT_TIMES),
    CONTACT_TIME(tmLMTime, PR_LAST_MODIFICATION_TIME, MAPIPIM_CONTACT_TIMES),
};

// The record fields of e-mail slots 1 to 3.
struct EmailSlotFields
{
    CString CMAPIContactInfo::*pAddress;
    CString CMAPIContactInfo::*pDisplayName;
    LPCWSTR szAddressName;
    LPCWSTR szDisplayNameName;
};

const EmailSlotFields kEmailSlots[] = {
    {&CMAPIContactInfo::strEmail1, &CMAPIContactInfo::strEmailDispaly1, _T("strEmail1"), _T("strEmailDispaly1")},
    {&CMAPIContactInfo::strEmail2, &CMAPIContactInfo::strEmailDispaly2, _T("strEmail2"), _T("strEmailDispaly2")},
    {&CMAPIContactInfo::strEmail3, &CMAPIContactInfo::strEmailDispaly3, _T("strEmail3"), _T("strEmailDispaly3")},
};

const int kAddressTypes[] = {MAPIPIM_ADDRESS_HOME, MAPIPIM_ADDRESS_BUSINESS, MAPIPIM_ADDRESS_OTHER};
const LPCWSTR kAddressTypeNames[] = {_T("HOME"), _T("BUSINESS"), _T("OTHER")};

// Every property GetInfo reads for the groups in ulFlags, for one batch read: the tables, the four properties of
// each e-mail slot, the attachment flag and (when no pause is owed between body chunks) the body.
std::vector<PropertyName> BuildPropertiesToRead(ULONG ulFlags, bool bBodyInBatch)
{
    std::vector<PropertyName> properties;
    mapipim::CollectProperties(kNameFields, ulFlags, properties);
    mapipim::CollectProperties(kOrganisationFields, ulFlags, properties);
    mapipim::CollectProperties(kWebFields, ulFlags, properties);
    mapipim::CollectProperties(kTelephoneFields, ulFlags, properties);
    mapipim::CollectProperties(kPersonalFields, ulFlags, properties);
    mapipim::CollectProperties(kDateFields, ulFlags, properties);
    mapipim::CollectProperties(kTimeFields, ulFlags, properties);
    if (ulFlags & MAPIPIM_CONTACT_OTHERS)
    {
        mapipim::CollectAddressProperties(properties);
        mapipim::CollectEmailSlotProperties(properties);
        properties.push_back({PR_HASATTACH, 0});
        if (bBodyInBatch)
            properties.push_back({PR_BODY_W, 0});
    }
    return properties;
}

const std::vector<PropertyName>& PropertiesToRead(ULONG ulFlags)
{
    return mapipim::CachedPropertyList<BuildPropertiesToRead>(ulFlags);
}
} // namespace

CMAPIContactItem::CMAPIContactItem() = default;

CMAPIContactItem::~CMAPIContactItem() = default;

BOOL CMAPIContactItem::Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder)
{
    if (!pMAPI)
        return FALSE;
    if (!pFolder)
        pFolder = pMAPI->GetFolder();
    if (!pFolder)
        pFolder = pMAPI->OpenContacts(TRUE);
    if (!CMAPIItem::Create(pMAPI, pFolder))
        return FALSE;
    StampNewItem(_T("IPM.Contact"), pFolder, TRUE);
    return TRUE;
}

// ---- Reading

BOOL CMAPIContactItem::GetInfo(CMAPIContactInfo* pInfo, ULONG ulFlags)
{
    if (!pInfo)
        return FALSE;
    mapipim::PropertyBatchScope batch(*this, PropertiesToRead(ulFlags));
    BOOL bResult = ReadEntryIDInto(*pInfo);
    if (ulFlags & MAPIPIM_CONTACT_NAMES)
        GetNames(*pInfo);
    if (ulFlags & MAPIPIM_CONTACT_OTHERS)
        GetOtherFields(*pInfo);
    if ((ulFlags & MAPIPIM_CONTACT_TIMES) && !GetTimes(*pInfo))
        bResult = FALSE;
    return IsItemAccessCancelled() ? FALSE : bResult;
}

void CMAPIContactItem::GetNames(CMAPIContactInfo& info)
{
    mapipim::ReadFields(*this, kNameFields, info);
}

void CMAPIContactItem::GetOtherFields(CMAPIContactInfo& info)
{
    mapipim::ReadFields(*this, kOrganisationFields, info);
    GetEmailSlots(info);
    mapipim::ReadFields(*this, kWebFields, info);
    if (!GetBody(info.strMemo))
        LOGTRACE(_T("[MAPI] Get failed : strMemo"));
    mapipim::ReadFields(*this, kTelephoneFields, info);
    for (int nType : kAddressTypes)
        if (!GetAddress(&info, nType))
            LOGTRACE(_T("[MAPI] Get failed : GetAddress(%s)"), kAddressTypeNames[nType]);
    mapipim::ReadFields(*this, kPersonalFields, info);
    mapipim::ReadFields(*this, kDateFields, info);
    // A message without attachments has no table worth opening.
    if (GetPropertyBool(PR_HASATTACH, FALSE))
    {
        GetAttachmentNames(info.strPicturePath, -1, MAPIPIM_ATTACH_PHOTO_ONLY);
        GetAttachmentNames(info.strAttachFile, -1, MAPIPIM_ATTACH_NO_PHOTO);
    }
    else if (!IsItemAccessCancelled())
    {
        info.strPicturePath.Empty();
        info.strAttachFile.Empty();
    }
}

void CMAPIContactItem::GetEmailSlots(CMAPIContactInfo& info)
{
    for (int nSlot = 1; nSlot <= 3; ++nSlot)
    {
        const EmailSlotFields& slot = kEmailSlots[nSlot - 1];
        if (!GetEmailAddress(info.*slot.pAddress, nSlot))
            LOGTRACE(_T("[MAPI] Get failed : %s"), slot.szAddressName);
        if (!GetEmailDisplayName(info.*slot.pDisplayName, nSlot))
            LOGTRACE(_T("[MAPI] Get failed : %s"), slot.szDisplayNameName);
    }
}

BOOL CMAPIContactItem::GetTimes(CMAPIContactInfo& info)
{
    return mapipim::ReadFields(*this, kTimeFields, info);
}

// ---- Writing

BOOL CMAPIContactItem::SetInfo(COutlookFolder* pFolder, CMAPIContactInfo* pInfo)
{
    if (!pFolder || !pInfo)
        return FALSE;
    SetFields(*pFolder, *pInfo);
    if (IsItemAccessCancelled())
        return FALSE;
    if (!Save(FALSE))
    {
        LOGTRACE(_T("[MAPI] Set failed : Save( FALSE ) - Folder:%s"), pFolder->strName);
        return FALSE;
    }
    return TRUE;
}

// Each failure here is traced and the writing goes on: a contact with one field missing is still worth saving.
void CMAPIContactItem::SetFields(const COutlookFolder& folder, CMAPIContactInfo& info)
{
    const LPCWSTR szFolder = folder.strName;
    if (!SetPropertyLong(PR_ICON_INDEX, mapipim::kContactIconIndex))
        LOGTRACE(_T("[MAPI] Set failed : Icon - Folder:%s"), szFolder);
    mapipim::WriteFields(*this, kNameFields, info, szFolder);
    mapipim::WriteFields(*this, kOrganisationFields, info, szFolder);
    SetEmailSlots(szFolder, info);
    mapipim::WriteFields(*this, kWebFields, info, szFolder);
    if (!SetBody(info.strMemo))
        LOGTRACE(_T("[MAPI] Set failed : %s(strMemo) - Folder:%s"), info.strMemo, szFolder);
    mapipim::WriteFields(*this, kTelephoneFields, info, szFolder);
    for (int nType : kAddressTypes)
        if (!SetAddress(&info, nType))
            LOGTRACE(_T("[MAPI] Set failed : SetAddress(%s) - Folder:%s"), kAddressTypeNames[nType], szFolder);
    mapipim::WriteFields(*this, kPersonalFields, info, szFolder);
    mapipim::WriteFields(*this, kDateFields, info, szFolder);
    SetPicture(&info);
    SetDisplayNames(&info);
    mapipim::WriteAttachmentList(*this, info.strAttachFile, MAPIPIM_ATTACH_NO_PHOTO, szFolder);
}

void CMAPIContactItem::SetEmailSlots(LPCWSTR szFolder, const CMAPIContactInfo& info)
{
    for (int nSlot = 1; nSlot <= 3; ++nSlot)
    {
        const EmailSlotFields& slot = kEmailSlots[nSlot - 1];
        if (!SetEmailAddress(info.*slot.pAddress, nSlot))
            LOGTRACE(_T("[MAPI] Set failed : %s(%s) - Folder:%s"), info.*slot.pAddress, slot.szAddressName, szFolder);
        if (!SetEmailDisplayName(info.*slot.pDisplayName, nSlot))
            LOGTRACE(_T("[MAPI] Set failed : %s(%s) - Folder:%s"), info.*slot.pDisplayName, slot.szDisplayNameName,
                     szFolder);
    }
}
