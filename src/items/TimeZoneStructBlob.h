// The time-zone structure blob of a recurring appointment (TZSTRUCT, 48 bytes, little-endian): the three biases,
// then the standard date preceded by its year and the daylight date preceded by its year.
#pragma once

#include "items/TziValue.h"

namespace mapipim
{
constexpr ULONG kTimeZoneStructBytes = 48;

// The structure of a zone's rule; each year field repeats its date's wYear.
void WriteTimeZoneStruct(CMAPIByteStream& stream, const TziValue& tzi);
// Fields the value does not reach stay zero.
TziValue ReadTimeZoneStruct(CMAPIByteStream& stream);
} // namespace mapipim
