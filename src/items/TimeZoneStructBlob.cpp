#include "items/TimeZoneStructBlob.h"

namespace mapipim
{
void WriteTimeZoneStruct(CMAPIByteStream& stream, const TziValue& tzi)
{
    stream.WriteDWord(static_cast<DWORD>(tzi.nBias));
    stream.WriteDWord(static_cast<DWORD>(tzi.nStandardBias));
    stream.WriteDWord(static_cast<DWORD>(tzi.nDaylightBias));
    stream.WriteWord(tzi.stStandardDate.wYear);
    WriteSystemTime(stream, tzi.stStandardDate);
    stream.WriteWord(tzi.stDaylightDate.wYear);
    WriteSystemTime(stream, tzi.stDaylightDate);
}

TziValue ReadTimeZoneStruct(CMAPIByteStream& stream)
{
    TziValue tzi;
    WORD wYear = 0;
    stream.ReadDWord(reinterpret_cast<DWORD*>(&tzi.nBias));
    stream.ReadDWord(reinterpret_cast<DWORD*>(&tzi.nStandardBias));
    stream.ReadDWord(reinterpret_cast<DWORD*>(&tzi.nDaylightBias));
    stream.ReadWord(&wYear);
    ReadSystemTime(stream, tzi.stStandardDate);
    stream.ReadWord(&wYear);
    ReadSystemTime(stream, tzi.stDaylightDate);
    return tzi;
}
} // namespace mapipim
