// The recurrence blob's layout: the published worked blobs and real Outlook blobs read field by field and written
// back byte for byte where the writer can express them, instance lists of any length, and damaged values.
#include "items/BlobTestData.h"
#include "items/PatternBlobRoundTrip.h"
#include "items/RecurrencePatternBlob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace mapipim;

namespace
{
void PutDWord(std::vector<BYTE>& bytes, size_t offset, DWORD value)
{
    std::memcpy(&bytes[offset], &value, sizeof(value));
}
} // namespace

TEST(RecurrencePatternBlobTest, WeeklyWorkedBlobFieldByFieldAndBack)
{
    const std::vector<BYTE> bytes = FromHex(kWeeklyBlob);
    ASSERT_EQ(80u, bytes.size());
    const RecurrencePatternBlob blob = ReadPatternBlob(bytes);
    EXPECT_EQ(0x3004, blob.wReaderVersion);
    EXPECT_EQ(0x3004, blob.wWriterVersion);
    EXPECT_EQ(0x200B, blob.wFrequency);
    EXPECT_EQ(1, blob.wPatternType);
    EXPECT_EQ(0, blob.wCalendarType);
    EXPECT_EQ(8640u, blob.dwFirstDateTime);
    EXPECT_EQ(1u, blob.dwPeriod);
    EXPECT_EQ(0u, blob.dwSlidingFlag);
    EXPECT_EQ(0x32u, blob.dwPatternSpecific1);
    EXPECT_EQ(0x2022u, blob.dwEndType);
    EXPECT_EQ(12u, blob.dwOccurrenceCount);
    EXPECT_EQ(0u, blob.dwFirstDayOfWeek);
    EXPECT_TRUE(blob.deletedInstanceDates.empty());
    EXPECT_TRUE(blob.modifiedInstanceDates.empty());
    EXPECT_EQ(0x0CBC2080u, blob.dwStartDate);
    EXPECT_EQ(0x0CBCAD20u, blob.dwEndDate);
    EXPECT_TRUE(blob.bHasAppointmentPart);
    EXPECT_EQ(0x3006u, blob.dwReaderVersion2);
    EXPECT_EQ(0x3009u, blob.dwWriterVersion2);
    EXPECT_EQ(600u, blob.dwStartTimeOffset);
    EXPECT_EQ(630u, blob.dwEndTimeOffset);
    EXPECT_EQ(0, blob.wExceptionCount);
    EXPECT_EQ(bytes, WritePatternBlob(blob));
}

TEST(RecurrencePatternBlobTest, DailyWorkedBlobWithDeletedInstancesAndBack)
{
    const std::vector<BYTE> bytes = FromHex(kDailyWithDeletionsBlob);
    ASSERT_EQ(84u, bytes.size());
    const RecurrencePatternBlob blob = ReadPatternBlob(bytes);
    EXPECT_EQ(0x200A, blob.wFrequency);
    EXPECT_EQ(0, blob.wPatternType);
    EXPECT_EQ(1440u, blob.dwFirstDateTime);
    EXPECT_EQ(4320u, blob.dwPeriod);
    EXPECT_EQ(0x2021u, blob.dwEndType);
    EXPECT_EQ(10u, blob.dwOccurrenceCount);
    EXPECT_EQ(2u, blob.dwDeletedInstanceCount);
    EXPECT_EQ((std::vector<DWORD>{0x0CDCC1A0, 0x0CDCD280}), blob.deletedInstanceDates);
    EXPECT_EQ(0u, blob.dwModifiedInstanceCount);
    EXPECT_EQ(0x0CDC7E20u, blob.dwStartDate);
    EXPECT_EQ(0x0CDD1600u, blob.dwEndDate);
    EXPECT_EQ(480u, blob.dwStartTimeOffset);
    EXPECT_EQ(510u, blob.dwEndTimeOffset);
    EXPECT_EQ(bytes, WritePatternBlob(blob));
}

TEST(RecurrencePatternBlobTest, WorkedBlobWithAnExceptionReadsItsDatesAndCount)
{
    const RecurrencePatternBlob blob = ReadPatternBlob(FromHex(kWeeklyWithExceptionBlob));
    EXPECT_EQ((std::vector<DWORD>{0x0CBC96A0}), blob.deletedInstanceDates);
    EXPECT_EQ((std::vector<DWORD>{0x0CBC96A0}), blob.modifiedInstanceDates);
    EXPECT_EQ(0x0CBC2080u, blob.dwStartDate);
    EXPECT_EQ(0x0CBCAD20u, blob.dwEndDate);
    EXPECT_EQ(600u, blob.dwStartTimeOffset);
    EXPECT_EQ(1, blob.wExceptionCount);
}

TEST(RecurrencePatternBlobTest, NeverEndingHebrewWorkedBlob)
{
    const RecurrencePatternBlob blob = ReadPatternBlob(FromHex(kHebrewYearlyBlob));
    EXPECT_EQ(0x200D, blob.wFrequency);
    EXPECT_EQ(2, blob.wPatternType);
    EXPECT_EQ(8, blob.wCalendarType);
    EXPECT_EQ(685440u, blob.dwFirstDateTime);
    EXPECT_EQ(12u, blob.dwPeriod);
    EXPECT_EQ(3u, blob.dwPatternSpecific1);
    EXPECT_EQ(static_cast<DWORD>(kRecurEndNever), blob.dwEndType);
    EXPECT_EQ(10u, blob.dwOccurrenceCount);
    EXPECT_EQ(0x0CC47460u, blob.dwStartDate);
    EXPECT_EQ(static_cast<DWORD>(kRecurNeverEndDate), blob.dwEndDate);
}

TEST(RecurrencePatternBlobTest, SixHundredDeletedInstancesAreSkippedWhole)
{
    RecurrencePatternBlob written;
    written.wFrequency = 0x200A;
    written.dwPeriod = 1440;
    written.dwEndType = 0x2021;
    for (DWORD i = 0; i < 600; ++i)
        written.deletedInstanceDates.push_back(0x0CDC7E20 + i * 1440);
    written.modifiedInstanceDates = {0x0CDC7E20, 0x0CDC8460, 0x0CDC8AA0};
    written.dwStartDate = 0x0CDC7E20;
    written.dwEndDate = 0x0CE00000;
    const std::vector<BYTE> bytes = WritePatternBlob(written);
    ASSERT_EQ(50u + 4 * 603, bytes.size());

    const RecurrencePatternBlob read = ReadPatternBlob(bytes);
    EXPECT_EQ(600u, read.dwDeletedInstanceCount);
    EXPECT_EQ(written.deletedInstanceDates, read.deletedInstanceDates);
    EXPECT_EQ(3u, read.dwModifiedInstanceCount);
    EXPECT_EQ(written.modifiedInstanceDates, read.modifiedInstanceDates);
    EXPECT_EQ(0x0CDC7E20u, read.dwStartDate);
    EXPECT_EQ(0x0CE00000u, read.dwEndDate);
    EXPECT_FALSE(read.bHasAppointmentPart);
}

TEST(RecurrencePatternBlobTest, AModifiedCountAboveTheDeletedCountIsStillSkipped)
{
    RecurrencePatternBlob written;
    written.deletedInstanceDates = {1};
    written.modifiedInstanceDates = {2, 3};
    written.dwStartDate = 0x0CBC2080;
    written.dwEndDate = 0x0CBCAD20;
    const RecurrencePatternBlob read = ReadPatternBlob(WritePatternBlob(written));
    EXPECT_EQ(0x0CBC2080u, read.dwStartDate);
    EXPECT_EQ(0x0CBCAD20u, read.dwEndDate);
}

TEST(RecurrencePatternBlobTest, CountsPastTheEndLeaveWhatFollowsAtZero)
{
    // Offset 38 of the weekly worked blob holds its deleted instance count.
    for (DWORD dwCount : {0xFFFFFFFFu, 0x40000001u, 11u})
    {
        std::vector<BYTE> bytes = FromHex(kWeeklyBlob);
        PutDWord(bytes, 38, dwCount);
        const RecurrencePatternBlob blob = ReadPatternBlob(bytes);
        EXPECT_EQ(dwCount, blob.dwDeletedInstanceCount);
        EXPECT_EQ(9u, blob.deletedInstanceDates.size()) << dwCount; // the 38 bytes that follow the count
        EXPECT_EQ(0u, blob.dwStartDate) << dwCount;
        EXPECT_EQ(0u, blob.dwEndDate) << dwCount;
        EXPECT_FALSE(blob.bHasAppointmentPart);
    }
}

TEST(RecurrencePatternBlobTest, AShortValueReadsZerosPastItsEnd)
{
    std::vector<BYTE> bytes = FromHex(kWeeklyBlob);
    bytes.resize(24); // ends inside the day mask
    const RecurrencePatternBlob blob = ReadPatternBlob(bytes);
    EXPECT_EQ(0x200B, blob.wFrequency);
    EXPECT_EQ(1u, blob.dwPeriod);
    EXPECT_EQ(0u, blob.dwPatternSpecific1);
    EXPECT_EQ(0u, blob.dwEndType);
    EXPECT_EQ(0u, blob.dwStartDate);
    EXPECT_TRUE(ReadPatternBlob({}).deletedInstanceDates.empty());
}

TEST(RecurrencePatternBlobTest, PatternSpecificDataFollowsThePatternType)
{
    EXPECT_EQ(0u, PatternSpecificSize(0));
    for (WORD wType : {1, 2, 4, 10, 12})
        EXPECT_EQ(4u, PatternSpecificSize(wType)) << wType;
    for (WORD wType : {3, 11})
        EXPECT_EQ(8u, PatternSpecificSize(wType)) << wType;
    EXPECT_EQ(0u, PatternSpecificSize(5));

    RecurrencePatternBlob monthNth;
    monthNth.wPatternType = 3;
    monthNth.dwPatternSpecific1 = 0x04;
    monthNth.dwPatternSpecific2 = 2;
    const std::vector<BYTE> bytes = WritePatternBlob(monthNth);
    ASSERT_EQ(58u, bytes.size());
    const RecurrencePatternBlob read = ReadPatternBlob(bytes);
    EXPECT_EQ(0x04u, read.dwPatternSpecific1);
    EXPECT_EQ(2u, read.dwPatternSpecific2);
}

TEST(RecurrencePatternBlobTest, OutlookBlobsWithoutExceptionsWriteBackByteForByte)
{
    int nWrittenBack = 0;
    for (const OutlookBlobSample& sample : kOutlookBlobSamples)
    {
        if (sample.id != 0x8216 && sample.id != 0x8116)
            continue;
        const std::vector<BYTE> bytes = FromHex(sample.hex);
        const RecurrencePatternBlob blob = ReadPatternBlob(bytes);
        EXPECT_EQ(0x3004, blob.wReaderVersion) << sample.file;
        EXPECT_LE(blob.dwModifiedInstanceCount, blob.dwDeletedInstanceCount) << sample.file;
        if (blob.wExceptionCount != 0)
        {
            EXPECT_EQ(blob.dwModifiedInstanceCount, blob.wExceptionCount) << sample.file;
            continue;
        }
        // Outlook ended its one day-pattern blob with four zero bytes past the last reserved size; nothing
        // reads them, and the writer does not add them.
        const std::vector<BYTE> written = WritePatternBlob(blob);
        ASSERT_LE(written.size(), bytes.size()) << sample.file;
        EXPECT_TRUE(std::equal(written.begin(), written.end(), bytes.begin())) << sample.file;
        const bool bPadded = bytes.size() > written.size();
        EXPECT_EQ(blob.wPatternType == 0, bPadded) << sample.file;
        if (bPadded)
            EXPECT_EQ(std::vector<BYTE>(4, 0), std::vector<BYTE>(bytes.begin() + written.size(), bytes.end()));
        ++nWrittenBack;
    }
    EXPECT_EQ(7, nWrittenBack);
}
