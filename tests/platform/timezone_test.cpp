#include "platform/platform.h"

#include "support/ScopedEnvironment.h"
#include "support/TimeBuilders.h"
#include "support/TransitionChecks.h"

#include <gtest/gtest.h>
#include <unicode/timezone.h>

#include <memory>
#include <string>

namespace
{
std::string Text(const SYSTEMTIME& st)
{
    char text[40];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
             st.wSecond);
    return text;
}

std::string ToLocal(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME& utc)
{
    SYSTEMTIME local{};
    if (!SystemTimeToTzSpecificLocalTime(zone, &utc, &local))
        return "failed";
    return Text(local);
}

std::string ToUtc(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME& local)
{
    SYSTEMTIME utc{};
    if (!TzSpecificLocalTimeToSystemTime(zone, &local, &utc))
        return "failed";
    return Text(utc);
}

bool IsDaylightNow()
{
    const time_t now = time(nullptr);
    struct tm local
    {
    };
    localtime_r(&now, &local);
    return local.tm_isdst > 0;
}

TIME_ZONE_INFORMATION MachineZone(DWORD* id = nullptr)
{
    TIME_ZONE_INFORMATION tzi{};
    const DWORD result = GetTimeZoneInformation(&tzi);
    if (id)
        *id = result;
    return tzi;
}
} // namespace

TEST(GetTimeZoneInformation, BerlinHasWesternEuropeanRule)
{
    ScopedTz tz("Europe/Berlin");
    DWORD id = 0;
    const TIME_ZONE_INFORMATION tzi = MachineZone(&id);
    EXPECT_EQ(std::u16string(u"W. Europe Standard Time"), tzi.StandardName);
    EXPECT_EQ(std::u16string(u"W. Europe Daylight Time"), tzi.DaylightName);
    EXPECT_EQ(-60, tzi.Bias);
    EXPECT_EQ(0, tzi.StandardBias);
    EXPECT_EQ(-60, tzi.DaylightBias);
    ExpectTransition(tzi.DaylightDate, 3, 0, 5, 2);  // last Sunday of March, 02:00 standard time
    ExpectTransition(tzi.StandardDate, 10, 0, 5, 3); // last Sunday of October, 03:00 daylight time
    EXPECT_EQ(IsDaylightNow() ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD, id);
}

TEST(GetTimeZoneInformation, LosAngelesHasPacificRule)
{
    ScopedTz tz("America/Los_Angeles");
    DWORD id = 0;
    const TIME_ZONE_INFORMATION tzi = MachineZone(&id);
    EXPECT_EQ(std::u16string(u"Pacific Standard Time"), tzi.StandardName);
    EXPECT_EQ(480, tzi.Bias);
    EXPECT_EQ(-60, tzi.DaylightBias);
    ExpectTransition(tzi.DaylightDate, 3, 0, 2, 2);  // second Sunday of March
    ExpectTransition(tzi.StandardDate, 11, 0, 1, 2); // first Sunday of November
    EXPECT_EQ(IsDaylightNow() ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD, id);
}

TEST(GetTimeZoneInformation, TokyoHasNoDaylightTime)
{
    ScopedTz tz("Asia/Tokyo");
    DWORD id = 0;
    const TIME_ZONE_INFORMATION tzi = MachineZone(&id);
    EXPECT_EQ(TIME_ZONE_ID_UNKNOWN, id);
    EXPECT_EQ(std::u16string(u"Tokyo Standard Time"), tzi.StandardName);
    EXPECT_EQ(-540, tzi.Bias);
    EXPECT_EQ(-60, tzi.DaylightBias); // Japan last kept daylight time in 1951; Windows keeps its bias
    EXPECT_EQ(0, tzi.DaylightDate.wMonth);
    EXPECT_EQ(0, tzi.StandardDate.wMonth);
}

TEST(GetTimeZoneInformation, UtcAndItsSpellings)
{
    for (const char* spelling : {"UTC", "Etc/UTC", ":UTC", ""})
    {
        ScopedTz tz(spelling);
        DWORD id = 0;
        const TIME_ZONE_INFORMATION tzi = MachineZone(&id);
        EXPECT_EQ(TIME_ZONE_ID_UNKNOWN, id) << spelling;
        EXPECT_EQ(std::u16string(u"UTC"), tzi.StandardName) << spelling;
        EXPECT_EQ(0, tzi.Bias);
        EXPECT_EQ(0, tzi.DaylightBias); // never had daylight time
    }
}

TEST(GetTimeZoneInformation, AliasesAndPathsNameTheSameZone)
{
    for (const char* spelling : {"Asia/Kolkata", "Asia/Calcutta", ":/usr/share/zoneinfo/Asia/Kolkata"})
    {
        ScopedTz tz(spelling);
        const TIME_ZONE_INFORMATION tzi = MachineZone();
        EXPECT_EQ(std::u16string(u"India Standard Time"), tzi.StandardName) << spelling;
        EXPECT_EQ(-330, tzi.Bias) << spelling;
    }
}

TEST(GetTimeZoneInformation, PosixRulesInTz)
{
    {
        ScopedTz tz("CET-1CEST,M3.5.0,M10.5.0/3");
        const TIME_ZONE_INFORMATION tzi = MachineZone();
        EXPECT_EQ(std::u16string(u"CET"), tzi.StandardName);
        EXPECT_EQ(std::u16string(u"CEST"), tzi.DaylightName);
        EXPECT_EQ(-60, tzi.Bias);
        EXPECT_EQ(-60, tzi.DaylightBias);
        ExpectTransition(tzi.DaylightDate, 3, 0, 5, 2);
        ExpectTransition(tzi.StandardDate, 10, 0, 5, 3);
        EXPECT_EQ("2024-03-31 03:00:00", ToLocal(nullptr, MakeSystemTime(2024, 3, 31, 1, 0)));
    }
    {
        ScopedTz tz("<+0330>-3:30");
        DWORD id = 0;
        EXPECT_EQ(-210, MachineZone(&id).Bias);
        EXPECT_EQ(TIME_ZONE_ID_UNKNOWN, id);
    }
    {
        // A day-of-year rule: daylight time from 1 March 01:00 to the 301st day (zero-based 300) at 02:30.
        ScopedTz tz("EST5EDT4,J60/1,300/2:30");
        EXPECT_EQ("2023-03-01 00:59:00", ToLocal(nullptr, MakeSystemTime(2023, 3, 1, 5, 59)));
        EXPECT_EQ("2023-03-01 02:00:00", ToLocal(nullptr, MakeSystemTime(2023, 3, 1, 6, 0)));
        EXPECT_EQ("2023-10-28 02:29:00", ToLocal(nullptr, MakeSystemTime(2023, 10, 28, 6, 29)));
        EXPECT_EQ("2023-10-28 01:30:00", ToLocal(nullptr, MakeSystemTime(2023, 10, 28, 6, 30)));
    }
}

TEST(GetTimeZoneInformation, FollowsTzChangesAndIcuDefault)
{
    ScopedTz tz("Asia/Tokyo");
    EXPECT_EQ(-540, MachineZone().Bias);
    // Without an explicit reset: a changed TZ is noticed by itself.
    ScopedEnv berlin("TZ", "Europe/Berlin");
    EXPECT_EQ(-60, MachineZone().Bias);
    std::unique_ptr<icu::TimeZone> icuDefault(icu::TimeZone::createDefault());
    icu::UnicodeString id;
    EXPECT_TRUE(icuDefault->getID(id) == UNICODE_STRING_SIMPLE("Europe/Berlin"));
}

TEST(GetTimeZoneInformation, NullPointerIsRefused)
{
    EXPECT_EQ(TIME_ZONE_ID_INVALID, GetTimeZoneInformation(nullptr));
}

TEST(MachineZoneConversion, BerlinAcrossBothTransitionsOf2024)
{
    ScopedTz tz("Europe/Berlin");
    EXPECT_EQ("2024-03-31 01:59:00", ToLocal(nullptr, MakeSystemTime(2024, 3, 31, 0, 59)));
    EXPECT_EQ("2024-03-31 03:00:00", ToLocal(nullptr, MakeSystemTime(2024, 3, 31, 1, 0)));
    EXPECT_EQ("2024-10-27 02:30:00", ToLocal(nullptr, MakeSystemTime(2024, 10, 27, 0, 30))); // first 02:30, summer time
    EXPECT_EQ("2024-10-27 02:30:00",
              ToLocal(nullptr, MakeSystemTime(2024, 10, 27, 1, 30))); // second 02:30, winter time
    EXPECT_EQ("2024-07-01 14:00:00", ToLocal(nullptr, MakeSystemTime(2024, 7, 1, 12)));
    EXPECT_EQ("2024-01-01 00:00:00", ToLocal(nullptr, MakeSystemTime(2023, 12, 31, 23)));

    EXPECT_EQ("2024-03-31 00:59:00", ToUtc(nullptr, MakeSystemTime(2024, 3, 31, 1, 59)));
    EXPECT_EQ("2024-03-31 01:00:00", ToUtc(nullptr, MakeSystemTime(2024, 3, 31, 3, 0)));
    EXPECT_EQ("2024-10-27 02:00:00", ToUtc(nullptr, MakeSystemTime(2024, 10, 27, 3, 0)));
    EXPECT_EQ("2024-10-26 23:59:00", ToUtc(nullptr, MakeSystemTime(2024, 10, 27, 1, 59)));
}

TEST(MachineZoneConversion, SkippedAndRepeatedHoursReadAsDaylightTime)
{
    ScopedTz tz("Europe/Berlin");
    // 02:30 does not exist on 31 March: read as summer time it is 00:30 UTC, shown back as 01:30 winter time.
    EXPECT_EQ("2024-03-31 00:30:00", ToUtc(nullptr, MakeSystemTime(2024, 3, 31, 2, 30)));
    // 02:30 happens twice on 27 October: the first, summer-time one is meant, and it converts back to itself.
    EXPECT_EQ("2024-10-27 00:30:00", ToUtc(nullptr, MakeSystemTime(2024, 10, 27, 2, 30)));
    EXPECT_EQ("2024-10-27 02:30:00", ToLocal(nullptr, MakeSystemTime(2024, 10, 27, 0, 30)));
}

TEST(MachineZoneConversion, LosAngelesSpringForward2024)
{
    ScopedTz tz("America/Los_Angeles");
    EXPECT_EQ("2024-03-10 01:59:00", ToLocal(nullptr, MakeSystemTime(2024, 3, 10, 9, 59)));
    EXPECT_EQ("2024-03-10 03:00:00", ToLocal(nullptr, MakeSystemTime(2024, 3, 10, 10, 0)));
    EXPECT_EQ("2024-03-10 10:00:00", ToUtc(nullptr, MakeSystemTime(2024, 3, 10, 3, 0)));
    EXPECT_EQ("2024-03-10 09:30:00", ToUtc(nullptr, MakeSystemTime(2024, 3, 10, 1, 30)));
}

TEST(MachineZoneConversion, HistoricalRulesApply)
{
    ScopedTz tz("America/Los_Angeles");
    // In 2006 daylight time began on the first Sunday of April, not the second Sunday of March.
    EXPECT_EQ("2006-03-12 04:00:00", ToLocal(nullptr, MakeSystemTime(2006, 3, 12, 12)));
    EXPECT_EQ("2006-04-02 01:59:00", ToLocal(nullptr, MakeSystemTime(2006, 4, 2, 9, 59)));
    EXPECT_EQ("2006-04-02 03:00:00", ToLocal(nullptr, MakeSystemTime(2006, 4, 2, 10, 0)));
    // ... and ended on the last Sunday of October: 1 November is standard time (UTC-8).
    EXPECT_EQ("2006-11-01 20:00:00", ToUtc(nullptr, MakeSystemTime(2006, 11, 1, 12, 0)));
    EXPECT_EQ("2007-11-01 19:00:00", ToUtc(nullptr, MakeSystemTime(2007, 11, 1, 12, 0)));
}

TEST(MachineZoneConversion, InvalidInputFails)
{
    ScopedTz tz("Europe/Berlin");
    SYSTEMTIME out{};
    const SYSTEMTIME invalid = MakeSystemTime(2024, 2, 30, 0);
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(SystemTimeToTzSpecificLocalTime(nullptr, &invalid, &out));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_FALSE(TzSpecificLocalTimeToSystemTime(nullptr, &invalid, &out));
    const SYSTEMTIME valid = MakeSystemTime(2024, 2, 1, 0);
    EXPECT_FALSE(SystemTimeToTzSpecificLocalTime(nullptr, &valid, nullptr));
    // Local midnight of the first day is before the FILETIME epoch in UTC+1.
    EXPECT_EQ("failed", ToUtc(nullptr, MakeSystemTime(1601, 1, 1, 0)));
}

TEST(ExplicitZoneConversion, AppliesTheYearlyRuleAsWindowsDoes)
{
    TIME_ZONE_INFORMATION berlin{};
    {
        ScopedTz tz("Europe/Berlin");
        berlin = MachineZone();
    }
    ScopedTz tz("Asia/Tokyo"); // the machine zone plays no part
    EXPECT_EQ("2024-03-31 01:59:00", ToLocal(&berlin, MakeSystemTime(2024, 3, 31, 0, 59)));
    EXPECT_EQ("2024-03-31 03:00:00", ToLocal(&berlin, MakeSystemTime(2024, 3, 31, 1, 0)));
    EXPECT_EQ("2024-10-27 02:59:00", ToLocal(&berlin, MakeSystemTime(2024, 10, 27, 0, 59)));
    EXPECT_EQ("2024-10-27 02:00:00", ToLocal(&berlin, MakeSystemTime(2024, 10, 27, 1, 0)));
    EXPECT_EQ("2024-03-31 00:30:00", ToUtc(&berlin, MakeSystemTime(2024, 3, 31, 2, 30)));  // skipped hour: daylight
    EXPECT_EQ("2024-10-27 00:30:00", ToUtc(&berlin, MakeSystemTime(2024, 10, 27, 2, 30))); // repeated hour: daylight
    EXPECT_EQ("2024-10-27 02:00:00", ToUtc(&berlin, MakeSystemTime(2024, 10, 27, 3, 0)));
}

TEST(ExplicitZoneConversion, IgnoresHistory)
{
    TIME_ZONE_INFORMATION pacific{};
    {
        ScopedTz tz("America/Los_Angeles");
        pacific = MachineZone();
    }
    // Today's rule applied to 2006: daylight time from the second Sunday of March, unlike the machine zone.
    EXPECT_EQ("2006-03-12 05:00:00", ToLocal(&pacific, MakeSystemTime(2006, 3, 12, 12)));
}

TEST(ExplicitZoneConversion, SouthernHemisphereAndNoDaylight)
{
    TIME_ZONE_INFORMATION sydney{};
    sydney.Bias = -600;
    sydney.DaylightBias = -60;
    sydney.DaylightDate = MakeSystemTime(0, 10, 1, 2);
    sydney.StandardDate = MakeSystemTime(0, 4, 1, 3);
    EXPECT_EQ("2024-01-15 11:00:00", ToLocal(&sydney, MakeSystemTime(2024, 1, 15, 0)));
    EXPECT_EQ("2024-07-15 10:00:00", ToLocal(&sydney, MakeSystemTime(2024, 7, 15, 0)));
    EXPECT_EQ("2024-12-31 13:00:00", ToUtc(&sydney, MakeSystemTime(2025, 1, 1, 0)));

    TIME_ZONE_INFORMATION india{};
    india.Bias = -330;
    india.DaylightBias = -60;
    EXPECT_EQ("2024-07-15 05:30:00", ToLocal(&india, MakeSystemTime(2024, 7, 15, 0)));
    EXPECT_EQ("2024-07-15 00:00:00", ToUtc(&india, MakeSystemTime(2024, 7, 15, 5, 30)));
}

TEST(ExplicitZoneConversion, MalformedRuleFails)
{
    TIME_ZONE_INFORMATION broken{};
    broken.Bias = -60;
    broken.DaylightDate = MakeSystemTime(0, 3, 6, 2); // week 6 does not exist
    broken.StandardDate = MakeSystemTime(0, 10, 5, 3);
    SYSTEMTIME out{};
    const SYSTEMTIME utc = MakeSystemTime(2024, 5, 1, 0);
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(SystemTimeToTzSpecificLocalTime(&broken, &utc, &out));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    broken.DaylightDate.wDay = 5;
    broken.StandardDate.wMonth = 0; // a daylight date without a standard date
    EXPECT_FALSE(TzSpecificLocalTimeToSystemTime(&broken, &utc, &out));
}

TEST(LocalClock, LocalTimeAndLocalFileTimeUseTheMachineOffset)
{
    ScopedTz tz("Asia/Tokyo");
    const uint64_t nineHours = 9ull * 3600 * 10'000'000;
    const FILETIME utc{0x12345678, 0x01D00000};
    FILETIME local{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    EXPECT_EQ(FileTimeTicks(utc) + nineHours, FileTimeTicks(local));
    FILETIME back{};
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
    EXPECT_EQ(utc.dwLowDateTime, back.dwLowDateTime);
    EXPECT_EQ(utc.dwHighDateTime, back.dwHighDateTime);

    SYSTEMTIME system{};
    SYSTEMTIME localNow{};
    GetSystemTime(&system);
    GetLocalTime(&localNow);
    FILETIME a{};
    FILETIME b{};
    SystemTimeToFileTime(&system, &a);
    SystemTimeToFileTime(&localNow, &b);
    const int64_t difference = static_cast<int64_t>(FileTimeTicks(b) - FileTimeTicks(a));
    EXPECT_NEAR(static_cast<double>(nineHours), static_cast<double>(difference), 2e7);
}

TEST(LocalClock, LocalFileTimeBeforeTheEpochFails)
{
    ScopedTz tz("America/Los_Angeles");
    const FILETIME local{0, 0};
    FILETIME utc{};
    EXPECT_TRUE(LocalFileTimeToFileTime(&local, &utc)); // UTC is later than Los Angeles time
    const FILETIME earliest{0, 0};
    FILETIME shifted{};
    EXPECT_FALSE(FileTimeToLocalFileTime(&earliest, &shifted));
}
