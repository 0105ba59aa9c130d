// A fixture for the appointment tests against the embedded MAPI service: the contact fixture's environment (a
// fresh profile root, the leak check, the machine zone and process switches put back, the trace capture) with the
// default store's Calendar folder open and the host's record of it.
#pragma once

#include "support/ContactServiceTest.h"

class CMAPIScheduleItem;

namespace scheduletest
{
// "YYYY-MM-DD HH:MM:SS", for messages of failed checks.
std::string TimeText(const SYSTEMTIME& tm);

// Every field of the record set, with text beyond Latin-1: a summer appointment from 10:00 to 11:30 local with a
// reminder, in the machine's zone.
CMAPIScheduleInfo MakeFullSchedule();

// A weekly pattern on the given weekdays from the start's day, never ending.
CMAPIRecurring WeeklyPattern(const SYSTEMTIME& tmStart, DWORD nDayMask);

// Every field the item writes and reads back, compared; attachments by their names.
void ExpectSameSchedule(const CMAPIScheduleInfo& expected, const CMAPIScheduleInfo& actual);

class ScheduleServiceTest : public contacttest::ContactServiceTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    CMAPIFolder& Calendar() { return *m_pCalendar; }
    COutlookFolder& CalendarRecord() { return m_calendarRecord; }

    // A new appointment in the Calendar folder, written from the record and saved; the item stays open.
    void CreateScheduleItem(CMAPIScheduleItem& item, CMAPIScheduleInfo& info);

private:
    CMAPIFolder* m_pCalendar = nullptr;
    COutlookFolder m_calendarRecord;
};
} // namespace scheduletest
