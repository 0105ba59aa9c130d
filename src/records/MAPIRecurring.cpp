#include <mapipim/MAPIRecurring.h>

CMAPIRecurring::CMAPIRecurring()
    : nFrequency(1), nPeriod(1), nPatternType(1), nWeekNumber(4), nDayMask(6), nCalendarType(0), tmStartDate(),
      tmEndDate(), nEndType(2), nOccurrenceCount(10), nSlidingFlag(0)
{
}

CMAPIRecurring::CMAPIRecurring(const CMAPIRecurring& source) = default;
CMAPIRecurring& CMAPIRecurring::operator=(const CMAPIRecurring& source) = default;
