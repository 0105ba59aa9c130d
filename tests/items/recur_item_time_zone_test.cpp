// CMAPIRecurItem's time-zone properties against the service and the registry stand-in: definitions built from a
// zone's rules (with and without dynamic rules), the structure, the machine's zone for an empty key name, and the
// biases read back from the effective rule.
#include "items/BlobTestData.h"
#include "items/TimeZoneDefinitionBlob.h"
#include "RecurItemTestFixture.h"

namespace
{
constexpr ULONG kStartZone = 0x825E;
constexpr ULONG kRecurrenceZone = 0x8260;
constexpr ULONG kZoneStruct = 0x8233;

CMAPITimeZone Zone(LPCWSTR pszKeyName)
{
    CMAPITimeZone zone;
    zone.strKeyName = pszKeyName;
    zone.nBias = zone.nStandardBias = zone.nDaylightBias = 12345;
    return zone;
}

mapipim::TimeZoneDefinition Parse(const std::vector<BYTE>& bytes)
{
    mapipim::BlobReader reader(bytes.data(), static_cast<ULONG>(bytes.size()));
    return mapipim::ReadTimeZoneDefinition(reader);
}

// The published Pacific definition with its rules' starts as this writer and Outlook write them (January 1st).
std::vector<BYTE> PacificAsOutlookWritesIt()
{
    std::vector<BYTE> bytes = FromHex(kPacificDefinitionBlob);
    for (size_t rule : {52u, 118u})
    {
        bytes[rule + 8] = 1;  // stStart.wMonth
        bytes[rule + 12] = 1; // stStart.wDay
    }
    return bytes;
}
} // namespace

TEST_F(RecurItemTest, PacificDefinitionHasItsTwoDynamicRules)
{
    CMAPITimeZone pacific = Zone(_T("Pacific Standard Time"));
    ASSERT_TRUE(m_recur.SetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, &pacific, FALSE));
    EXPECT_EQ(PacificAsOutlookWritesIt(), Stored(kStartZone, MAPIPIM_SET_APPOINTMENT));
    EXPECT_EQ(480, pacific.nBias); // refreshed from the zone's "TZI"
    EXPECT_EQ(0, pacific.nStandardBias);
    EXPECT_EQ(-60, pacific.nDaylightBias);
}

TEST_F(RecurItemTest, TheRecurrenceDefinitionFlagsItsLastRuleWithBothFlags)
{
    CMAPITimeZone pacific = Zone(_T("Pacific Standard Time"));
    ASSERT_TRUE(m_recur.SetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kRecurrenceZone, &pacific, TRUE));
    const mapipim::TimeZoneDefinition definition = Parse(Stored(kRecurrenceZone, MAPIPIM_SET_APPOINTMENT));
    ASSERT_EQ(2u, definition.rules.size());
    EXPECT_EQ(0, definition.rules[0].wFlags);
    EXPECT_EQ(0x0003, definition.rules[1].wFlags);
}

TEST_F(RecurItemTest, AZoneWithoutDynamicRulesIsWrittenAsOutlookWritesIt)
{
    CMAPITimeZone tokyo = Zone(_T("Tokyo Standard Time"));
    ASSERT_TRUE(m_recur.SetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, &tokyo, FALSE));
    EXPECT_EQ(FromHex(OutlookSample("appt_recur_weekly_friday_lunch_2exceptions", 0x825E).hex),
              Stored(kStartZone, MAPIPIM_SET_APPOINTMENT));
    EXPECT_EQ(-540, tokyo.nBias);
}

TEST_F(RecurItemTest, AZoneWhoseOffsetChangedListsEveryYearOfItsRules)
{
    CMAPITimeZone moscow = Zone(_T("Russian Standard Time"));
    ASSERT_TRUE(m_recur.SetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, &moscow, FALSE));
    const mapipim::TimeZoneDefinition definition = Parse(Stored(kStartZone, MAPIPIM_SET_APPOINTMENT));
    ASSERT_GE(definition.rules.size(), 4u);
    for (size_t i = 1; i < definition.rules.size(); ++i)
        EXPECT_EQ(definition.rules[i - 1].stStart.wYear + 1, definition.rules[i].stStart.wYear);
    EXPECT_EQ(-180, definition.rules.back().tzi.nBias); // UTC+3 since 2014
    EXPECT_EQ(-180, moscow.nBias);

    CMAPITimeZone read = Zone(_T(""));
    ASSERT_TRUE(m_recur.GetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, &read));
    EXPECT_EQ(CString(_T("Russian Standard Time")), read.strKeyName);
    EXPECT_EQ(-180, read.nBias);
}

TEST_F(RecurItemTest, ReadingTakesTheBiasesOfTheEffectiveRuleNotOfTheOldest)
{
    // Samoa moved across the date line at the end of 2011: its oldest rule is UTC-11, its effective one UTC+13.
    CMAPITimeZone samoa = Zone(_T("Samoa Standard Time"));
    ASSERT_TRUE(m_recur.SetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, &samoa, FALSE));
    const mapipim::TimeZoneDefinition definition = Parse(Stored(kStartZone, MAPIPIM_SET_APPOINTMENT));
    ASSERT_GE(definition.rules.size(), 2u);
    EXPECT_EQ(660, definition.rules.front().tzi.nBias);
    EXPECT_EQ(-780, definition.rules.back().tzi.nBias);

    CMAPITimeZone read = Zone(_T(""));
    ASSERT_TRUE(m_recur.GetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, &read));
    EXPECT_EQ(CString(_T("Samoa Standard Time")), read.strKeyName);
    EXPECT_EQ(-780, read.nBias);
    EXPECT_EQ(0, read.nStandardBias);
}

TEST_F(RecurItemTest, AnEmptyKeyNameBecomesTheMachinesZone)
{
    ScopedTz tokyo("Asia/Tokyo");
    CMAPITimeZone zone = Zone(_T(""));
    ASSERT_TRUE(m_recur.SetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, &zone, FALSE));
    EXPECT_EQ(CString(_T("Tokyo Standard Time")), zone.strKeyName);
    EXPECT_EQ(CString(_T("Tokyo Standard Time")), Parse(Stored(kStartZone, MAPIPIM_SET_APPOINTMENT)).strKeyName);
}

TEST_F(RecurItemTest, AnUnknownZoneGetsOneEmptyRuleAndKeepsItsBiases)
{
    CMAPITimeZone nowhere = Zone(_T("Nowhere Standard Time"));
    ASSERT_TRUE(m_recur.SetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, &nowhere, FALSE));
    const std::vector<BYTE> bytes = Stored(kStartZone, MAPIPIM_SET_APPOINTMENT);
    EXPECT_EQ(10u + 2 * 21 + 66, bytes.size());
    const mapipim::TimeZoneDefinition definition = Parse(bytes);
    ASSERT_EQ(1u, definition.rules.size());
    EXPECT_EQ(1601, definition.rules[0].stStart.wYear);
    EXPECT_EQ(0, definition.rules[0].tzi.nBias);
    EXPECT_EQ(12345, nowhere.nBias);
}

TEST_F(RecurItemTest, PacificStructureIsThePublishedOne)
{
    CMAPITimeZone pacific = Zone(_T("Pacific Standard Time"));
    ASSERT_TRUE(m_recur.SetTimeZoneStruct(MAPIPIM_SET_APPOINTMENT, kZoneStruct, &pacific));
    EXPECT_EQ(FromHex(kPacificStructBlob), Stored(kZoneStruct, MAPIPIM_SET_APPOINTMENT));
    EXPECT_EQ(12345, pacific.nBias); // the structure does not touch the record's biases
}

TEST_F(RecurItemTest, OutlookDefinitionsReadTheirKeyAndEffectiveBiases)
{
    struct Expected
    {
        const char* file;
        ULONG id;
        LPCWSTR pszKeyName;
        LONG nBias;
        LONG nDaylightBias;
    };
    const Expected expected[] = {
        {"appt_single_est", 0x825F, _T("Eastern Standard Time"), 300, -60},
        {"meeting_request_recurring", 0x8260, _T("Pakistan Standard Time"), -300, -60},
        {"appt_recur_weekly_ja", 0x8260, _T("Tokyo Standard Time"), -540, 0},
    };
    for (const Expected& sample : expected)
    {
        SCOPED_TRACE(sample.file);
        ASSERT_TRUE(Store(kStartZone, MAPIPIM_SET_APPOINTMENT, FromHex(OutlookSample(sample.file, sample.id).hex)));
        CMAPITimeZone zone = Zone(_T(""));
        ASSERT_TRUE(m_recur.GetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, &zone));
        EXPECT_EQ(CString(sample.pszKeyName), zone.strKeyName);
        EXPECT_EQ(sample.nBias, zone.nBias);
        EXPECT_EQ(0, zone.nStandardBias);
        EXPECT_EQ(sample.nDaylightBias, zone.nDaylightBias);
    }
}

TEST_F(RecurItemTest, ADefinitionWithoutRulesSetsOnlyTheKeyName)
{
    std::vector<BYTE> bytes = FromHex(kPacificDefinitionBlob);
    bytes.resize(52);
    bytes[50] = bytes[51] = 0;
    ASSERT_TRUE(Store(kStartZone, MAPIPIM_SET_APPOINTMENT, bytes));
    CMAPITimeZone zone = Zone(_T("Tokyo Standard Time"));
    ASSERT_TRUE(m_recur.GetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, &zone));
    EXPECT_EQ(CString(_T("Pacific Standard Time")), zone.strKeyName);
    EXPECT_EQ(12345, zone.nBias);
}

TEST_F(RecurItemTest, TimeZoneOperationsFailWithoutAZoneOrAProperty)
{
    CMAPITimeZone zone = Zone(_T("Tokyo Standard Time"));
    EXPECT_FALSE(m_recur.GetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, &zone));
    EXPECT_EQ(12345, zone.nBias);
    EXPECT_FALSE(m_recur.GetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, NULL));
    EXPECT_FALSE(m_recur.SetTimeZoneDefinition(MAPIPIM_SET_APPOINTMENT, kStartZone, NULL, FALSE));
    EXPECT_FALSE(m_recur.SetTimeZoneStruct(MAPIPIM_SET_APPOINTMENT, kZoneStruct, NULL));
    EXPECT_TRUE(Stored(kStartZone, MAPIPIM_SET_APPOINTMENT).empty());
}
