#include "platform/mapi/EntryIdCompare.h"

#include "platform/mapi/EntryId.h"
#include "platform/mapi/OneOff.h"
#include "platform/mapi/Text.h"

namespace mapisvc
{
namespace
{
enum class Kind
{
    Store,
    AddressBook,
    OneOff,
    Unknown
};

Kind KindOf(ULONG cb, const void* lpEntryID)
{
    if (HasProviderUid(cb, lpEntryID, kStoreProviderUid))
        return Kind::Store;
    if (HasProviderUid(cb, lpEntryID, kAddressBookProviderUid))
        return Kind::AddressBook;
    if (IsOneOffEntryId(cb, lpEntryID))
        return Kind::OneOff;
    return Kind::Unknown;
}

HRESULT Parse(Kind kind, ULONG cb, const void* lpEntryID, ObjectId& object, OneOffAddress& oneOff)
{
    switch (kind)
    {
    case Kind::Store:
        return ParseStoreEntryId(cb, lpEntryID, object);
    case Kind::AddressBook:
        return ParseAddressBookEntryId(cb, lpEntryID, object);
    case Kind::OneOff:
        return ParseOneOff(cb, lpEntryID, oneOff);
    default:
        return cb < 20 || !lpEntryID ? MAPI_E_INVALID_ENTRYID : MAPI_E_UNKNOWN_ENTRYID;
    }
}
} // namespace

HRESULT CompareEntryIds(ULONG cb1, const void* lpEntryID1, ULONG cb2, const void* lpEntryID2, ULONG* lpulResult)
{
    if (!lpulResult)
        return MAPI_E_INVALID_PARAMETER;
    *lpulResult = FALSE;
    const Kind kind1 = KindOf(cb1, lpEntryID1), kind2 = KindOf(cb2, lpEntryID2);
    ObjectId object1, object2;
    OneOffAddress address1, address2;
    if (HRESULT hr = Parse(kind1, cb1, lpEntryID1, object1, address1))
        return hr;
    if (HRESULT hr = Parse(kind2, cb2, lpEntryID2, object2, address2))
        return hr;
    if (kind1 != kind2)
        return S_OK;
    if (kind1 == Kind::OneOff)
        *lpulResult = EqualIgnoreCase(address1.addressType, address2.addressType) &&
                      EqualIgnoreCase(address1.address, address2.address);
    else
        *lpulResult = object1.SameObject(object2);
    return S_OK;
}
} // namespace mapisvc
