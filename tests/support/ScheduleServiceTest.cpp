#include "support/ScheduleServiceTest.h"

#include "items/MAPIScheduleItem.h"

#include <cstdio>

using contacttest::SameLocalTime;
using contacttest::Utf8;

namespace scheduletest
{
std::string TimeText(const SYSTEMTIME& tm)
{
    char szText[64];
    std::snprintf(szText, sizeof szText, "%04u-%02u-%02u %02u:%02u:%02u", tm.wYear, tm.wMonth, tm.wDay, tm.wHour,
                  tm.wMinute, tm.wSecond);
    return szText;
}

CMAPIScheduleInfo MakeFullSchedule()
{
    CMAPIScheduleInfo info;
    info.strSubject = Utf8("Встреча 회의 😀 Planung");
    info.strLocation = Utf8("Raum «Süd» 서울 🏢");
    info.strContents = Utf8("Agenda\r\nпункт один\r\n두 번째 😀");
    info.tzStartTime.tmDateTime = MakeSystemTime(2010, 7, 14, 10, 0);
    info.tzEndTime.tmDateTime = MakeSystemTime(2010, 7, 14, 11, 30);
    info.bAllday = 0;
    info.nSign = 3;
    info.bAlarm = 1;
    info.nAlarmMin = 30;
    info.nSensitivity = 2;
    info.nPriority = 2;
    info.strLabel = Utf8("Работа,;프로젝트"); // categories read back joined by ",;"
    info.strRecurDisplay = Utf8("Jeden Mittwoch");
    return info;
}

CMAPIRecurring WeeklyPattern(const SYSTEMTIME& tmStart, DWORD nDayMask)
{
    CMAPIRecurring pattern;
    pattern.nFrequency = 1;
    pattern.nPatternType = 1;
    pattern.nPeriod = 1;
    pattern.nDayMask = nDayMask;
    pattern.tmStartDate = MakeSystemTime(tmStart.wYear, tmStart.wMonth, tmStart.wDay);
    pattern.nEndType = 2;
    return pattern;
}

void ExpectSameSchedule(const CMAPIScheduleInfo& expected, const CMAPIScheduleInfo& actual)
{
    EXPECT_EQ(expected.strSubject, actual.strSubject);
    EXPECT_EQ(expected.strLocation, actual.strLocation);
    EXPECT_EQ(expected.strContents, actual.strContents);
    EXPECT_TRUE(SameLocalTime(expected.tzStartTime.tmDateTime, actual.tzStartTime.tmDateTime))
        << TimeText(expected.tzStartTime.tmDateTime) << " read as " << TimeText(actual.tzStartTime.tmDateTime);
    EXPECT_TRUE(SameLocalTime(expected.tzEndTime.tmDateTime, actual.tzEndTime.tmDateTime))
        << TimeText(expected.tzEndTime.tmDateTime) << " read as " << TimeText(actual.tzEndTime.tmDateTime);
    EXPECT_EQ(expected.tzStartTime.strKeyName, actual.tzStartTime.strKeyName);
    EXPECT_EQ(expected.tzStartTime.nBias, actual.tzStartTime.nBias);
    EXPECT_EQ(expected.tzStartTime.nStandardBias, actual.tzStartTime.nStandardBias);
    EXPECT_EQ(expected.tzStartTime.nDaylightBias, actual.tzStartTime.nDaylightBias);
    EXPECT_EQ(expected.tzEndTime.strKeyName, actual.tzEndTime.strKeyName);
    EXPECT_EQ(expected.tzEndTime.nBias, actual.tzEndTime.nBias);
    EXPECT_EQ(expected.bAllday, actual.bAllday);
    EXPECT_EQ(expected.nSign, actual.nSign);
    EXPECT_EQ(expected.bAlarm, actual.bAlarm);
    EXPECT_EQ(expected.nAlarmMin, actual.nAlarmMin);
    EXPECT_EQ(expected.nSensitivity, actual.nSensitivity);
    EXPECT_EQ(expected.nPriority, actual.nPriority);
    EXPECT_EQ(expected.strLabel, actual.strLabel);
    EXPECT_EQ(expected.bRecurSet, actual.bRecurSet);
    EXPECT_EQ(expected.strRecurDisplay, actual.strRecurDisplay);
    EXPECT_EQ(expected.nAttachCount, actual.nAttachCount);
    EXPECT_EQ(expected.strAttachFile, actual.strAttachFile);
    ASSERT_EQ(expected.lprcRecurring != nullptr, actual.lprcRecurring != nullptr);
    if (!expected.lprcRecurring)
        return;
    const CMAPIRecurring& e = *expected.lprcRecurring;
    const CMAPIRecurring& a = *actual.lprcRecurring;
    EXPECT_EQ(e.nFrequency, a.nFrequency);
    EXPECT_EQ(e.nPeriod, a.nPeriod);
    EXPECT_EQ(e.nPatternType, a.nPatternType);
    EXPECT_EQ(e.nDayMask, a.nDayMask);
    EXPECT_EQ(e.nEndType, a.nEndType);
    EXPECT_EQ(e.nOccurrenceCount, a.nOccurrenceCount);
    EXPECT_TRUE(SameLocalTime(e.tmStartDate, a.tmStartDate));
    EXPECT_TRUE(SameLocalTime(e.tmEndDate, a.tmEndDate));
}

void ScheduleServiceTest::SetUp()
{
    ContactServiceTest::SetUp();
    m_pCalendar = Session().OpenCalendar(FALSE);
    ASSERT_NE(nullptr, m_pCalendar);
    contacttest::FillFolderRecord(Session(), *m_pCalendar, _T("Calendar"), m_calendarRecord);
}

void ScheduleServiceTest::TearDown()
{
    delete m_pCalendar;
    m_pCalendar = nullptr;
    ContactServiceTest::TearDown();
}

void ScheduleServiceTest::CreateScheduleItem(CMAPIScheduleItem& item, CMAPIScheduleInfo& info)
{
    ASSERT_TRUE(item.Create(&Session(), m_pCalendar));
    ASSERT_TRUE(item.SetInfo(&m_calendarRecord, &info));
}
} // namespace scheduletest
