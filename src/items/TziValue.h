// The 44 bytes a zone's rule takes in the registry's "TZI" values and inside the time-zone blobs (REG_TZI_FORMAT,
// also the last 52-byte part of a definition's rule): Bias, StandardBias, DaylightBias (signed minutes, UTC = local
// + bias), then the dates daylight time ends and begins as SYSTEMTIMEs. Little-endian.
#pragma once

#include "items/BlobReader.h"

namespace mapipim
{
constexpr ULONG kTziBytes = 44;

struct TziValue
{
    LONG nBias = 0;
    LONG nStandardBias = 0;
    LONG nDaylightBias = 0;
    SYSTEMTIME stStandardDate = {};
    SYSTEMTIME stDaylightDate = {};
};

void WriteSystemTime(CMAPIByteStream& stream, const SYSTEMTIME& tm);
void ReadSystemTime(CMAPIByteStream& stream, SYSTEMTIME& tm);

void WriteTzi(CMAPIByteStream& stream, const TziValue& tzi);
// Fields the value does not reach stay as they were.
void ReadTzi(CMAPIByteStream& stream, TziValue& tzi);
} // namespace mapipim
