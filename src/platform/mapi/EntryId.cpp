#include "platform/mapi/EntryId.h"

#include "platform/mapi/MAPIMemory.h"

#include <cstring>
#include <random>

namespace mapisvc
{
// Provider UIDs of the service's store and address-book providers.
const MAPIUID kStoreProviderUid = {
    {0x6d, 0x61, 0x70, 0x69, 0x70, 0x69, 0x6d, 0x01, 0x8e, 0x3b, 0x4c, 0x27, 0x9a, 0x51, 0x10, 0x53}};
const MAPIUID kAddressBookProviderUid = {
    {0x6d, 0x61, 0x70, 0x69, 0x70, 0x69, 0x6d, 0x02, 0x8e, 0x3b, 0x4c, 0x27, 0x9a, 0x51, 0x10, 0x53}};

namespace
{
constexpr BYTE kVersion = 1;
constexpr size_t kFlagsSize = 4;
constexpr size_t kUidOffset = 4;
constexpr size_t kVersionOffset = 20;
constexpr size_t kTypeOffset = 21;
constexpr size_t kStoreOffset = 22;
constexpr size_t kIdOffset = 38;
constexpr size_t kCheckOffset = 46;
constexpr size_t kSize = kStoreEntryIdSize;

constexpr uint32_t kCheckStart = 2166136261u;

// The check (FNV-1a) continued over bytes [first, end) of an identifier.
uint32_t ContinueCheck(uint32_t hash, const BYTE* bytes, size_t first, size_t end)
{
    for (size_t i = first; i < end; ++i)
        hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

uint32_t Check(const BYTE* bytes)
{
    return ContinueCheck(kCheckStart, bytes, kFlagsSize, kCheckOffset);
}

// Writes the id and the check of an identifier whose other bytes are written and checked up to the id.
template <class Buffer> void WriteIdAndCheck(Buffer& bytes, int64_t id, uint32_t sharedCheck)
{
    std::memcpy(&bytes[kIdOffset], &id, 8);
    const uint32_t check =
        ContinueCheck(sharedCheck, reinterpret_cast<const BYTE*>(&bytes[0]), kIdOffset, kCheckOffset);
    std::memcpy(&bytes[kCheckOffset], &check, 4);
}

void Write(const MAPIUID& provider, const MAPIUID& store, ULONG type, int64_t id, bool shortTerm, BYTE* bytes)
{
    std::memset(bytes, 0, kSize);
    bytes[0] = shortTerm ? MAPI_SHORTTERM : 0;
    std::memcpy(bytes + kUidOffset, provider.ab, 16);
    bytes[kVersionOffset] = kVersion;
    bytes[kTypeOffset] = static_cast<BYTE>(type);
    std::memcpy(bytes + kStoreOffset, store.ab, 16);
    WriteIdAndCheck(bytes, id, ContinueCheck(kCheckStart, bytes, kFlagsSize, kIdOffset));
}

Bytes Make(const MAPIUID& provider, const MAPIUID& store, ULONG type, int64_t id, bool shortTerm)
{
    Bytes bytes(kSize);
    Write(provider, store, type, id, shortTerm, bytes.data());
    return bytes;
}

HRESULT Parse(ULONG cb, const void* lpEntryID, const MAPIUID& provider, ObjectId& object)
{
    if (cb != kSize || !lpEntryID || !HasProviderUid(cb, lpEntryID, provider))
        return MAPI_E_INVALID_ENTRYID;
    const auto* bytes = static_cast<const BYTE*>(lpEntryID);
    uint32_t check = 0;
    std::memcpy(&check, bytes + kCheckOffset, 4);
    if (bytes[kVersionOffset] != kVersion || check != Check(bytes) || (bytes[0] & ~MAPI_SHORTTERM) != 0 ||
        bytes[1] != 0 || bytes[2] != 0 || bytes[3] != 0)
        return MAPI_E_INVALID_ENTRYID;
    object.type = bytes[kTypeOffset];
    std::memcpy(object.store.ab, bytes + kStoreOffset, 16);
    std::memcpy(&object.id, bytes + kIdOffset, 8);
    object.shortTerm = (bytes[0] & MAPI_SHORTTERM) != 0;
    return S_OK;
}
} // namespace

bool ObjectId::SameObject(const ObjectId& other) const
{
    return type == other.type && id == other.id && std::memcmp(store.ab, other.store.ab, 16) == 0;
}

Bytes MakeStoreEntryId(const MAPIUID& store, ULONG type, int64_t id, bool shortTerm)
{
    return Make(kStoreProviderUid, store, type, id, shortTerm);
}

void WriteStoreEntryId(const MAPIUID& store, ULONG type, int64_t id, bool shortTerm, BYTE* out)
{
    Write(kStoreProviderUid, store, type, id, shortTerm, out);
}

StoreEntryIds::StoreEntryIds(const MAPIUID& store, ULONG type)
{
    const Bytes shared = MakeStoreEntryId(store, type, 0);
    m_shared.assign(shared.begin(), shared.end());
    m_sharedCheck = ContinueCheck(kCheckStart, shared.data(), kFlagsSize, kIdOffset);
}

std::string StoreEntryIds::Of(int64_t id) const
{
    std::string bytes = m_shared;
    WriteIdAndCheck(bytes, id, m_sharedCheck);
    return bytes;
}

Bytes MakeAddressBookEntryId(ULONG type, int64_t id)
{
    return Make(kAddressBookProviderUid, MAPIUID{}, type, id, false);
}

bool HasProviderUid(ULONG cb, const void* lpEntryID, const MAPIUID& uid)
{
    return lpEntryID && cb >= kUidOffset + 16 &&
           std::memcmp(static_cast<const BYTE*>(lpEntryID) + kUidOffset, uid.ab, 16) == 0;
}

HRESULT ParseStoreEntryId(ULONG cb, const void* lpEntryID, ObjectId& object)
{
    HRESULT hr = Parse(cb, lpEntryID, kStoreProviderUid, object);
    if (hr == S_OK && object.type != MAPI_STORE && object.type != MAPI_FOLDER && object.type != MAPI_MESSAGE)
        return MAPI_E_INVALID_ENTRYID;
    return hr;
}

HRESULT ParseAddressBookEntryId(ULONG cb, const void* lpEntryID, ObjectId& object)
{
    HRESULT hr = Parse(cb, lpEntryID, kAddressBookProviderUid, object);
    if (hr == S_OK && object.type != MAPI_MAILUSER && object.type != MAPI_DISTLIST)
        return MAPI_E_INVALID_ENTRYID;
    return hr;
}

HRESULT CopyToMAPIBuffer(const Bytes& bytes, ULONG* lpcb, LPENTRYID* lppEntryID)
{
    if (!lpcb || !lppEntryID)
        return MAPI_E_INVALID_PARAMETER;
    void* buffer = nullptr;
    if (HRESULT hr = AllocateBuffer(bytes.size(), &buffer))
        return hr;
    if (!bytes.empty())
        std::memcpy(buffer, bytes.data(), bytes.size());
    *lpcb = static_cast<ULONG>(bytes.size());
    *lppEntryID = static_cast<LPENTRYID>(buffer);
    return S_OK;
}

Bytes MakeRecordKey(const MAPIUID& store, int64_t id)
{
    Bytes key(24);
    std::memcpy(key.data(), store.ab, 16);
    std::memcpy(key.data() + 16, &id, 8);
    return key;
}

MAPIUID NewMAPIUID()
{
    // Every byte from the system's source, never from an engine seeded once: a forked process would repeat its
    // parent's sequence, and two stores would share one identity.
    std::random_device source;
    MAPIUID uid;
    for (size_t i = 0; i < 16; i += sizeof(unsigned int))
    {
        const unsigned int value = source();
        std::memcpy(uid.ab + i, &value, sizeof(unsigned int));
    }
    return uid;
}

std::string Blob(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::string_view UidBytes(const MAPIUID& uid)
{
    return std::string_view(reinterpret_cast<const char*>(uid.ab), 16);
}
} // namespace mapisvc
