// The schedule item against the embedded service, in three zones (west of, at and east of Greenwich with and
// without daylight saving): every field round trip, the UTC the times are stored as, the hours a transition skips
// and repeats, the read groups and fallbacks, reminders, durations, recurrence and its removal, the clip range,
// attachments by path, and the trace line of each field that fails to be read or written.
#include <mapipim/mapisvc.h>

#include "items/MAPIScheduleItem.h"
#include "items/ScheduleProperties.h"
#include "support/CallLogQueries.h"
#include "support/ScheduleServiceTest.h"
#include "support/ScopedEnvironment.h"

using namespace contacttest;
using namespace scheduletest;

namespace
{
const int kAppointment = MAPIPIM_SET_APPOINTMENT;
const int kCommon = MAPIPIM_SET_COMMON;
const ULONG kAllFields = 0x7;

// A property as the appointment keeps it: an ordinary tag, or a named id of PSETID_Appointment or PSETID_Common.
struct Property
{
    ULONG ulTag;
    int nSet;
};

ULONG FailFor(const char* szMethod, const Property& property)
{
    mapisvc::Fault fault;
    fault.method = szMethod;
    if (property.nSet == 0)
        fault.propTag = CHANGE_PROP_TYPE(property.ulTag, PT_UNSPECIFIED);
    else
    {
        fault.narrowToName = true;
        fault.name.propertySet = property.nSet == kAppointment ? PSETID_Appointment : PSETID_Common;
        fault.name.kind = MNID_ID;
        fault.name.id = static_cast<LONG>(property.ulTag);
    }
    return mapisvc::InjectFault(fault);
}

// The zone a test runs in, and what its clocks make of 10:00 local on a summer and a winter day of 2010.
struct Zone
{
    const char* szTz;
    const char* szKeyName;
    WORD wSummerUTCHour; // of 2010-07-14 10:00
    WORD wWinterUTCHour; // of 2010-01-20 10:00
};

const Zone kZones[] = {
    {"Europe/Berlin", "W. Europe Standard Time", 8, 9},
    {"America/Los_Angeles", "Pacific Standard Time", 17, 18},
    {"Asia/Tokyo", "Tokyo Standard Time", 1, 1},
};

// The zone is the process's before the session is constructed, so that the records' default zones are the
// machine's: the zone is a base that comes first.
struct ProcessZone
{
    explicit ProcessZone(const char* szTz) : m_zone(szTz) {}
    ScopedTz m_zone;
};

class ZonedScheduleTest : private ProcessZone, public ScheduleServiceTest
{
protected:
    explicit ZonedScheduleTest(const char* szTz) : ProcessZone(szTz) {}

    SYSTEMTIME StoredUTC(CMAPIItem& item, ULONG ulID, int nSet = kAppointment)
    {
        SYSTEMTIME tm = {};
        EXPECT_TRUE(item.GetPropertyTime(ulID, tm, nSet, FALSE)) << std::hex << ulID;
        return tm;
    }

    static bool HasBinary(CMAPIItem& item, ULONG ulID)
    {
        CMAPIByteStream stream;
        return item.GetPropertyBinary(ulID, stream, kAppointment) != FALSE;
    }

    // A single appointment of the full record, created and read back.
    void CreateAndRead(CMAPIScheduleItem& item, CMAPIScheduleInfo& info, CMAPIScheduleInfo& read)
    {
        CreateScheduleItem(item, info);
        ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    }
};

class ScheduleZoneTest : public ZonedScheduleTest, public ::testing::WithParamInterface<Zone>
{
protected:
    ScheduleZoneTest() : ZonedScheduleTest(GetParam().szTz) {}
};

// The other tests run in a zone with daylight saving, east of Greenwich.
class ScheduleItemTest : public ZonedScheduleTest
{
protected:
    ScheduleItemTest() : ZonedScheduleTest("Europe/Berlin") {}
};
} // namespace

// ---- Every field, in every zone

TEST_P(ScheduleZoneTest, EveryFieldRoundTripsInSummerAndWinter)
{
    for (WORD wMonth : {7, 1})
    {
        SCOPED_TRACE(wMonth);
        CMAPIScheduleItem item;
        CMAPIScheduleInfo written = MakeFullSchedule();
        written.tzStartTime.tmDateTime.wMonth = wMonth;
        written.tzEndTime.tmDateTime.wMonth = wMonth;
        CreateScheduleItem(item, written);
        EXPECT_EQ(Utf8(GetParam().szKeyName), written.tzStartTime.strKeyName) << "the machine's zone by its key";

        CMAPIScheduleInfo read;
        ASSERT_TRUE(item.GetInfo(&read, kAllFields));
        ExpectSameSchedule(written, read);
        EXPECT_TRUE(CompareSBinary(read.sbEntryID, *item.GetEntryID()));
        EXPECT_NE(0, read.tmCTime.wYear);

        // Written back as read, nothing moves.
        ASSERT_TRUE(item.SetInfo(&CalendarRecord(), &read));
        CMAPIScheduleInfo again;
        ASSERT_TRUE(item.GetInfo(&again, kAllFields));
        ExpectSameSchedule(written, again);
    }
}

TEST_P(ScheduleZoneTest, StartAndEndAreStoredAsTheUTCTheyStandForWithDaylightSaving)
{
    const Zone& zone = GetParam();
    for (WORD wMonth : {7, 1})
    {
        SCOPED_TRACE(wMonth);
        CMAPIScheduleItem item;
        CMAPIScheduleInfo info = MakeFullSchedule();
        info.tzStartTime.tmDateTime = MakeSystemTime(2010, wMonth, wMonth == 7 ? 14 : 20, 10, 0);
        info.tzEndTime.tmDateTime = MakeSystemTime(2010, wMonth, wMonth == 7 ? 14 : 20, 11, 30);
        CreateScheduleItem(item, info);
        const WORD wHour = wMonth == 7 ? zone.wSummerUTCHour : zone.wWinterUTCHour;
        const WORD wDay = wMonth == 7 ? 14 : 20;
        // Tokyo's 10:00 is 01:00 the same day; the zones west of Greenwich stay on the same day too.
        const SYSTEMTIME tmStart = MakeSystemTime(2010, wMonth, wDay, wHour, 0);
        const SYSTEMTIME tmEnd = MakeSystemTime(2010, wMonth, wDay, wHour + 1, 30);
        EXPECT_TRUE(SameLocalTime(tmStart, StoredUTC(item, mapipim::PidLidAppointmentStartWhole)));
        EXPECT_TRUE(SameLocalTime(tmStart, StoredUTC(item, mapipim::PidLidCommonStart, kCommon)));
        EXPECT_TRUE(SameLocalTime(tmEnd, StoredUTC(item, mapipim::PidLidAppointmentEndWhole)));
        EXPECT_TRUE(SameLocalTime(tmEnd, StoredUTC(item, mapipim::PidLidCommonEnd, kCommon)));
        EXPECT_TRUE(SameLocalTime(tmEnd, StoredUTC(item, PR_END_DATE, 0)));
        EXPECT_TRUE(SameLocalTime(tmStart, StoredUTC(item, mapipim::PidLidClipStart)));
        EXPECT_TRUE(SameLocalTime(tmEnd, StoredUTC(item, mapipim::PidLidClipEnd)));
        EXPECT_EQ(90, item.GetPropertyLong(mapipim::PidLidAppointmentDuration, 0, kAppointment));
    }
}

TEST_P(ScheduleZoneTest, ASeriesWithoutEndIsClippedAtTheLastMinuteOfAugust4500)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo info = MakeFullSchedule();
    info.bRecurSet = 1;
    info.lprcRecurring = new CMAPIRecurring(WeeklyPattern(info.tzStartTime.tmDateTime, 0x08));
    CreateScheduleItem(item, info);
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(4500, 8, 31, 23, 59), StoredUTC(item, mapipim::PidLidClipEnd)));
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(4500, 8, 31, 23, 59), info.lprcRecurring->tmEndDate));
    EXPECT_EQ(10, info.lprcRecurring->nOccurrenceCount);

    // The clip start is the UTC of the series' first day at midnight.
    SYSTEMTIME tmLocalMidnight = MakeSystemTime(2010, 7, 14);
    SYSTEMTIME tmExpected = {};
    GetLocalTimeToSystemTime(tmLocalMidnight, tmExpected, nullptr);
    EXPECT_TRUE(SameLocalTime(tmExpected, StoredUTC(item, mapipim::PidLidClipStart)));

    // Read back, the series ends where the stored pattern of a series without end says: 4500-12-31 23:59.
    CMAPIScheduleInfo expected = info;
    expected.lprcRecurring->tmEndDate = MakeSystemTime(4500, 12, 31, 23, 59);
    CMAPIScheduleInfo read;
    ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    ExpectSameSchedule(expected, read);
}

INSTANTIATE_TEST_SUITE_P(Zones, ScheduleZoneTest, ::testing::ValuesIn(kZones),
                         [](const ::testing::TestParamInfo<Zone>& info)
                         {
                             std::string name = info.param.szTz;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

// ---- Creation

TEST_F(ScheduleItemTest, CreateMakesAReadAppointmentInTheGivenOrCurrentFolder)
{
    CMAPIScheduleItem item;
    EXPECT_FALSE(item.Create(nullptr, &Calendar()));
    ASSERT_TRUE(item.Create(&Session(), &Calendar()));
    CString strClass;
    EXPECT_TRUE(item.GetPropertyString(PR_MESSAGE_CLASS_W, strClass));
    EXPECT_EQ(Utf8("IPM.Appointment"), strClass);
    EXPECT_EQ(MSGFLAG_READ, item.GetPropertyLong(PR_MESSAGE_FLAGS, 0));
    EXPECT_EQ(1, item.GetPropertyBool(mapipim::PidLidAllowExternalCheck, 0, kAppointment));

    // Without a folder and without a current one there is nowhere to create it.
    ASSERT_EQ(nullptr, Session().GetFolder());
    CMAPIScheduleItem second;
    EXPECT_FALSE(second.Create(&Session(), nullptr));
}

TEST_F(ScheduleItemTest, CreateTracesWhatItCannotSet)
{
    // The folder object's own name (that of a folder opened as the store's calendar).
    const CString strFolder = Calendar().GetName();
    const struct
    {
        Property property;
        CString strLine;
    } cases[] = {
        {{PR_MESSAGE_CLASS_W, 0}, _T("[MAPI] Set failed : MsgClass - Folder:") + strFolder},
        {{PR_MESSAGE_FLAGS, 0}, _T("[MAPI] Set failed : MsgFlag - Folder:") + strFolder},
        {{mapipim::PidLidAllowExternalCheck, kAppointment}, _T("[MAPI] Set failed : dispidAllowExternCheck")},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.strLine.ToUtf8());
        Trace().Clear();
        const ULONG ulFault = FailFor("SetProps", c.property);
        CMAPIScheduleItem item;
        EXPECT_TRUE(item.Create(&Session(), &Calendar()));
        mapisvc::RemoveFault(ulFault);
        EXPECT_EQ(std::vector<CString>{c.strLine}, Trace().GetLines());
    }
}

// ---- Daylight saving transitions

TEST_F(ScheduleItemTest, TheSkippedHourComesBackEarlierAndTheRepeatedHourStandsForItsFirstOccurrence)
{
    // 2010-03-28: Berlin's clocks go from 02:00 to 03:00. 02:30 was never shown; it is taken as daylight time.
    CMAPIScheduleItem skipped;
    CMAPIScheduleInfo spring = MakeFullSchedule();
    spring.tzStartTime.tmDateTime = MakeSystemTime(2010, 3, 28, 2, 30);
    spring.tzEndTime.tmDateTime = MakeSystemTime(2010, 3, 28, 4, 0);
    CreateScheduleItem(skipped, spring);
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 3, 28, 0, 30), StoredUTC(skipped, 0x820D)));
    CMAPIScheduleInfo read;
    ASSERT_TRUE(skipped.GetInfo(&read, kAllFields));
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 3, 28, 1, 30), read.tzStartTime.tmDateTime));
    EXPECT_TRUE(SameLocalTime(spring.tzEndTime.tmDateTime, read.tzEndTime.tmDateTime));
    EXPECT_EQ(90, skipped.GetPropertyLong(mapipim::PidLidAppointmentDuration, 0, kAppointment))
        << "the duration counts the record's local times";

    // 2010-10-31: 02:00 to 03:00 happens twice. 02:30 is the first, daylight one, and round-trips.
    CMAPIScheduleItem repeated;
    CMAPIScheduleInfo autumn = MakeFullSchedule();
    autumn.tzStartTime.tmDateTime = MakeSystemTime(2010, 10, 31, 2, 30);
    autumn.tzEndTime.tmDateTime = MakeSystemTime(2010, 10, 31, 3, 30);
    CreateScheduleItem(repeated, autumn);
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 10, 31, 0, 30), StoredUTC(repeated, 0x820D)));
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 10, 31, 2, 30), StoredUTC(repeated, 0x820E)));
    ASSERT_TRUE(repeated.GetInfo(&read, kAllFields));
    EXPECT_TRUE(SameLocalTime(autumn.tzStartTime.tmDateTime, read.tzStartTime.tmDateTime));
    EXPECT_TRUE(SameLocalTime(autumn.tzEndTime.tmDateTime, read.tzEndTime.tmDateTime));
}

TEST_F(ScheduleItemTest, AnAllDayAppointmentAcrossTheChangeKeepsItsMidnights)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo info = MakeFullSchedule();
    info.bAllday = 1;
    info.tzStartTime.tmDateTime = MakeSystemTime(2010, 3, 27);
    info.tzEndTime.tmDateTime = MakeSystemTime(2010, 3, 29);
    CreateScheduleItem(item, info);
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 3, 26, 23, 0), StoredUTC(item, 0x820D)));
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 3, 28, 22, 0), StoredUTC(item, 0x820E)));
    EXPECT_EQ(2880, item.GetPropertyLong(mapipim::PidLidAppointmentDuration, 0, kAppointment));
    CMAPIScheduleInfo read;
    ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    EXPECT_EQ(1, read.bAllday);
    EXPECT_TRUE(SameLocalTime(info.tzStartTime.tmDateTime, read.tzStartTime.tmDateTime));
    EXPECT_TRUE(SameLocalTime(info.tzEndTime.tmDateTime, read.tzEndTime.tmDateTime));

    // And back across the autumn change.
    info.tzStartTime.tmDateTime = MakeSystemTime(2010, 10, 30);
    info.tzEndTime.tmDateTime = MakeSystemTime(2010, 11, 1);
    ASSERT_TRUE(item.SetInfo(&CalendarRecord(), &info));
    ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    EXPECT_TRUE(SameLocalTime(info.tzStartTime.tmDateTime, read.tzStartTime.tmDateTime));
    EXPECT_TRUE(SameLocalTime(info.tzEndTime.tmDateTime, read.tzEndTime.tmDateTime));
}

// ---- Durations and reminders

TEST_F(ScheduleItemTest, DurationCountsWholeMinutesAndMayBeNegative)
{
    const struct
    {
        SYSTEMTIME tmStart, tmEnd;
        LONG nMinutes;
    } cases[] = {
        {MakeSystemTime(2010, 1, 21, 9, 0), MakeSystemTime(2010, 1, 21, 10, 30), 90},
        {MakeSystemTime(2010, 1, 21, 9, 0), MakeSystemTime(2010, 1, 21, 9, 0), 0},
        {MakeSystemTime(2010, 1, 21, 9, 0), MakeSystemTime(2010, 1, 21, 8, 0), -60},
        {MakeSystemTime(2010, 1, 21, 9, 0), MakeSystemTime(2010, 1, 20, 9, 1), -1439},
        {MakeSystemTime(2010, 1, 21, 9, 0, 0), MakeSystemTime(2010, 1, 21, 9, 0, 59), 0},
        {MakeSystemTime(2010, 1, 1), MakeSystemTime(2011, 1, 1), 365 * 1440},
    };
    CMAPIScheduleItem item;
    ASSERT_TRUE(item.Create(&Session(), &Calendar()));
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.nMinutes);
        CMAPIScheduleInfo info;
        info.tzStartTime.tmDateTime = c.tmStart;
        info.tzEndTime.tmDateTime = c.tmEnd;
        ASSERT_TRUE(item.SetInfo(&CalendarRecord(), &info));
        EXPECT_EQ(c.nMinutes, item.GetPropertyLong(mapipim::PidLidAppointmentDuration, 12345, kAppointment));
    }
}

TEST_F(ScheduleItemTest, AReminderIsDueAtTheStartAndSignalsItsLeadTimeBefore)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo info = MakeFullSchedule(); // 2010-07-14 10:00 local, 08:00 UTC, 30 minutes ahead
    CreateScheduleItem(item, info);
    EXPECT_TRUE(
        SameLocalTime(MakeSystemTime(2010, 7, 14, 8, 0), StoredUTC(item, mapipim::PidLidReminderTime, kCommon)));
    EXPECT_TRUE(
        SameLocalTime(MakeSystemTime(2010, 7, 14, 7, 30), StoredUTC(item, mapipim::PidLidReminderSignalTime, kCommon)));
    EXPECT_EQ(30, item.GetPropertyLong(mapipim::PidLidReminderDelta, 0, kCommon));

    // Turned off, the reminder's minutes read as 0 whatever is stored, and its times stay as they were.
    info.bAlarm = 0;
    info.nAlarmMin = 45;
    ASSERT_TRUE(item.SetInfo(&CalendarRecord(), &info));
    EXPECT_EQ(45, item.GetPropertyLong(mapipim::PidLidReminderDelta, 0, kCommon));
    EXPECT_TRUE(
        SameLocalTime(MakeSystemTime(2010, 7, 14, 7, 30), StoredUTC(item, mapipim::PidLidReminderSignalTime, kCommon)));
    CMAPIScheduleInfo read;
    ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    EXPECT_EQ(0, read.bAlarm);
    EXPECT_EQ(0, read.nAlarmMin);

    // A lead time across midnight and the date line of the month.
    info.bAlarm = 1;
    info.nAlarmMin = 24 * 60;
    info.tzStartTime.tmDateTime = MakeSystemTime(2010, 8, 1, 1, 0); // 2010-07-31 23:00 UTC
    ASSERT_TRUE(item.SetInfo(&CalendarRecord(), &info));
    EXPECT_TRUE(
        SameLocalTime(MakeSystemTime(2010, 7, 30, 23, 0), StoredUTC(item, mapipim::PidLidReminderSignalTime, kCommon)));
}

// ---- Read groups and fallbacks

TEST_F(ScheduleItemTest, EachReadGroupFillsItsOwnFields)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo full = MakeFullSchedule();
    CreateScheduleItem(item, full);

    CMAPIScheduleInfo none;
    EXPECT_TRUE(item.GetInfo(&none, 0));
    EXPECT_TRUE(CompareSBinary(none.sbEntryID, *item.GetEntryID()));
    EXPECT_FALSE(none.strEntryID.IsEmpty());
    EXPECT_EQ(0, none.tmCTime.wYear);
    EXPECT_TRUE(none.strSubject.IsEmpty());
    EXPECT_TRUE(none.strLocation.IsEmpty());

    CMAPIScheduleInfo times;
    EXPECT_TRUE(item.GetInfo(&times, MAPIPIM_SCHEDULE_TIMES));
    EXPECT_NE(0, times.tmCTime.wYear);
    EXPECT_NE(0, times.tmLMTime.wYear);
    EXPECT_TRUE(times.strSubject.IsEmpty());
    EXPECT_EQ(0, times.tzStartTime.tmDateTime.wYear);

    CMAPIScheduleInfo subject;
    EXPECT_TRUE(item.GetInfo(&subject, MAPIPIM_SCHEDULE_SUBJECT));
    EXPECT_EQ(full.strSubject, subject.strSubject);
    EXPECT_TRUE(subject.strLocation.IsEmpty());
    EXPECT_EQ(0, subject.tmCTime.wYear);
    EXPECT_EQ(2, subject.nSign) << "the record's default";

    CMAPIScheduleInfo others;
    EXPECT_TRUE(item.GetInfo(&others, MAPIPIM_SCHEDULE_OTHERS));
    EXPECT_TRUE(others.strSubject.IsEmpty());
    EXPECT_EQ(full.strLocation, others.strLocation);
    EXPECT_EQ(3, others.nSign);
    EXPECT_EQ(30, others.nAlarmMin);
    EXPECT_TRUE(SameLocalTime(full.tzStartTime.tmDateTime, others.tzStartTime.tmDateTime));
    EXPECT_EQ(0, others.tmCTime.wYear);
}

TEST_F(ScheduleItemTest, MissingPropertiesReadAsTheirFallbacksAndAreTraced)
{
    CMAPIScheduleItem item;
    ASSERT_TRUE(item.Create(&Session(), &Calendar()));
    ASSERT_TRUE(item.Save(FALSE));
    CMAPIScheduleInfo read;
    read.nSensitivity = 7;
    read.nPriority = 7;
    read.nSign = 7;
    read.bAlarm = 7;
    read.nAlarmMin = 7;
    read.bRecurSet = 7;
    read.lprcRecurring = new CMAPIRecurring;
    Trace().Clear();
    EXPECT_TRUE(item.GetInfo(&read, kAllFields));
    EXPECT_EQ(0, read.nSensitivity);
    EXPECT_EQ(1, read.nPriority);
    EXPECT_EQ(0, read.bAllday);
    EXPECT_EQ(0, read.nSign);
    EXPECT_EQ(0, read.bAlarm);
    EXPECT_EQ(0, read.nAlarmMin);
    EXPECT_EQ(0, read.bRecurSet);
    EXPECT_EQ(nullptr, read.lprcRecurring) << "a single appointment has no pattern";
    EXPECT_EQ(0, read.nAttachCount);
    for (const char* szField : {"nSensitivity", "nPriority", "bAllday", "nSign", "bAlarm", "bRecurSet", "strLocation",
                                "strRecurDisplay", "tmDateTime", "tzStartTime", "tzEndTime"})
        EXPECT_TRUE(Traced(_T("[MAPI] Get failed : ") + Utf8(szField))) << szField;
    EXPECT_FALSE(Traced(_T("[MAPI] Get failed : nAlarmMin"))) << "not read without a reminder";
}

TEST_F(ScheduleItemTest, EachFieldThatCannotBeReadIsTraced)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo full = MakeFullSchedule();
    full.bRecurSet = 1;
    full.lprcRecurring = new CMAPIRecurring(WeeklyPattern(full.tzStartTime.tmDateTime, 0x08));
    CreateScheduleItem(item, full);
    const struct
    {
        Property property;
        const char* szField;
    } cases[] = {
        {{PR_SUBJECT_W, 0}, "strSubject"},
        {{PR_SENSITIVITY, 0}, "nSensitivity"},
        {{PR_IMPORTANCE, 0}, "nPriority"},
        {{mapipim::PidLidLocation, kAppointment}, "strLocation"},
        {{mapipim::PidLidAppointmentStartWhole, kAppointment}, "tmDateTime"},
        {{mapipim::PidLidAppointmentEndWhole, kAppointment}, "tmDateTime"},
        {{mapipim::PidLidAppointmentTimeZoneDefinitionStartDisplay, kAppointment}, "tzStartTime"},
        {{mapipim::PidLidAppointmentTimeZoneDefinitionEndDisplay, kAppointment}, "tzEndTime"},
        {{mapipim::PidLidAppointmentSubType, kAppointment}, "bAllday"},
        {{mapipim::PidLidBusyStatus, kAppointment}, "nSign"},
        {{mapipim::PidLidReminderSet, kCommon}, "bAlarm"},
        {{mapipim::PidLidReminderDelta, kCommon}, "nAlarmMin"},
        {{mapipim::PidLidRecurring, kAppointment}, "bRecurSet"},
        {{mapipim::PidLidRecurrencePattern, kAppointment}, "strRecurDisplay"},
        {{mapipim::PidLidAppointmentRecur, kAppointment}, "lprcRecurring"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.szField);
        Trace().Clear();
        const ULONG ulFault = FailFor("GetProps", c.property);
        CMAPIScheduleInfo read;
        EXPECT_TRUE(item.GetInfo(&read, kAllFields));
        mapisvc::RemoveFault(ulFault);
        EXPECT_TRUE(Traced(_T("[MAPI] Get failed : ") + Utf8(c.szField)));
    }

    // An unreadable pattern leaves the record with a pattern all the same.
    const ULONG ulFault = FailFor("GetProps", {mapipim::PidLidAppointmentRecur, kAppointment});
    CMAPIScheduleInfo read;
    EXPECT_TRUE(item.GetInfo(&read, kAllFields));
    mapisvc::RemoveFault(ulFault);
    EXPECT_EQ(1, read.bRecurSet);
    EXPECT_NE(nullptr, read.lprcRecurring);
}

TEST_F(ScheduleItemTest, UnreadableRecordTimesFailTheRead)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo full = MakeFullSchedule();
    CreateScheduleItem(item, full);
    for (const auto& c :
         {std::make_pair(PR_CREATION_TIME, "tmCTime"), std::make_pair(PR_LAST_MODIFICATION_TIME, "tmLMTime")})
    {
        Trace().Clear();
        const ULONG ulFault = FailFor("GetProps", {c.first, 0});
        CMAPIScheduleInfo read;
        EXPECT_FALSE(item.GetInfo(&read, MAPIPIM_SCHEDULE_TIMES));
        EXPECT_TRUE(item.GetInfo(&read, MAPIPIM_SCHEDULE_OTHERS)) << "other groups do not read the times";
        mapisvc::RemoveFault(ulFault);
        EXPECT_TRUE(Traced(_T("[MAPI] Get failed : ") + Utf8(c.second)));
    }
}

// ---- Recurrence

TEST_F(ScheduleItemTest, ARecurringAppointmentCarriesItsPatternTypeZoneAndIcon)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo info = MakeFullSchedule();
    info.bRecurSet = 1;
    CMAPIRecurring pattern = WeeklyPattern(info.tzStartTime.tmDateTime, 0x08);
    pattern.nEndType = 1;
    pattern.nOccurrenceCount = 3;
    info.lprcRecurring = new CMAPIRecurring(pattern);
    CreateScheduleItem(item, info);
    EXPECT_EQ(mapipim::kRecurringAppointmentIconIndex, item.GetPropertyLong(PR_ICON_INDEX, 0));
    EXPECT_EQ(2, item.GetPropertyLong(mapipim::PidLidRecurrenceType, 0, kAppointment));
    EXPECT_TRUE(HasBinary(item, mapipim::PidLidAppointmentRecur));
    EXPECT_TRUE(HasBinary(item, mapipim::PidLidAppointmentTimeZoneDefinitionRecur));
    EXPECT_TRUE(HasBinary(item, mapipim::PidLidTimeZoneStruct));
    // Three Wednesdays from 2010-07-14: the range ends on the 28th, clipped at its UTC.
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 7, 28), info.lprcRecurring->tmEndDate));
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 7, 27, 22, 0), StoredUTC(item, mapipim::PidLidClipEnd)));
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 7, 13, 22, 0), StoredUTC(item, mapipim::PidLidClipStart)));

    CMAPIScheduleInfo read;
    ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    ExpectSameSchedule(info, read);

    // Each recurrence type is the frequency plus one.
    for (WORD nFrequency : {0, 2, 3})
    {
        SCOPED_TRACE(nFrequency);
        info.lprcRecurring->nFrequency = nFrequency;
        info.lprcRecurring->nPatternType = nFrequency == 0 ? 0 : 2;
        info.lprcRecurring->nPeriod = nFrequency == 0 ? 1440 : nFrequency == 2 ? 1 : 12;
        ASSERT_TRUE(item.SetInfo(&CalendarRecord(), &info));
        EXPECT_EQ(nFrequency + 1, item.GetPropertyLong(mapipim::PidLidRecurrenceType, 0, kAppointment));
    }
}

TEST_F(ScheduleItemTest, NoLongerRecurringRemovesTheFourRecurrencePropertiesAndClipsToItself)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo info = MakeFullSchedule();
    info.bRecurSet = 1;
    info.lprcRecurring = new CMAPIRecurring(WeeklyPattern(info.tzStartTime.tmDateTime, 0x08));
    CreateScheduleItem(item, info);

    info.bRecurSet = 0;
    ASSERT_TRUE(item.SetInfo(&CalendarRecord(), &info));
    EXPECT_EQ(mapipim::kAppointmentIconIndex, item.GetPropertyLong(PR_ICON_INDEX, 0));
    EXPECT_FALSE(HasBinary(item, mapipim::PidLidAppointmentRecur));
    EXPECT_EQ(-1, item.GetPropertyLong(mapipim::PidLidRecurrenceType, -1, kAppointment));
    EXPECT_FALSE(HasBinary(item, mapipim::PidLidAppointmentTimeZoneDefinitionRecur));
    EXPECT_FALSE(HasBinary(item, mapipim::PidLidTimeZoneStruct));
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 7, 14, 8, 0), StoredUTC(item, mapipim::PidLidClipStart)));
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 7, 14, 9, 30), StoredUTC(item, mapipim::PidLidClipEnd)));

    CMAPIScheduleInfo read;
    read.lprcRecurring = new CMAPIRecurring;
    ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    EXPECT_EQ(0, read.bRecurSet);
    EXPECT_EQ(nullptr, read.lprcRecurring);
}

TEST_F(ScheduleItemTest, RecurringWithoutAPatternKeepsTheStoredOneClipsToItselfAndSaves)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo info = MakeFullSchedule();
    info.bRecurSet = 1;
    info.lprcRecurring = new CMAPIRecurring(WeeklyPattern(info.tzStartTime.tmDateTime, 0x08));
    CreateScheduleItem(item, info);

    CMAPIScheduleInfo bare = MakeFullSchedule();
    bare.strSubject = _T("Changed");
    bare.bRecurSet = 1;
    Trace().Clear();
    ASSERT_TRUE(item.SetInfo(&CalendarRecord(), &bare));
    EXPECT_TRUE(Traced(_T("[MAPI] Set failed : lprcRecurring - Folder:Calendar")));
    EXPECT_TRUE(Traced(
        _T("[MAPI] Set skipped : bRecurSet without lprcRecurring, clip range of the appointment - Folder:Calendar")));
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 7, 14, 8, 0), StoredUTC(item, mapipim::PidLidClipStart)));
    EXPECT_TRUE(SameLocalTime(MakeSystemTime(2010, 7, 14, 9, 30), StoredUTC(item, mapipim::PidLidClipEnd)));
    EXPECT_EQ(2, item.GetPropertyLong(mapipim::PidLidRecurrenceType, 0, kAppointment)) << "the stored type stays";

    CMAPIScheduleInfo read;
    ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    EXPECT_EQ(Utf8("Changed"), read.strSubject);
    ASSERT_NE(nullptr, read.lprcRecurring);
    EXPECT_EQ(0x08u, read.lprcRecurring->nDayMask) << "the stored pattern stays";
}

TEST_F(ScheduleItemTest, FailingRecurrenceWritesAreTracedAndTheAppointmentSaved)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo info = MakeFullSchedule();
    info.bRecurSet = 1;
    info.lprcRecurring = new CMAPIRecurring(WeeklyPattern(info.tzStartTime.tmDateTime, 0x08));
    CreateScheduleItem(item, info);
    const struct
    {
        const char* szMethod;
        Property property;
        const char* szLine;
    } cases[] = {
        {"SetProps",
         {mapipim::PidLidAppointmentRecur, kAppointment},
         "[MAPI] Set failed : lprcRecurring - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidRecurrenceType, kAppointment},
         "[MAPI] Set failed : 200b(bRecurSet) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidAppointmentTimeZoneDefinitionRecur, kAppointment},
         "[MAPI] Set failed : dispidApptTZDefRecur - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidTimeZoneStruct, kAppointment},
         "[MAPI] Set failed : dispidTimeZoneStruct - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidClipStart, kAppointment},
         "[MAPI] Set failed : 2010-07-14 10:00:00(dispidClipStart) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidClipEnd, kAppointment},
         "[MAPI] Set failed : 2010-07-14 11:30:00(dispidClipEnd) - Folder:Calendar"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.szLine);
        Trace().Clear();
        const ULONG ulFault = FailFor(c.szMethod, c.property);
        EXPECT_TRUE(item.SetInfo(&CalendarRecord(), &info));
        mapisvc::RemoveFault(ulFault);
        EXPECT_EQ(std::vector<CString>{Utf8(c.szLine)}, Trace().GetLines());
    }

    info.bRecurSet = 0;
    const struct
    {
        Property property;
        const char* szLine;
    } removals[] = {
        {{mapipim::PidLidAppointmentRecur, kAppointment}, "[MAPI] Remove failed : lprcRecurring - Folder:Calendar"},
        {{mapipim::PidLidRecurrenceType, kAppointment}, "[MAPI] Remove failed : bRecurSet - Folder:Calendar"},
        {{mapipim::PidLidAppointmentTimeZoneDefinitionRecur, kAppointment},
         "[MAPI] Remove failed : dispidApptTZDefRecur - Folder:Calendar"},
        {{mapipim::PidLidTimeZoneStruct, kAppointment},
         "[MAPI] Remove failed : dispidTimeZoneStruct - Folder:Calendar"},
    };
    for (const auto& c : removals)
    {
        SCOPED_TRACE(c.szLine);
        Trace().Clear();
        const ULONG ulFault = FailFor("DeleteProps", c.property);
        EXPECT_TRUE(item.SetInfo(&CalendarRecord(), &info));
        mapisvc::RemoveFault(ulFault);
        EXPECT_EQ(std::vector<CString>{Utf8(c.szLine)}, Trace().GetLines());
    }
}

// ---- Trace lines of failing writes

TEST_F(ScheduleItemTest, EachFieldThatCannotBeWrittenIsTracedAndTheAppointmentStillSaved)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo full = MakeFullSchedule();
    CreateScheduleItem(item, full);
    const struct
    {
        const char* szMethod;
        Property property;
        const char* szLine;
    } cases[] = {
        {"SetProps", {PR_SUBJECT_W, 0}, "[MAPI] Set failed : Встреча 회의 😀 Planung(strSubject) - Folder:Calendar"},
        {"OpenProperty",
         {PR_BODY_W, 0},
         "[MAPI] Set failed : Agenda\r\nпункт один\r\n두 번째 😀(strContents) - Folder:Calendar"},
        {"SetProps", {PR_SENSITIVITY, 0}, "[MAPI] Set failed : 2(nSensitivity) - Folder:Calendar"},
        {"SetProps", {PR_IMPORTANCE, 0}, "[MAPI] Set failed : 2(nPriority) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidLocation, kAppointment},
         "[MAPI] Set failed : Raum «Süd» 서울 🏢(strLocation) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidAppointmentTimeZoneDefinitionStartDisplay, kAppointment},
         "[MAPI] Set failed : (tzStartTime) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidAppointmentTimeZoneDefinitionEndDisplay, kAppointment},
         "[MAPI] Set failed : (tzEndTime) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidAppointmentStartWhole, kAppointment},
         "[MAPI] Set failed : 2010-07-14 10:00:00(tzStartTime) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidCommonStart, kCommon},
         "[MAPI] Set failed : 2010-07-14 10:00:00(dispidCommonStart) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidAppointmentEndWhole, kAppointment},
         "[MAPI] Set failed : 2010-07-14 11:30:00(tzEndTime) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidCommonEnd, kCommon},
         "[MAPI] Set failed : 2010-07-14 11:30:00(dispidCommonEnd) - Folder:Calendar"},
        {"SetProps", {PR_END_DATE, 0}, "[MAPI] Set failed : 2010-07-14 11:30:00(PR_END_DATE) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidAppointmentDuration, kAppointment},
         "[MAPI] Set failed : 90(dispidApptDuration) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidAppointmentSubType, kAppointment},
         "[MAPI] Set failed : 0(bAllday) - Folder:Calendar"},
        {"SetProps", {mapipim::PidLidBusyStatus, kAppointment}, "[MAPI] Set failed : 3(nSign) - Folder:Calendar"},
        {"SetProps", {mapipim::PidLidReminderSet, kCommon}, "[MAPI] Set failed : 1(bAlarm) - Folder:Calendar"},
        {"SetProps", {mapipim::PidLidReminderDelta, kCommon}, "[MAPI] Set failed : 30(nAlarmMin) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidReminderTime, kCommon},
         "[MAPI] Set failed : 2010-07-14 10:00:00(dispidReminderTime) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidReminderSignalTime, kCommon},
         "[MAPI] Set failed : 2010-07-14 11:30:00(dispidReminderNextTime) - Folder:Calendar"},
        {"SetProps",
         {mapipim::PidLidRecurrencePattern, kAppointment},
         "[MAPI] Set failed : Jeden Mittwoch(strRecurDisplay) - Folder:Calendar"},
        {"SetProps", {mapipim::PidLidRecurring, kAppointment}, "[MAPI] Set failed : 0(bRecurSet) - Folder:Calendar"},
        {"SetProps", {PR_ICON_INDEX, 0}, "[MAPI] Set failed : Icon - Folder:Calendar"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.szLine);
        Trace().Clear();
        const ULONG ulFault = FailFor(c.szMethod, c.property);
        CMAPIScheduleInfo info = full;
        EXPECT_TRUE(item.SetInfo(&CalendarRecord(), &info));
        mapisvc::RemoveFault(ulFault);
        EXPECT_EQ(std::vector<CString>{Utf8(c.szLine)}, Trace().GetLines());
    }

    mapisvc::Fault save;
    save.method = "SaveChanges";
    const ULONG ulFault = mapisvc::InjectFault(save);
    EXPECT_FALSE(item.SetInfo(&CalendarRecord(), &full));
    mapisvc::RemoveFault(ulFault);
    EXPECT_TRUE(Traced(_T("[MAPI] Set failed : Save( FALSE ) - Folder:Calendar")));
}

TEST_F(ScheduleItemTest, ATimeThatNamesNoDateIsTracedAndTheRestSaved)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo info = MakeFullSchedule();
    info.tzEndTime.tmDateTime = SYSTEMTIME{};
    ASSERT_TRUE(item.Create(&Session(), &Calendar()));
    EXPECT_TRUE(item.SetInfo(&CalendarRecord(), &info));
    EXPECT_TRUE(Traced(_T("[MAPI] Set failed : Invalid DateTime(tzEndTime) - Folder:Calendar")));
    EXPECT_EQ(0, item.GetPropertyLong(mapipim::PidLidAppointmentDuration, 7, kAppointment));
    CMAPIScheduleInfo read;
    ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    EXPECT_EQ(info.strSubject, read.strSubject);
}

// ---- Attachments

TEST_F(ScheduleItemTest, FullPathsOfEitherPlatformAreAttachedAndOtherNamesLeftAlone)
{
    WriteFileBytes(TempDir() / "agenda.txt", {'a'});
    WriteFileBytes(TempDir() / "map.txt", {'m'});
    CMAPIScheduleItem item;
    CMAPIScheduleInfo info = MakeFullSchedule();
    // A drive-letter path (no such drive here), a plain word and a full Linux path.
    info.strAttachFile = _T("C:\\agenda.txt;word;") + PathText(TempDir() / "agenda.txt");
    CreateScheduleItem(item, info);
    EXPECT_TRUE(Traced(_T("[MAPI] Set failed : C:\\agenda.txt(strAttachFile) - Folder:Calendar")));
    CMAPIScheduleInfo read;
    ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    EXPECT_EQ(1, read.nAttachCount);
    EXPECT_EQ(Utf8("agenda.txt"), read.strAttachFile);

    // Written back as read, the names keep what is there; a new path, separated by ",", is added.
    read.strAttachFile += _T(",") + PathText(TempDir() / "map.txt");
    ASSERT_TRUE(item.SetInfo(&CalendarRecord(), &read));
    ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    EXPECT_EQ(2, read.nAttachCount);
    EXPECT_EQ(Utf8("agenda.txt;map.txt"), read.strAttachFile);

    read.strAttachFile.Empty();
    ASSERT_TRUE(item.SetInfo(&CalendarRecord(), &read));
    ASSERT_TRUE(item.GetInfo(&read, kAllFields));
    EXPECT_EQ(0, read.nAttachCount);
    EXPECT_TRUE(read.strAttachFile.IsEmpty());
}

// ---- Cancellation and null arguments

TEST_F(ScheduleItemTest, CancelledReadsAndWritesFailAndNothingIsSaved)
{
    CMAPIScheduleItem item;
    CMAPIScheduleInfo full = MakeFullSchedule();
    CreateScheduleItem(item, full);
    CMAPIScheduleInfo changed = full;
    changed.strLocation = _T("Changed");
    CMAPIInterface::SetCancel(1);
    EXPECT_FALSE(item.SetInfo(&CalendarRecord(), &changed));
    CMAPIScheduleInfo read;
    EXPECT_FALSE(item.GetInfo(&read, MAPIPIM_SCHEDULE_OTHERS));
    CMAPIInterface::SetCancel(0);

    CMAPIScheduleItem reopened;
    ASSERT_TRUE(reopened.Open(&Session(), *item.GetEntryID()));
    ASSERT_TRUE(reopened.GetInfo(&read, MAPIPIM_SCHEDULE_OTHERS));
    EXPECT_EQ(full.strLocation, read.strLocation);
}

TEST_F(ScheduleItemTest, NullRecordsFail)
{
    CMAPIScheduleItem item;
    ASSERT_TRUE(item.Create(&Session(), &Calendar()));
    CMAPIScheduleInfo info;
    EXPECT_FALSE(item.GetInfo(nullptr, kAllFields));
    EXPECT_FALSE(item.SetInfo(nullptr, &info));
    EXPECT_FALSE(item.SetInfo(&CalendarRecord(), nullptr));
}
