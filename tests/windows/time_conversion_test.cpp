// The library's time conversion in the machine zone that Windows serves: every hour of a year goes from UTC to
// local time as Windows converts it, and back to the same UTC, except the hour that the clocks repeat in autumn,
// whose local times stand for their first occurrence (as TimeConversion.h says).
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPITimeZone.h>
#include <mapipim/TimeConversion.h>

#include <gtest/gtest.h>

#include <cstring>

namespace
{
const unsigned long long kTicksPerHour = 36000000000ULL;

SYSTEMTIME SystemTimeOf(unsigned long long ticks)
{
    FILETIME ft = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME st = {};
    FileTimeToSystemTime(&ft, &st);
    return st;
}

unsigned long long TicksOf(const SYSTEMTIME& st)
{
    FILETIME ft = {};
    SystemTimeToFileTime(&st, &ft);
    return (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

bool SameFields(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond && a.wDayOfWeek == b.wDayOfWeek;
}

struct YearWalk
{
    int nMismatches = 0; // local times that differ from Windows' own conversion
    int nRepeated = 0;   // UTC hours that come back one hour earlier
    int nOther = 0;      // UTC hours that come back otherwise changed
};

YearWalk WalkYear(WORD wYear)
{
    SYSTEMTIME stStart = {wYear, 1, 0, 1, 0, 0, 0, 0};
    SYSTEMTIME stEnd = {static_cast<WORD>(wYear + 1), 1, 0, 1, 0, 0, 0, 0};
    YearWalk walk;
    for (unsigned long long ticks = TicksOf(stStart); ticks < TicksOf(stEnd); ticks += kTicksPerHour)
    {
        SYSTEMTIME stUtc = SystemTimeOf(ticks);
        SYSTEMTIME stLocal = {};
        SYSTEMTIME stWindows = {};
        GetSystemTimeToLocalTime(stUtc, stLocal, NULL);
        SystemTimeToTzSpecificLocalTime(NULL, &stUtc, &stWindows);
        if (!SameFields(stLocal, stWindows))
            ++walk.nMismatches;
        SYSTEMTIME stBack = {};
        GetLocalTimeToSystemTime(stLocal, stBack, NULL);
        const unsigned long long back = TicksOf(stBack);
        if (back + kTicksPerHour == ticks)
            ++walk.nRepeated;
        else if (back != ticks)
            ++walk.nOther;
    }
    return walk;
}

TIME_ZONE_INFORMATION MachineZone()
{
    TIME_ZONE_INFORMATION tzi = {};
    GetTimeZoneInformation(&tzi);
    return tzi;
}
} // namespace

TEST(MachineZoneConversion, EveryHourOfAYearRoundTripsButTheRepeatedOne)
{
    const TIME_ZONE_INFORMATION tzi = MachineZone();
    const bool bDaylightSaving = tzi.DaylightDate.wMonth != 0;
    for (WORD wYear : {2023, 2024})
    {
        const YearWalk walk = WalkYear(wYear);
        EXPECT_EQ(walk.nMismatches, 0) << wYear;
        EXPECT_EQ(walk.nRepeated, bDaylightSaving ? 1 : 0) << wYear;
        EXPECT_EQ(walk.nOther, 0) << wYear;
    }
}

TEST(MachineZoneConversion, AnExplicitZoneAppliesItsBiasAllYear)
{
    CMAPIEx mapi;
    CMAPITimeZone zone;
    zone.nBias = -330;
    SYSTEMTIME stLocal = {2024, 7, 0, 15, 12, 0, 0, 0};
    SYSTEMTIME stUtc = {};
    GetLocalTimeToSystemTime(stLocal, stUtc, &zone);
    EXPECT_EQ(stUtc.wHour, 6);
    EXPECT_EQ(stUtc.wMinute, 30);
    EXPECT_EQ(stUtc.wDayOfWeek, 1);
    // The default zone is the machine's, standard bias all year round, with the session's key name.
    const CMAPITimeZone machine;
    EXPECT_EQ(machine.nBias, MachineZone().Bias);
    EXPECT_TRUE(machine.strKeyName == CMAPIEx::m_strTMKeyName);
}

// Central Europe: clocks go from 02:00 to 03:00 on the last Sunday of March, from 03:00 back to 02:00 in October.
TEST(MachineZoneConversion, SkippedAndRepeatedLocalTimesReadAsDaylightTime)
{
    const TIME_ZONE_INFORMATION tzi = MachineZone();
    if (tzi.Bias != -60 || tzi.DaylightDate.wMonth != 3 || tzi.DaylightDate.wDay != 5 || tzi.DaylightDate.wHour != 2)
        GTEST_SKIP() << "the run's zone is not central European";
    SYSTEMTIME stSkipped = {2024, 3, 0, 31, 2, 30, 0, 0};
    SYSTEMTIME stUtc = {};
    GetLocalTimeToSystemTime(stSkipped, stUtc, NULL);
    EXPECT_EQ(stUtc.wDay, 31);
    EXPECT_EQ(stUtc.wHour, 0);
    EXPECT_EQ(stUtc.wMinute, 30);
    SYSTEMTIME stBack = {};
    GetSystemTimeToLocalTime(stUtc, stBack, NULL);
    EXPECT_EQ(stBack.wHour, 1);

    SYSTEMTIME stRepeated = {2024, 10, 0, 27, 2, 30, 0, 0};
    GetLocalTimeToSystemTime(stRepeated, stUtc, NULL);
    EXPECT_EQ(stUtc.wDay, 27);
    EXPECT_EQ(stUtc.wHour, 0);
    EXPECT_EQ(stUtc.wMinute, 30);
}
