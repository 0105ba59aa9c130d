// The schedule operations of the interface object against the embedded service: every field through
// CreateSchedule and GetSchedule, recurring appointments, lists over 0, 1 and 1,000 appointments (half of them
// recurring) with their progress messages and cancellation, modification, deletion both ways, and the trace
// lines of the kind.
#include <mapipim/mapisvc.h>

#include "items/MAPIScheduleItem.h"
#include "support/CallLogQueries.h"
#include "support/ScheduleServiceTest.h"
#include "support/ScopedEnvironment.h"

using namespace contacttest;
using namespace scheduletest;

namespace
{
typedef CArray<CMAPIScheduleInfo*, CMAPIScheduleInfo*> ScheduleArray;

const ULONG kTimes = 0x1;
const ULONG kSubject = 0x2;
const ULONG kAllFields = 0x7;

// The host's window: the records the list sent, the ends it posted, and a cancel request after some records.
class HostWindow
{
public:
    HostWindow()
        : m_hWnd(CreateMessageWindow(&HostWindow::Procedure, this)),
          m_uContents(RegisterWindowMessageW(_T("WM_MAPI_GET_CONTENTS"))),
          m_uContentsEnd(RegisterWindowMessageW(_T("WM_MAPI_GET_CONTENTS_END")))
    {
    }
    ~HostWindow() { DestroyWindow(m_hWnd); }

    HWND Get() const { return m_hWnd; }
    void CancelAfter(size_t nRecords) { m_nCancelAfter = nRecords; }
    void Clear()
    {
        m_records.clear();
        m_folders.clear();
        m_ends.clear();
    }
    void Pump()
    {
        MSG msg;
        while (PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }

    std::vector<const CMAPIScheduleInfo*> m_records;
    std::vector<const COutlookFolder*> m_folders;
    std::vector<WPARAM> m_ends;

private:
    static LRESULT CALLBACK Procedure(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        HostWindow& self = *static_cast<HostWindow*>(GetWindowContext(hWnd));
        if (uMsg == self.m_uContents)
        {
            self.m_records.push_back(reinterpret_cast<const CMAPIScheduleInfo*>(wParam));
            self.m_folders.push_back(reinterpret_cast<const COutlookFolder*>(lParam));
            if (self.m_records.size() == self.m_nCancelAfter)
                CMAPIInterface::SetCancel(1);
        }
        else if (uMsg == self.m_uContentsEnd)
            self.m_ends.push_back(wParam);
        return 0;
    }

    HWND m_hWnd;
    UINT m_uContents;
    UINT m_uContentsEnd;
    size_t m_nCancelAfter = 0;
};

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

// ---- Lists

TEST_F(ScheduleOperationsTest, ListsSendOneMessagePerRecordInTableOrderAndPostTheEnd)
{
    CMAPIInterface::SetYield(0);
    int nAdded = 0;
    for (int nSize : {0, 1, 1000})
    {
        SCOPED_TRACE(nSize);
        AddSchedules(nAdded, nSize - nAdded);
        nAdded = nSize;
        ASSERT_TRUE(List(kAllFields));
        ASSERT_EQ(nSize, m_schedules.GetSize());
        ASSERT_EQ(size_t(nSize), m_window.m_records.size());
        for (int i = 0; i < nSize; ++i)
        {
            const CMAPIScheduleInfo& record = *m_schedules[i];
            ASSERT_EQ(&record, m_window.m_records[i]);
            ASSERT_EQ(&CalendarRecord(), m_window.m_folders[i]);
            CString strSubject;
            strSubject.Format(_T("Meeting %d"), i);
            ASSERT_EQ(strSubject, record.strSubject);
            ASSERT_EQ(i % 2, record.bRecurSet);
            ASSERT_EQ(i % 2 == 1, record.lprcRecurring != nullptr);
            if (record.lprcRecurring)
                ASSERT_EQ(0x20u, record.lprcRecurring->nDayMask);
        }
        ASSERT_EQ(std::vector<WPARAM>{WPARAM(nSize)}, m_window.m_ends);
    }
}

TEST_F(ScheduleOperationsTest, CancelFromTheHandlerStopsAfterTheCurrentRecord)
{
    CMAPIInterface::SetYield(0);
    AddSchedules(0, 10);
    m_window.CancelAfter(3);
    EXPECT_FALSE(List(kSubject));
    EXPECT_EQ(3, m_schedules.GetSize());
    EXPECT_TRUE(m_window.m_ends.empty());

    // Set before the list, the flag empties the array and reads nothing.
    EXPECT_FALSE(List(kSubject));
    EXPECT_EQ(0, m_schedules.GetSize());
    EXPECT_TRUE(m_window.m_records.empty());
}

TEST_F(ScheduleOperationsTest, ListReplacesTheRecordsTheArrayHeldAndSkipsWhatCannotBeOpened)
{
    CMAPIInterface::SetYield(0);
    AddSchedules(0, 4);
    m_schedules.Add(new CMAPIScheduleInfo);
    mapisvc::InjectFault(FailCall("IMAPISession", "OpenEntry", 2));
    ASSERT_TRUE(List(kSubject));
    ASSERT_EQ(3, m_schedules.GetSize());
    EXPECT_EQ(Utf8("Meeting 0"), m_schedules[0]->strSubject);
    EXPECT_EQ(Utf8("Meeting 2"), m_schedules[1]->strSubject);
    EXPECT_EQ(std::vector<WPARAM>{3}, m_window.m_ends);
}

TEST_F(ScheduleOperationsTest, TheKindsTraceLines)
{
    COutlookFolder gone = CalendarRecord();
    gone.strName = _T("Gone");
    gone.sbEntryID.lpb[gone.sbEntryID.cb - 1] ^= 0xFF;
    EXPECT_FALSE(Interface().GetSchedule(&gone, m_schedules, kAllFields));
    EXPECT_TRUE(Traced(_T("[MAPI] GetSchedule - Open failed a folder : Gone")));
    EXPECT_FALSE(Interface().GetSchedule(nullptr, m_schedules, kAllFields));

    mapisvc::Fault fault;
    fault.method = "CreateMessage";
    const ULONG ulFault = mapisvc::InjectFault(fault);
    CMAPIScheduleInfo schedule;
    EXPECT_FALSE(Interface().CreateSchedule(&CalendarRecord(), &schedule));
    mapisvc::RemoveFault(ulFault);
    EXPECT_TRUE(Traced(_T("[MAPI] CreateSchedule - Create failed a schedule : Calendar")));

    ASSERT_TRUE(Interface().CreateSchedule(&CalendarRecord(), &schedule));
    ASSERT_TRUE(Interface().DeleteSchedule(&CalendarRecord(), &schedule, 0));
    EXPECT_FALSE(Interface().GetSchedule(&schedule, kTimes));
    EXPECT_TRUE(Traced(_T("[MAPI] GetSchedule - Open failed a schedule : ") + schedule.strEntryID));
}

// ---- Single items

TEST_F(ScheduleOperationsTest, DeleteRemovesOrMovesToDeletedItems)
{
    COutlookFolder deletedItems = DeletedItemsRecord();
    CMAPIScheduleInfo moved = MakeFullSchedule();
    CMAPIScheduleInfo removed = MakeFullSchedule();
    ASSERT_TRUE(Interface().CreateSchedule(&CalendarRecord(), &moved));
    ASSERT_TRUE(Interface().CreateSchedule(&CalendarRecord(), &removed));
    ASSERT_EQ(2, Interface().GetRowCount(&CalendarRecord()));
    const int nDeletedBefore = Interface().GetRowCount(&deletedItems);

    EXPECT_TRUE(Interface().DeleteSchedule(&CalendarRecord(), &moved, 1));
    EXPECT_EQ(1, Interface().GetRowCount(&CalendarRecord()));
    EXPECT_EQ(nDeletedBefore + 1, Interface().GetRowCount(&deletedItems));
    EXPECT_TRUE(Interface().DeleteSchedule(&CalendarRecord(), &removed, 0));
    EXPECT_EQ(0, Interface().GetRowCount(&CalendarRecord()));
    EXPECT_EQ(nDeletedBefore + 1, Interface().GetRowCount(&deletedItems));

    EXPECT_FALSE(Interface().DeleteSchedule(nullptr, &moved, 0));
    EXPECT_FALSE(Interface().DeleteSchedule(&CalendarRecord(), nullptr, 0));
}

TEST_F(ScheduleOperationsTest, NullAndUnknownRecordsFail)
{
    EXPECT_FALSE(Interface().GetSchedule(nullptr, kAllFields));
    EXPECT_FALSE(Interface().CreateSchedule(nullptr, nullptr));
    EXPECT_FALSE(Interface().ModifySchedule(nullptr, nullptr));
    CMAPIScheduleInfo unknown;
    EXPECT_FALSE(Interface().ModifySchedule(&CalendarRecord(), &unknown));
    EXPECT_FALSE(Interface().CreateSchedule(&CalendarRecord(), nullptr));
}
