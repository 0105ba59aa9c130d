#include "platform/mapi/AddressDirectory.h"

#include "platform/mapi/Text.h"

namespace mapisvc
{
namespace
{
std::u16string StringOfProp(const PropertyBag& props, ULONG tag)
{
    const Prop* prop = props.Find(PROP_ID(tag));
    return prop ? BytesToUtf16(DataAs(*prop, PT_UNICODE)) : std::u16string();
}

// PR_SEARCH_KEY: the address type and address, upper case, as MAPI forms it.
std::string SearchKey(std::u16string_view addressType, std::u16string_view address)
{
    std::string key = ToAnsi(std::u16string(addressType) + u":" + std::u16string(address));
    for (char& c : key)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    key += '\0';
    return key;
}

void AddIdentity(PropertyBag& props, const Bytes& entryId, ULONG objectType, ULONG displayType)
{
    props.Set(PR_ENTRYID, Blob(entryId));
    props.Set(PR_RECORD_KEY, Blob(entryId));
    props.Set(PR_OBJECT_TYPE, EncodeLong(static_cast<LONG>(objectType)));
    props.Set(PR_DISPLAY_TYPE, EncodeLong(static_cast<LONG>(displayType)));
}
} // namespace

HRESULT AddressDirectory::Load(const std::string& home, const std::u16string& profile, AddressDirectory& directory)
{
    std::unique_ptr<ProfileDatabase> profiles;
    if (HRESULT hr = ProfileDatabase::Open(home, profiles))
        return hr;
    return profiles->LoadAddressEntries(profile, directory.m_entries);
}

const AddressEntry* AddressDirectory::Find(int64_t id) const
{
    for (const AddressEntry& entry : m_entries)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

std::vector<const AddressEntry*> AddressDirectory::Match(std::u16string_view name) const
{
    std::vector<const AddressEntry*> exact, prefix;
    const std::u16string folded = FoldCase(name);
    for (const AddressEntry& entry : m_entries)
    {
        const std::u16string display = FoldCase(StringOfProp(entry.props, PR_DISPLAY_NAME));
        const std::u16string smtp = FoldCase(StringOfProp(entry.props, PR_SMTP_ADDRESS));
        const std::u16string email = FoldCase(StringOfProp(entry.props, PR_EMAIL_ADDRESS));
        if (display == folded)
            exact.push_back(&entry);
        else if (display.compare(0, folded.size(), folded) == 0 || smtp.compare(0, folded.size(), folded) == 0 ||
                 email.compare(0, folded.size(), folded) == 0)
            prefix.push_back(&entry);
    }
    return exact.empty() ? prefix : exact;
}

PropertyBag AddressDirectory::PropsOf(const AddressEntry& entry) const
{
    PropertyBag props = entry.props;
    const bool list = entry.type == MAPI_DISTLIST;
    AddIdentity(props, MakeAddressBookEntryId(entry.type, entry.id), entry.type, list ? DT_DISTLIST : DT_MAILUSER);
    const std::u16string type = StringOfProp(props, PR_ADDRTYPE);
    const std::u16string address = StringOfProp(props, PR_EMAIL_ADDRESS);
    if (!type.empty())
        props.Set(PR_SEARCH_KEY, SearchKey(type, address));
    return props;
}

HRESULT AddressDirectory::PropsOf(ULONG cbEntryID, const void* lpEntryID, ULONG& objectType, PropertyBag& props) const
{
    if (IsOneOffEntryId(cbEntryID, lpEntryID))
    {
        OneOffAddress address;
        if (HRESULT hr = ParseOneOff(cbEntryID, lpEntryID, address))
            return hr;
        const auto* bytes = static_cast<const BYTE*>(lpEntryID);
        props = OneOffProps(address, Bytes(bytes, bytes + cbEntryID));
        objectType = MAPI_MAILUSER;
        return S_OK;
    }
    if (!HasProviderUid(cbEntryID, lpEntryID, kAddressBookProviderUid))
        return cbEntryID < 20 ? MAPI_E_INVALID_ENTRYID : MAPI_E_UNKNOWN_ENTRYID;
    ObjectId object;
    if (HRESULT hr = ParseAddressBookEntryId(cbEntryID, lpEntryID, object))
        return hr;
    const AddressEntry* entry = Find(object.id);
    if (!entry || entry->type != object.type)
        return MAPI_E_NOT_FOUND;
    props = PropsOf(*entry);
    objectType = entry->type;
    return S_OK;
}

PropertyBag OneOffProps(const OneOffAddress& address, const Bytes& entryId)
{
    PropertyBag props;
    props.Set(PR_DISPLAY_NAME_W, EncodeUnicode(address.displayName.empty() ? address.address : address.displayName));
    props.Set(PR_ADDRTYPE_W, EncodeUnicode(address.addressType));
    props.Set(PR_EMAIL_ADDRESS_W, EncodeUnicode(address.address));
    if (EqualIgnoreCase(address.addressType, u"SMTP"))
        props.Set(PR_SMTP_ADDRESS_W, EncodeUnicode(address.address));
    props.Set(PR_SEARCH_KEY, SearchKey(address.addressType, address.address));
    props.Set(PR_SEND_RICH_INFO, EncodeBool((address.flags & MAPI_ONE_OFF_NO_RICH_INFO) == 0));
    AddIdentity(props, entryId, MAPI_MAILUSER, DT_MAILUSER);
    return props;
}
} // namespace mapisvc
