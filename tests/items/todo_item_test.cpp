// The task item against the embedded service: every field, the start and due dates east and west of Greenwich,
// the status that follows the percentage, the completion date, the reminder, recurring tasks, attachments, the read
// groups, and the trace line of each field that fails to be read or written.
#include "items/BlobReader.h"
#include "items/MAPITodoItem.h"
#include "items/TodoProperties.h"
#include "support/FolderItemTest.h"
#include "support/ScopedEnvironment.h"

#include <fstream>

using namespace itemtest;

namespace
{
const int kTask = MAPIPIM_SET_TASK;
const int kCommon = MAPIPIM_SET_COMMON;
const ULONG kAll = MAPIPIM_TODO_TIMES | MAPIPIM_TODO_SUBJECT | MAPIPIM_TODO_OTHERS;

class TodoItemTest : public FolderItemTest
{
protected:
    TodoItemTest() : FolderItemTest(PR_IPM_TASK_ENTRYID, u"Tasks") {}

    // Every field set, the texts beyond Latin-1; complete, with a reminder, not recurring.
    static CMAPITodoInfo FullTodo()
    {
        CMAPITodoInfo info;
        info.strSubject = Utf8("Angebot prüfen ✓ 見積もり");
        info.strContents = Utf8("Первая строка\r\n두 번째 줄 🚀");
        info.strOwner = Utf8("Zoë Ångström");
        info.nStatus = 1;
        info.nPriority = 2;
        info.dCompleteRate = 100.0;
        info.bAlarmSet = 1;
        info.tmAlarmTime = MakeSystemTime(2010, 1, 29, 9, 30);
        info.tmStartTime = MakeSystemTime(2010, 2, 1);
        info.tmEndTime = MakeSystemTime(2010, 2, 5);
        info.tmCompleteTime = MakeSystemTime(2010, 2, 4, 16, 45);
        info.nSensitivity = 3;
        info.strLabel = Utf8("Arbeit,;仕事");
        return info;
    }

    void CreateTodoItem(CMAPITodoItem& item, CMAPITodoInfo& info)
    {
        ASSERT_TRUE(item.Create(&Session(), &Folder()));
        ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
    }

    // The stored time of a named property, as stored (UTC where the item converts).
    static SYSTEMTIME StoredTime(CMAPIItem& item, LONG lID, int nSet, BOOL* pFound = nullptr)
    {
        SYSTEMTIME tm = {};
        const BOOL bFound = item.GetPropertyTime(lID, tm, nSet, FALSE);
        if (pFound)
            *pFound = bFound;
        return tm;
    }

    static bool Has(CMAPIItem& item, LONG lID, int nSet)
    {
        BOOL bFound = FALSE;
        StoredTime(item, lID, nSet, &bFound);
        return bFound || item.GetPropertyLong(lID, -7, nSet) != -7 || item.GetPropertyBool(lID, -7, nSet) != -7;
    }
};

// A weekly pattern on Mondays and Wednesdays from 2010-02-01, ending after 6 occurrences.
CMAPIRecurring* WeeklyPattern()
{
    CMAPIRecurring* pPattern = new CMAPIRecurring;
    pPattern->nFrequency = 1;
    pPattern->nPatternType = 1;
    pPattern->nPeriod = 1;
    pPattern->nDayMask = 0x2 | 0x8;
    pPattern->tmStartDate = MakeSystemTime(2010, 2, 1);
    pPattern->nEndType = 1;
    pPattern->nOccurrenceCount = 6;
    return pPattern;
}

// ---- Creation

TEST_F(TodoItemTest, CreateMakesAReadTaskInTheGivenOrCurrentFolder)
{
    CMAPITodoItem item;
    EXPECT_FALSE(item.Create(nullptr, &Folder()));
    EXPECT_FALSE(item.Create(&Session(), nullptr)) << "no folder given and none current";
    ASSERT_TRUE(item.Create(&Session(), &Folder()));
    CString strClass;
    ASSERT_TRUE(item.GetPropertyString(PR_MESSAGE_CLASS_W, strClass));
    EXPECT_EQ(Utf8("IPM.Task"), strClass);
    EXPECT_EQ(MSGFLAG_READ, item.GetPropertyLong(PR_MESSAGE_FLAGS, 0));

    ASSERT_NE(nullptr, Session().OpenSpecialFolder(PR_IPM_TASK_ENTRYID, TRUE));
    CMAPITodoItem second;
    EXPECT_TRUE(second.Create(&Session(), nullptr));

    Trace().Clear();
    PropertyFault classFault("SetProps", PR_MESSAGE_CLASS_W, 0);
    PropertyFault flagFault("SetProps", PR_MESSAGE_FLAGS, 0);
    CMAPITodoItem third;
    EXPECT_TRUE(third.Create(&Session(), &Folder()));
    // The folder object names the folder it was opened as (here by its role, without a name).
    EXPECT_TRUE(Traced(CString(_T("[MAPI] Set failed : MsgClass - Folder:")) + Folder().GetName()));
    EXPECT_TRUE(Traced(CString(_T("[MAPI] Set failed : MsgFlag - Folder:")) + Folder().GetName()));
}

// ---- Every field, in three zones

class TodoZoneTest : public TodoItemTest, public ::testing::WithParamInterface<const char*>
{
};

INSTANTIATE_TEST_SUITE_P(Zones, TodoZoneTest, ::testing::Values("Europe/Berlin", "America/Los_Angeles", "Asia/Tokyo"),
                         [](const ::testing::TestParamInfo<const char*>& info)
                         {
                             std::string name = info.param;
                             for (char& ch : name)
                                 if (ch == '/')
                                     ch = '_';
                             return name;
                         });

TEST_P(TodoZoneTest, EveryFieldRoundTripsWithTextBeyondLatin1)
{
    ScopedTz zone(GetParam());
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    info.tmAlarmTime = MakeSystemTime(2010, 7, 29, 9, 30); // a summer reminder, a winter completion
    CreateTodoItem(item, info);

    CMAPITodoItem reopened;
    ASSERT_TRUE(reopened.Open(&Session(), *item.GetEntryID()));
    CMAPITodoInfo read;
    ASSERT_TRUE(reopened.GetInfo(&read, kAll));
    EXPECT_EQ(info.strSubject, read.strSubject);
    EXPECT_EQ(info.strContents, read.strContents);
    EXPECT_EQ(info.strOwner, read.strOwner);
    EXPECT_EQ(2, read.nStatus) << "complete at 100 percent";
    EXPECT_EQ(2, read.nPriority);
    EXPECT_EQ(100.0, read.dCompleteRate);
    EXPECT_EQ(1, read.bAlarmSet);
    EXPECT_TRUE(SameTime(info.tmAlarmTime, read.tmAlarmTime)) << TimeText(read.tmAlarmTime);
    EXPECT_TRUE(SameTime(info.tmStartTime, read.tmStartTime)) << TimeText(read.tmStartTime);
    EXPECT_TRUE(SameTime(info.tmEndTime, read.tmEndTime)) << TimeText(read.tmEndTime);
    EXPECT_TRUE(SameTime(info.tmCompleteTime, read.tmCompleteTime)) << TimeText(read.tmCompleteTime);
    EXPECT_EQ(3, read.nSensitivity);
    EXPECT_EQ(info.strLabel, read.strLabel);
    EXPECT_EQ(0, read.bRecurSet);
    EXPECT_EQ(nullptr, read.lprcRecurring);
    EXPECT_EQ(0, read.nAttachCount);
    EXPECT_TRUE(CompareSBinary(read.sbEntryID, *item.GetEntryID()));
    EXPECT_NE(0, read.tmCTime.wYear);
    EXPECT_NE(0, read.tmLMTime.wYear);
    EXPECT_TRUE(Trace().GetLines().empty()) << Trace().GetLines().front();

    // Written back as read, nothing moves.
    ASSERT_TRUE(reopened.SetInfo(&FolderRecord(), &read));
    CMAPITodoInfo again;
    ASSERT_TRUE(reopened.GetInfo(&again, kAll));
    EXPECT_TRUE(SameTime(info.tmStartTime, again.tmStartTime));
    EXPECT_TRUE(SameTime(info.tmCompleteTime, again.tmCompleteTime));
    EXPECT_TRUE(SameTime(info.tmAlarmTime, again.tmAlarmTime));
}

// ---- Start and due dates

TEST_F(TodoItemTest, StartAndDueAreStoredAsGivenWithTheirUtcInTheCommonRange)
{
    const struct
    {
        const char* szZone;
        SYSTEMTIME tmDate;
        SYSTEMTIME tmUtc;
    } cases[] = {
        {"Asia/Tokyo", MakeSystemTime(2010, 2, 1), MakeSystemTime(2010, 1, 31, 15, 0)},
        {"America/Los_Angeles", MakeSystemTime(2010, 2, 1), MakeSystemTime(2010, 2, 1, 8, 0)},
        {"America/Los_Angeles", MakeSystemTime(2010, 7, 1), MakeSystemTime(2010, 7, 1, 7, 0)},
        {"Europe/Berlin", MakeSystemTime(2010, 7, 1), MakeSystemTime(2010, 6, 30, 22, 0)},
        {"Europe/Berlin", MakeSystemTime(2010, 12, 31, 23, 30), MakeSystemTime(2010, 12, 31, 22, 30)},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.szZone) + " " + TimeText(c.tmDate));
        ScopedTz zone(c.szZone);
        CMAPITodoItem item;
        CMAPITodoInfo info;
        info.tmStartTime = c.tmDate;
        info.tmEndTime = c.tmDate;
        CreateTodoItem(item, info);
        EXPECT_TRUE(SameTime(c.tmDate, StoredTime(item, mapipim::PidLidTaskStartDate, kTask)));
        EXPECT_TRUE(SameTime(c.tmDate, StoredTime(item, mapipim::PidLidTaskDueDate, kTask)));
        EXPECT_TRUE(SameTime(c.tmUtc, StoredTime(item, mapipim::PidLidCommonStart, kCommon)))
            << TimeText(StoredTime(item, mapipim::PidLidCommonStart, kCommon));
        EXPECT_TRUE(SameTime(c.tmUtc, StoredTime(item, mapipim::PidLidCommonEnd, kCommon)));

        for (int nWrite = 0; nWrite < 2; ++nWrite) // unchanged after one write and after writing it back
        {
            CMAPITodoInfo read;
            ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
            EXPECT_TRUE(SameTime(c.tmDate, read.tmStartTime)) << TimeText(read.tmStartTime);
            EXPECT_TRUE(SameTime(c.tmDate, read.tmEndTime)) << TimeText(read.tmEndTime);
            ASSERT_TRUE(item.SetInfo(&FolderRecord(), &read));
        }
    }
}

TEST_F(TodoItemTest, ADateOfYearZeroRemovesBothPropertiesAndReadingLeavesTheField)
{
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    CreateTodoItem(item, info);
    info.tmStartTime = SYSTEMTIME{};
    info.tmEndTime = SYSTEMTIME{};
    ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
    for (LONG lID : {mapipim::PidLidTaskStartDate, mapipim::PidLidTaskDueDate})
        EXPECT_FALSE(Has(item, lID, kTask));
    for (LONG lID : {mapipim::PidLidCommonStart, mapipim::PidLidCommonEnd})
        EXPECT_FALSE(Has(item, lID, kCommon));

    Trace().Clear();
    CMAPITodoInfo read;
    read.tmStartTime = MakeSystemTime(2001, 1, 1);
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_TRUE(SameTime(MakeSystemTime(2001, 1, 1), read.tmStartTime));
    EXPECT_EQ(0, read.tmEndTime.wYear);
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : tmStartTime")));
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : tmEndTime")));
}

// ---- Status and percent complete

TEST_F(TodoItemTest, TheStatusFollowsThePercentage)
{
    const struct
    {
        double dRate;
        int nStatus;
        int nStored;
        bool bComplete;
    } cases[] = {
        {100.0, 1, 2, true}, {100.0, 0, 2, true},  {100.0, 3, 2, true},  {100.0, 2, 2, true},  {50.0, 2, 1, false},
        {0.0, 2, 0, false},  {99.99, 2, 1, false}, {99.99, 1, 1, false}, {50.0, 3, 3, false},  {0.0, 4, 4, false},
        {0.0, 1, 1, false},  {25.0, 0, 0, false},  {100.5, 2, 2, false}, {100.5, 1, 1, false}, {-5.0, 2, 1, false},
    };
    CMAPITodoItem item;
    ASSERT_TRUE(item.Create(&Session(), &Folder()));
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.dRate << "% status " << c.nStatus);
        CMAPITodoInfo info;
        info.dCompleteRate = c.dRate;
        info.nStatus = c.nStatus;
        info.tmCompleteTime = MakeSystemTime(2010, 3, 3, 12, 0);
        ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
        EXPECT_EQ(c.nStored, info.nStatus) << "the record follows";
        EXPECT_EQ(c.nStored, item.GetPropertyLong(mapipim::PidLidTaskStatus, -1, kTask));
        EXPECT_EQ(c.bComplete ? 1 : 0, item.GetPropertyBool(mapipim::PidLidTaskComplete, -1, kTask));
        EXPECT_EQ(c.bComplete, Has(item, mapipim::PidLidTaskDateCompleted, kTask));
        EXPECT_DOUBLE_EQ(c.dRate * 0.01, item.GetPropertyDouble(mapipim::PidLidPercentComplete, -1.0, kTask));
    }
    EXPECT_EQ(2, CMAPITodoItem::AdjustedStatus(1, 100.0));
    EXPECT_EQ(3, CMAPITodoItem::AdjustedStatus(3, 0.0));
}

TEST_F(TodoItemTest, ThePercentageIsStoredAsAFraction)
{
    CMAPITodoItem item;
    ASSERT_TRUE(item.Create(&Session(), &Folder()));
    ASSERT_TRUE(item.SetPropertyDouble(mapipim::PidLidPercentComplete, 0.25, kTask));
    CMAPITodoInfo read;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_EQ(25.0, read.dCompleteRate);
    EXPECT_FALSE(Traced(_T("[MAPI] Get failed : dCompleteRate")));

    CMAPITodoItem bare;
    ASSERT_TRUE(bare.Create(&Session(), &Folder()));
    read.dCompleteRate = 60.0;
    ASSERT_TRUE(bare.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_EQ(0.0, read.dCompleteRate);
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : dCompleteRate")));
}

// ---- Completion date and reminder

TEST_F(TodoItemTest, TheCompletionDateIsUtcInTheStoreAndLocalInTheRecord)
{
    ScopedTz tokyo("Asia/Tokyo");
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    CreateTodoItem(item, info);
    EXPECT_TRUE(SameTime(MakeSystemTime(2010, 2, 4, 7, 45), StoredTime(item, mapipim::PidLidTaskDateCompleted, kTask)));
    CMAPITodoInfo read;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_TRUE(SameTime(info.tmCompleteTime, read.tmCompleteTime));

    // No longer complete: the date goes, and reading leaves the field as it was.
    info.dCompleteRate = 75.0;
    ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
    EXPECT_FALSE(Has(item, mapipim::PidLidTaskDateCompleted, kTask));
    CMAPITodoInfo again;
    ASSERT_TRUE(item.GetInfo(&again, MAPIPIM_TODO_OTHERS));
    EXPECT_EQ(0, again.tmCompleteTime.wYear);
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : tmCompleteTime")));
}

TEST_F(TodoItemTest, TheReminderTimeIsKeptOnlyForAReminderSetToOne)
{
    ScopedTz losAngeles("America/Los_Angeles");
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    info.tmAlarmTime = MakeSystemTime(2010, 7, 29, 9, 30);
    CreateTodoItem(item, info);
    EXPECT_TRUE(SameTime(MakeSystemTime(2010, 7, 29, 16, 30), StoredTime(item, mapipim::PidLidReminderTime, kCommon)));

    // A reminder set to 2 is set (the store keeps a boolean, 2 as true), yet has no reminder time.
    for (int bAlarmSet : {2, 0})
    {
        SCOPED_TRACE(bAlarmSet);
        info.bAlarmSet = bAlarmSet;
        ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
        EXPECT_EQ(bAlarmSet != 0, item.GetPropertyBool(mapipim::PidLidReminderSet, -1, kCommon) != 0);
        EXPECT_FALSE(Has(item, mapipim::PidLidReminderTime, kCommon));
        CMAPITodoInfo read;
        ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
        EXPECT_EQ(bAlarmSet != 0, read.bAlarmSet != 0);
        EXPECT_EQ(0, read.tmAlarmTime.wYear);
    }
}

// ---- Recurring tasks

TEST_F(TodoItemTest, ARecurringTaskCarriesItsPatternIconAndDeadOccurrenceFlag)
{
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    info.bRecurSet = 1;
    info.lprcRecurring = WeeklyPattern();
    CreateTodoItem(item, info);
    EXPECT_EQ(1281, item.GetPropertyLong(PR_ICON_INDEX, 0));
    EXPECT_EQ(1, item.GetPropertyBool(mapipim::PidLidTaskDeadOccurrence, 0, kTask));
    EXPECT_EQ(1, item.GetPropertyBool(mapipim::PidLidTaskFRecurring, 0, kTask));
    EXPECT_TRUE(SameTime(MakeSystemTime(2010, 2, 17), info.lprcRecurring->tmEndDate))
        << "the range is completed in the record: " << TimeText(info.lprcRecurring->tmEndDate);

    CMAPITodoInfo read;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_EQ(1, read.bRecurSet);
    ASSERT_NE(nullptr, read.lprcRecurring);
    EXPECT_EQ(1, read.lprcRecurring->nFrequency);
    EXPECT_EQ(0x2u | 0x8u, read.lprcRecurring->nDayMask);
    EXPECT_EQ(1, read.lprcRecurring->nEndType);
    EXPECT_EQ(6, read.lprcRecurring->nOccurrenceCount);
    EXPECT_TRUE(SameTime(MakeSystemTime(2010, 2, 1), read.lprcRecurring->tmStartDate));
    EXPECT_TRUE(SameTime(MakeSystemTime(2010, 2, 17), read.lprcRecurring->tmEndDate));

    // No longer recurring: the pattern goes from the store, and from the record that reads it.
    info.bRecurSet = 0;
    ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
    EXPECT_EQ(1280, item.GetPropertyLong(PR_ICON_INDEX, 0));
    mapipim::BlobReader blob;
    EXPECT_FALSE(item.GetPropertyBinary(mapipim::PidLidTaskRecurrence, blob, kTask));
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_EQ(0, read.bRecurSet);
    EXPECT_EQ(nullptr, read.lprcRecurring);
}

TEST_F(TodoItemTest, ARecurringTaskWithoutAPatternIsTracedAndStillSaved)
{
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    info.bRecurSet = 1;
    ASSERT_TRUE(item.Create(&Session(), &Folder()));
    EXPECT_TRUE(item.SetInfo(&FolderRecord(), &info));
    EXPECT_EQ(std::vector<CString>{_T("[MAPI] Set failed : lprcRecurring - Folder:Tasks")}, Trace().GetLines());

    // Read back, it has a default pattern that says why it cannot be read.
    Trace().Clear();
    CMAPITodoInfo read;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_NE(nullptr, read.lprcRecurring);
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : GetRecurPatternData")));
}

// ---- Attachments

TEST_F(TodoItemTest, FullPathsAreAttachedBareNamesKeptAndAnEmptyListRemovesAll)
{
    for (const char* szName : {"a.txt", "b.txt"})
        std::ofstream(FilesDir() + "/" + szName) << szName;
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    info.strAttachFile = Utf8((FilesDir() + "/a.txt;word;" + FilesDir() + "/b.txt").c_str());
    CreateTodoItem(item, info);
    CMAPITodoInfo read;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_EQ(2, read.nAttachCount);
    EXPECT_EQ(Utf8("a.txt;b.txt"), read.strAttachFile);

    // What reading gave, written back, adds nothing.
    ASSERT_TRUE(item.SetInfo(&FolderRecord(), &read));
    EXPECT_EQ(2, item.GetAttachmentCount());

    info.strAttachFile.Empty();
    ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_EQ(0, read.nAttachCount);
    EXPECT_TRUE(read.strAttachFile.IsEmpty());

    info.strAttachFile = Utf8((FilesDir() + "/missing.txt").c_str());
    ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
    EXPECT_TRUE(Traced(_T("[MAPI] Set failed : ") + info.strAttachFile + _T("(strAttachFile) - Folder:Tasks")));
}

// ---- Read groups and fallbacks

TEST_F(TodoItemTest, EachReadGroupFillsItsOwnFields)
{
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    CreateTodoItem(item, info);

    CMAPITodoInfo none;
    EXPECT_TRUE(item.GetInfo(&none, 0));
    EXPECT_TRUE(CompareSBinary(none.sbEntryID, *item.GetEntryID()));
    EXPECT_FALSE(none.strEntryID.IsEmpty());
    EXPECT_TRUE(none.strSubject.IsEmpty());
    EXPECT_EQ(0, none.tmCTime.wYear);

    CMAPITodoInfo times;
    EXPECT_TRUE(item.GetInfo(&times, MAPIPIM_TODO_TIMES));
    EXPECT_NE(0, times.tmCTime.wYear);
    EXPECT_NE(0, times.tmLMTime.wYear);
    EXPECT_TRUE(times.strSubject.IsEmpty());
    EXPECT_TRUE(times.strOwner.IsEmpty());

    CMAPITodoInfo subject;
    EXPECT_TRUE(item.GetInfo(&subject, MAPIPIM_TODO_SUBJECT));
    EXPECT_EQ(info.strSubject, subject.strSubject);
    EXPECT_TRUE(subject.strOwner.IsEmpty());
    EXPECT_EQ(1, subject.nPriority);
    EXPECT_EQ(0, subject.tmStartTime.wYear);

    CMAPITodoInfo others;
    EXPECT_TRUE(item.GetInfo(&others, MAPIPIM_TODO_OTHERS));
    EXPECT_TRUE(others.strSubject.IsEmpty());
    EXPECT_EQ(info.strOwner, others.strOwner);
    EXPECT_EQ(2, others.nPriority);
    EXPECT_NE(0, others.tmStartTime.wYear);
    EXPECT_EQ(0, others.tmCTime.wYear);
}

TEST_F(TodoItemTest, ATaskWithoutItsPropertiesReadsTheFallbacksAndTracesEach)
{
    CMAPITodoItem item;
    ASSERT_TRUE(item.Create(&Session(), &Folder()));
    ASSERT_TRUE(item.Save(FALSE));
    CMAPITodoInfo read;
    read.nStatus = 4;
    read.bAlarmSet = 1;
    read.tmAlarmTime = MakeSystemTime(2001, 2, 3);
    read.lprcRecurring = new CMAPIRecurring;
    ASSERT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_EQ(0, read.nStatus);
    EXPECT_EQ(0, read.nPriority) << "0, not the record's default of 1";
    EXPECT_EQ(0, read.nSensitivity);
    EXPECT_EQ(0, read.bAlarmSet);
    EXPECT_EQ(0, read.bRecurSet);
    EXPECT_EQ(0.0, read.dCompleteRate);
    EXPECT_TRUE(SameTime(MakeSystemTime(2001, 2, 3), read.tmAlarmTime)) << "an unread time stays";
    EXPECT_EQ(nullptr, read.lprcRecurring);
    for (const char* szField : {"strOwner", "tmStartTime", "tmEndTime", "nStatus", "nPriority", "dCompleteRate",
                                "tmCompleteTime", "bAlarmSet", "tmAlarmTime", "bRecurSet", "strLabel", "nSensitivity"})
        EXPECT_TRUE(Traced(_T("[MAPI] Get failed : ") + Utf8(szField))) << szField;
}

// ---- Trace lines of failing fields

TEST_F(TodoItemTest, EachFieldThatCannotBeReadIsTracedAndTheReadStillSucceeds)
{
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    CreateTodoItem(item, info);
    const struct
    {
        const char* szMethod;
        ULONG ulTag;
        int nSet;
        const char* szField;
    } cases[] = {
        {"GetProps", PR_SUBJECT_W, 0, "strSubject"},
        {"OpenProperty", PR_BODY_W, 0, "strContents"},
        {"GetProps", mapipim::PidLidTaskOwner, kTask, "strOwner"},
        {"GetProps", mapipim::PidLidTaskStartDate, kTask, "tmStartTime"},
        {"GetProps", mapipim::PidLidTaskDueDate, kTask, "tmEndTime"},
        {"GetProps", mapipim::PidLidTaskStatus, kTask, "nStatus"},
        {"GetProps", PR_IMPORTANCE, 0, "nPriority"},
        {"GetProps", mapipim::PidLidPercentComplete, kTask, "dCompleteRate"},
        {"GetProps", mapipim::PidLidTaskDateCompleted, kTask, "tmCompleteTime"},
        {"GetProps", mapipim::PidLidReminderSet, kCommon, "bAlarmSet"},
        {"GetProps", mapipim::PidLidReminderTime, kCommon, "tmAlarmTime"},
        {"GetProps", mapipim::PidLidTaskFRecurring, kTask, "bRecurSet"},
        {"GetProps", PR_SENSITIVITY, 0, "nSensitivity"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.szField);
        Trace().Clear();
        PropertyFault fault(c.szMethod, c.ulTag, c.nSet);
        CMAPITodoInfo read;
        EXPECT_TRUE(item.GetInfo(&read, kAll));
        EXPECT_EQ(std::vector<CString>{_T("[MAPI] Get failed : ") + Utf8(c.szField)}, Trace().GetLines());
    }

    // A recurring task whose pattern cannot be read keeps a default one.
    info.bRecurSet = 1;
    info.lprcRecurring = WeeklyPattern();
    ASSERT_TRUE(item.SetInfo(&FolderRecord(), &info));
    Trace().Clear();
    PropertyFault fault("GetProps", mapipim::PidLidTaskRecurrence, kTask);
    CMAPITodoInfo read;
    EXPECT_TRUE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_EQ(std::vector<CString>{_T("[MAPI] Get failed : GetRecurPatternData")}, Trace().GetLines());
    ASSERT_NE(nullptr, read.lprcRecurring);
    EXPECT_EQ(2, read.lprcRecurring->nEndType);
}

TEST_F(TodoItemTest, UnreadableRecordTimesFailTheRead)
{
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    CreateTodoItem(item, info);
    for (ULONG ulTag : {PR_CREATION_TIME, PR_LAST_MODIFICATION_TIME})
    {
        PropertyFault fault("GetProps", ulTag, 0);
        CMAPITodoInfo read;
        EXPECT_FALSE(item.GetInfo(&read, MAPIPIM_TODO_TIMES));
        EXPECT_NE(0, ulTag == PR_CREATION_TIME ? read.tmLMTime.wYear : read.tmCTime.wYear) << "the other is read";
    }
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : tmCTime")));
    EXPECT_TRUE(Traced(_T("[MAPI] Get failed : tmLMTime")));
}

TEST_F(TodoItemTest, EachFieldThatCannotBeWrittenIsTracedAndTheTaskStillSaved)
{
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    info.strAttachFile = _T("kept.txt");
    CreateTodoItem(item, info);
    const struct
    {
        const char* szMethod;
        ULONG ulTag;
        int nSet;
        const char* szLine;
    } cases[] = {
        {"SetProps", PR_SUBJECT_W, 0, "[MAPI] Set failed : Angebot prüfen ✓ 見積もり(strSubject) - Folder:Tasks"},
        {"OpenProperty", PR_BODY_W, 0, "[MAPI] Set failed : Первая строка\r\n두 번째 줄 🚀(strContents) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidTaskOwner, kTask, "[MAPI] Set failed : Zoë Ångström(strOwner) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidTaskStartDate, kTask,
         "[MAPI] Set failed : 2010-02-01 00:00:00(tmStartTime) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidCommonStart, kCommon,
         "[MAPI] Set failed : 2010-02-01 00:00:00(tmStartTime) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidTaskDueDate, kTask,
         "[MAPI] Set failed : 2010-02-05 00:00:00(tmEndTime) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidCommonEnd, kCommon,
         "[MAPI] Set failed : 2010-02-05 00:00:00(tmEndTime) - Folder:Tasks"},
        {"SetProps", PR_IMPORTANCE, 0, "[MAPI] Set failed : 2(nPriority) - Folder:Tasks"},
        {"SetProps", PR_SENSITIVITY, 0, "[MAPI] Set failed : 3(nSensitivity) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidPercentComplete, kTask, "[MAPI] Set failed : 100(dCompleteRate) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidTaskComplete, kTask, "[MAPI] Set failed : 1(TaskComplete) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidTaskDateCompleted, kTask,
         "[MAPI] Set failed : 2010-02-04 16:45:00(tmCompleteTime) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidTaskStatus, kTask, "[MAPI] Set failed : 2(nStatus) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidReminderSet, kCommon, "[MAPI] Set failed : 1(bAlarmSet) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidReminderTime, kCommon,
         "[MAPI] Set failed : 2010-01-29 09:30:00(tmAlarmTime) - Folder:Tasks"},
        {"SetProps", mapipim::PidLidTaskFRecurring, kTask, "[MAPI] Set failed : 0(bRecurSet) - Folder:Tasks"},
        {"SetProps", PR_ICON_INDEX, 0, "[MAPI] Set failed : Icon - Folder:Tasks"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.szLine);
        Trace().Clear();
        PropertyFault fault(c.szMethod, c.ulTag, c.nSet);
        CMAPITodoInfo written = info;
        EXPECT_TRUE(item.SetInfo(&FolderRecord(), &written));
        EXPECT_EQ(std::vector<CString>{Utf8(c.szLine)}, Trace().GetLines());
    }

    // Removals: no dates, not complete, no reminder, no attachments.
    CMAPITodoInfo bare = info;
    bare.tmStartTime = SYSTEMTIME{};
    bare.tmEndTime = SYSTEMTIME{};
    bare.dCompleteRate = 0.0;
    bare.bAlarmSet = 0;
    bare.strAttachFile.Empty();
    const struct
    {
        ULONG ulTag;
        int nSet;
        const char* szLine;
    } removals[] = {
        {mapipim::PidLidTaskStartDate, kTask, "[MAPI] Remove failed : tmStartTime - Folder:Tasks"},
        {mapipim::PidLidCommonEnd, kCommon, "[MAPI] Remove failed : tmEndTime - Folder:Tasks"},
        {mapipim::PidLidTaskDateCompleted, kTask, "[MAPI] Remove failed : tmCompleteTime - Folder:Tasks"},
        {mapipim::PidLidReminderTime, kCommon, "[MAPI] Remove failed : tmAlarmTime - Folder:Tasks"},
    };
    for (const auto& r : removals)
    {
        SCOPED_TRACE(r.szLine);
        Trace().Clear();
        PropertyFault fault("DeleteProps", r.ulTag, r.nSet);
        CMAPITodoInfo written = bare;
        EXPECT_TRUE(item.SetInfo(&FolderRecord(), &written));
        EXPECT_EQ(std::vector<CString>{Utf8(r.szLine)}, Trace().GetLines());
    }

    // A recurring task: the pattern and the dead-occurrence flag.
    CMAPITodoInfo recurring = info;
    recurring.bRecurSet = 1;
    recurring.lprcRecurring = WeeklyPattern();
    for (const auto& c : {std::make_pair(mapipim::PidLidTaskRecurrence, "lprcRecurring"),
                          std::make_pair(mapipim::PidLidTaskDeadOccurrence, "dispidTaskDeadOccur")})
    {
        Trace().Clear();
        PropertyFault fault("SetProps", c.first, kTask);
        EXPECT_TRUE(item.SetInfo(&FolderRecord(), &recurring));
        EXPECT_EQ(std::vector<CString>{_T("[MAPI] Set failed : ") + Utf8(c.second) + _T(" - Folder:Tasks")},
                  Trace().GetLines());
    }
    // ... and no longer recurring, the pattern's removal.
    Trace().Clear();
    {
        PropertyFault fault("DeleteProps", mapipim::PidLidTaskRecurrence, kTask);
        EXPECT_TRUE(item.SetInfo(&FolderRecord(), &info));
    }
    EXPECT_EQ(std::vector<CString>{_T("[MAPI] Remove failed : lprcRecurring - Folder:Tasks")}, Trace().GetLines());

    Trace().Clear();
    {
        mapisvc::Fault keywords;
        keywords.method = "SetProps";
        keywords.narrowToName = true;
        keywords.name.propertySet = PS_PUBLIC_STRINGS;
        keywords.name.kind = MNID_STRING;
        keywords.name.name = u"Keywords";
        ScopedFault fault(keywords);
        EXPECT_TRUE(item.SetInfo(&FolderRecord(), &info));
    }
    EXPECT_EQ(std::vector<CString>{Utf8("[MAPI] Set failed : Arbeit,;仕事(strLabel) - Folder:Tasks")},
              Trace().GetLines());

    Trace().Clear();
    {
        mapisvc::Fault save;
        save.method = "SaveChanges";
        ScopedFault fault(save);
        EXPECT_FALSE(item.SetInfo(&FolderRecord(), &info));
    }
    EXPECT_EQ(std::vector<CString>{_T("[MAPI] Set failed : Save( FALSE ) - Folder:Tasks")}, Trace().GetLines());
}

// ---- Cancellation and bad arguments

TEST_F(TodoItemTest, CancelledReadsAndWritesFailAndNothingIsSaved)
{
    CMAPITodoItem item;
    CMAPITodoInfo info = FullTodo();
    CreateTodoItem(item, info);
    CMAPITodoInfo changed = info;
    changed.strOwner = _T("Changed");
    CMAPIInterface::SetCancel(1);
    EXPECT_FALSE(item.SetInfo(&FolderRecord(), &changed));
    CMAPITodoInfo read;
    EXPECT_FALSE(item.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    CMAPIInterface::SetCancel(0);

    CMAPITodoItem reopened;
    ASSERT_TRUE(reopened.Open(&Session(), *item.GetEntryID()));
    ASSERT_TRUE(reopened.GetInfo(&read, MAPIPIM_TODO_OTHERS));
    EXPECT_EQ(info.strOwner, read.strOwner);
}

TEST_F(TodoItemTest, NullRecordsFail)
{
    CMAPITodoItem item;
    ASSERT_TRUE(item.Create(&Session(), &Folder()));
    CMAPITodoInfo info;
    EXPECT_FALSE(item.GetInfo(nullptr, kAll));
    EXPECT_FALSE(item.SetInfo(nullptr, &info));
    EXPECT_FALSE(item.SetInfo(&FolderRecord(), nullptr));
}
} // namespace
