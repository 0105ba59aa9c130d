// One-off entry identifiers ([MS-OXCDATA] 2.2.5.1): an address that is in no address book, carried in the
// identifier itself. 4 flag bytes, MAPI_ONE_OFF_UID, a version word (0), a flag word (MAPI_ONE_OFF_UNICODE,
// MAPI_ONE_OFF_NO_RICH_INFO, ...), then the display name, address type and address, each zero-terminated, in
// UTF-16LE with MAPI_ONE_OFF_UNICODE and in the ANSI code page without.
#pragma once

#include "platform/mapi/EntryId.h"

#include <string>

namespace mapisvc
{
struct OneOffAddress
{
    std::u16string displayName;
    std::u16string addressType;
    std::u16string address;
    WORD flags = MAPI_ONE_OFF_UNICODE;
};

Bytes MakeOneOff(const OneOffAddress& address);
bool IsOneOffEntryId(ULONG cb, const void* lpEntryID);
// MAPI_E_INVALID_ENTRYID when the identifier is not a well-formed one-off.
HRESULT ParseOneOff(ULONG cb, const void* lpEntryID, OneOffAddress& address);
} // namespace mapisvc
