// The changed occurrences in the recurrence blob: the published worked blobs and Outlook's own blobs read field by
// field and written back, texts beyond the 8-bit code page, and values cut short at every length.
#include "items/BlobTestData.h"
#include "items/PatternBlobRoundTrip.h"
#include "items/RecurrencePatternBlob.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace mapipim;

namespace
{
void ExpectSameExceptions(const std::vector<RecurrenceException>& expected,
                          const std::vector<RecurrenceException>& actual, const char* szWhat)
{
    ASSERT_EQ(expected.size(), actual.size()) << szWhat;
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(expected[i].dwStartDateTime, actual[i].dwStartDateTime) << szWhat;
        EXPECT_EQ(expected[i].dwEndDateTime, actual[i].dwEndDateTime) << szWhat;
        EXPECT_EQ(expected[i].dwOriginalStartTime, actual[i].dwOriginalStartTime) << szWhat;
        EXPECT_EQ(expected[i].wOverrideFlags, actual[i].wOverrideFlags) << szWhat;
        // Only the overridden fields are stored.
        const WORD wFlags = expected[i].wOverrideFlags;
        if (wFlags & kOverrideSubject)
            EXPECT_EQ(expected[i].strSubject, actual[i].strSubject) << szWhat;
        if (wFlags & kOverrideLocation)
            EXPECT_EQ(expected[i].strLocation, actual[i].strLocation) << szWhat;
        if (wFlags & kOverrideReminderDelta)
            EXPECT_EQ(expected[i].dwReminderDelta, actual[i].dwReminderDelta) << szWhat;
        if (wFlags & kOverrideReminder)
            EXPECT_EQ(expected[i].dwReminderSet, actual[i].dwReminderSet) << szWhat;
        if (wFlags & kOverrideBusyStatus)
            EXPECT_EQ(expected[i].dwBusyStatus, actual[i].dwBusyStatus) << szWhat;
        if (wFlags & kOverrideSubType)
            EXPECT_EQ(expected[i].dwSubType, actual[i].dwSubType) << szWhat;
    }
}
} // namespace

TEST(RecurrenceExceptionBlobTest, WeeklyWorkedBlobHasTheMovedOccurrenceWithItsTextsAndWritesBack)
{
    const std::vector<BYTE> bytes = FromHex(kWeeklyWithExceptionBlob);
    const RecurrencePatternBlob blob = ReadPatternBlob(bytes);
    ASSERT_EQ(1u, blob.exceptions.size());
    const RecurrenceException& moved = blob.exceptions[0];
    EXPECT_EQ(0x0CBC9934u, moved.dwStartDateTime); // 2007-04-16 11:00
    EXPECT_EQ(0x0CBC9952u, moved.dwEndDateTime);
    EXPECT_EQ(0x0CBC98F8u, moved.dwOriginalStartTime); // 10:00
    EXPECT_EQ(kOverrideSubject | kOverrideLocation, moved.wOverrideFlags);
    EXPECT_EQ(CString(_T("Simple Recurrence with exceptions")), moved.strSubject);
    EXPECT_EQ(CString(_T("34/4141")), moved.strLocation);
    EXPECT_EQ(bytes, WritePatternBlob(blob));
}

TEST(RecurrenceExceptionBlobTest, HebrewWorkedBlobHasReminderAndBusyOverridesWithoutTexts)
{
    const std::vector<BYTE> bytes = FromHex(kHebrewYearlyBlob);
    const RecurrencePatternBlob blob = ReadPatternBlob(bytes);
    ASSERT_EQ(1u, blob.exceptions.size());
    const RecurrenceException& changed = blob.exceptions[0];
    EXPECT_EQ(kOverrideReminderDelta | kOverrideBusyStatus | kOverrideExceptionalBody, changed.wOverrideFlags);
    EXPECT_EQ(60u, changed.dwReminderDelta);
    EXPECT_EQ(1u, changed.dwBusyStatus);
    EXPECT_TRUE(changed.strSubject.IsEmpty());
    EXPECT_EQ(changed.dwStartDateTime, changed.dwOriginalStartTime);
    EXPECT_EQ(changed.dwStartDateTime + 30, changed.dwEndDateTime);
    EXPECT_EQ(bytes, WritePatternBlob(blob));
}

TEST(RecurrenceExceptionBlobTest, OutlookBlobsWithExceptionsReadEveryOneAndSurviveWritingBack)
{
    int nWithExceptions = 0;
    for (const OutlookBlobSample& sample : kOutlookBlobSamples)
    {
        if (sample.id != 0x8216)
            continue;
        const std::vector<BYTE> bytes = FromHex(sample.hex);
        const RecurrencePatternBlob blob = ReadPatternBlob(bytes);
        ASSERT_EQ(blob.wExceptionCount, blob.exceptions.size()) << sample.file;
        if (blob.exceptions.empty())
            continue;
        ++nWithExceptions;
        for (const RecurrenceException& exception : blob.exceptions)
        {
            EXPECT_LE(exception.dwStartDateTime, exception.dwEndDateTime) << sample.file;
            EXPECT_TRUE(std::count(blob.deletedInstanceDates.begin(), blob.deletedInstanceDates.end(),
                                   exception.dwOriginalStartTime / 1440 * 1440))
                << sample.file;
        }
        const std::vector<BYTE> written = WritePatternBlob(blob);
        ExpectSameExceptions(blob.exceptions, ReadPatternBlob(written).exceptions, sample.file);
        // Texts within the code page (the Japanese samples' are not in 1252) come back byte for byte.
        if (std::string(sample.file).find("_ja") == std::string::npos)
            EXPECT_EQ(bytes, written) << sample.file;
    }
    EXPECT_EQ(3, nWithExceptions);
}

TEST(RecurrenceExceptionBlobTest, TextsOutsideTheCodePageComeBackFromTheWideCopy)
{
    RecurrencePatternBlob blob = ReadPatternBlob(FromHex(kWeeklyWithExceptionBlob));
    RecurrenceException& moved = blob.exceptions[0];
    moved.strSubject = CString(_T("Réunion \u65E5\u672C \u0416"));
    moved.strLocation = CString();
    moved.wOverrideFlags = kOverrideSubject | kOverrideLocation | kOverrideBusyStatus | kOverrideSubType;
    moved.dwBusyStatus = 3;
    moved.dwSubType = 1;
    RecurrenceException second = moved;
    second.wOverrideFlags = kOverrideReminder;
    second.dwReminderSet = 0;
    second.dwOriginalStartTime += 3 * 1440;
    blob.exceptions.push_back(second);
    const RecurrencePatternBlob read = ReadPatternBlob(WritePatternBlob(blob));
    EXPECT_EQ(2, read.wExceptionCount);
    ExpectSameExceptions(blob.exceptions, read.exceptions, "written");
}

TEST(RecurrenceExceptionBlobTest, AValueCutAtAnyLengthKeepsOnlyWhatItHoldsWhole)
{
    const std::vector<BYTE> bytes = FromHex(kWeeklyWithExceptionBlob);
    for (size_t cut = 0; cut < bytes.size(); ++cut)
    {
        const std::vector<BYTE> head(bytes.begin(), bytes.begin() + cut);
        const RecurrencePatternBlob blob = ReadPatternBlob(head);
        ASSERT_LE(blob.exceptions.size(), 1u) << cut;
        // The entry needs all of its ExceptionInfo (80 to 142); until its extended part is whole (at 254) the texts
        // are the 8-bit ones, which here say the same.
        EXPECT_EQ(cut >= 142, blob.exceptions.size() == 1) << cut;
        if (!blob.exceptions.empty())
            EXPECT_EQ(CString(_T("34/4141")), blob.exceptions[0].strLocation) << cut;
    }
}

TEST(RecurrenceExceptionBlobTest, ClaimedLengthsBeyondTheValueEndTheWalk)
{
    std::vector<BYTE> bytes = FromHex(kWeeklyWithExceptionBlob);
    bytes[94] = 0xFF; // the 8-bit subject's length
    bytes[95] = 0xFF;
    bytes[96] = 0xFE;
    bytes[97] = 0xFF;
    EXPECT_TRUE(ReadPatternBlob(bytes).exceptions.empty());
    bytes = FromHex(kWeeklyWithExceptionBlob);
    bytes[78] = 0xFF; // 65,535 exceptions claimed: the walk reads what follows as entries until the value ends
    bytes[79] = 0xFF;
    const RecurrencePatternBlob claimed = ReadPatternBlob(bytes);
    ASSERT_GE(claimed.exceptions.size(), 1u);
    EXPECT_LT(claimed.exceptions.size(), 13u); // no entry is shorter than 14 bytes
    EXPECT_EQ(CString(_T("Simple Recurrence with exceptions")), claimed.exceptions[0].strSubject);
    bytes = FromHex(kWeeklyWithExceptionBlob);
    bytes[170] = 0xFF; // the wide subject's length: the 8-bit texts stay
    bytes[171] = 0x7F;
    const RecurrencePatternBlob blob = ReadPatternBlob(bytes);
    ASSERT_EQ(1u, blob.exceptions.size());
    EXPECT_EQ(CString(_T("Simple Recurrence with exceptions")), blob.exceptions[0].strSubject);
}

TEST(RecurrenceExceptionBlobTest, ATextEndsAtItsFirstNul)
{
    std::vector<BYTE> bytes = FromHex(kWeeklyWithExceptionBlob);
    bytes[184] = 0; // the wide subject's seventh character, after "Simple"
    bytes[185] = 0;
    const RecurrencePatternBlob blob = ReadPatternBlob(bytes);
    ASSERT_EQ(1u, blob.exceptions.size());
    EXPECT_EQ(CString(_T("Simple")), blob.exceptions[0].strSubject);
    EXPECT_EQ(blob.exceptions[0].strSubject, ReadPatternBlob(WritePatternBlob(blob)).exceptions[0].strSubject);
}
