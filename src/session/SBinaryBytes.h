// The allocation behind the owned bytes of entry identifiers held by the library, its records and its hosts:
// the ordinary C++ heap, never MAPI's allocator. Every owner allocates and releases through these two helpers.
#pragma once

#include "platform/platform.h"

#include <new>

namespace mapipim
{
// cb bytes from the ordinary heap, or null when cb is 0 or the heap is exhausted.
inline LPBYTE AllocateSBinaryBytes(ULONG cb)
{
    return cb ? new (std::nothrow) BYTE[cb] : nullptr;
}

// Releases the bytes an owned SBinary holds and leaves it empty.
inline void FreeSBinary(SBinary& value)
{
    delete[] value.lpb;
    value.lpb = nullptr;
    value.cb = 0;
}
} // namespace mapipim
