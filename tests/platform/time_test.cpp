#include "platform/platform.h"

#include "support/TimeBuilders.h"

#include <gtest/gtest.h>

#include <ctime>

namespace
{
void ExpectSame(const SYSTEMTIME& expected, const SYSTEMTIME& actual)
{
    EXPECT_EQ(expected.wYear, actual.wYear);
    EXPECT_EQ(expected.wMonth, actual.wMonth);
    EXPECT_EQ(expected.wDay, actual.wDay);
    EXPECT_EQ(expected.wHour, actual.wHour);
    EXPECT_EQ(expected.wMinute, actual.wMinute);
    EXPECT_EQ(expected.wSecond, actual.wSecond);
    EXPECT_EQ(expected.wMilliseconds, actual.wMilliseconds);
}
} // namespace

TEST(FileTimeConversion, EpochIsMondayFirstJanuary1601)
{
    SYSTEMTIME st{};
    const FILETIME zero{0, 0};
    ASSERT_TRUE(FileTimeToSystemTime(&zero, &st));
    ExpectSame(MakeSystemTime(1601, 1, 1), st);
    EXPECT_EQ(1, st.wDayOfWeek);
}

TEST(FileTimeConversion, UnixEpochAndMillisecondsAreExact)
{
    FILETIME ft{};
    const SYSTEMTIME unixEpoch = MakeSystemTime(1970, 1, 1);
    ASSERT_TRUE(SystemTimeToFileTime(&unixEpoch, &ft));
    EXPECT_EQ(116444736000000000ull, FileTimeTicks(ft));

    const FILETIME withFraction = FileTimeFromTicks(116444736000000000ull + 12'345'6789ull);
    SYSTEMTIME st{};
    ASSERT_TRUE(FileTimeToSystemTime(&withFraction, &st));
    ExpectSame(MakeSystemTime(1970, 1, 1, 0, 0, 12, 345), st);
    EXPECT_EQ(4, st.wDayOfWeek); // Thursday
}

TEST(FileTimeConversion, LeapDaysRoundTrip)
{
    for (const SYSTEMTIME& leapDay :
         {MakeSystemTime(2024, 2, 29, 12, 34, 56, 789), MakeSystemTime(2000, 2, 29, 23, 59, 59, 999),
          MakeSystemTime(1604, 2, 29), MakeSystemTime(2400, 2, 29, 6)})
    {
        FILETIME ft{};
        SYSTEMTIME back{};
        ASSERT_TRUE(SystemTimeToFileTime(&leapDay, &ft)) << leapDay.wYear;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
        ExpectSame(leapDay, back);
    }
    const SYSTEMTIME day = MakeSystemTime(2024, 2, 29);
    FILETIME ft{};
    SYSTEMTIME back{};
    SystemTimeToFileTime(&day, &ft);
    FileTimeToSystemTime(&ft, &back);
    EXPECT_EQ(4, back.wDayOfWeek); // a Thursday
}

TEST(FileTimeConversion, EveryDayOfFourCenturiesFollowsTheCalendar)
{
    const uint64_t ticksPerDay = 864'000'000'000ull;
    SYSTEMTIME previous{};
    FILETIME start{0, 0};
    ASSERT_TRUE(FileTimeToSystemTime(&start, &previous));
    for (uint64_t day = 1; day <= 146'097; ++day)
    {
        const FILETIME ft = FileTimeFromTicks(day * ticksPerDay);
        SYSTEMTIME st{};
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
        ASSERT_EQ((previous.wDayOfWeek + 1) % 7, st.wDayOfWeek);
        const bool sameMonth = st.wMonth == previous.wMonth && st.wDay == previous.wDay + 1;
        const bool nextMonth = st.wDay == 1 && (st.wMonth == previous.wMonth % 12 + 1);
        ASSERT_TRUE(sameMonth || nextMonth) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
        FILETIME back{};
        ASSERT_TRUE(SystemTimeToFileTime(&st, &back));
        ASSERT_EQ(FileTimeTicks(ft), FileTimeTicks(back));
        previous = st;
    }
    EXPECT_EQ(2001, previous.wYear); // 400 Gregorian years are exactly 146097 days
    EXPECT_EQ(1, previous.wMonth);
    EXPECT_EQ(1, previous.wDay);
}

TEST(FileTimeConversion, InvalidSystemTimesAreRejected)
{
    const SYSTEMTIME invalid[] = {MakeSystemTime(2024, 0, 1),
                                  MakeSystemTime(2024, 13, 1),
                                  MakeSystemTime(2024, 1, 0),
                                  MakeSystemTime(2024, 1, 32),
                                  MakeSystemTime(2024, 4, 31),
                                  MakeSystemTime(2023, 2, 29),
                                  MakeSystemTime(1900, 2, 29),
                                  MakeSystemTime(2024, 1, 1, 24),
                                  MakeSystemTime(2024, 1, 1, 0, 60),
                                  MakeSystemTime(2024, 1, 1, 0, 0, 60),
                                  MakeSystemTime(2024, 1, 1, 0, 0, 0, 1000),
                                  MakeSystemTime(1600, 12, 31),
                                  SYSTEMTIME{}};
    for (const SYSTEMTIME& st : invalid)
    {
        FILETIME ft{0x1234, 0x5678};
        SetLastError(ERROR_SUCCESS);
        EXPECT_FALSE(SystemTimeToFileTime(&st, &ft)) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
        EXPECT_EQ(0x1234u, ft.dwLowDateTime);
    }
    EXPECT_FALSE(SystemTimeToFileTime(nullptr, nullptr));
}

TEST(FileTimeConversion, DayOfWeekOnInputIsIgnored)
{
    SYSTEMTIME st = MakeSystemTime(2024, 3, 31);
    st.wDayOfWeek = 6;
    FILETIME a{};
    FILETIME b{};
    ASSERT_TRUE(SystemTimeToFileTime(&st, &a));
    st.wDayOfWeek = 0;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &b));
    EXPECT_EQ(FileTimeTicks(a), FileTimeTicks(b));
}

TEST(FileTimeConversion, LargestFileTimeConvertsAndBeyondFails)
{
    SYSTEMTIME st{};
    const FILETIME largest = FileTimeFromTicks(0x7FFFFFFFFFFFFFFFull);
    ASSERT_TRUE(FileTimeToSystemTime(&largest, &st));
    ExpectSame(MakeSystemTime(30828, 9, 14, 2, 48, 5, 477), st);
    const FILETIME negative = FileTimeFromTicks(0x8000000000000000ull);
    EXPECT_FALSE(FileTimeToSystemTime(&negative, &st));
    EXPECT_FALSE(FileTimeToSystemTime(nullptr, &st));
}

TEST(SystemClock, AgreesWithTheCLibraryClock)
{
    FILETIME ft{};
    SYSTEMTIME st{};
    const time_t before = time(nullptr);
    GetSystemTimeAsFileTime(&ft);
    GetSystemTime(&st);
    const time_t after = time(nullptr);
    const int64_t seconds = static_cast<int64_t>((FileTimeTicks(ft) - 116444736000000000ull) / 10'000'000ull);
    EXPECT_GE(seconds, before);
    EXPECT_LE(seconds, after);

    FILETIME fromSystemTime{};
    ASSERT_TRUE(SystemTimeToFileTime(&st, &fromSystemTime));
    // Read later, at millisecond precision: at most a millisecond before, and well within two seconds after.
    const int64_t difference = static_cast<int64_t>(FileTimeTicks(fromSystemTime) - FileTimeTicks(ft));
    EXPECT_GT(difference, -10'000);
    EXPECT_LT(difference, 20'000'000);
}
