// Completing a pattern's range before it is written: occurrence counts and end dates by the occurrence enumerator
// (the worked results kept as they are), the first date-time of each frequency, and degenerate patterns that must
// neither hang nor divide by zero but keep their range and say why.
#include "items/MAPIRecurItem.h"

#include "platform/trace/TraceCapture.h"
#include "support/AfxPrinters.h"
#include "support/TimeBuilders.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
enum
{
    kEndByDate = 0,
    kEndAfterCount = 1,
    kEndNever = 2,
    kSunday = 0,
    kMonday = 1,
};

CMAPIRecurring Pattern(WORD nFrequency, WORD nPatternType, DWORD nPeriod, SYSTEMTIME tmStart, LONG nEndType)
{
    CMAPIRecurring pattern;
    pattern.nFrequency = nFrequency;
    pattern.nPatternType = nPatternType;
    pattern.nPeriod = nPeriod;
    pattern.tmStartDate = tmStart;
    pattern.nEndType = nEndType;
    return pattern;
}

CMAPIRecurring EndingOn(CMAPIRecurring pattern, SYSTEMTIME tmEnd)
{
    pattern.tmEndDate = tmEnd;
    return pattern;
}

CMAPIRecurring EndingAfter(CMAPIRecurring pattern, LONG nCount)
{
    pattern.nOccurrenceCount = nCount;
    return pattern;
}

void ExpectDate(const SYSTEMTIME& tm, WORD wYear, WORD wMonth, WORD wDay, WORD wHour = 0, WORD wMinute = 0)
{
    EXPECT_EQ(wYear, tm.wYear);
    EXPECT_EQ(wMonth, tm.wMonth);
    EXPECT_EQ(wDay, tm.wDay);
    EXPECT_EQ(wHour, tm.wHour);
    EXPECT_EQ(wMinute, tm.wMinute);
}

LONG CountOf(CMAPIRecurring pattern, int nFirstDayOfWeek = kSunday)
{
    EXPECT_TRUE(CMAPIRecurItem::CompleteRecurrenceRange(pattern, nFirstDayOfWeek));
    return pattern.nOccurrenceCount;
}

SYSTEMTIME EndOf(CMAPIRecurring pattern, int nFirstDayOfWeek = kSunday)
{
    EXPECT_TRUE(CMAPIRecurItem::CompleteRecurrenceRange(pattern, nFirstDayOfWeek));
    return pattern.tmEndDate;
}
} // namespace

// ---- The worked results

TEST(RecurrenceRangeTest, DailyByDateCountsEveryDayOfTheRange)
{
    EXPECT_EQ(10, CountOf(EndingOn(Pattern(0, 0, 1440, MakeSystemTime(2010, 3, 1), kEndByDate),
                                   MakeSystemTime(2010, 3, 10))));
}

TEST(RecurrenceRangeTest, YearlyAfterThreeEndsTwoYearsLaterAtMidnight)
{
    const SYSTEMTIME tmEnd = EndOf(EndingAfter(Pattern(3, 2, 12, MakeSystemTime(2010, 2, 10), kEndAfterCount), 3));
    ExpectDate(tmEnd, 2012, 2, 10);
    EXPECT_EQ(5, tmEnd.wDayOfWeek); // a Friday
}

TEST(RecurrenceRangeTest, YearlyPastTheLastCalendarDayIsClampedTo4499)
{
    CMAPIRecurring pattern = EndingAfter(Pattern(3, 2, 12, MakeSystemTime(2010, 10, 5), kEndAfterCount), 3000);
    ASSERT_TRUE(CMAPIRecurItem::CompleteRecurrenceRange(pattern, kSunday));
    ExpectDate(pattern.tmEndDate, 4499, 10, 5);
    EXPECT_EQ(2490, pattern.nOccurrenceCount);
}

TEST(RecurrenceRangeTest, NeverEndingPatternsEndOn4500August31AndCountTen)
{
    CMAPIRecurring pattern; // weekly on Monday and Tuesday, never ending, no start date yet
    pattern.tmEndDate.wMilliseconds = 7;
    pattern.nOccurrenceCount = 99;
    ASSERT_TRUE(CMAPIRecurItem::CompleteRecurrenceRange(pattern, kSunday));
    ExpectDate(pattern.tmEndDate, 4500, 8, 31, 23, 59);
    EXPECT_EQ(7, pattern.tmEndDate.wMilliseconds);
    EXPECT_EQ(10, pattern.nOccurrenceCount);
}

// ---- Counts and end dates the enumerator gets right

TEST(RecurrenceRangeTest, WeeklyByDateCountsTheStartAndStopsAtTheEnd)
{
    CMAPIRecurring mondays =
        EndingOn(Pattern(1, 1, 1, MakeSystemTime(2010, 3, 1), kEndByDate), MakeSystemTime(2010, 3, 29));
    mondays.nDayMask = 0x02;
    EXPECT_EQ(5, CountOf(mondays));
    mondays.tmEndDate = MakeSystemTime(2010, 3, 28); // a Sunday: the 29th is past the end
    EXPECT_EQ(4, CountOf(mondays));
}

TEST(RecurrenceRangeTest, WeeklyAfterCountEndsOnTheNthOccurrence)
{
    CMAPIRecurring pattern = EndingAfter(Pattern(1, 1, 1, MakeSystemTime(2007, 3, 26), kEndAfterCount), 12);
    pattern.nDayMask = 0x32; // Monday, Thursday, Friday
    ExpectDate(EndOf(pattern), 2007, 4, 20);
    pattern.nPeriod = 2; // every other week: the weeks of 03-26, 04-09, 04-23 and 05-07
    ExpectDate(EndOf(pattern), 2007, 5, 11);
}

TEST(RecurrenceRangeTest, MonthlyHonoursItsPeriodAndCountsTheStart)
{
    const CMAPIRecurring everyOtherMonth = Pattern(2, 2, 2, MakeSystemTime(2010, 1, 15), kEndByDate);
    EXPECT_EQ(6, CountOf(EndingOn(everyOtherMonth, MakeSystemTime(2010, 12, 31))));
    EXPECT_EQ(1, CountOf(EndingOn(everyOtherMonth, MakeSystemTime(2010, 1, 15))));
    ExpectDate(EndOf(EndingAfter(Pattern(2, 2, 2, MakeSystemTime(2010, 1, 15), kEndAfterCount), 3)), 2010, 5, 15);
}

TEST(RecurrenceRangeTest, MonthlyOnTheNthWeekday)
{
    CMAPIRecurring lastFriday = EndingAfter(Pattern(2, 3, 1, MakeSystemTime(2024, 3, 1), kEndAfterCount), 3);
    lastFriday.nDayMask = 0x20;
    lastFriday.nWeekNumber = 5;
    ExpectDate(EndOf(lastFriday), 2024, 5, 31);
    lastFriday.nEndType = kEndByDate;
    lastFriday.tmEndDate = MakeSystemTime(2024, 12, 31);
    EXPECT_EQ(10, CountOf(lastFriday));
}

TEST(RecurrenceRangeTest, MonthlyRecursOnTheStartsDayWhateverTheMask)
{
    // The blob records the start's day of the month for a month pattern: the count follows it, not nDayMask.
    CMAPIRecurring pattern = EndingAfter(Pattern(2, 2, 1, MakeSystemTime(2024, 1, 31), kEndAfterCount), 2);
    pattern.nDayMask = 6;
    ExpectDate(EndOf(pattern), 2024, 2, 29);
}

TEST(RecurrenceRangeTest, EveryWeekdaySkipsTheWeekend)
{
    const CMAPIRecurring weekdays = Pattern(0, 1, 1, MakeSystemTime(2010, 3, 5), kEndAfterCount); // a Friday
    ExpectDate(EndOf(EndingAfter(weekdays, 6)), 2010, 3, 12);
    EXPECT_EQ(5,
              CountOf(EndingOn(Pattern(0, 1, 1, MakeSystemTime(2010, 3, 6), kEndByDate), MakeSystemTime(2010, 3, 12))));
}

TEST(RecurrenceRangeTest, AnEndAfterCountIsMidnightOfItsDay)
{
    CMAPIRecurring pattern = EndingAfter(Pattern(0, 0, 2880, MakeSystemTime(2010, 3, 1, 10, 30), kEndAfterCount), 3);
    pattern.tmEndDate.wMilliseconds = 250;
    const SYSTEMTIME tmEnd = EndOf(pattern);
    ExpectDate(tmEnd, 2010, 3, 5);
    EXPECT_EQ(0, tmEnd.wSecond);
    EXPECT_EQ(250, tmEnd.wMilliseconds);
}

TEST(RecurrenceRangeTest, AnotherEndTypeChangesNothing)
{
    CMAPIRecurring pattern = EndingAfter(Pattern(0, 0, 1440, MakeSystemTime(2010, 3, 1), 3), 4);
    ASSERT_TRUE(CMAPIRecurItem::CompleteRecurrenceRange(pattern, kSunday));
    EXPECT_EQ(4, pattern.nOccurrenceCount);
    EXPECT_EQ(0, pattern.tmEndDate.wYear);
}

// ---- Patterns whose range cannot be computed keep it and say why

namespace
{
struct Unwalkable
{
    CMAPIRecurring pattern;
    const char16_t* pszLine;
};

std::vector<Unwalkable> UnwalkablePatterns()
{
    CMAPIRecurring noWeekday = EndingAfter(Pattern(1, 1, 1, MakeSystemTime(2010, 3, 1), kEndAfterCount), 10);
    noWeekday.nDayMask = 0x80; // no bit of a weekday
    CMAPIRecurring noPeriod =
        EndingOn(Pattern(1, 1, 0, MakeSystemTime(2010, 3, 1), kEndByDate), MakeSystemTime(2011, 1, 1));
    CMAPIRecurring subDaily =
        EndingOn(Pattern(0, 0, 60, MakeSystemTime(2010, 3, 1), kEndByDate), MakeSystemTime(2011, 1, 1));
    CMAPIRecurring weekFive = EndingAfter(Pattern(2, 3, 1, MakeSystemTime(2010, 3, 1), kEndAfterCount), 3);
    weekFive.nDayMask = 0x02;
    weekFive.nWeekNumber = 6;
    CMAPIRecurring hijri = EndingAfter(Pattern(2, 10, 1, MakeSystemTime(2010, 3, 1), kEndAfterCount), 3);
    CMAPIRecurring hebrew = EndingAfter(Pattern(3, 2, 12, MakeSystemTime(2010, 3, 1), kEndAfterCount), 3);
    hebrew.nCalendarType = 8;
    CMAPIRecurring noStart = EndingAfter(Pattern(0, 0, 1440, SYSTEMTIME{}, kEndAfterCount), 3);
    CMAPIRecurring noEnd = EndingOn(Pattern(0, 0, 1440, MakeSystemTime(2010, 3, 1), kEndByDate), SYSTEMTIME{});
    CMAPIRecurring noCount = EndingAfter(Pattern(0, 0, 1440, MakeSystemTime(2010, 3, 1), kEndAfterCount), 0);
    CMAPIRecurring neverStarts = EndingAfter(Pattern(0, 0, 1440, MakeSystemTime(4600, 1, 1), kEndAfterCount), 2);
    CMAPIRecurring neverEndingNoPeriod = Pattern(1, 1, 0, MakeSystemTime(2010, 3, 1), kEndNever);
    CMAPIRecurring hebrewNoPeriod = Pattern(1, 1, 0, MakeSystemTime(2010, 3, 1), kEndAfterCount);
    hebrewNoPeriod.nCalendarType = 8;
    return {
        {noWeekday, u"[MAPI] Recurrence range left as given : no weekday in the day mask"},
        {noPeriod, u"[MAPI] Recurrence range left as given : period of 0"},
        {subDaily, u"[MAPI] Recurrence range left as given : daily period below one day"},
        {weekFive, u"[MAPI] Recurrence range left as given : week number outside 1 to 5"},
        {hijri, u"[MAPI] Recurrence range left as given : not a Gregorian pattern"},
        {hebrew, u"[MAPI] Recurrence range left as given : not a Gregorian pattern"},
        {noStart, u"[MAPI] Recurrence range left as given : no valid start date"},
        {noEnd, u"[MAPI] Recurrence range left as given : no valid end date"},
        {noCount, u"[MAPI] Recurrence range left as given : occurrence count below 1"},
        {neverStarts, u"[MAPI] Recurrence range left as given : no occurrence before 4500-08-31"},
        {neverEndingNoPeriod, u"[MAPI] Recurrence range left as given : period of 0"},
        {hebrewNoPeriod, u"[MAPI] Recurrence range left as given : period of 0"},
    };
}
} // namespace

TEST(RecurrenceRangeTest, UnwalkablePatternsKeepTheirRangeAndTraceWhy)
{
    for (const Unwalkable& item : UnwalkablePatterns())
    {
        CMAPIRecurring pattern = item.pattern;
        pattern.tmEndDate.wHour = 17; // marks the end date as given
        const LONG nCount = pattern.nOccurrenceCount;
        mapipim::TraceCapture capture;
        EXPECT_FALSE(CMAPIRecurItem::CompleteRecurrenceRange(pattern, kSunday)) << CString(item.pszLine);
        EXPECT_EQ(std::vector<CString>{CString(item.pszLine)}, capture.GetLines());
        EXPECT_EQ(17, pattern.tmEndDate.wHour);
        EXPECT_EQ(item.pattern.tmEndDate.wYear, pattern.tmEndDate.wYear);
        EXPECT_EQ(nCount, pattern.nOccurrenceCount);
    }
}

TEST(RecurrenceRangeTest, DegeneratePatternsHaveAFirstDateTimeOfZero)
{
    int nDegenerate = 0;
    for (const Unwalkable& item : UnwalkablePatterns())
    {
        const CString strLine(item.pszLine);
        const bool bDegenerate = strLine.Find(_T("period")) >= 0 || strLine.Find(_T("weekday in")) >= 0 ||
                                 strLine.Find(_T("week number")) >= 0;
        if (!bDegenerate)
            continue;
        EXPECT_EQ(0u, CMAPIRecurItem::GetFirstDateTime(item.pattern, kMonday)) << strLine;
        ++nDegenerate;
    }
    EXPECT_EQ(6, nDegenerate);
}

// ---- First date-time

TEST(RecurrenceRangeTest, FirstDateTimeOfTheWorkedExamples)
{
    // Weekly from Monday 2007-03-26, weeks from Sunday: the week began 2007-03-25; mod one week is 1601-01-07.
    EXPECT_EQ(8640u,
              CMAPIRecurItem::GetFirstDateTime(Pattern(1, 1, 1, MakeSystemTime(2007, 3, 26), kEndByDate), kSunday));
    // Every 3 days from 2011-04-07: 215,776,800 mod 4320.
    EXPECT_EQ(1440u,
              CMAPIRecurItem::GetFirstDateTime(Pattern(0, 0, 4320, MakeSystemTime(2011, 4, 7), kEndByDate), kSunday));
    // Every 3 months from 2008-02-09: 4885 months mod 3 = 1, so 1601-02-01.
    EXPECT_EQ(44640u,
              CMAPIRecurItem::GetFirstDateTime(Pattern(2, 2, 3, MakeSystemTime(2008, 2, 9), kEndByDate), kSunday));
    // Yearly from 2022-12-12, as Outlook wrote it: 1601-12-01.
    EXPECT_EQ(480960u,
              CMAPIRecurItem::GetFirstDateTime(Pattern(3, 2, 12, MakeSystemTime(2022, 12, 12), kEndByDate), kSunday));
    // Every weekday: the weekly rule.
    EXPECT_EQ(8640u,
              CMAPIRecurItem::GetFirstDateTime(Pattern(0, 1, 1, MakeSystemTime(2022, 12, 12), kEndByDate), kSunday));
}

TEST(RecurrenceRangeTest, FirstDateTimeCountsTheMonthsOf1601NotOfTheStartsYear)
{
    // Yearly from 2008-03-05: two months into the period, 1601-03-01 (59 days), whatever 2008's February.
    EXPECT_EQ(59u * 1440,
              CMAPIRecurItem::GetFirstDateTime(Pattern(3, 2, 12, MakeSystemTime(2008, 3, 5), kEndByDate), kSunday));
    // Every 24 months from 2012-03-05: 411 years and 2 months past 1601, 14 months into the period: 1602-03-01.
    EXPECT_EQ((365u + 59) * 1440,
              CMAPIRecurItem::GetFirstDateTime(Pattern(3, 2, 24, MakeSystemTime(2012, 3, 5), kEndByDate), kSunday));
}

TEST(RecurrenceRangeTest, FirstDateTimeOfAFortnightFollowsTheFirstDayOfTheWeek)
{
    // Every other week from Sunday 2024-01-07. Weeks from Monday: the week began Monday 2024-01-01.
    const CMAPIRecurring pattern = Pattern(1, 1, 2, MakeSystemTime(2024, 1, 7), kEndByDate);
    const DWORD dwMonday = CMAPIRecurItem::GetFirstDateTime(pattern, kMonday);
    const DWORD dwSunday = CMAPIRecurItem::GetFirstDateTime(pattern, kSunday);
    EXPECT_EQ(0u, dwSunday % 1440);
    EXPECT_LT(dwSunday, 2u * 10080);
    EXPECT_EQ((dwSunday + 20160 - 6 * 1440) % 20160, dwMonday);
    EXPECT_EQ(1u, (dwMonday / 1440 + 1) % 7); // a Monday of 1601
    EXPECT_EQ(0u, (dwSunday / 1440 + 1) % 7); // a Sunday of 1601
}
