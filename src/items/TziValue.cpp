#include "items/TziValue.h"

namespace mapipim
{
void WriteSystemTime(CMAPIByteStream& stream, const SYSTEMTIME& tm)
{
    for (WORD wField :
         {tm.wYear, tm.wMonth, tm.wDayOfWeek, tm.wDay, tm.wHour, tm.wMinute, tm.wSecond, tm.wMilliseconds})
        stream.WriteWord(wField);
}

void ReadSystemTime(CMAPIByteStream& stream, SYSTEMTIME& tm)
{
    for (WORD* pField :
         {&tm.wYear, &tm.wMonth, &tm.wDayOfWeek, &tm.wDay, &tm.wHour, &tm.wMinute, &tm.wSecond, &tm.wMilliseconds})
        stream.ReadWord(pField);
}

void WriteTzi(CMAPIByteStream& stream, const TziValue& tzi)
{
    stream.WriteDWord(static_cast<DWORD>(tzi.nBias));
    stream.WriteDWord(static_cast<DWORD>(tzi.nStandardBias));
    stream.WriteDWord(static_cast<DWORD>(tzi.nDaylightBias));
    WriteSystemTime(stream, tzi.stStandardDate);
    WriteSystemTime(stream, tzi.stDaylightDate);
}

void ReadTzi(CMAPIByteStream& stream, TziValue& tzi)
{
    stream.ReadDWord(reinterpret_cast<DWORD*>(&tzi.nBias));
    stream.ReadDWord(reinterpret_cast<DWORD*>(&tzi.nStandardBias));
    stream.ReadDWord(reinterpret_cast<DWORD*>(&tzi.nDaylightBias));
    ReadSystemTime(stream, tzi.stStandardDate);
    ReadSystemTime(stream, tzi.stDaylightDate);
}
} // namespace mapipim
