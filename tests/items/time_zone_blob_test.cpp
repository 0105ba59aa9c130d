// The time-zone definition and structure blobs: the published worked examples and real Outlook definitions read
// field by field and written back byte for byte, definitions built from a zone's yearly rules, and damaged values.
#include "items/BlobTestData.h"
#include "items/TimeZoneDefinitionBlob.h"
#include "items/TimeZoneStructBlob.h"

#include "support/AfxPrinters.h"

#include <gtest/gtest.h>

using namespace mapipim;

namespace
{
TimeZoneDefinition ReadDefinition(const std::vector<BYTE>& bytes)
{
    BlobReader reader(bytes.data(), static_cast<ULONG>(bytes.size()));
    return ReadTimeZoneDefinition(reader);
}

std::vector<BYTE> WriteDefinition(const TimeZoneDefinition& definition)
{
    std::vector<BYTE> buffer(TimeZoneDefinitionSize(definition));
    CMAPIByteStream stream;
    stream.Init(static_cast<ULONG>(buffer.size()), buffer.data());
    WriteTimeZoneDefinition(stream, definition);
    EXPECT_EQ(buffer.size(), stream.GetLength());
    return buffer;
}

void ExpectDate(const SYSTEMTIME& st, WORD wMonth, WORD wDayOfWeek, WORD wDay, WORD wHour)
{
    EXPECT_EQ(0, st.wYear);
    EXPECT_EQ(wMonth, st.wMonth);
    EXPECT_EQ(wDayOfWeek, st.wDayOfWeek);
    EXPECT_EQ(wDay, st.wDay);
    EXPECT_EQ(wHour, st.wHour);
}

TziValue PacificRule(WORD wStandardMonth, WORD wStandardWeek, WORD wDaylightMonth, WORD wDaylightWeek)
{
    TziValue tzi;
    tzi.nBias = 480;
    tzi.nDaylightBias = -60;
    tzi.stStandardDate = {0, wStandardMonth, 0, wStandardWeek, 2, 0, 0, 0};
    tzi.stDaylightDate = {0, wDaylightMonth, 0, wDaylightWeek, 2, 0, 0, 0};
    return tzi;
}
} // namespace

TEST(TimeZoneDefinitionBlobTest, PacificWorkedExampleFieldByFieldAndBack)
{
    const std::vector<BYTE> bytes = FromHex(kPacificDefinitionBlob);
    ASSERT_EQ(184u, bytes.size());
    const TimeZoneDefinition definition = ReadDefinition(bytes);
    EXPECT_EQ(CString(_T("Pacific Standard Time")), definition.strKeyName);
    ASSERT_EQ(2u, definition.rules.size());
    EXPECT_EQ(0, definition.rules[0].wFlags);
    EXPECT_EQ(2006, definition.rules[0].stStart.wYear);
    EXPECT_EQ(480, definition.rules[0].tzi.nBias);
    EXPECT_EQ(0, definition.rules[0].tzi.nStandardBias);
    EXPECT_EQ(-60, definition.rules[0].tzi.nDaylightBias);
    ExpectDate(definition.rules[0].tzi.stStandardDate, 10, 0, 5, 2);
    ExpectDate(definition.rules[0].tzi.stDaylightDate, 4, 0, 1, 2);
    EXPECT_EQ(TZRULE_FLAG_EFFECTIVE_TZREG, definition.rules[1].wFlags);
    EXPECT_EQ(2007, definition.rules[1].stStart.wYear);
    ExpectDate(definition.rules[1].tzi.stStandardDate, 11, 0, 1, 2);
    ExpectDate(definition.rules[1].tzi.stDaylightDate, 3, 0, 2, 2);
    EXPECT_EQ(&definition.rules[1], EffectiveRule(definition));
    EXPECT_EQ(bytes, WriteDefinition(definition));
}

TEST(TimeZoneDefinitionBlobTest, ThreeDynamicYearsGiveThreeRulesWithFlagsOnTheLastOnly)
{
    const std::vector<YearRule> years = {
        {2006, PacificRule(10, 5, 4, 1)}, {2007, PacificRule(11, 1, 3, 2)}, {2008, PacificRule(11, 1, 3, 2)}};
    for (bool bRecurrence : {false, true})
    {
        const TimeZoneDefinition definition =
            DefinitionFromYears(_T("Pacific Standard Time"), years, TziValue{}, bRecurrence);
        ASSERT_EQ(3u, definition.rules.size());
        for (size_t i = 0; i < 3; ++i)
        {
            const SYSTEMTIME& start = definition.rules[i].stStart;
            EXPECT_EQ(2006 + i, start.wYear);
            EXPECT_EQ(1, start.wMonth); // January 1st, as Outlook writes a rule's start
            EXPECT_EQ(1, start.wDay);
            EXPECT_EQ(0, start.wDayOfWeek);
            EXPECT_EQ(i < 2 ? 0 : (bRecurrence ? 3 : 2), definition.rules[i].wFlags);
        }
        const std::vector<BYTE> bytes = WriteDefinition(definition);
        EXPECT_EQ(10u + 42 + 3 * 66, bytes.size());
        EXPECT_EQ(48, bytes[2]); // header size: 6 + 2 x 21
    }
}

TEST(TimeZoneDefinitionBlobTest, AZoneWithoutDynamicRulesHasOneRuleFrom1601)
{
    TziValue tokyo;
    tokyo.nBias = -540;
    tokyo.nDaylightBias = -60;
    const TimeZoneDefinition definition = DefinitionFromYears(_T("Tokyo Standard Time"), {}, tokyo, false);
    ASSERT_EQ(1u, definition.rules.size());
    EXPECT_EQ(1601, definition.rules[0].stStart.wYear);
    EXPECT_EQ(TZRULE_FLAG_EFFECTIVE_TZREG, definition.rules[0].wFlags);
    // What Outlook wrote for the same zone (its end zone of a recurring lunch), byte for byte.
    EXPECT_EQ(FromHex(OutlookSample("appt_recur_weekly_friday_lunch_2exceptions", 0x825F).hex),
              WriteDefinition(definition));
}

TEST(TimeZoneDefinitionBlobTest, KeyNameOfTwentyCharactersGivesAHeaderOf46)
{
    const TimeZoneDefinition definition = DefinitionFromYears(_T("ABCDEFGHIJKLMNOPQRST"), {}, TziValue{}, false);
    const std::vector<BYTE> bytes = WriteDefinition(definition);
    EXPECT_EQ(10u + 40 + 66, bytes.size());
    EXPECT_EQ(46, bytes[2] | (bytes[3] << 8));
}

TEST(TimeZoneDefinitionBlobTest, RuleCountsOutsideOneTo1023ReadNoRule)
{
    std::vector<BYTE> bytes = FromHex(kPacificDefinitionBlob);
    for (WORD wCount : {0, 1024, 0xFFFF})
    {
        bytes[50] = static_cast<BYTE>(wCount);
        bytes[51] = static_cast<BYTE>(wCount >> 8);
        const TimeZoneDefinition definition = ReadDefinition(bytes);
        EXPECT_EQ(CString(_T("Pacific Standard Time")), definition.strKeyName);
        EXPECT_TRUE(definition.rules.empty()) << wCount;
        EXPECT_EQ(nullptr, EffectiveRule(definition));
    }
    // A count above what the value holds reads the rules that are there.
    bytes[50] = 200;
    bytes[51] = 0;
    EXPECT_EQ(2u, ReadDefinition(bytes).rules.size());
}

TEST(TimeZoneDefinitionBlobTest, AValueCutInsideARuleLeavesItsRestAtZero)
{
    std::vector<BYTE> bytes = FromHex(kPacificDefinitionBlob);
    bytes.resize(52 + 66 + 24); // the second rule ends inside its bias
    const TimeZoneDefinition definition = ReadDefinition(bytes);
    ASSERT_EQ(2u, definition.rules.size());
    EXPECT_EQ(2007, definition.rules[1].stStart.wYear);
    EXPECT_EQ(0, definition.rules[1].tzi.nBias);
    bytes.push_back(0x11); // one byte more is left after the cut rule's reads: no third rule starts there
    bytes[50] = 3;
    EXPECT_EQ(2u, ReadDefinition(bytes).rules.size());
    EXPECT_TRUE(ReadDefinition({0x02, 0x01, 0x30}).strKeyName.IsEmpty());
}

TEST(TimeZoneDefinitionBlobTest, TheEffectiveRuleIsTheFlaggedOneElseTheLast)
{
    TimeZoneDefinition definition;
    definition.rules.resize(3);
    for (size_t i = 0; i < 3; ++i)
        definition.rules[i].tzi.nBias = static_cast<LONG>(100 * i);
    EXPECT_EQ(&definition.rules[2], EffectiveRule(definition));
    definition.rules[1].wFlags = TZRULE_FLAG_EFFECTIVE_TZREG;
    EXPECT_EQ(&definition.rules[1], EffectiveRule(definition));
    definition.rules[1].wFlags = TZRULE_FLAG_RECUR_CURRENT_TZREG; // not the effective flag
    EXPECT_EQ(&definition.rules[2], EffectiveRule(definition));
}

TEST(TimeZoneDefinitionBlobTest, OutlookDefinitionsReadAndWriteBackByteForByte)
{
    int nDefinitions = 0;
    for (const OutlookBlobSample& sample : kOutlookBlobSamples)
    {
        if (sample.id != 0x825E && sample.id != 0x825F && sample.id != 0x8260)
            continue;
        const std::vector<BYTE> bytes = FromHex(sample.hex);
        const TimeZoneDefinition definition = ReadDefinition(bytes);
        EXPECT_FALSE(definition.strKeyName.IsEmpty()) << sample.file;
        ASSERT_FALSE(definition.rules.empty()) << sample.file;
        const TimeZoneRule* pEffective = EffectiveRule(definition);
        ASSERT_NE(nullptr, pEffective);
        EXPECT_EQ(pEffective, &definition.rules.back()) << sample.file; // Outlook flags the newest rule
        for (const TimeZoneRule& rule : definition.rules)
        {
            EXPECT_EQ(1, rule.stStart.wMonth) << sample.file;
            EXPECT_EQ(1, rule.stStart.wDay) << sample.file;
        }
        EXPECT_EQ(bytes, WriteDefinition(definition)) << sample.file;
        ++nDefinitions;
    }
    EXPECT_EQ(34, nDefinitions);
}

TEST(TimeZoneDefinitionBlobTest, OutlookZonesReadTheirEffectiveBiases)
{
    const TimeZoneDefinition est = ReadDefinition(FromHex(OutlookSample("appt_single_est", 0x825F).hex));
    EXPECT_EQ(CString(_T("Eastern Standard Time")), est.strKeyName);
    ASSERT_EQ(2u, est.rules.size());
    EXPECT_EQ(300, EffectiveRule(est)->tzi.nBias);
    ExpectDate(EffectiveRule(est)->tzi.stDaylightDate, 3, 0, 2, 2);

    const TimeZoneDefinition karachi = ReadDefinition(FromHex(OutlookSample("meeting_request_recurring", 0x8260).hex));
    EXPECT_EQ(CString(_T("Pakistan Standard Time")), karachi.strKeyName);
    ASSERT_EQ(4u, karachi.rules.size());
    EXPECT_EQ(2010, EffectiveRule(karachi)->stStart.wYear);
    EXPECT_EQ(-300, EffectiveRule(karachi)->tzi.nBias);
    EXPECT_EQ(0, EffectiveRule(karachi)->tzi.stDaylightDate.wMonth); // no daylight time any more
}

TEST(TimeZoneStructBlobTest, PacificWorkedStructureAndBack)
{
    const std::vector<BYTE> expected = FromHex(kPacificStructBlob);
    const TziValue rule = PacificRule(11, 1, 3, 2);
    std::vector<BYTE> buffer(kTimeZoneStructBytes);
    CMAPIByteStream stream;
    stream.Init(kTimeZoneStructBytes, buffer.data());
    WriteTimeZoneStruct(stream, rule);
    EXPECT_EQ(kTimeZoneStructBytes, stream.GetLength());
    EXPECT_EQ(expected, buffer);

    BlobReader reader(expected.data(), static_cast<ULONG>(expected.size()));
    const TziValue read = ReadTimeZoneStruct(reader);
    EXPECT_EQ(480, read.nBias);
    EXPECT_EQ(-60, read.nDaylightBias);
    ExpectDate(read.stStandardDate, 11, 0, 1, 2);
    ExpectDate(read.stDaylightDate, 3, 0, 2, 2);
}

TEST(TimeZoneStructBlobTest, OutlookStructuresWriteBackByteForByte)
{
    int nStructures = 0;
    for (const OutlookBlobSample& sample : kOutlookBlobSamples)
    {
        if (sample.id != 0x8233)
            continue;
        const std::vector<BYTE> bytes = FromHex(sample.hex);
        ASSERT_EQ(kTimeZoneStructBytes, bytes.size());
        BlobReader reader(bytes.data(), kTimeZoneStructBytes);
        const TziValue tzi = ReadTimeZoneStruct(reader);
        EXPECT_TRUE(tzi.nBias == -540 || tzi.nBias == -300) << sample.file; // Tokyo, Karachi
        std::vector<BYTE> buffer(kTimeZoneStructBytes);
        CMAPIByteStream stream;
        stream.Init(kTimeZoneStructBytes, buffer.data());
        WriteTimeZoneStruct(stream, tzi);
        EXPECT_EQ(bytes, buffer) << sample.file;
        ++nStructures;
    }
    EXPECT_EQ(10, nStructures);
}
