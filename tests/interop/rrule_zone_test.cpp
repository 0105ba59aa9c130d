// The RRULE mapping and the zone mapping on their own: RRULEs outside Outlook's patterns refused with a reason,
// the forms each pattern is written in, and TZIDs (registry keys, IANA names, vendor-prefixed names) mapped to
// registry keys.
#include "interop/CalendarZones.h"
#include "interop/RecurrenceRRule.h"
#include "interop/ZoneRules.h"

#include "support/AfxPrinters.h"
#include "support/TimeBuilders.h"

#include <gtest/gtest.h>

using namespace mapipim::interop;

namespace
{
icaltimetype Start()
{
    return icaltime_from_string("20260105T090000"); // a Monday
}

std::string Refusal(const char* rrule)
{
    CMAPIRecurring pattern;
    std::string error;
    EXPECT_FALSE(PatternOfRRule(icalrecurrencetype_from_string(rrule), Start(), nullptr, pattern, error)) << rrule;
    return error;
}

TEST(RRuleMappingTest, RulesOutsideOutlooksPatternsAreRefusedWithTheirReason)
{
    EXPECT_NE(std::string::npos, Refusal("FREQ=HOURLY").find("below daily"));
    EXPECT_NE(std::string::npos, Refusal("FREQ=YEARLY;BYWEEKNO=20").find("BYWEEKNO"));
    EXPECT_NE(std::string::npos, Refusal("FREQ=DAILY;BYHOUR=9,17").find("BYHOUR"));
    EXPECT_NE(std::string::npos, Refusal("FREQ=YEARLY;BYMONTH=1,7").find("several months"));
    EXPECT_NE(std::string::npos, Refusal("FREQ=MONTHLY;BYDAY=1MO,-1FR").find("different positions"));
    EXPECT_NE(std::string::npos, Refusal("FREQ=WEEKLY;BYDAY=MO,MO").find("named twice"));
    EXPECT_NE(std::string::npos, Refusal("FREQ=MONTHLY;BYMONTHDAY=1,15").find("days of the month"));
    EXPECT_NE(std::string::npos, Refusal("FREQ=YEARLY;BYMONTH=3").find("month of DTSTART"));
}

TEST(RRuleMappingTest, OrdinalAndSetPositionFormsReadAlike)
{
    CMAPIRecurring byOrdinal, bySetPos;
    std::string error;
    ASSERT_TRUE(PatternOfRRule(icalrecurrencetype_from_string("FREQ=MONTHLY;BYDAY=-1FR"), Start(), nullptr,
                               byOrdinal, error))
        << error;
    ASSERT_TRUE(PatternOfRRule(icalrecurrencetype_from_string("FREQ=MONTHLY;BYDAY=FR;BYSETPOS=-1"), Start(), nullptr,
                               bySetPos, error))
        << error;
    for (const CMAPIRecurring* p : {&byOrdinal, &bySetPos})
    {
        EXPECT_EQ(2, p->nFrequency);
        EXPECT_EQ(3, p->nPatternType);
        EXPECT_EQ(0x20u, p->nDayMask);
        EXPECT_EQ(5, p->nWeekNumber);
        EXPECT_EQ(2, p->nEndType);
    }
}

TEST(RRuleMappingTest, PatternsAreWrittenInTheFormsOtherReadersKnow)
{
    CMAPIRecurring weekdays;
    weekdays.nFrequency = 0;
    weekdays.nPatternType = 1;
    weekdays.nPeriod = 1;
    weekdays.tmStartDate = MakeSystemTime(2026, 1, 5);
    weekdays.nEndType = 1;
    weekdays.nOccurrenceCount = 7;
    icalrecurrencetype rule;
    std::string error;
    ASSERT_TRUE(RRuleOfPattern(weekdays, Start(), nullptr, 1, rule, error)) << error;
    char* text = icalrecurrencetype_as_string_r(&rule);
    EXPECT_EQ("FREQ=DAILY;COUNT=7;BYDAY=MO,TU,WE,TH,FR", std::string(text));
    free(text);

    CMAPIRecurring day30 = weekdays;
    day30.nFrequency = 2;
    day30.nPatternType = 2;
    day30.nDayMask = 30;
    day30.nEndType = 2;
    ASSERT_TRUE(RRuleOfPattern(day30, Start(), nullptr, 0, rule, error)) << error;
    text = icalrecurrencetype_as_string_r(&rule);
    EXPECT_EQ("FREQ=MONTHLY;BYMONTHDAY=28,29,30;BYSETPOS=-1;WKST=SU", std::string(text));
    free(text);
    CMAPIRecurring back;
    ASSERT_TRUE(PatternOfRRule(rule, Start(), nullptr, back, error)) << error;
    EXPECT_EQ(2, back.nPatternType);
    EXPECT_EQ(30u, back.nDayMask);

    CMAPIRecurring degenerate = weekdays;
    degenerate.nFrequency = 1;
    degenerate.nDayMask = 0;
    EXPECT_FALSE(RRuleOfPattern(degenerate, Start(), nullptr, 0, rule, error));
    EXPECT_NE(std::string::npos, error.find("no weekday"));
}

TEST(ZoneMappingTest, TzidsMapToRegistryKeys)
{
    EXPECT_EQ(CString(_T("W. Europe Standard Time")), KeyOfTzid("W. Europe Standard Time", ""));
    EXPECT_EQ(CString(_T("W. Europe Standard Time")), KeyOfTzid("Europe/Berlin", ""));
    EXPECT_EQ(CString(_T("W. Europe Standard Time")), KeyOfTzid("/mozilla.org/20050126_1/Europe/Berlin", ""));
    EXPECT_EQ(CString(_T("Tokyo Standard Time")), KeyOfTzid("Custom zone", "Asia/Tokyo"));
    EXPECT_EQ(CString(), KeyOfTzid("Nowhere/Atlantis", ""));
    EXPECT_EQ("America/Los_Angeles", IanaIdOfKey(_T("Pacific Standard Time")));
    EXPECT_TRUE(VTimezoneOfKey(_T("Mars Standard Time")).empty());
}

TEST(ZoneMappingTest, AZoneWithoutDaylightTimeHasOneStandardObservance)
{
    const std::string text = VTimezoneOfKey(_T("Tokyo Standard Time"));
    EXPECT_NE(std::string::npos, text.find("TZOFFSETTO:+0900\r\n"));
    EXPECT_EQ(std::string::npos, text.find("DAYLIGHT"));
    CalendarZones zones;
    CString strKey;
    icaltimezone* zone = zones.ForTzid("Asia/Tokyo", strKey);
    ASSERT_NE(nullptr, zone);
    EXPECT_EQ(CString(_T("Tokyo Standard Time")), strKey);
    EXPECT_EQ(1u, zones.Definitions().size());
    // 2026-01-01 00:00 in Tokyo is 2025-12-31 15:00 UTC.
    EXPECT_EQ(1767193200, static_cast<long long>(UtcOfZoneTime(icaltime_from_string("20260101T000000"), zone)));
}

TEST(ZoneMappingTest, AnInstantNoRecordCanHoldNamesNoDate)
{
    // An alarm libical read from a hostile file: years past 4 million.
    SYSTEMTIME local{};
    EXPECT_FALSE(MachineLocalOfUtc(143682923547000, local));
    EXPECT_FALSE(MachineLocalOfUtc(-11644473601, local));
    ASSERT_TRUE(MachineLocalOfUtc(253402300799 - 86400, local));
    EXPECT_EQ(9999, local.wYear);
    ASSERT_TRUE(MachineLocalOfUtc(1767193200, local));
    time_t utc = 0;
    ASSERT_TRUE(UtcOfMachineLocal(local, utc));
    EXPECT_EQ(1767193200, static_cast<long long>(utc));
}
} // namespace
