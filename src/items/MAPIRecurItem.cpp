// The recurrence blob of an appointment or task: written from a completed CMAPIRecurring, read back into one.
#include "items/MAPIRecurItem.h"

#include "items/FirstDayOfWeek.h"
#include "items/RecurrenceCalendar.h"
#include "items/RecurrencePatternFields.h"

#include <mapipim/TimeConversion.h>

#include <vector>

using namespace mapipim;

namespace
{
// The first pattern-specific value: for the day-of-month types (month, month-end and their Hijri forms) the day
// of the month, which the blob records as the start's; for the others the day mask.
DWORD PatternSpecific1(const CMAPIRecurring& pattern)
{
    switch (pattern.nPatternType)
    {
    case 2:
    case 4:
    case 10:
    case 12:
        return pattern.tmStartDate.wDay;
    default:
        return pattern.nDayMask;
    }
}

DWORD EndDateMinutes(const CMAPIRecurring& pattern, DWORD dwEndType)
{
    return dwEndType == kRecurEndNever ? static_cast<DWORD>(kRecurNeverEndDate) : MinutesOf(pattern.tmEndDate);
}

// Minutes after midnight of the appointment's start, in the appointment's zone: the machine's local time taken at
// the machine's standard bias, then shown at the zone's bias.
DWORD StartTimeOffset(const CMAPIScheduleInfo& schedule)
{
    CMAPITimeZone machineStandard; // carries the machine's standard Bias, whatever the season
    CMAPITimeZone zone(schedule.tzStartTime);
    SYSTEMTIME tmInput = schedule.tzStartTime.tmDateTime;
    SYSTEMTIME tmUTC = {};
    SYSTEMTIME tmZone = {};
    GetLocalTimeToSystemTime(tmInput, tmUTC, &machineStandard);
    GetSystemTimeToLocalTime(tmUTC, tmZone, &zone);
    return static_cast<DWORD>(tmZone.wHour) * 60 + tmZone.wMinute;
}

// Minutes after the same midnight at which each occurrence ends: past 1440 for one that ends on a later day (an
// all-day appointment ends at 1440, as Outlook writes it), never before the start.
DWORD EndTimeOffset(const CMAPIScheduleInfo& schedule, DWORD dwStartOffset)
{
    const DWORD dwStart = MinutesOf(schedule.tzStartTime.tmDateTime);
    const DWORD dwEnd = MinutesOf(schedule.tzEndTime.tmDateTime);
    return dwStart != 0 && dwEnd > dwStart ? dwStartOffset + (dwEnd - dwStart) : dwStartOffset;
}

RecurrencePatternBlob BlobOf(CMAPIRecurring& pattern, CMAPIScheduleInfo* pSchedule, int nFirstDayOfWeek)
{
    RecurrencePatternBlob blob;
    blob.wFrequency = static_cast<WORD>(pattern.nFrequency + kRecurFrequencyBase);
    blob.wPatternType = pattern.nPatternType;
    blob.wCalendarType = pattern.nCalendarType;
    blob.dwFirstDateTime = CMAPIRecurItem::GetFirstDateTime(pattern, nFirstDayOfWeek);
    blob.dwPeriod = pattern.nPeriod;
    blob.dwSlidingFlag = pattern.nSlidingFlag;
    blob.dwPatternSpecific1 = PatternSpecific1(pattern);
    blob.dwPatternSpecific2 = static_cast<DWORD>(pattern.nWeekNumber);
    CMAPIRecurItem::CompleteRecurrenceRange(pattern, nFirstDayOfWeek);
    blob.dwEndType = static_cast<DWORD>(pattern.nEndType) + kRecurEndTypeBase;
    blob.dwOccurrenceCount = static_cast<DWORD>(pattern.nOccurrenceCount);
    blob.dwFirstDayOfWeek = static_cast<DWORD>(nFirstDayOfWeek);
    blob.dwStartDate = MinutesOf(pattern.tmStartDate);
    blob.dwEndDate = EndDateMinutes(pattern, blob.dwEndType);
    if (pSchedule)
    {
        blob.bHasAppointmentPart = true;
        blob.dwStartTimeOffset = StartTimeOffset(*pSchedule);
        blob.dwEndTimeOffset = EndTimeOffset(*pSchedule, blob.dwStartTimeOffset);
    }
    return blob;
}
} // namespace

CMAPIRecurItem::CMAPIRecurItem() {}

CMAPIRecurItem::~CMAPIRecurItem() {}

BOOL CMAPIRecurItem::SetRecurrencePattern(int nSet, ULONG ulID, CMAPIRecurring* pRecurring,
                                          CMAPIScheduleInfo* pSchedule)
{
    if (!pRecurring)
        return FALSE;
    const RecurrencePatternBlob blob = BlobOf(*pRecurring, pSchedule, GetFirstDayOfWeek());
    std::vector<BYTE> buffer(RecurrencePatternSize(blob));
    CMAPIByteStream stream;
    stream.Init(static_cast<ULONG>(buffer.size()), buffer.data());
    WriteRecurrencePattern(stream, blob);
    return SetPropertyBinary(ulID, stream, nSet);
}

BOOL CMAPIRecurItem::GetRecurrencePattern(int nSet, ULONG ulID, CMAPIRecurring* pRecurring)
{
    if (!pRecurring)
        return FALSE;
    BlobReader stream;
    if (!GetPropertyBinary(ulID, stream, nSet))
        return FALSE;
    ReadPatternFields(ReadRecurrencePattern(stream), *pRecurring);
    return TRUE;
}
