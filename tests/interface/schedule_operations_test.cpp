// What only the schedule operations of the interface object do, against the embedded service: every field through
// CreateSchedule and GetSchedule, recurring appointments in lists, and modification that moves no time.
#include <mapipim/mapisvc.h>

#include "interface/HostWindow.h"

#include "items/MAPIScheduleItem.h"
#include "support/ScheduleServiceTest.h"
#include "support/ScopedEnvironment.h"

using namespace contacttest;
using namespace scheduletest;

namespace
{
typedef CArray<CMAPIScheduleInfo*, CMAPIScheduleInfo*> ScheduleArray;

const ULONG kAllFields = 0x7;

class ScheduleOperationsTest : public ScheduleServiceTest
{
protected:
    ScheduleOperationsTest() : m_zone("Europe/Berlin") {}

    void SetUp() override
    {
        ScheduleServiceTest::SetUp();
        m_pInterface = std::make_unique<CMAPIInterface>();
        m_pInterface->SetMsgHwnd(m_window.Get());
    }
    void TearDown() override
    {
        for (INT_PTR i = 0; i < m_schedules.GetSize(); ++i)
            delete m_schedules[i];
        m_schedules.RemoveAll();
        m_pInterface.reset();
        ScheduleServiceTest::TearDown();
    }

    CMAPIInterface& Interface() { return *m_pInterface; }

    // Appointments "Meeting <n>" on consecutive days through the schedule item, every other one weekly.
    void AddSchedules(int nFirst, int nCount)
    {
        for (int i = nFirst; i < nFirst + nCount; ++i)
        {
            CMAPIScheduleInfo info;
            info.strSubject.Format(_T("Meeting %d"), i);
            info.tzStartTime.tmDateTime = MakeSystemTime(2010, 1, 1, 9, 0);
            info.tzEndTime.tmDateTime = MakeSystemTime(2010, 1, 1, 10, 0);
            if (i % 2 == 1)
            {
                info.bRecurSet = 1;
                info.lprcRecurring = new CMAPIRecurring(WeeklyPattern(info.tzStartTime.tmDateTime, 0x20));
            }
            CMAPIScheduleItem item;
            ASSERT_TRUE(item.Create(&Session(), &Calendar()));
            ASSERT_TRUE(item.SetInfo(&CalendarRecord(), &info));
        }
    }

    BOOL List(ULONG ulFlags)
    {
        m_window.Clear();
        const BOOL bResult = Interface().GetSchedule(&CalendarRecord(), m_schedules, ulFlags);
        m_window.Pump();
        return bResult;
    }

    HostWindow m_window;
    ScheduleArray m_schedules;

private:
    ScopedTz m_zone;
    std::unique_ptr<CMAPIInterface> m_pInterface;
};
} // namespace

// ---- Every field

TEST_F(ScheduleOperationsTest, EveryFieldRoundTripsThroughCreateAndGet)
{
    WriteFileBytes(TempDir() / "agenda.txt", {'a'});
    CMAPIScheduleInfo written = MakeFullSchedule();
    written.strAttachFile = PathText(TempDir() / "agenda.txt");
    written.bRecurSet = 1;
    written.lprcRecurring = new CMAPIRecurring(WeeklyPattern(written.tzStartTime.tmDateTime, 0x08));
    ASSERT_TRUE(Interface().CreateSchedule(&CalendarRecord(), &written));
    EXPECT_FALSE(written.strEntryID.IsEmpty());
    EXPECT_NE(0, written.tmCTime.wYear);
    EXPECT_NE(0, written.tmLMTime.wYear);

    CMAPIScheduleInfo expected = written;
    expected.strAttachFile = _T("agenda.txt");
    expected.nAttachCount = 1;
    expected.lprcRecurring->tmEndDate = MakeSystemTime(4500, 12, 31, 23, 59); // a series without end, as stored

    CMAPIScheduleInfo single;
    CopySBinary(single.sbEntryID, written.sbEntryID);
    ASSERT_TRUE(Interface().GetSchedule(&single, kAllFields));
    ExpectSameSchedule(expected, single);
    EXPECT_EQ(written.strEntryID, single.strEntryID);

    ASSERT_TRUE(List(kAllFields));
    ASSERT_EQ(1, m_schedules.GetSize());
    ExpectSameSchedule(expected, *m_schedules[0]);
}

TEST_F(ScheduleOperationsTest, ModifyingWhatWasReadMovesNothingInSummerOrWinter)
{
    for (WORD wMonth : {1, 7})
    {
        SCOPED_TRACE(wMonth);
        CMAPIScheduleInfo written = MakeFullSchedule();
        written.tzStartTime.tmDateTime.wMonth = wMonth;
        written.tzEndTime.tmDateTime.wMonth = wMonth;
        ASSERT_TRUE(Interface().CreateSchedule(&CalendarRecord(), &written));
        CMAPIScheduleInfo read;
        CopySBinary(read.sbEntryID, written.sbEntryID);
        ASSERT_TRUE(Interface().GetSchedule(&read, kAllFields));
        ASSERT_TRUE(Interface().ModifySchedule(&CalendarRecord(), &read));
        CMAPIScheduleInfo again;
        CopySBinary(again.sbEntryID, written.sbEntryID);
        ASSERT_TRUE(Interface().GetSchedule(&again, kAllFields));
        ExpectSameSchedule(read, again);
        EXPECT_EQ(10, again.tzStartTime.tmDateTime.wHour);
    }
}

// ---- Lists (the list, cancel, failure, delete and trace behaviour shared by all kinds is in the typed suite)

TEST_F(ScheduleOperationsTest, ListsReadEachRecordsRecurrence)
{
    CMAPIInterface::SetYield(0);
    AddSchedules(0, 10);
    ASSERT_TRUE(List(kAllFields));
    ASSERT_EQ(10, m_schedules.GetSize());
    for (int i = 0; i < 10; ++i)
    {
        SCOPED_TRACE(i);
        const CMAPIScheduleInfo& record = *m_schedules[i];
        CString strSubject;
        strSubject.Format(_T("Meeting %d"), i);
        EXPECT_EQ(strSubject, record.strSubject);
        EXPECT_EQ(i % 2, record.bRecurSet);
        ASSERT_EQ(i % 2 == 1, record.lprcRecurring != nullptr);
        if (record.lprcRecurring)
            EXPECT_EQ(0x20u, record.lprcRecurring->nDayMask);
    }
}
