// The address-book entries of a profile as the address book hands them out: mail users with their display
// name, address type, e-mail and SMTP addresses, distribution lists with their members, and one-off addresses,
// each with its entry identifier, object type and display type.
#pragma once

#include "platform/mapi/OneOff.h"
#include "platform/mapi/ProfileDatabase.h"

namespace mapisvc
{
class AddressDirectory
{
public:
    static HRESULT Load(const std::string& home, const std::u16string& profile, AddressDirectory& directory);

    const AddressEntry* Find(int64_t id) const;
    // The entries whose display name is the given name ignoring case; when there are none, those whose display
    // name or address begins with it.
    std::vector<const AddressEntry*> Match(std::u16string_view name) const;

    // What the address book hands out for an entry, or for any identifier it knows (MAPI_E_NOT_FOUND,
    // MAPI_E_INVALID_ENTRYID or MAPI_E_UNKNOWN_ENTRYID otherwise).
    PropertyBag PropsOf(const AddressEntry& entry) const;
    HRESULT PropsOf(ULONG cbEntryID, const void* lpEntryID, ULONG& objectType, PropertyBag& props) const;

    const std::vector<AddressEntry>& Entries() const { return m_entries; }

private:
    std::vector<AddressEntry> m_entries;
};

PropertyBag OneOffProps(const OneOffAddress& address, const Bytes& entryId);
} // namespace mapisvc
