// Helpers for the record tests: entry identifiers made from byte lists and read back, times compared.
#pragma once

#include <mapipim/SBinaryUtils.h>

#include "support/AfxPrinters.h"
#include "support/TimeBuilders.h"

#include <vector>

namespace recordtest
{
typedef std::vector<BYTE> Bytes;

inline void SetBytes(SBinary& target, Bytes bytes)
{
    SBinary view = {ULONG(bytes.size()), bytes.data()};
    CopySBinary(target, view);
}

inline Bytes GetBytes(const SBinary& value)
{
    return value.cb ? Bytes(value.lpb, value.lpb + value.cb) : Bytes();
}

inline bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDayOfWeek == b.wDayOfWeek && a.wDay == b.wDay &&
           a.wHour == b.wHour && a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wMilliseconds == b.wMilliseconds;
}

inline bool IsZero(const SYSTEMTIME& tm)
{
    return SameTime(tm, SYSTEMTIME());
}
} // namespace recordtest
