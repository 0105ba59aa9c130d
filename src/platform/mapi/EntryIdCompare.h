// CompareEntryIDs of the session, the stores and the address book: whether two identifiers name the same
// object, whatever their form (long-term or short-term) and whichever provider made them.
#pragma once

#include "platform/platform.h"

namespace mapisvc
{
// *lpulResult TRUE when both name the same object; MAPI_E_INVALID_ENTRYID for a damaged identifier,
// MAPI_E_UNKNOWN_ENTRYID for one no provider of the service made.
HRESULT CompareEntryIds(ULONG cb1, const void* lpEntryID1, ULONG cb2, const void* lpEntryID2, ULONG* lpulResult);
} // namespace mapisvc
