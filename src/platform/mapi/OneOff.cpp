#include "platform/mapi/OneOff.h"

#include "platform/mapi/Text.h"

#include <cstring>

namespace mapisvc
{
namespace
{
const MAPIUID kOneOffUid = {MAPI_ONE_OFF_UID};
constexpr size_t kHeaderSize = 24;

void AppendString(Bytes& bytes, std::u16string_view text, bool unicode)
{
    const std::string encoded = unicode ? Utf16ToBytes(text) : ToAnsi(text);
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
    bytes.insert(bytes.end(), unicode ? 2 : 1, 0);
}

// Reads one zero-terminated string at `offset`; false when no terminator follows within the identifier.
bool ReadString(const BYTE* bytes, size_t size, size_t& offset, bool unicode, std::u16string& text)
{
    const size_t unit = unicode ? 2 : 1;
    for (size_t end = offset; end + unit <= size; end += unit)
    {
        if (bytes[end] != 0 || (unicode && bytes[end + 1] != 0))
            continue;
        const std::string_view raw(reinterpret_cast<const char*>(bytes + offset), end - offset);
        text = unicode ? BytesToUtf16(raw) : FromAnsi(raw);
        offset = end + unit;
        return true;
    }
    return false;
}
} // namespace

Bytes MakeOneOff(const OneOffAddress& address)
{
    Bytes bytes(kHeaderSize, 0);
    std::memcpy(&bytes[4], kOneOffUid.ab, 16);
    std::memcpy(&bytes[22], &address.flags, 2);
    const bool unicode = (address.flags & MAPI_ONE_OFF_UNICODE) != 0;
    AppendString(bytes, address.displayName, unicode);
    AppendString(bytes, address.addressType, unicode);
    AppendString(bytes, address.address, unicode);
    return bytes;
}

bool IsOneOffEntryId(ULONG cb, const void* lpEntryID)
{
    return HasProviderUid(cb, lpEntryID, kOneOffUid);
}

HRESULT ParseOneOff(ULONG cb, const void* lpEntryID, OneOffAddress& address)
{
    if (cb < kHeaderSize || !IsOneOffEntryId(cb, lpEntryID))
        return MAPI_E_INVALID_ENTRYID;
    const auto* bytes = static_cast<const BYTE*>(lpEntryID);
    WORD version = 0;
    std::memcpy(&version, bytes + 20, 2);
    std::memcpy(&address.flags, bytes + 22, 2);
    if (version != 0)
        return MAPI_E_INVALID_ENTRYID;
    const bool unicode = (address.flags & MAPI_ONE_OFF_UNICODE) != 0;
    size_t offset = kHeaderSize;
    if (!ReadString(bytes, cb, offset, unicode, address.displayName) ||
        !ReadString(bytes, cb, offset, unicode, address.addressType) ||
        !ReadString(bytes, cb, offset, unicode, address.address))
        return MAPI_E_INVALID_ENTRYID;
    return S_OK;
}
} // namespace mapisvc
