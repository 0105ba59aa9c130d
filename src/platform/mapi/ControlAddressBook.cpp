// Control API: the address book of a profile and its identity.
#include <mapipim/mapisvc.h>

#include "platform/mapi/Profiles.h"
#include "platform/mapi/Text.h"

namespace mapisvc
{
namespace
{
HRESULT AddEntry(const std::u16string& profile, AddressEntry& entry, EntryId* id)
{
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = OpenProfiles(profiles))
        return hr;
    if (HRESULT hr = profiles->AddAddressEntry(profile, entry))
        return hr;
    if (id)
        *id = MakeAddressBookEntryId(entry.type, entry.id);
    return S_OK;
}
} // namespace

HRESULT AddMailUser(const std::u16string& profile, const MailUser& user, EntryId* entry)
{
    if (user.displayName.empty() || user.addressType.empty())
        return MAPI_E_INVALID_PARAMETER;
    AddressEntry added;
    added.type = MAPI_MAILUSER;
    added.props.Set(PR_DISPLAY_NAME_W, EncodeUnicode(user.displayName));
    added.props.Set(PR_ADDRTYPE_W, EncodeUnicode(user.addressType));
    added.props.Set(PR_EMAIL_ADDRESS_W, EncodeUnicode(user.emailAddress));
    if (!user.smtpAddress.empty())
        added.props.Set(PR_SMTP_ADDRESS_W, EncodeUnicode(user.smtpAddress));
    return AddEntry(profile, added, entry);
}

HRESULT AddDistList(const std::u16string& profile, const std::u16string& displayName,
                    const std::vector<EntryId>& members, EntryId* entry)
{
    if (displayName.empty())
        return MAPI_E_INVALID_PARAMETER;
    AddressEntry added;
    added.type = MAPI_DISTLIST;
    added.props.Set(PR_DISPLAY_NAME_W, EncodeUnicode(displayName));
    added.props.Set(PR_ADDRTYPE_W, EncodeUnicode(u"MAPIPDL"));
    for (const EntryId& member : members)
    {
        ObjectId object;
        if (HRESULT hr = ParseAddressBookEntryId(static_cast<ULONG>(member.size()), member.data(), object))
            return hr;
        added.members.push_back(object.id);
    }
    return AddEntry(profile, added, entry);
}

HRESULT SetIdentity(const std::u16string& profile, const EntryId& mailUser)
{
    ObjectId object;
    if (HRESULT hr = ParseAddressBookEntryId(static_cast<ULONG>(mailUser.size()), mailUser.data(), object))
        return hr;
    if (object.type != MAPI_MAILUSER)
        return MAPI_E_INVALID_ENTRYID;
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = OpenProfiles(profiles))
        return hr;
    std::vector<AddressEntry> entries;
    if (HRESULT hr = profiles->LoadAddressEntries(profile, entries))
        return hr;
    for (const AddressEntry& entry : entries)
        if (entry.id == object.id)
            return profiles->SetIdentity(profile, object.id);
    return MAPI_E_NOT_FOUND;
}
} // namespace mapisvc
