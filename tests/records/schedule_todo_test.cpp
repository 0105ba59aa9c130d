// Time-zone and recurrence records, and the appointment and task records that own a recurrence pattern.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIScheduleInfo.h>
#include <mapipim/MAPITodoInfo.h>

#include "RecordTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

using namespace recordtest;

namespace
{
// ---- Time zone

TEST(TimeZoneTest, DefaultIsTheMachineZoneWithoutADate)
{
    TIME_ZONE_INFORMATION tzi = {};
    ASSERT_NE(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_INVALID);
    CMAPITimeZone zone;
    EXPECT_TRUE(IsZero(zone.tmDateTime));
    EXPECT_EQ(zone.nBias, tzi.Bias);
    EXPECT_EQ(zone.nStandardBias, tzi.StandardBias);
    EXPECT_EQ(zone.nDaylightBias, tzi.DaylightBias);
    EXPECT_TRUE(zone.strKeyName.IsEmpty()); // no session has looked the key name up in this program
}

TEST(TimeZoneTest, DefaultTakesTheKeyNameTheSessionFound)
{
    const CString strSaved = CMAPIEx::m_strTMKeyName;
    CMAPIEx::m_strTMKeyName = _T("W. Europe Standard Time");
    CMAPITimeZone zone;
    CMAPIEx::m_strTMKeyName = strSaved;
    EXPECT_EQ(zone.strKeyName, _T("W. Europe Standard Time"));
}

CMAPITimeZone MakeZone(LPCWSTR szKey, LONG nBias)
{
    CMAPITimeZone zone;
    zone.tmDateTime = MakeSystemTime(2024, 3, 31, 2, 30);
    zone.strKeyName = szKey;
    zone.nBias = nBias;
    zone.nStandardBias = 0;
    zone.nDaylightBias = -60;
    return zone;
}

TEST(TimeZoneTest, CopyAndAssignmentCarryAllFiveFields)
{
    const CMAPITimeZone source = MakeZone(_T("Tokyo Standard Time"), -540);
    CMAPITimeZone copy(source);
    CMAPITimeZone assigned;
    assigned = source;
    for (const CMAPITimeZone* pZone : {&copy, &assigned})
    {
        EXPECT_TRUE(SameTime(pZone->tmDateTime, MakeSystemTime(2024, 3, 31, 2, 30)));
        EXPECT_EQ(pZone->strKeyName, _T("Tokyo Standard Time"));
        EXPECT_EQ(pZone->nBias, -540);
        EXPECT_EQ(pZone->nStandardBias, 0);
        EXPECT_EQ(pZone->nDaylightBias, -60);
    }
}

// ---- Recurrence pattern

TEST(RecurringTest, FieldWidthsAreThoseOfTheBlob)
{
    static_assert(sizeof(CMAPIRecurring::nFrequency) == 2, "16-bit");
    static_assert(sizeof(CMAPIRecurring::nPatternType) == 2, "16-bit");
    static_assert(sizeof(CMAPIRecurring::nCalendarType) == 2, "16-bit");
    static_assert(sizeof(CMAPIRecurring::nPeriod) == 4 && std::is_unsigned<decltype(CMAPIRecurring::nPeriod)>::value,
                  "32-bit unsigned");
    static_assert(std::is_signed<decltype(CMAPIRecurring::nWeekNumber)>::value, "signed");
    static_assert(std::is_signed<decltype(CMAPIRecurring::nEndType)>::value, "signed");
    static_assert(std::is_trivially_destructible<CMAPIRecurring>::value, "plain data");
    CMAPIRecurring pattern;
    pattern.nWeekNumber = -1; // the last week of the month stays negative
    EXPECT_LT(CMAPIRecurring(pattern).nWeekNumber, 0);
}

TEST(RecurringTest, DefaultIsWeeklyOnMondayAndTuesdayForever)
{
    CMAPIRecurring pattern;
    EXPECT_EQ(pattern.nFrequency, 1);
    EXPECT_EQ(pattern.nPeriod, 1u);
    EXPECT_EQ(pattern.nPatternType, 1);
    EXPECT_EQ(pattern.nWeekNumber, 4);
    EXPECT_EQ(pattern.nDayMask, 6u);
    EXPECT_EQ(pattern.nCalendarType, 0);
    EXPECT_TRUE(IsZero(pattern.tmStartDate));
    EXPECT_TRUE(IsZero(pattern.tmEndDate));
    EXPECT_EQ(pattern.nEndType, 2);
    EXPECT_EQ(pattern.nOccurrenceCount, 10);
    EXPECT_EQ(pattern.nSlidingFlag, 0u);
}

CMAPIRecurring* MakeMonthlyPattern()
{
    CMAPIRecurring* pPattern = new CMAPIRecurring;
    pPattern->nFrequency = 2;
    pPattern->nPeriod = 3;
    pPattern->nPatternType = 3;
    pPattern->nWeekNumber = 5;
    pPattern->nDayMask = 0x20;
    pPattern->nCalendarType = 1;
    pPattern->tmStartDate = MakeSystemTime(2024, 1, 5);
    pPattern->tmEndDate = MakeSystemTime(2024, 12, 6);
    pPattern->nEndType = 1;
    pPattern->nOccurrenceCount = 4;
    pPattern->nSlidingFlag = 1;
    return pPattern;
}

void ExpectMonthlyPattern(const CMAPIRecurring& pattern)
{
    EXPECT_EQ(pattern.nFrequency, 2);
    EXPECT_EQ(pattern.nPeriod, 3u);
    EXPECT_EQ(pattern.nPatternType, 3);
    EXPECT_EQ(pattern.nWeekNumber, 5);
    EXPECT_EQ(pattern.nDayMask, 0x20u);
    EXPECT_EQ(pattern.nCalendarType, 1);
    EXPECT_TRUE(SameTime(pattern.tmStartDate, MakeSystemTime(2024, 1, 5)));
    EXPECT_TRUE(SameTime(pattern.tmEndDate, MakeSystemTime(2024, 12, 6)));
    EXPECT_EQ(pattern.nEndType, 1);
    EXPECT_EQ(pattern.nOccurrenceCount, 4);
    EXPECT_EQ(pattern.nSlidingFlag, 1u);
}

TEST(RecurringTest, CopyAndAssignmentCarryEveryField)
{
    std::unique_ptr<CMAPIRecurring> pSource(MakeMonthlyPattern());
    CMAPIRecurring copy(*pSource);
    CMAPIRecurring assigned;
    assigned = *pSource;
    ExpectMonthlyPattern(copy);
    ExpectMonthlyPattern(assigned);
}

// ---- What appointments and tasks share: they own their pattern and copy it deeply.

template <class TRecord> class RecurrenceOwnerTest : public testing::Test
{
};

typedef testing::Types<CMAPIScheduleInfo, CMAPITodoInfo> RecurrenceOwners;
TYPED_TEST_SUITE(RecurrenceOwnerTest, RecurrenceOwners);

TYPED_TEST(RecurrenceOwnerTest, CopyHasItsOwnPattern)
{
    std::unique_ptr<TypeParam> pSource(new TypeParam);
    pSource->bRecurSet = 1;
    pSource->lprcRecurring = MakeMonthlyPattern();
    TypeParam copy(*pSource);
    ASSERT_NE(copy.lprcRecurring, nullptr);
    EXPECT_NE(copy.lprcRecurring, pSource->lprcRecurring);
    copy.lprcRecurring->nOccurrenceCount = 99;
    EXPECT_EQ(pSource->lprcRecurring->nOccurrenceCount, 4);
    pSource.reset();
    EXPECT_EQ(copy.bRecurSet, 1);
    EXPECT_EQ(copy.lprcRecurring->nPeriod, 3u);
}

TYPED_TEST(RecurrenceOwnerTest, AssignmentKeepsTheTargetsOwnPatternObject)
{
    TypeParam source, target;
    source.lprcRecurring = MakeMonthlyPattern();
    target.lprcRecurring = new CMAPIRecurring;
    const CMAPIRecurring* pTargetPattern = target.lprcRecurring;
    target = source;
    EXPECT_EQ(target.lprcRecurring, pTargetPattern);
    ExpectMonthlyPattern(*target.lprcRecurring);
}

TYPED_TEST(RecurrenceOwnerTest, AssigningARecordWithoutPatternFreesTheTargets)
{
    TypeParam source, target;
    target.lprcRecurring = MakeMonthlyPattern(); // freed by the assignment (the leak check would tell otherwise)
    target = source;
    EXPECT_EQ(target.lprcRecurring, nullptr);
}

TYPED_TEST(RecurrenceOwnerTest, SelfAssignmentLeavesThePatternInPlace)
{
    TypeParam record;
    SetBytes(record.sbEntryID, {1, 2});
    record.lprcRecurring = MakeMonthlyPattern();
    const CMAPIRecurring* pPattern = record.lprcRecurring;
    TypeParam& self = record;
    record = self;
    EXPECT_EQ(record.lprcRecurring, pPattern);
    ExpectMonthlyPattern(*record.lprcRecurring);
    EXPECT_EQ(GetBytes(record.sbEntryID), (Bytes{1, 2}));
}

// ---- Appointment

TEST(ScheduleInfoTest, Defaults)
{
    CMAPIScheduleInfo schedule;
    EXPECT_TRUE(schedule.strSubject.IsEmpty());
    EXPECT_TRUE(schedule.strLocation.IsEmpty());
    EXPECT_TRUE(schedule.strContents.IsEmpty());
    EXPECT_EQ(schedule.bAllday, 0);
    EXPECT_EQ(schedule.nSign, 2);
    EXPECT_EQ(schedule.bAlarm, 1);
    EXPECT_EQ(schedule.nAlarmMin, 15);
    EXPECT_EQ(schedule.nSensitivity, 0);
    EXPECT_EQ(schedule.nPriority, 1);
    EXPECT_TRUE(schedule.strLabel.IsEmpty());
    EXPECT_EQ(schedule.bRecurSet, 0);
    EXPECT_TRUE(schedule.strRecurDisplay.IsEmpty());
    EXPECT_EQ(schedule.lprcRecurring, nullptr);
    EXPECT_EQ(schedule.nAttachCount, 0);
    EXPECT_TRUE(schedule.strAttachFile.IsEmpty());
    const CMAPITimeZone machine;
    EXPECT_EQ(schedule.tzStartTime.nBias, machine.nBias);
    EXPECT_EQ(schedule.tzEndTime.nDaylightBias, machine.nDaylightBias);
    EXPECT_TRUE(IsZero(schedule.tzStartTime.tmDateTime));
}

TEST(ScheduleInfoTest, CopyCarriesEveryFieldAndBothZones)
{
    std::unique_ptr<CMAPIScheduleInfo> pSource(new CMAPIScheduleInfo);
    pSource->strSubject = _T("Review");
    pSource->strLocation = _T("Room 4");
    pSource->strContents = _T("Agenda");
    pSource->tzStartTime = MakeZone(_T("Tokyo Standard Time"), -540);
    pSource->tzEndTime = MakeZone(_T("Pacific Standard Time"), 480);
    pSource->bAllday = 1;
    pSource->nSign = 3;
    pSource->bAlarm = 0;
    pSource->nAlarmMin = 30;
    pSource->nSensitivity = 2;
    pSource->nPriority = 0;
    pSource->strLabel = _T("Work");
    pSource->bRecurSet = 1;
    pSource->strRecurDisplay = _T("every month");
    pSource->nAttachCount = 1;
    pSource->strAttachFile = _T("agenda.doc");

    CMAPIScheduleInfo copy(*pSource);
    pSource.reset();
    EXPECT_EQ(copy.strSubject, _T("Review"));
    EXPECT_EQ(copy.strLocation, _T("Room 4"));
    EXPECT_EQ(copy.strContents, _T("Agenda"));
    EXPECT_EQ(copy.tzStartTime.strKeyName, _T("Tokyo Standard Time"));
    EXPECT_EQ(copy.tzStartTime.nBias, -540);
    EXPECT_EQ(copy.tzEndTime.strKeyName, _T("Pacific Standard Time"));
    EXPECT_EQ(copy.tzEndTime.nBias, 480);
    EXPECT_TRUE(SameTime(copy.tzEndTime.tmDateTime, MakeSystemTime(2024, 3, 31, 2, 30)));
    EXPECT_EQ(copy.bAllday, 1);
    EXPECT_EQ(copy.nSign, 3);
    EXPECT_EQ(copy.bAlarm, 0);
    EXPECT_EQ(copy.nAlarmMin, 30);
    EXPECT_EQ(copy.nSensitivity, 2);
    EXPECT_EQ(copy.nPriority, 0);
    EXPECT_EQ(copy.strLabel, _T("Work"));
    EXPECT_EQ(copy.bRecurSet, 1);
    EXPECT_EQ(copy.strRecurDisplay, _T("every month"));
    EXPECT_EQ(copy.lprcRecurring, nullptr);
    EXPECT_EQ(copy.nAttachCount, 1);
    EXPECT_EQ(copy.strAttachFile, _T("agenda.doc"));
}

// ---- Task

TEST(TodoInfoTest, DefaultsAreNormalPriorityAndOtherwiseEmpty)
{
    CMAPITodoInfo todo;
    EXPECT_EQ(todo.nPriority, 1);
    EXPECT_EQ(todo.nStatus, 0);
    EXPECT_EQ(todo.dCompleteRate, 0.0);
    EXPECT_EQ(todo.bAlarmSet, 0);
    EXPECT_EQ(todo.nSensitivity, 0);
    EXPECT_EQ(todo.bRecurSet, 0);
    EXPECT_EQ(todo.nAttachCount, 0);
    EXPECT_EQ(todo.lprcRecurring, nullptr);
    for (const CString* pText :
         {&todo.strSubject, &todo.strContents, &todo.strOwner, &todo.strLabel, &todo.strAttachFile})
        EXPECT_TRUE(pText->IsEmpty());
    for (const SYSTEMTIME* pTime : {&todo.tmAlarmTime, &todo.tmStartTime, &todo.tmEndTime, &todo.tmCompleteTime})
        EXPECT_TRUE(IsZero(*pTime));
}

TEST(TodoInfoTest, CopyCarriesEveryFieldWithTheFullCompleteRate)
{
    std::unique_ptr<CMAPITodoInfo> pSource(new CMAPITodoInfo);
    pSource->strSubject = _T("Report");
    pSource->strContents = _T("Quarterly");
    pSource->strOwner = _T("Ann");
    pSource->nStatus = 7; // values outside the known ones are kept
    pSource->nPriority = 2;
    pSource->dCompleteRate = 33.3333;
    pSource->bAlarmSet = 1;
    pSource->tmAlarmTime = MakeSystemTime(2024, 4, 1, 9, 0);
    pSource->tmStartTime = MakeSystemTime(2024, 4, 2);
    pSource->tmEndTime = MakeSystemTime(2024, 4, 3);
    pSource->tmCompleteTime = MakeSystemTime(2024, 4, 4);
    pSource->nSensitivity = 1;
    pSource->strLabel = _T("Finance");
    pSource->bRecurSet = 1;
    pSource->nAttachCount = 3;
    pSource->strAttachFile = _T("q1.xls");

    CMAPITodoInfo copy(*pSource);
    pSource.reset();
    EXPECT_EQ(copy.strSubject, _T("Report"));
    EXPECT_EQ(copy.strContents, _T("Quarterly"));
    EXPECT_EQ(copy.strOwner, _T("Ann"));
    EXPECT_EQ(copy.nStatus, 7);
    EXPECT_EQ(copy.nPriority, 2);
    EXPECT_EQ(copy.dCompleteRate, 33.3333); // the full 64-bit value
    EXPECT_EQ(copy.bAlarmSet, 1);
    EXPECT_TRUE(SameTime(copy.tmAlarmTime, MakeSystemTime(2024, 4, 1, 9, 0)));
    EXPECT_TRUE(SameTime(copy.tmStartTime, MakeSystemTime(2024, 4, 2)));
    EXPECT_TRUE(SameTime(copy.tmEndTime, MakeSystemTime(2024, 4, 3)));
    EXPECT_TRUE(SameTime(copy.tmCompleteTime, MakeSystemTime(2024, 4, 4)));
    EXPECT_EQ(copy.nSensitivity, 1);
    EXPECT_EQ(copy.strLabel, _T("Finance"));
    EXPECT_EQ(copy.bRecurSet, 1);
    EXPECT_EQ(copy.nAttachCount, 3);
    EXPECT_EQ(copy.strAttachFile, _T("q1.xls"));
}
} // namespace
