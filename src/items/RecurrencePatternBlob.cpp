#include "items/RecurrencePatternBlob.h"

namespace mapipim
{
namespace
{
constexpr ULONG kFixedPatternBytes = 50;    // every field but the pattern-specific data and the two lists
constexpr ULONG kAppointmentPartBytes = 18; // versions, offsets, exception count

void WriteDates(CMAPIByteStream& stream, const std::vector<DWORD>& dates)
{
    stream.WriteDWord(static_cast<DWORD>(dates.size()));
    for (DWORD dwDate : dates)
        stream.WriteDWord(dwDate);
}

// Keeps the dates the value really holds: a count beyond them runs the cursor to the end.
void ReadDates(BlobReader& stream, DWORD& dwCount, std::vector<DWORD>& dates)
{
    stream.ReadDWord(&dwCount);
    const ULONG nHeld = stream.Left() / 4;
    const ULONG nRead = dwCount < nHeld ? dwCount : nHeld;
    dates.resize(nRead);
    for (DWORD& dwDate : dates)
        stream.ReadDWord(&dwDate);
    if (dwCount > nRead)
        stream.SkipAtMost(stream.Left());
}

void WritePatternSpecific(CMAPIByteStream& stream, const RecurrencePatternBlob& blob)
{
    const ULONG cb = PatternSpecificSize(blob.wPatternType);
    if (cb >= 4)
        stream.WriteDWord(blob.dwPatternSpecific1);
    if (cb == 8)
        stream.WriteDWord(blob.dwPatternSpecific2);
}

void ReadPatternSpecific(CMAPIByteStream& stream, RecurrencePatternBlob& blob)
{
    const ULONG cb = PatternSpecificSize(blob.wPatternType);
    if (cb >= 4)
        stream.ReadDWord(&blob.dwPatternSpecific1);
    if (cb == 8)
        stream.ReadDWord(&blob.dwPatternSpecific2);
}

void WriteAppointmentPart(CMAPIByteStream& stream, const RecurrencePatternBlob& blob)
{
    stream.WriteDWord(blob.dwReaderVersion2);
    stream.WriteDWord(blob.dwWriterVersion2);
    stream.WriteDWord(blob.dwStartTimeOffset);
    stream.WriteDWord(blob.dwEndTimeOffset);
    stream.WriteWord(static_cast<WORD>(blob.exceptions.size()));
    WriteRecurrenceExceptions(stream, blob.exceptions, blob.dwWriterVersion2);
}

void ReadAppointmentPart(BlobReader& stream, RecurrencePatternBlob& blob)
{
    blob.bHasAppointmentPart = stream.Left() > 0;
    blob.dwReaderVersion2 = 0;
    blob.dwWriterVersion2 = 0;
    stream.ReadDWord(&blob.dwReaderVersion2);
    stream.ReadDWord(&blob.dwWriterVersion2);
    stream.ReadDWord(&blob.dwStartTimeOffset);
    stream.ReadDWord(&blob.dwEndTimeOffset);
    stream.ReadWord(&blob.wExceptionCount);
    blob.exceptions = ReadRecurrenceExceptions(stream, blob.wExceptionCount, blob.dwWriterVersion2);
}
} // namespace

ULONG PatternSpecificSize(WORD wPatternType)
{
    switch (wPatternType)
    {
    case 1:
    case 2:
    case 4:
    case 10:
    case 12:
        return 4;
    case 3:
    case 11:
        return 8;
    default:
        return 0;
    }
}

ULONG RecurrencePatternSize(const RecurrencePatternBlob& blob)
{
    const size_t nDates = blob.deletedInstanceDates.size() + blob.modifiedInstanceDates.size();
    return kFixedPatternBytes + PatternSpecificSize(blob.wPatternType) + 4 * static_cast<ULONG>(nDates) +
           (blob.bHasAppointmentPart
                ? kAppointmentPartBytes + RecurrenceExceptionsSize(blob.exceptions, blob.dwWriterVersion2)
                : 0);
}

void WriteRecurrencePattern(CMAPIByteStream& stream, const RecurrencePatternBlob& blob)
{
    stream.WriteWord(blob.wReaderVersion);
    stream.WriteWord(blob.wWriterVersion);
    stream.WriteWord(blob.wFrequency);
    stream.WriteWord(blob.wPatternType);
    stream.WriteWord(blob.wCalendarType);
    stream.WriteDWord(blob.dwFirstDateTime);
    stream.WriteDWord(blob.dwPeriod);
    stream.WriteDWord(blob.dwSlidingFlag);
    WritePatternSpecific(stream, blob);
    stream.WriteDWord(blob.dwEndType);
    stream.WriteDWord(blob.dwOccurrenceCount);
    stream.WriteDWord(blob.dwFirstDayOfWeek);
    WriteDates(stream, blob.deletedInstanceDates);
    WriteDates(stream, blob.modifiedInstanceDates);
    stream.WriteDWord(blob.dwStartDate);
    stream.WriteDWord(blob.dwEndDate);
    if (blob.bHasAppointmentPart)
        WriteAppointmentPart(stream, blob);
}

RecurrencePatternBlob ReadRecurrencePattern(BlobReader& stream)
{
    RecurrencePatternBlob blob;
    blob.wReaderVersion = 0;
    blob.wWriterVersion = 0;
    stream.ReadWord(&blob.wReaderVersion);
    stream.ReadWord(&blob.wWriterVersion);
    stream.ReadWord(&blob.wFrequency);
    stream.ReadWord(&blob.wPatternType);
    stream.ReadWord(&blob.wCalendarType);
    stream.ReadDWord(&blob.dwFirstDateTime);
    stream.ReadDWord(&blob.dwPeriod);
    stream.ReadDWord(&blob.dwSlidingFlag);
    ReadPatternSpecific(stream, blob);
    stream.ReadDWord(&blob.dwEndType);
    stream.ReadDWord(&blob.dwOccurrenceCount);
    stream.ReadDWord(&blob.dwFirstDayOfWeek);
    ReadDates(stream, blob.dwDeletedInstanceCount, blob.deletedInstanceDates);
    ReadDates(stream, blob.dwModifiedInstanceCount, blob.modifiedInstanceDates);
    stream.ReadDWord(&blob.dwStartDate);
    stream.ReadDWord(&blob.dwEndDate);
    ReadAppointmentPart(stream, blob);
    return blob;
}
} // namespace mapipim
