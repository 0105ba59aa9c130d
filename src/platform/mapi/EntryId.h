// Entry identifiers of the service.
//
// Store objects (stores, folders, messages): 4 flag bytes, the service's provider UID, a version byte, the
// object type (MAPI_STORE, MAPI_FOLDER, MAPI_MESSAGE), the store's MAPIUID, the object's id (64-bit) and a
// 32-bit check over everything after the flags. The long-term form has flags 0; the short-term form has
// MAPI_SHORTTERM in the first flag byte and names the same object. Address-book entries use the address book's
// provider UID and the entry's id in the same frame; one-off entries follow the published layout (OneOff.h).
//
// A damaged identifier (wrong length, unknown type, failed check) is recognised as such and answered with
// MAPI_E_INVALID_ENTRYID; an intact one whose object is gone gives MAPI_E_NOT_FOUND.
#pragma once

#include "platform/platform.h"

#include <string>
#include <string_view>
#include <vector>

namespace mapisvc
{
typedef std::vector<BYTE> Bytes;

extern const MAPIUID kStoreProviderUid;
extern const MAPIUID kAddressBookProviderUid;

struct ObjectId
{
    ULONG type = 0;  // MAPI_STORE, MAPI_FOLDER, MAPI_MESSAGE (stores) or MAPI_MAILUSER, MAPI_DISTLIST (address book)
    MAPIUID store{}; // the store (zero for address-book entries)
    int64_t id = 0;
    bool shortTerm = false;

    bool SameObject(const ObjectId& other) const;
};

Bytes MakeStoreEntryId(const MAPIUID& store, ULONG type, int64_t id, bool shortTerm = false);
// The bytes of every entry identifier of a store object.
constexpr size_t kStoreEntryIdSize = 50;
// MakeStoreEntryId into the caller's kStoreEntryIdSize bytes, for one made often (a message's own, at each read).
void WriteStoreEntryId(const MAPIUID& store, ULONG type, int64_t id, bool shortTerm, BYTE* out);

// Long-term identifiers of many objects of one type in one store, as binary property values (the bytes of
// MakeStoreEntryId): what they share, and its part of the check, is made once rather than for every object.
class StoreEntryIds
{
public:
    StoreEntryIds(const MAPIUID& store, ULONG type);
    std::string Of(int64_t id) const;

private:
    std::string m_shared; // an identifier whose id and check are still to be written
    uint32_t m_sharedCheck;
};
Bytes MakeAddressBookEntryId(ULONG type, int64_t id);

// Which provider an identifier claims to come from (by its provider UID), before it is checked.
bool HasProviderUid(ULONG cb, const void* lpEntryID, const MAPIUID& uid);

// S_OK, or MAPI_E_INVALID_ENTRYID for anything that is not an intact identifier of that provider.
HRESULT ParseStoreEntryId(ULONG cb, const void* lpEntryID, ObjectId& object);
HRESULT ParseAddressBookEntryId(ULONG cb, const void* lpEntryID, ObjectId& object);

// A copy in a new MAPI buffer.
HRESULT CopyToMAPIBuffer(const Bytes& bytes, ULONG* lpcb, LPENTRYID* lppEntryID);

// Record key of an object: its store and id.
Bytes MakeRecordKey(const MAPIUID& store, int64_t id);
MAPIUID NewMAPIUID();

// Identifiers and keys as binary property values and database blobs hold them.
std::string Blob(const Bytes& bytes);
std::string_view UidBytes(const MAPIUID& uid);
} // namespace mapisvc
