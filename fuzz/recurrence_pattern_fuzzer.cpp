// The recurrence blob parser behind CMAPIRecurItem::GetRecurrencePattern, over any bytes a store may hold, and what
// the library does next with such a pattern: complete its range with the occurrence enumerator.
// Checks: the instance lists never claim more dates than the value holds; writing what was read and reading it
// again gives the same pattern with the same changed occurrences; completing the range ends (the enumerator never passes 4500-08-31), a count it
// computes for an end date agrees with the end date it computes for that count.
//
// Input: the value's bytes.
#include "FuzzSupport.h"

#include "items/MAPIRecurItem.h"
#include "items/RecurrencePatternFields.h"
#include "items/RecurrenceRule.h"

#include <vector>

using namespace mapipim;

namespace
{
bool SameExceptions(const std::vector<RecurrenceException>& a, const std::vector<RecurrenceException>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        const WORD wFlags = a[i].wOverrideFlags;
        if (a[i].dwStartDateTime != b[i].dwStartDateTime || a[i].dwEndDateTime != b[i].dwEndDateTime ||
            a[i].dwOriginalStartTime != b[i].dwOriginalStartTime || wFlags != b[i].wOverrideFlags ||
            ((wFlags & kOverrideSubject) && a[i].strSubject != b[i].strSubject) ||
            ((wFlags & kOverrideLocation) && a[i].strLocation != b[i].strLocation) ||
            ((wFlags & kOverrideBusyStatus) && a[i].dwBusyStatus != b[i].dwBusyStatus) ||
            ((wFlags & kOverrideReminderDelta) && a[i].dwReminderDelta != b[i].dwReminderDelta))
            return false;
    }
    return true;
}

bool SamePattern(const RecurrencePatternBlob& a, const RecurrencePatternBlob& b)
{
    return a.wFrequency == b.wFrequency && a.wPatternType == b.wPatternType && a.wCalendarType == b.wCalendarType &&
           a.dwFirstDateTime == b.dwFirstDateTime && a.dwPeriod == b.dwPeriod && a.dwSlidingFlag == b.dwSlidingFlag &&
           a.dwPatternSpecific1 == b.dwPatternSpecific1 && a.dwPatternSpecific2 == b.dwPatternSpecific2 &&
           a.dwEndType == b.dwEndType && a.dwOccurrenceCount == b.dwOccurrenceCount &&
           a.dwFirstDayOfWeek == b.dwFirstDayOfWeek && a.deletedInstanceDates == b.deletedInstanceDates &&
           a.modifiedInstanceDates == b.modifiedInstanceDates && a.dwStartDate == b.dwStartDate &&
           a.dwEndDate == b.dwEndDate && a.dwStartTimeOffset == b.dwStartTimeOffset &&
           a.dwEndTimeOffset == b.dwEndTimeOffset && SameExceptions(a.exceptions, b.exceptions);
}

void CheckRoundTrip(const RecurrencePatternBlob& read)
{
    std::vector<BYTE> buffer(RecurrencePatternSize(read));
    CMAPIByteStream stream;
    stream.Init(static_cast<ULONG>(buffer.size()), buffer.data());
    WriteRecurrencePattern(stream, read);
    FUZZ_CHECK(stream.GetLength() == buffer.size());
    BlobReader again(buffer.data(), static_cast<ULONG>(buffer.size()));
    FUZZ_CHECK(SamePattern(read, ReadRecurrencePattern(again)));
}

// A pattern that ends after its computed count ends on its computed end date, and back.
void CheckRangeAgreement(const CMAPIRecurring& pattern)
{
    const int nFirstDayOfWeek = static_cast<int>(pattern.nSlidingFlag % 7);
    CMAPIRecurring completed = pattern;
    if (!CMAPIRecurItem::CompleteRecurrenceRange(completed, nFirstDayOfWeek) || completed.nEndType != 1)
        return;
    CMAPIRecurring byDate = completed;
    byDate.nEndType = 0;
    FUZZ_CHECK(CMAPIRecurItem::CompleteRecurrenceRange(byDate, nFirstDayOfWeek));
    FUZZ_CHECK(byDate.nOccurrenceCount == completed.nOccurrenceCount);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    BlobReader reader(data, static_cast<ULONG>(size));
    const RecurrencePatternBlob blob = ReadRecurrencePattern(reader);
    FUZZ_CHECK(4 * (blob.deletedInstanceDates.size() + blob.modifiedInstanceDates.size()) <= size);
    FUZZ_CHECK(blob.deletedInstanceDates.size() <= blob.dwDeletedInstanceCount);
    FUZZ_CHECK(blob.modifiedInstanceDates.size() <= blob.dwModifiedInstanceCount);
    CheckRoundTrip(blob);

    CMAPIRecurring pattern;
    ReadPatternFields(blob, pattern);
    CMAPIRecurItem::GetFirstDateTime(pattern, 0);
    CheckRangeAgreement(pattern);
    return 0;
}
