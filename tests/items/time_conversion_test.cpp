// Local time to UTC and back: by an explicit zone's bias, and through the machine's zone with daylight saving, so
// that what an item write converts, an item read converts back unchanged.
#include <mapipim/MAPITimeZone.h>
#include <mapipim/TimeConversion.h>

#include "items/FirstDayOfWeek.h"
#include "support/ScopedEnvironment.h"
#include "support/TimeBuilders.h"

#include <gtest/gtest.h>

namespace
{
CMAPITimeZone ZoneWithBias(LONG nBias)
{
    CMAPITimeZone zone;
    zone.nBias = nBias;
    return zone;
}

void ExpectTime(const SYSTEMTIME& tm, WORD wYear, WORD wMonth, WORD wDay, WORD wHour, WORD wMinute, WORD wSecond = 0)
{
    EXPECT_EQ(wYear, tm.wYear);
    EXPECT_EQ(wMonth, tm.wMonth);
    EXPECT_EQ(wDay, tm.wDay);
    EXPECT_EQ(wHour, tm.wHour);
    EXPECT_EQ(wMinute, tm.wMinute);
    EXPECT_EQ(wSecond, tm.wSecond);
}

void ExpectInvalid(const SYSTEMTIME& tm)
{
    for (WORD wField : {tm.wYear, tm.wMonth, tm.wDay, tm.wHour, tm.wMinute, tm.wSecond, tm.wDayOfWeek})
        EXPECT_EQ(0xFFFF, wField);
}

SYSTEMTIME ToUtc(SYSTEMTIME tmLocal, CMAPITimeZone* pZone = nullptr)
{
    SYSTEMTIME tmUTC = {};
    GetLocalTimeToSystemTime(tmLocal, tmUTC, pZone);
    return tmUTC;
}

SYSTEMTIME ToLocal(SYSTEMTIME tmUTC, CMAPITimeZone* pZone = nullptr)
{
    SYSTEMTIME tmLocal = {};
    GetSystemTimeToLocalTime(tmUTC, tmLocal, pZone);
    return tmLocal;
}
} // namespace

// ---- An explicit zone: its bias alone, whatever the season

TEST(TimeConversionTest, ExplicitBiasEastOfUtcCrossesMidnightAndYear)
{
    CMAPITimeZone tokyo = ZoneWithBias(-540);
    const SYSTEMTIME tmUTC = ToUtc(MakeSystemTime(2010, 1, 1, 8, 0, 0, 250), &tokyo);
    ExpectTime(tmUTC, 2009, 12, 31, 23, 0);
    EXPECT_EQ(4, tmUTC.wDayOfWeek); // Thursday
    EXPECT_EQ(250, tmUTC.wMilliseconds);
}

TEST(TimeConversionTest, ExplicitHalfHourBiasBothWays)
{
    CMAPITimeZone west = ZoneWithBias(330);
    const SYSTEMTIME tmUTC = ToUtc(MakeSystemTime(2010, 6, 1, 10, 0), &west);
    ExpectTime(tmUTC, 2010, 6, 1, 15, 30);
    ExpectTime(ToLocal(tmUTC, &west), 2010, 6, 1, 10, 0);

    CMAPITimeZone india = ZoneWithBias(-330); // -5 h and -30 min, both truncated toward zero
    ExpectTime(ToUtc(MakeSystemTime(2010, 6, 1, 10, 0), &india), 2010, 6, 1, 4, 30);
}

TEST(TimeConversionTest, ExplicitBiasIgnoresDaylightSaving)
{
    ScopedTz berlin("Europe/Berlin");
    CMAPITimeZone standard = ZoneWithBias(-60);
    standard.nDaylightBias = -60;
    ExpectTime(ToUtc(MakeSystemTime(2010, 7, 15, 12, 0), &standard), 2010, 7, 15, 11, 0);
}

TEST(TimeConversionTest, MillisecondsCopiedToUtcButLeftAloneToLocal)
{
    CMAPITimeZone utc = ZoneWithBias(0);
    SYSTEMTIME tmLocal = MakeSystemTime(2010, 6, 1, 10, 0, 5, 999);
    SYSTEMTIME tmUTC = MakeSystemTime(1999, 1, 1, 0, 0, 0, 7);
    GetLocalTimeToSystemTime(tmLocal, tmUTC, &utc);
    EXPECT_EQ(999, tmUTC.wMilliseconds);

    SYSTEMTIME tmBack = MakeSystemTime(1999, 1, 1, 0, 0, 0, 7);
    GetSystemTimeToLocalTime(tmUTC, tmBack, &utc);
    ExpectTime(tmBack, 2010, 6, 1, 10, 0, 5);
    EXPECT_EQ(7, tmBack.wMilliseconds);
}

TEST(TimeConversionTest, InvalidInputGivesAllOnesInEveryConvertedField)
{
    CMAPITimeZone utc = ZoneWithBias(0);
    for (CMAPITimeZone* pZone : {&utc, static_cast<CMAPITimeZone*>(nullptr)})
    {
        SYSTEMTIME tmZero = {};
        tmZero.wMilliseconds = 12;
        SYSTEMTIME tmOut = {};
        GetLocalTimeToSystemTime(tmZero, tmOut, pZone);
        ExpectInvalid(tmOut);
        EXPECT_EQ(12, tmOut.wMilliseconds);

        SYSTEMTIME tmApril31 = MakeSystemTime(2010, 4, 31, 10, 0);
        tmOut.wMilliseconds = 3;
        GetSystemTimeToLocalTime(tmApril31, tmOut, pZone);
        ExpectInvalid(tmOut);
        EXPECT_EQ(3, tmOut.wMilliseconds);
    }
}

TEST(TimeConversionTest, ConvertsInPlace)
{
    CMAPITimeZone tokyo = ZoneWithBias(-540);
    SYSTEMTIME tm = MakeSystemTime(2010, 1, 1, 8, 0, 0, 40);
    GetLocalTimeToSystemTime(tm, tm, &tokyo);
    ExpectTime(tm, 2009, 12, 31, 23, 0);
    EXPECT_EQ(40, tm.wMilliseconds);
}

// ---- No zone: the machine's zone with its daylight-saving rules

TEST(TimeConversionTest, MachineZoneAppliesDaylightSaving)
{
    ScopedTz berlin("Europe/Berlin");
    const SYSTEMTIME tmSummer = ToUtc(MakeSystemTime(2010, 7, 15, 12, 0));
    ExpectTime(tmSummer, 2010, 7, 15, 10, 0);
    EXPECT_EQ(4, tmSummer.wDayOfWeek);
    ExpectTime(ToUtc(MakeSystemTime(2010, 1, 15, 12, 0)), 2010, 1, 15, 11, 0);
    ExpectTime(ToLocal(MakeSystemTime(2010, 7, 15, 10, 0)), 2010, 7, 15, 12, 0);
}

TEST(TimeConversionTest, MachineZoneRoundTripsEveryHourOfTheYearButTheSkippedOne)
{
    ScopedTz berlin("Europe/Berlin");
    COleDateTime dt(2010, 1, 1, 0, 0, 0);
    const COleDateTime end(2011, 1, 1, 0, 0, 0);
    for (; dt < end; dt += COleDateTimeSpan(0, 1, 0, 0))
    {
        if (dt.GetMonth() == 3 && dt.GetDay() == 28 && dt.GetHour() == 2)
            continue;
        SYSTEMTIME tmLocal = {};
        dt.GetAsSystemTime(tmLocal);
        const SYSTEMTIME tmBack = ToLocal(ToUtc(tmLocal));
        ASSERT_EQ(COleDateTime(tmLocal), COleDateTime(tmBack)) << dt.Format(_T("%Y-%m-%d %H:%M")).GetString();
    }
}

TEST(TimeConversionTest, SkippedAndRepeatedHoursAreTakenAsDaylightTime)
{
    ScopedTz berlin("Europe/Berlin");
    // 02:30 on the last Sunday of March was never shown: read as daylight time it is 00:30 UTC, which the clocks
    // showed as 01:30.
    const SYSTEMTIME tmSkipped = ToUtc(MakeSystemTime(2010, 3, 28, 2, 30));
    ExpectTime(tmSkipped, 2010, 3, 28, 0, 30);
    ExpectTime(ToLocal(tmSkipped), 2010, 3, 28, 1, 30);
    // 02:30 on the last Sunday of October was shown twice: it stands for the first time, and comes back.
    const SYSTEMTIME tmRepeated = ToUtc(MakeSystemTime(2010, 10, 31, 2, 30));
    ExpectTime(tmRepeated, 2010, 10, 31, 0, 30);
    ExpectTime(ToLocal(tmRepeated), 2010, 10, 31, 2, 30);
}

TEST(TimeConversionTest, MachineZoneBeforeWindowsTimeUsesTheStandardBias)
{
    ScopedTz berlin("Europe/Berlin");
    ExpectTime(ToUtc(MakeSystemTime(1500, 7, 1, 12, 0)), 1500, 7, 1, 11, 0);
    ExpectTime(ToLocal(MakeSystemTime(1500, 7, 1, 11, 0)), 1500, 7, 1, 12, 0);
}

TEST(TimeConversionTest, MachineZoneWithHalfHourOffset)
{
    ScopedTz kolkata("Asia/Kolkata");
    ExpectTime(ToUtc(MakeSystemTime(2010, 6, 1, 10, 0)), 2010, 6, 1, 4, 30);
}

// ---- The first day of the week, counted from Sunday = 0

TEST(FirstDayOfWeekTest, WindowsDigitCountedFromSunday)
{
    const struct
    {
        const char* szSetting;
        int nExpected;
    } cases[] = {{"0", 1}, {"5", 6}, {"6", 0}, {"3", 4}, {"7", 0}, {"x", 0}, {"12", 0}, {"", 0}};
    for (const auto& c : cases)
    {
        ScopedEnv firstDay("MAPIPIM_FIRST_DAY", c.szSetting);
        EXPECT_EQ(c.nExpected, GetFirstDayOfWeek()) << "iFirstDayOfWeek \"" << c.szSetting << "\"";
    }
}
