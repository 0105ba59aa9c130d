// CMAPIContactItem: one contact message ("IPM.Contact") and the mapping between its properties and the contact
// record: GetInfo reads the groups of fields the host asks for, SetInfo writes every field and saves, and the
// members below carry the parts of the mapping that are more than one property per field (the e-mail slots, the
// postal addresses, the derived names and the picture).
#pragma once

#include <mapipim/MAPIContactInfo.h>
#include <mapipim/MAPIItem.h>
#include <mapipim/OutlookFolder.h>

// Read groups of GetInfo's flag word; the entry identifier is read whatever the flags.
enum
{
    MAPIPIM_CONTACT_TIMES = 0x1,  // tmCTime and tmLMTime
    MAPIPIM_CONTACT_NAMES = 0x2,  // strFullName, strLastName, strFirstName, strMiddleName, strInitial, strDisplay
    MAPIPIM_CONTACT_OTHERS = 0x4, // every other field
};

// Postal addresses, the nType of GetAddress, SetAddress and SetDisplayAddress.
enum
{
    MAPIPIM_ADDRESS_HOME = 0,
    MAPIPIM_ADDRESS_BUSINESS = 1,
    MAPIPIM_ADDRESS_OTHER = 2,
};

class CMAPIContactItem : public CMAPIItem
{
public:
    CMAPIContactItem();
    ~CMAPIContactItem() override;

    // A new, unsaved contact message in pFolder; without a folder in the session's current folder, and without
    // that in the store's Contacts folder, which then becomes the current folder.
    BOOL Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder);
    BOOL GetInfo(CMAPIContactInfo* pInfo, ULONG ulFlags);
    // Writes every field, derives the names (updating the record's strFullName and strDisplay) and saves the
    // message, which stays open. pFolder names the host's folder in trace lines only.
    BOOL SetInfo(COutlookFolder* pFolder, CMAPIContactInfo* pInfo);

    // ---- E-mail slots 1 to 3
    BOOL GetEmailAddress(CString& strValue, int nSlot);
    BOOL GetEmailDisplayName(CString& strValue, int nSlot);
    BOOL SetEmailAddress(LPCWSTR szValue, int nSlot);
    BOOL SetEmailDisplayName(LPCWSTR szValue, int nSlot);

    // ---- Postal addresses (MAPIPIM_ADDRESS_HOME, _BUSINESS, _OTHER)
    BOOL GetAddress(CMAPIContactInfo* pInfo, int nType);
    BOOL SetAddress(CMAPIContactInfo* pInfo, int nType);
    BOOL SetDisplayAddress(CMAPIContactInfo* pInfo, int nType);

    // ---- Derived names and the picture
    BOOL SetDisplayNames(CMAPIContactInfo* pInfo);
    BOOL SetPicture(CMAPIContactInfo* pInfo);

private:
    void GetNames(CMAPIContactInfo& info);
    void GetOtherFields(CMAPIContactInfo& info);
    void GetEmailSlots(CMAPIContactInfo& info);
    BOOL GetTimes(CMAPIContactInfo& info);
    void SetFields(const COutlookFolder& folder, CMAPIContactInfo& info);
    void SetEmailSlots(LPCWSTR szFolder, const CMAPIContactInfo& info);
};
