// CMAPIRecurItem's recurrence pattern against the service: the blobs it writes for tasks and appointments byte for
// byte, the pattern it reads back, and the blobs of real Outlook items read to the values Outlook shows, with the
// occurrence count and end date each recomputed to what Outlook wrote.
#include "items/BlobTestData.h"
#include "items/RecurrenceCalendar.h"
#include "items/RecurrencePatternBlob.h"
#include "platform/trace/TraceCapture.h"
#include "RecurItemTestFixture.h"

#include "support/TimeBuilders.h"

#include <cstring>

using mapipim::MinutesOf;

namespace
{
constexpr ULONG kTaskRecurrence = 0x8116;
constexpr ULONG kAppointmentRecurrence = 0x8216;

std::vector<BYTE> LittleEndian(std::initializer_list<DWORD> dwords)
{
    std::vector<BYTE> bytes;
    for (DWORD dw : dwords)
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<BYTE>(dw >> (8 * i)));
    return bytes;
}

std::vector<BYTE> Concat(std::vector<BYTE> a, const std::vector<BYTE>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The default pattern's blob up to its end date: weekly on Monday and Tuesday, no start date (so the first
// date-time is the Sunday-started week of 1601-01-01), never ending.
std::vector<BYTE> DefaultPatternBlob()
{
    const std::vector<BYTE> head = {0x04, 0x30, 0x04, 0x30, 0x0B, 0x20, 0x01, 0x00, 0x00, 0x00};
    return Concat(head, LittleEndian({8640, 1, 0, 6, 0x2023, 10, 0, 0, 0, 0, 0x5AE980DF}));
}

CMAPIScheduleInfo Appointment(SYSTEMTIME tmStart, SYSTEMTIME tmEnd)
{
    CMAPIScheduleInfo schedule;
    schedule.tzStartTime.tmDateTime = tmStart;
    schedule.tzEndTime.tmDateTime = tmEnd;
    return schedule;
}

void ExpectDate(const SYSTEMTIME& tm, WORD wYear, WORD wMonth, WORD wDay, WORD wHour = 0, WORD wMinute = 0)
{
    EXPECT_EQ(wYear, tm.wYear);
    EXPECT_EQ(wMonth, tm.wMonth);
    EXPECT_EQ(wDay, tm.wDay);
    EXPECT_EQ(wHour, tm.wHour);
    EXPECT_EQ(wMinute, tm.wMinute);
}

DWORD OffsetAt(const std::vector<BYTE>& bytes, size_t offset)
{
    DWORD dw = 0;
    std::memcpy(&dw, &bytes.at(offset + 3) - 3, sizeof(dw));
    return dw;
}
} // namespace

TEST_F(RecurItemTest, DefaultPatternOfATaskIs54BytesEndingNever)
{
    CMAPIRecurring pattern;
    ASSERT_TRUE(m_recur.SetRecurrencePattern(MAPIPIM_SET_TASK, kTaskRecurrence, &pattern, NULL));
    EXPECT_EQ(DefaultPatternBlob(), Stored(kTaskRecurrence, MAPIPIM_SET_TASK));
    ExpectDate(pattern.tmEndDate, 4500, 8, 31, 23, 59);
    EXPECT_EQ(10, pattern.nOccurrenceCount);
}

TEST_F(RecurItemTest, DefaultPatternOfAnAppointmentIs80BytesWithItsOffsets)
{
    ScopedTz tokyo("Asia/Tokyo");
    CMAPIRecurring pattern;
    CMAPIScheduleInfo schedule = Appointment(MakeSystemTime(2010, 3, 1, 10, 0), MakeSystemTime(2010, 3, 1, 10, 30));
    ASSERT_TRUE(m_recur.SetRecurrencePattern(MAPIPIM_SET_APPOINTMENT, kAppointmentRecurrence, &pattern, &schedule));
    const std::vector<BYTE> expected =
        Concat(Concat(DefaultPatternBlob(), LittleEndian({0x3006, 0x3009, 600, 630})), std::vector<BYTE>(10, 0));
    EXPECT_EQ(expected, Stored(kAppointmentRecurrence, MAPIPIM_SET_APPOINTMENT));
}

TEST_F(RecurItemTest, TheWeeklyWorkedBlobIsWrittenByteForByte)
{
    ScopedTz utc("UTC");
    CMAPIRecurring pattern;
    pattern.nDayMask = 0x32; // Monday, Thursday, Friday
    pattern.tmStartDate = MakeSystemTime(2007, 3, 26);
    pattern.nEndType = 1;
    pattern.nOccurrenceCount = 12;
    CMAPIScheduleInfo schedule = Appointment(MakeSystemTime(2007, 3, 26, 10, 0), MakeSystemTime(2007, 3, 26, 10, 30));
    ASSERT_TRUE(m_recur.SetRecurrencePattern(MAPIPIM_SET_APPOINTMENT, kAppointmentRecurrence, &pattern, &schedule));
    EXPECT_EQ(FromHex(kWeeklyBlob), Stored(kAppointmentRecurrence, MAPIPIM_SET_APPOINTMENT));
    ExpectDate(pattern.tmEndDate, 2007, 4, 20);

    CMAPIRecurring read;
    read.nWeekNumber = 9;
    ASSERT_TRUE(m_recur.GetRecurrencePattern(MAPIPIM_SET_APPOINTMENT, kAppointmentRecurrence, &read));
    EXPECT_EQ(1, read.nFrequency);
    EXPECT_EQ(1u, read.nPeriod);
    EXPECT_EQ(1, read.nPatternType);
    EXPECT_EQ(0x32u, read.nDayMask);
    EXPECT_EQ(0, read.nWeekNumber); // a week pattern carries none
    EXPECT_EQ(0, read.nCalendarType);
    EXPECT_EQ(1, read.nEndType);
    EXPECT_EQ(12, read.nOccurrenceCount);
    EXPECT_EQ(0u, read.nSlidingFlag);
    ExpectDate(read.tmStartDate, 2007, 3, 26);
    ExpectDate(read.tmEndDate, 2007, 4, 20);
}

TEST_F(RecurItemTest, OffsetsTakeTheMachinesStandardBiasInSummerToo)
{
    ScopedTz berlin("Europe/Berlin");
    CMAPIRecurring pattern;
    CMAPIScheduleInfo summer = Appointment(MakeSystemTime(2010, 7, 1, 10, 0), MakeSystemTime(2010, 7, 1, 11, 15));
    ASSERT_TRUE(m_recur.SetRecurrencePattern(MAPIPIM_SET_APPOINTMENT, kAppointmentRecurrence, &pattern, &summer));
    const std::vector<BYTE> bytes = Stored(kAppointmentRecurrence, MAPIPIM_SET_APPOINTMENT);
    ASSERT_EQ(80u, bytes.size());
    EXPECT_EQ(600u, OffsetAt(bytes, 62));
    EXPECT_EQ(675u, OffsetAt(bytes, 66));
}

TEST_F(RecurItemTest, OffsetsAreShownInTheAppointmentsZone)
{
    ScopedTz tokyo("Asia/Tokyo");
    CMAPIRecurring pattern;
    CMAPIScheduleInfo schedule = Appointment(MakeSystemTime(2010, 3, 1, 10, 0), MakeSystemTime(2010, 3, 1, 11, 0));
    schedule.tzStartTime.nBias = 300; // New York's standard time: 10:00 in Tokyo is 20:00 there
    ASSERT_TRUE(m_recur.SetRecurrencePattern(MAPIPIM_SET_APPOINTMENT, kAppointmentRecurrence, &pattern, &schedule));
    const std::vector<BYTE> bytes = Stored(kAppointmentRecurrence, MAPIPIM_SET_APPOINTMENT);
    EXPECT_EQ(1200u, OffsetAt(bytes, 62));
    EXPECT_EQ(1260u, OffsetAt(bytes, 66)); // the end is shown in the start's zone as well
}

TEST_F(RecurItemTest, ADegeneratePatternIsWrittenWithItsRangeAndAZeroFirstDateTime)
{
    CMAPIRecurring pattern;
    pattern.nDayMask = 0; // no weekday
    pattern.nEndType = 1;
    pattern.nOccurrenceCount = 10;
    pattern.tmStartDate = MakeSystemTime(2010, 3, 1);
    pattern.tmEndDate = MakeSystemTime(2010, 3, 5);
    mapipim::TraceCapture capture;
    ASSERT_TRUE(m_recur.SetRecurrencePattern(MAPIPIM_SET_TASK, kTaskRecurrence, &pattern, NULL));
    EXPECT_EQ(std::vector<CString>{_T("[MAPI] Recurrence range left as given : no weekday in the day mask")},
              capture.GetLines());
    const std::vector<BYTE> bytes = Stored(kTaskRecurrence, MAPIPIM_SET_TASK);
    ASSERT_EQ(54u, bytes.size());
    EXPECT_EQ(0u, OffsetAt(bytes, 10));                                    // first date-time
    EXPECT_EQ(10u, OffsetAt(bytes, 30));                                   // count as given
    EXPECT_EQ(MinutesOf(MakeSystemTime(2010, 3, 5)), OffsetAt(bytes, 50)); // end date as given
    ExpectDate(pattern.tmEndDate, 2010, 3, 5);
}

TEST_F(RecurItemTest, ReadingFailsWithoutAPatternOrAProperty)
{
    CMAPIRecurring pattern;
    EXPECT_FALSE(m_recur.GetRecurrencePattern(MAPIPIM_SET_TASK, kTaskRecurrence, &pattern));
    EXPECT_EQ(1, pattern.nFrequency); // untouched
    EXPECT_FALSE(m_recur.GetRecurrencePattern(MAPIPIM_SET_TASK, kTaskRecurrence, NULL));
    EXPECT_FALSE(m_recur.SetRecurrencePattern(MAPIPIM_SET_TASK, kTaskRecurrence, NULL, NULL));
}

TEST_F(RecurItemTest, SixHundredDeletedInstancesDoNotHideTheDates)
{
    mapipim::RecurrencePatternBlob blob;
    blob.wFrequency = 0x200A;
    blob.dwPeriod = 1440;
    blob.dwEndType = 0x2021;
    blob.dwOccurrenceCount = 730;
    for (DWORD i = 0; i < 600; ++i)
        blob.deletedInstanceDates.push_back(MinutesOf(MakeSystemTime(2010, 1, 1)) + i * 1440);
    blob.dwStartDate = MinutesOf(MakeSystemTime(2010, 1, 1));
    blob.dwEndDate = MinutesOf(MakeSystemTime(2011, 12, 31));
    std::vector<BYTE> bytes(mapipim::RecurrencePatternSize(blob));
    CMAPIByteStream stream;
    stream.Init(static_cast<ULONG>(bytes.size()), bytes.data());
    mapipim::WriteRecurrencePattern(stream, blob);
    ASSERT_TRUE(Store(kTaskRecurrence, MAPIPIM_SET_TASK, bytes));

    CMAPIRecurring pattern;
    ASSERT_TRUE(m_recur.GetRecurrencePattern(MAPIPIM_SET_TASK, kTaskRecurrence, &pattern));
    ExpectDate(pattern.tmStartDate, 2010, 1, 1);
    ExpectDate(pattern.tmEndDate, 2011, 12, 31);
    EXPECT_EQ(730, pattern.nOccurrenceCount);
    EXPECT_EQ(0, pattern.nEndType);
}

TEST_F(RecurItemTest, AnEndTypeOfAllOnesReadsAsNever)
{
    std::vector<BYTE> bytes = FromHex(kWeeklyBlob);
    std::memset(&bytes[26], 0xFF, 4);
    ASSERT_TRUE(Store(kAppointmentRecurrence, MAPIPIM_SET_APPOINTMENT, bytes));
    CMAPIRecurring pattern;
    ASSERT_TRUE(m_recur.GetRecurrencePattern(MAPIPIM_SET_APPOINTMENT, kAppointmentRecurrence, &pattern));
    EXPECT_EQ(2, pattern.nEndType);
}

// ---- Real Outlook items

TEST_F(RecurItemTest, OutlookPatternsReadAsOutlookShowsThem)
{
    struct Shown
    {
        const char* file;
        WORD nFrequency;
        WORD nPatternType;
        DWORD nPeriod;
        DWORD nDayMask;
        LONG nEndType;
        LONG nOccurrenceCount;
        SYSTEMTIME tmStart;
        SYSTEMTIME tmEnd;
    };
    const Shown shown[] = {
        {"appt_recur_daily_everyday_ja", 0, 0, 1440, 0, 0, 7, MakeSystemTime(2022, 12, 1), MakeSystemTime(2022, 12, 7)},
        {"appt_recur_daily_weekdays_ja", 0, 1, 1, 0x3E, 1, 1, MakeSystemTime(2022, 12, 12),
         MakeSystemTime(2022, 12, 12)},
        {"appt_recur_weekly_ja", 1, 1, 1, 0x02, 1, 1, MakeSystemTime(2022, 12, 12), MakeSystemTime(2022, 12, 12)},
        {"appt_recur_monthly_ja", 2, 2, 1, 12, 1, 1, MakeSystemTime(2022, 12, 12), MakeSystemTime(2022, 12, 12)},
        {"appt_recur_yearly_ja", 3, 2, 12, 12, 1, 1, MakeSystemTime(2022, 12, 12), MakeSystemTime(2022, 12, 12)},
        {"appt_recur_weekly_2023_org_ja", 1, 1, 1, 0x20, 0, 52, MakeSystemTime(2023, 1, 6),
         MakeSystemTime(2023, 12, 31)},
        {"appt_recur_weekly_2023_exception1_ja", 1, 1, 1, 0x20, 0, 52, MakeSystemTime(2023, 1, 6),
         MakeSystemTime(2023, 12, 31)},
        {"appt_recur_weekly_2023_exception2_attach_ja", 1, 1, 1, 0x20, 0, 52, MakeSystemTime(2023, 1, 6),
         MakeSystemTime(2023, 12, 31)},
        {"appt_recur_weekly_friday_lunch_2exceptions", 1, 1, 1, 0x20, 0, 52, MakeSystemTime(2023, 1, 6),
         MakeSystemTime(2023, 12, 31)},
        {"meeting_request_recurring", 1, 1, 1, 0x12, 2, 10, MakeSystemTime(2017, 1, 19),
         MakeSystemTime(4500, 12, 31, 23, 59)},
    };
    for (const Shown& expected : shown)
    {
        SCOPED_TRACE(expected.file);
        ASSERT_TRUE(Store(kAppointmentRecurrence, MAPIPIM_SET_APPOINTMENT,
                          FromHex(OutlookSample(expected.file, kAppointmentRecurrence).hex)));
        CMAPIRecurring pattern;
        ASSERT_TRUE(m_recur.GetRecurrencePattern(MAPIPIM_SET_APPOINTMENT, kAppointmentRecurrence, &pattern));
        EXPECT_EQ(expected.nFrequency, pattern.nFrequency);
        EXPECT_EQ(expected.nPatternType, pattern.nPatternType);
        EXPECT_EQ(expected.nPeriod, pattern.nPeriod);
        EXPECT_EQ(expected.nDayMask, pattern.nDayMask);
        EXPECT_EQ(expected.nEndType, pattern.nEndType);
        EXPECT_EQ(expected.nOccurrenceCount, pattern.nOccurrenceCount);
        ExpectDate(pattern.tmStartDate, expected.tmStart.wYear, expected.tmStart.wMonth, expected.tmStart.wDay);
        ExpectDate(pattern.tmEndDate, expected.tmEnd.wYear, expected.tmEnd.wMonth, expected.tmEnd.wDay,
                   expected.tmEnd.wHour, expected.tmEnd.wMinute);

        // The enumerator recomputes what Outlook wrote: the count of a series that ends by a date, the end date
        // of one that ends after a count. (The samples count weeks from Sunday.)
        CMAPIRecurring recomputed = pattern;
        if (pattern.nEndType == 0)
            recomputed.nOccurrenceCount = 999;
        else
            recomputed.tmEndDate = MakeSystemTime(2000, 1, 1);
        ASSERT_TRUE(CMAPIRecurItem::CompleteRecurrenceRange(recomputed, 0));
        if (pattern.nEndType == 0)
            EXPECT_EQ(pattern.nOccurrenceCount, recomputed.nOccurrenceCount);
        if (pattern.nEndType == 1)
            EXPECT_EQ(MinutesOf(pattern.tmEndDate), MinutesOf(recomputed.tmEndDate));
    }
}

TEST_F(RecurItemTest, RewritingAnOutlookPatternGivesOutlooksBytes)
{
    // The yearly sample: its first date-time, count and end date all come out as Outlook computed them.
    ScopedTz tokyo("Asia/Tokyo");
    const std::vector<BYTE> outlook = FromHex(OutlookSample("appt_recur_yearly_ja", kAppointmentRecurrence).hex);
    ASSERT_TRUE(Store(kAppointmentRecurrence, MAPIPIM_SET_APPOINTMENT, outlook));
    CMAPIRecurring pattern;
    ASSERT_TRUE(m_recur.GetRecurrencePattern(MAPIPIM_SET_APPOINTMENT, kAppointmentRecurrence, &pattern));
    CMAPIScheduleInfo allDay = Appointment(MakeSystemTime(2022, 12, 12), MakeSystemTime(2022, 12, 13));
    ASSERT_TRUE(m_recur.SetRecurrencePattern(MAPIPIM_SET_APPOINTMENT, kAppointmentRecurrence, &pattern, &allDay));
    std::vector<BYTE> expected(outlook.begin(), outlook.end());
    EXPECT_EQ(expected, Stored(kAppointmentRecurrence, MAPIPIM_SET_APPOINTMENT));
}

TEST_F(RecurItemTest, AnOccurrenceThatEndsAfterMidnightHasAnEndOffsetPast1440)
{
    ScopedTz utc("UTC");
    CMAPIRecurring pattern;
    CMAPIScheduleInfo late = Appointment(MakeSystemTime(2010, 3, 1, 23, 0), MakeSystemTime(2010, 3, 2, 1, 0));
    ASSERT_TRUE(m_recur.SetRecurrencePattern(MAPIPIM_SET_APPOINTMENT, kAppointmentRecurrence, &pattern, &late));
    std::vector<BYTE> bytes = Stored(kAppointmentRecurrence, MAPIPIM_SET_APPOINTMENT);
    EXPECT_EQ(1380u, OffsetAt(bytes, 62));
    EXPECT_EQ(1500u, OffsetAt(bytes, 66));

    CMAPIScheduleInfo backwards = Appointment(MakeSystemTime(2010, 3, 1, 10, 0), MakeSystemTime(2010, 3, 1, 9, 0));
    ASSERT_TRUE(m_recur.SetRecurrencePattern(MAPIPIM_SET_APPOINTMENT, kAppointmentRecurrence, &pattern, &backwards));
    bytes = Stored(kAppointmentRecurrence, MAPIPIM_SET_APPOINTMENT);
    EXPECT_EQ(600u, OffsetAt(bytes, 62));
    EXPECT_EQ(600u, OffsetAt(bytes, 66)); // never before the start
}
