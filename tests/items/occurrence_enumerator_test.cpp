// The occurrence enumerator against a paper calendar: each expected date below can be checked on any calendar of
// its year. Then, for random rules, its n-th occurrence, its counts and its seeking agree with one another.
#include "items/OccurrenceEnumerator.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace mapipim;

namespace
{
DayNumber Day(int year, int month, int day)
{
    return DayNumberOf(CivilDate{year, month, day});
}

std::string Text(DayNumber day)
{
    const CivilDate date = CivilDateOf(day);
    char text[16];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::vector<std::string> FirstDates(const RecurrenceRule& rule, size_t count,
                                    std::optional<DayNumber> from = std::nullopt)
{
    OccurrenceEnumerator dates(rule);
    if (from)
        dates.SeekTo(*from);
    std::vector<std::string> texts;
    DayNumber day = 0;
    while (texts.size() < count && dates.Next(day))
        texts.push_back(Text(day));
    return texts;
}

RecurrenceRule Weekly(DWORD dayMask, LONG weeks, DayNumber start, int firstDayOfWeek = 0)
{
    RecurrenceRule rule;
    rule.kind = RecurrenceRule::Kind::Weekly;
    rule.dayMask = dayMask;
    rule.interval = weeks;
    rule.start = start;
    rule.firstDayOfWeek = firstDayOfWeek;
    return rule;
}

RecurrenceRule MonthlyOnDay(int dayOfMonth, LONG months, DayNumber start)
{
    RecurrenceRule rule;
    rule.kind = RecurrenceRule::Kind::MonthlyOnDay;
    rule.dayOfMonth = dayOfMonth;
    rule.interval = months;
    rule.start = start;
    return rule;
}

RecurrenceRule MonthlyOnNth(DWORD dayMask, int weekNumber, LONG months, DayNumber start)
{
    RecurrenceRule rule;
    rule.kind = RecurrenceRule::Kind::MonthlyOnNthWeekday;
    rule.dayMask = dayMask;
    rule.weekNumber = weekNumber;
    rule.interval = months;
    rule.start = start;
    return rule;
}

constexpr DWORD kSunday = 0x01, kMonday = 0x02, kTuesday = 0x04, kThursday = 0x10, kFriday = 0x20, kSaturday = 0x40,
                kWeekdays = 0x3E;
} // namespace

TEST(OccurrenceEnumeratorTest, EveryThreeDays)
{
    RecurrenceRule rule;
    rule.interval = 3;
    rule.start = Day(2011, 4, 7);
    EXPECT_EQ((std::vector<std::string>{"2011-04-07", "2011-04-10", "2011-04-13", "2011-04-16"}), FirstDates(rule, 4));
    EXPECT_EQ(10, CountOccurrencesThrough(rule, Day(2011, 5, 4)));
}

TEST(OccurrenceEnumeratorTest, WeeklyOnSeveralDaysStartsOnTheStartDay)
{
    const RecurrenceRule rule = Weekly(kMonday | kThursday | kFriday, 1, Day(2007, 3, 26));
    EXPECT_EQ((std::vector<std::string>{"2007-03-26", "2007-03-29", "2007-03-30", "2007-04-02"}), FirstDates(rule, 4));
    DayNumber twelfth = 0;
    LONG count = 0;
    ASSERT_TRUE(FindNthOccurrence(rule, 12, twelfth, count));
    EXPECT_EQ("2007-04-20", Text(twelfth));
    EXPECT_EQ(12, count);
}

TEST(OccurrenceEnumeratorTest, EveryMondayOfMarch2010CountsFive)
{
    EXPECT_EQ(5, CountOccurrencesThrough(Weekly(kMonday, 1, Day(2010, 3, 1)), Day(2010, 3, 29)));
}

TEST(OccurrenceEnumeratorTest, AStartBetweenTheMaskDaysBeginsWithTheNextOne)
{
    // Wednesday 2024-01-03, every Monday: the first is the next Monday.
    EXPECT_EQ((std::vector<std::string>{"2024-01-08", "2024-01-15"}),
              FirstDates(Weekly(kMonday, 1, Day(2024, 1, 3)), 2));
}

TEST(OccurrenceEnumeratorTest, TheFirstDayOfTheWeekDecidesWhichWeeksOfAFortnightlyPatternCount)
{
    // Every other week on Sunday and Monday, from Monday 2024-01-01.
    // Weeks from Sunday: the start's week is 2023-12-31..2024-01-06, so its Sunday lies before the start.
    EXPECT_EQ((std::vector<std::string>{"2024-01-01", "2024-01-14", "2024-01-15", "2024-01-28"}),
              FirstDates(Weekly(kSunday | kMonday, 2, Day(2024, 1, 1), 0), 4));
    // Weeks from Monday: the start's week is 2024-01-01..01-07 and holds both days.
    EXPECT_EQ((std::vector<std::string>{"2024-01-01", "2024-01-07", "2024-01-15", "2024-01-21"}),
              FirstDates(Weekly(kSunday | kMonday, 2, Day(2024, 1, 1), 1), 4));
}

TEST(OccurrenceEnumeratorTest, MonthlyOnThe31stTakesTheLastDayOfShorterMonths)
{
    EXPECT_EQ((std::vector<std::string>{"2024-01-31", "2024-02-29", "2024-03-31", "2024-04-30"}),
              FirstDates(MonthlyOnDay(31, 1, Day(2024, 1, 31)), 4));
}

TEST(OccurrenceEnumeratorTest, MonthlyEveryOtherMonthAndAStartAfterTheDay)
{
    EXPECT_EQ((std::vector<std::string>{"2010-01-15", "2010-03-15", "2010-05-15"}),
              FirstDates(MonthlyOnDay(15, 2, Day(2010, 1, 15)), 3));
    // Starting on the 20th, the 15th of that month has passed; every other month goes on from the start's month.
    EXPECT_EQ((std::vector<std::string>{"2010-03-15", "2010-05-15"}),
              FirstDates(MonthlyOnDay(15, 2, Day(2010, 1, 20)), 2));
}

TEST(OccurrenceEnumeratorTest, NthWeekdayOfTheMonth)
{
    EXPECT_EQ((std::vector<std::string>{"2024-01-09", "2024-02-13", "2024-03-12"}),
              FirstDates(MonthlyOnNth(kTuesday, 2, 1, Day(2024, 1, 1)), 3)); // second Tuesday
    EXPECT_EQ((std::vector<std::string>{"2024-03-29", "2024-04-26", "2024-05-31"}),
              FirstDates(MonthlyOnNth(kFriday, 5, 1, Day(2024, 3, 1)), 3)); // last Friday
    EXPECT_EQ((std::vector<std::string>{"2024-06-28", "2024-08-30", "2024-10-31"}),
              FirstDates(MonthlyOnNth(kWeekdays, 5, 2, Day(2024, 6, 1)), 3)); // last weekday, every other month
    EXPECT_EQ((std::vector<std::string>{"2024-06-01", "2024-07-06"}),
              FirstDates(MonthlyOnNth(kSunday | kSaturday, 1, 1, Day(2024, 6, 1)), 2)); // first weekend day
}

TEST(OccurrenceEnumeratorTest, YearlyOnTheLeapDayFallsBackToFebruary28th)
{
    EXPECT_EQ((std::vector<std::string>{"2024-02-29", "2025-02-28", "2026-02-28", "2027-02-28", "2028-02-29"}),
              FirstDates(MonthlyOnDay(29, 12, Day(2024, 2, 29)), 5));
}

TEST(OccurrenceEnumeratorTest, NoSeriesGoesPast4500August31st)
{
    const RecurrenceRule yearly = MonthlyOnDay(5, 12, Day(2010, 10, 5));
    DayNumber last = 0;
    LONG count = 0;
    ASSERT_TRUE(FindNthOccurrence(yearly, 3000, last, count));
    EXPECT_EQ("4499-10-05", Text(last));
    EXPECT_EQ(2490, count);

    RecurrenceRule daily;
    daily.start = Day(4500, 8, 30);
    EXPECT_EQ((std::vector<std::string>{"4500-08-30", "4500-08-31"}), FirstDates(daily, 5));
    daily.start = Day(1601, 1, 1);
    ASSERT_TRUE(FindNthOccurrence(daily, 0x7FFFFFFF, last, count));
    EXPECT_EQ("4500-08-31", Text(last));
    EXPECT_EQ(LastRecurrenceDay() + 1, count);
    EXPECT_EQ(LastRecurrenceDay() + 1, CountOccurrencesThrough(daily, Day(9999, 1, 1)));
    daily.start = Day(4500, 9, 1);
    EXPECT_TRUE(FirstDates(daily, 1).empty());
    EXPECT_FALSE(FindNthOccurrence(daily, 1, last, count));
}

TEST(OccurrenceEnumeratorTest, SeekingGivesTheFirstOccurrenceOnOrAfterTheDay)
{
    const RecurrenceRule rule = Weekly(kTuesday | kThursday, 3, Day(2024, 1, 2));
    EXPECT_EQ((std::vector<std::string>{"2024-01-23", "2024-01-25"}), FirstDates(rule, 2, Day(2024, 1, 5)));
    EXPECT_EQ((std::vector<std::string>{"2024-01-25"}), FirstDates(rule, 1, Day(2024, 1, 24)));
    // A day before the start seeks to the start.
    EXPECT_EQ((std::vector<std::string>{"2024-01-02"}), FirstDates(rule, 1, Day(2000, 1, 1)));
}

// ---- Properties over random rules

namespace
{
RecurrenceRule RandomRule(std::mt19937& random)
{
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<LONG> interval(1, 30);
    std::uniform_int_distribution<DWORD> mask(1, 0x7F);
    std::uniform_int_distribution<int> dayOfMonth(1, 31);
    std::uniform_int_distribution<int> weekNumber(1, 5);
    std::uniform_int_distribution<int> weekday(0, 6);
    std::uniform_int_distribution<DayNumber> start(Day(1601, 1, 1), Day(4400, 12, 31));
    RecurrenceRule rule;
    rule.kind = static_cast<RecurrenceRule::Kind>(kind(random));
    rule.interval = interval(random);
    rule.dayMask = mask(random);
    rule.dayOfMonth = dayOfMonth(random);
    rule.weekNumber = weekNumber(random);
    rule.firstDayOfWeek = weekday(random);
    rule.start = start(random);
    return rule;
}
} // namespace

TEST(OccurrenceEnumeratorProperties, NthOccurrenceCountsAndSeekingAgree)
{
    std::mt19937 random(20240601);
    std::uniform_int_distribution<LONG> nth(1, 60);
    for (int trial = 0; trial < 400; ++trial)
    {
        const RecurrenceRule rule = RandomRule(random);
        const LONG n = nth(random);
        DayNumber day = 0;
        LONG reached = 0;
        ASSERT_TRUE(FindNthOccurrence(rule, n, day, reached)) << trial;
        ASSERT_EQ(n, reached) << trial; // far from 4500: every series reaches its n-th
        EXPECT_GE(day, rule.start) << trial;
        EXPECT_EQ(n, CountOccurrencesThrough(rule, day)) << trial;
        EXPECT_EQ(n - 1, CountOccurrencesThrough(rule, day - 1)) << trial;

        OccurrenceEnumerator seeking(rule);
        seeking.SeekTo(day);
        DayNumber found = 0;
        ASSERT_TRUE(seeking.Next(found));
        EXPECT_EQ(day, found) << trial;
    }
}

TEST(OccurrenceEnumeratorProperties, OccurrencesRiseStrictlyAndMatchTheirRule)
{
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial)
    {
        const RecurrenceRule rule = RandomRule(random);
        OccurrenceEnumerator dates(rule);
        DayNumber previous = rule.start - 1;
        DayNumber day = 0;
        for (int i = 0; i < 40 && dates.Next(day); ++i)
        {
            ASSERT_GT(day, previous) << trial;
            const CivilDate date = CivilDateOf(day);
            if (rule.kind == RecurrenceRule::Kind::Weekly || rule.kind == RecurrenceRule::Kind::MonthlyOnNthWeekday)
                EXPECT_NE(0u, rule.dayMask & (1u << WeekdayOf(day))) << trial;
            if (rule.kind == RecurrenceRule::Kind::MonthlyOnDay)
                EXPECT_EQ(std::min(rule.dayOfMonth, DaysInMonth(date.year, date.month)), date.day) << trial;
            if (rule.kind == RecurrenceRule::Kind::EveryNDays)
                EXPECT_EQ(0, (day - rule.start) % rule.interval) << trial;
            previous = day;
        }
    }
}

TEST(OccurrenceEnumeratorProperties, CountsAndNthOccurrencesAgreeWithAPlainWalk)
{
    std::mt19937 random(4500);
    std::uniform_int_distribution<LONG> nth(1, 400);
    std::uniform_int_distribution<DayNumber> nearTheEnd(Day(4490, 1, 1), Day(4500, 8, 31));
    std::uniform_int_distribution<DayNumber> span(0, 3000);
    for (int trial = 0; trial < 300; ++trial)
    {
        RecurrenceRule rule = RandomRule(random);
        if (trial % 2)
            rule.start = nearTheEnd(random); // where the last day a series reaches cuts it short
        const LONG n = nth(random);
        const DayNumber last = rule.start + span(random);

        OccurrenceEnumerator walk(rule);
        std::vector<DayNumber> walked;
        DayNumber day = 0;
        while (walked.size() < static_cast<size_t>(n) && walk.Next(day))
            walked.push_back(day);

        DayNumber nthDay = 0;
        LONG reached = 0;
        ASSERT_EQ(!walked.empty(), FindNthOccurrence(rule, n, nthDay, reached)) << trial;
        EXPECT_EQ(static_cast<LONG>(walked.size()), reached) << trial;
        if (!walked.empty())
            EXPECT_EQ(walked.back(), nthDay) << trial;

        OccurrenceEnumerator through(rule);
        LONG expected = 0;
        while (through.Next(day) && day <= last)
            ++expected;
        EXPECT_EQ(expected, CountOccurrencesThrough(rule, last)) << trial;
    }
}
