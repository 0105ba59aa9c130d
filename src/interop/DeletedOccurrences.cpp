#include "interop/DeletedOccurrences.h"

#include "items/MAPIScheduleItem.h"
#include "items/RecurrencePatternBlob.h"
#include "items/ScheduleProperties.h"

namespace mapipim::interop
{
std::vector<DWORD> ReadDeletedOccurrences(CMAPIEx& mapi, SBinary& entryID)
{
    CMAPIScheduleItem item;
    BlobReader stream;
    if (!item.Open(&mapi, entryID) ||
        !item.GetPropertyBinary(PidLidAppointmentRecur, stream, MAPIPIM_SET_APPOINTMENT))
        return {};
    return ReadRecurrencePattern(stream).deletedInstanceDates;
}

bool WriteDeletedOccurrences(CMAPIEx& mapi, SBinary& entryID, const std::vector<DWORD>& dates)
{
    CMAPIScheduleItem item;
    BlobReader reader;
    if (!item.Open(&mapi, entryID) ||
        !item.GetPropertyBinary(PidLidAppointmentRecur, reader, MAPIPIM_SET_APPOINTMENT))
        return false;
    RecurrencePatternBlob blob = ReadRecurrencePattern(reader);
    blob.deletedInstanceDates = dates;
    blob.dwDeletedInstanceCount = static_cast<DWORD>(dates.size());
    std::vector<BYTE> buffer(RecurrencePatternSize(blob));
    CMAPIByteStream writer;
    writer.Init(static_cast<ULONG>(buffer.size()), buffer.data());
    WriteRecurrencePattern(writer, blob);
    return item.SetPropertyBinary(PidLidAppointmentRecur, writer, MAPIPIM_SET_APPOINTMENT) && item.Save(FALSE);
}
} // namespace mapipim::interop
