// The calendar under recurrence patterns: day numbers from 1601-01-01, weekdays, month lengths and the minute
// counts the recurrence blob keeps dates in, checked against dates anyone can look up.
#include "items/MAPIRecurItem.h"
#include "items/RecurrenceCalendar.h"

#include "support/TimeBuilders.h"

#include <gtest/gtest.h>

using namespace mapipim;

TEST(RecurrenceCalendarTest, DayNumbersRoundTripThroughEveryDayFrom1601To4501)
{
    const DayNumber first = DayNumberOf(CivilDate{1601, 1, 1});
    const DayNumber last = DayNumberOf(CivilDate{4501, 1, 1});
    EXPECT_EQ(0, first);
    CivilDate expected{1601, 1, 1};
    for (DayNumber day = first; day <= last; ++day)
    {
        const CivilDate date = CivilDateOf(day);
        ASSERT_EQ(expected.year, date.year) << day;
        ASSERT_EQ(expected.month, date.month) << day;
        ASSERT_EQ(expected.day, date.day) << day;
        ASSERT_EQ(day, DayNumberOf(date));
        if (++expected.day > DaysInMonth(expected.year, expected.month))
        {
            expected.day = 1;
            if (++expected.month > 12)
            {
                expected.month = 1;
                ++expected.year;
            }
        }
    }
}

TEST(RecurrenceCalendarTest, WeekdaysOfKnownDates)
{
    EXPECT_EQ(1, WeekdayOf(DayNumberOf(CivilDate{1601, 1, 1})));  // a Monday
    EXPECT_EQ(1, WeekdayOf(DayNumberOf(CivilDate{2007, 3, 26}))); // Monday
    EXPECT_EQ(0, WeekdayOf(DayNumberOf(CivilDate{2000, 1, 2})));  // Sunday
    EXPECT_EQ(5, WeekdayOf(DayNumberOf(CivilDate{2023, 1, 6})));  // Friday
    EXPECT_EQ(4, CMAPIRecurItem::CalcDayOfWeek(2010, 1, 21));     // Thursday
    EXPECT_EQ(2, CMAPIRecurItem::CalcDayOfWeek(2000, 2, 29));     // Tuesday
    EXPECT_EQ(5, CMAPIRecurItem::CalcDayOfWeek(4500, 12, 31));    // Friday
}

TEST(RecurrenceCalendarTest, MonthLengthsFollowTheGregorianLeapYears)
{
    EXPECT_EQ(29, CMAPIRecurItem::GetDaysInMonth(2000, 2));
    EXPECT_EQ(28, CMAPIRecurItem::GetDaysInMonth(1900, 2));
    EXPECT_EQ(29, CMAPIRecurItem::GetDaysInMonth(2024, 2));
    EXPECT_EQ(28, CMAPIRecurItem::GetDaysInMonth(2023, 2));
    EXPECT_EQ(31, CMAPIRecurItem::GetDaysInMonth(2000, 1));
    EXPECT_EQ(30, CMAPIRecurItem::GetDaysInMonth(2010, 11));
    EXPECT_EQ(0, CMAPIRecurItem::GetDaysInMonth(2010, 13));
}

TEST(RecurrenceCalendarTest, MinutesOfTheBlobsWorkedDates)
{
    EXPECT_EQ(0x0CBC2080u, MinutesOf(MakeSystemTime(2007, 3, 26)));
    EXPECT_EQ(0x0CBCAD20u, MinutesOf(MakeSystemTime(2007, 4, 20)));
    EXPECT_EQ(0x5AE980DFu, MinutesOf(MakeSystemTime(4500, 12, 31, 23, 59)));
    EXPECT_EQ(0x5AE6D29Fu, MinutesOf(MakeSystemTime(4500, 8, 31, 23, 59)));
    EXPECT_EQ(601u, MinutesOf(MakeSystemTime(1601, 1, 1, 10, 1, 59, 999))); // whole minutes, truncated
    EXPECT_EQ(0u, MinutesOf(SYSTEMTIME{}));                                 // no valid date

    const SYSTEMTIME tm = SystemTimeOfMinutes(0x5AE980DF);
    EXPECT_EQ(4500, tm.wYear);
    EXPECT_EQ(12, tm.wMonth);
    EXPECT_EQ(31, tm.wDay);
    EXPECT_EQ(23, tm.wHour);
    EXPECT_EQ(59, tm.wMinute);
    EXPECT_EQ(5, tm.wDayOfWeek);
}

TEST(RecurrenceCalendarTest, SystemTimesWithoutAValidDateHaveNoDayNumber)
{
    DayNumber day = 42;
    EXPECT_FALSE(DayNumberOfSystemTime(SYSTEMTIME{}, day));
    EXPECT_FALSE(DayNumberOfSystemTime(MakeSystemTime(2010, 2, 29), day));
    EXPECT_FALSE(DayNumberOfSystemTime(MakeSystemTime(1600, 12, 31), day));
    EXPECT_EQ(42, day);
    ASSERT_TRUE(DayNumberOfSystemTime(MakeSystemTime(2012, 2, 29, 23, 59), day));
    EXPECT_EQ(DayNumberOf(CivilDate{2012, 2, 29}), day);
}
