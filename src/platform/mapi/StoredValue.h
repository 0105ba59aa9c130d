// A property value read in pieces from where the store keeps it, instead of whole into memory: a stream over
// a 10 MB attachment then holds one piece at a time, not the value (and a copy of it).
#pragma once

#include "platform/platform.h"

#include <cstdint>

namespace mapisvc
{
class StoredValue
{
public:
    virtual ~StoredValue() = default;
    virtual uint64_t Size() const = 0;
    // `size` bytes from `offset` into `out`; the piece must lie within the value. MAPI_E_NOT_FOUND when the value
    // is no longer the one opened (deleted or replaced since).
    virtual HRESULT Read(uint64_t offset, void* out, size_t size) = 0;
};
} // namespace mapisvc
