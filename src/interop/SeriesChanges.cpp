#include "interop/SeriesChanges.h"

#include "items/MAPIScheduleItem.h"
#include "items/RecurrenceCalendar.h"
#include "items/RecurrencePatternBlob.h"
#include "items/ScheduleProperties.h"

#include <algorithm>

namespace mapipim::interop
{
namespace
{
DWORD DayOf(DWORD dwMinutes)
{
    return dwMinutes / kMinutesPerDay * kMinutesPerDay;
}

std::vector<DWORD> SortedUnique(std::vector<DWORD> dates)
{
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    return dates;
}
} // namespace

SeriesChanges ReadSeriesChanges(CMAPIEx& mapi, SBinary& entryID)
{
    CMAPIScheduleItem item;
    BlobReader stream;
    if (!item.Open(&mapi, entryID) || !item.GetPropertyBinary(PidLidAppointmentRecur, stream, MAPIPIM_SET_APPOINTMENT))
        return {};
    RecurrencePatternBlob blob = ReadRecurrencePattern(stream);
    SeriesChanges changes;
    changes.changed = std::move(blob.exceptions);
    for (DWORD dwDate : blob.deletedInstanceDates)
    {
        const bool bChanged = std::any_of(changes.changed.begin(), changes.changed.end(),
                                          [dwDate](const RecurrenceException& changed)
                                          { return DayOf(changed.dwOriginalStartTime) == DayOf(dwDate); });
        if (!bChanged)
            changes.deleted.push_back(dwDate);
    }
    return changes;
}

bool WriteSeriesChanges(CMAPIEx& mapi, SBinary& entryID, const SeriesChanges& changes)
{
    CMAPIScheduleItem item;
    BlobReader reader;
    if (!item.Open(&mapi, entryID) || !item.GetPropertyBinary(PidLidAppointmentRecur, reader, MAPIPIM_SET_APPOINTMENT))
        return false;
    RecurrencePatternBlob blob = ReadRecurrencePattern(reader);
    blob.exceptions = changes.changed;
    std::sort(blob.exceptions.begin(), blob.exceptions.end(),
              [](const RecurrenceException& a, const RecurrenceException& b)
              { return a.dwOriginalStartTime < b.dwOriginalStartTime; });
    std::vector<DWORD> deleted = changes.deleted;
    std::vector<DWORD> modified;
    for (const RecurrenceException& changed : blob.exceptions)
    {
        deleted.push_back(DayOf(changed.dwOriginalStartTime));
        modified.push_back(DayOf(changed.dwStartDateTime));
    }
    blob.deletedInstanceDates = SortedUnique(deleted);
    blob.dwDeletedInstanceCount = static_cast<DWORD>(blob.deletedInstanceDates.size());
    std::sort(modified.begin(), modified.end()); // one per exception, two moved to one day included
    blob.modifiedInstanceDates = modified;
    blob.dwModifiedInstanceCount = static_cast<DWORD>(blob.modifiedInstanceDates.size());
    std::vector<BYTE> buffer(RecurrencePatternSize(blob));
    CMAPIByteStream writer;
    writer.Init(static_cast<ULONG>(buffer.size()), buffer.data());
    WriteRecurrencePattern(writer, blob);
    return item.SetPropertyBinary(PidLidAppointmentRecur, writer, MAPIPIM_SET_APPOINTMENT) && item.Save(FALSE);
}
} // namespace mapipim::interop
