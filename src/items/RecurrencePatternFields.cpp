#include "items/RecurrencePatternFields.h"

#include "items/RecurrenceCalendar.h"

namespace mapipim
{
namespace
{
LONG EndTypeOf(DWORD dwEndType)
{
    if (dwEndType == kRecurEndNeverAlternative)
        dwEndType = kRecurEndNever;
    return static_cast<LONG>(dwEndType - kRecurEndTypeBase);
}
} // namespace

void ReadPatternFields(const RecurrencePatternBlob& blob, CMAPIRecurring& pattern)
{
    pattern.nFrequency = static_cast<WORD>(blob.wFrequency - kRecurFrequencyBase);
    pattern.nPeriod = blob.dwPeriod;
    pattern.nPatternType = blob.wPatternType;
    pattern.nCalendarType = blob.wCalendarType;
    pattern.nSlidingFlag = blob.dwSlidingFlag;
    pattern.nDayMask = blob.dwPatternSpecific1;
    pattern.nWeekNumber = static_cast<LONG>(blob.dwPatternSpecific2);
    pattern.nEndType = EndTypeOf(blob.dwEndType);
    pattern.nOccurrenceCount = static_cast<LONG>(blob.dwOccurrenceCount);
    pattern.tmStartDate = SystemTimeOfMinutes(blob.dwStartDate);
    pattern.tmEndDate = SystemTimeOfMinutes(blob.dwEndDate);
}
} // namespace mapipim
