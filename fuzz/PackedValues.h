// Reads every byte a MAPI client may read from packed property values, so that AddressSanitizer sees any value
// that points outside its buffer or a string that lacks its terminator.
#pragma once

#include "platform/platform.h"

#include <cstring>
#include <string>

namespace fuzz
{
inline size_t ReadBytes(const void* data, size_t size)
{
    size_t sum = 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
        sum += bytes[i];
    return sum;
}

inline size_t ReadValue(const SPropValue& value)
{
    const ULONG type = PROP_TYPE(value.ulPropTag);
    switch (type)
    {
    case PT_STRING8:
        return std::strlen(value.Value.lpszA);
    case PT_UNICODE:
        return std::char_traits<char16_t>::length(value.Value.lpszW);
    case PT_BINARY:
        return ReadBytes(value.Value.bin.lpb, value.Value.bin.cb);
    case PT_CLSID:
        return ReadBytes(value.Value.lpguid, sizeof(GUID));
    case PT_MV_STRING8:
    {
        size_t sum = 0;
        for (ULONG i = 0; i < value.Value.MVszA.cValues; ++i)
            sum += std::strlen(value.Value.MVszA.lppszA[i]);
        return sum;
    }
    case PT_MV_UNICODE:
    {
        size_t sum = 0;
        for (ULONG i = 0; i < value.Value.MVszW.cValues; ++i)
            sum += std::char_traits<char16_t>::length(value.Value.MVszW.lppszW[i]);
        return sum;
    }
    case PT_MV_BINARY:
    {
        size_t sum = 0;
        for (ULONG i = 0; i < value.Value.MVbin.cValues; ++i)
            sum += ReadBytes(value.Value.MVbin.lpbin[i].lpb, value.Value.MVbin.lpbin[i].cb);
        return sum;
    }
    case PT_MV_I2:
        return ReadBytes(value.Value.MVi.lpi, value.Value.MVi.cValues * sizeof(short));
    case PT_MV_LONG:
        return ReadBytes(value.Value.MVl.lpl, value.Value.MVl.cValues * sizeof(LONG));
    case PT_MV_R4:
        return ReadBytes(value.Value.MVflt.lpflt, value.Value.MVflt.cValues * sizeof(float));
    case PT_MV_DOUBLE:
    case PT_MV_APPTIME:
    case PT_MV_CURRENCY:
    case PT_MV_I8:
    case PT_MV_SYSTIME:
        return ReadBytes(value.Value.MVdbl.lpdbl, value.Value.MVdbl.cValues * 8);
    case PT_MV_CLSID:
        return ReadBytes(value.Value.MVguid.lpguid, value.Value.MVguid.cValues * sizeof(GUID));
    default:
        return ReadBytes(&value.Value, sizeof(value.Value));
    }
}

inline size_t ReadValues(const SPropValue* values, ULONG count)
{
    size_t sum = 0;
    for (ULONG i = 0; i < count; ++i)
        sum += ReadValue(values[i]);
    return sum;
}
} // namespace fuzz
