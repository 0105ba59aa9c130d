// Tasks and sticky notes that other programs wrote (Outlook data file samples, imported into a store of the
// profile), read through GetTodo and GetMemo. Skipped when the samples are not on this machine.
#include "support/DataFileSamples.h"
#include "support/ProcessFlags.h"
#include "support/ScopedEnvironment.h"
#include "support/ServiceFixture.h"

#include <mapipim/mapipim.h>

using namespace datafiletest;

namespace
{
class KindSamplesTest : public ServiceTest
{
protected:
    void TearDown() override
    {
        for (INT_PTR i = 0; i < m_stores.GetSize(); ++i)
            delete m_stores[i];
        m_stores.RemoveAll();
        m_pInterface.reset();
        ServiceTest::TearDown();
    }

    // Imports the sample into the default profile and finds its one folder of the type (a discovery bit); null
    // when the sample is absent.
    COutlookFolder* ImportedFolder(const std::string& name, ULONG ulType)
    {
        const auto file = Sample(name);
        if (!file)
            return nullptr;
        std::u16string profile;
        EXPECT_EQ(mapisvc::EnsureDefaultProfile(&profile), S_OK);
        mapisvc::ImportResult result;
        EXPECT_EQ(mapisvc::ImportDataFile(profile, file->string(), {}, result), S_OK);
        m_pInterface = std::make_unique<CMAPIInterface>();
        const std::string store = name.substr(0, name.find('.'));
        EXPECT_TRUE(m_pInterface->GetStoreFolder(m_stores, ulType, CString::FromUtf8(store.c_str())));
        if (m_stores.GetSize() != 1 || m_stores[0]->arrFolders.GetSize() != 1)
        {
            ADD_FAILURE() << "no single folder of type " << ulType << " in " << name;
            return nullptr;
        }
        return m_stores[0]->arrFolders[0];
    }

    ScopedTz m_utc{"UTC"};
    ProcessFlagsGuard m_flags;
    std::unique_ptr<CMAPIInterface> m_pInterface;
    CArray<COutlookStore*, COutlookStore*> m_stores;
};

template <class T> void DeleteAll(CArray<T*, T*>& records)
{
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
        delete records[i];
    records.RemoveAll();
}

TEST_F(KindSamplesTest, NotesReadWithTheirColoursPositionsAndSizes)
{
    COutlookFolder* pNotes = ImportedFolder("notes_aspose_unicode.pst", 0x100);
    if (!pNotes)
        GTEST_SKIP() << "sample absent";
    CArray<CMAPIMemoInfo*, CMAPIMemoInfo*> notes;
    ASSERT_TRUE(m_pInterface->GetMemo(pNotes, notes, 0x7));
    ASSERT_EQ(3, notes.GetSize());
    const int colours[] = {2, 0, 2};
    for (INT_PTR i = 0; i < notes.GetSize(); ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(CString(_T("Blue color note")), notes[i]->strSubject);
        EXPECT_EQ(CString(_T("This is a blue color note")), notes[i]->strContents);
        EXPECT_EQ(colours[i], notes[i]->nNoteColor);
        EXPECT_EQ(500, notes[i]->nNoteX);
        EXPECT_EQ(300, notes[i]->nNoteY);
        EXPECT_EQ(500, notes[i]->nNoteWidth);
        EXPECT_EQ(500, notes[i]->nNoteHeight);
        EXPECT_EQ(2016, notes[i]->tmCTime.wYear);
    }

    // Written back as read, a note keeps every field.
    ASSERT_TRUE(m_pInterface->ModifyMemo(pNotes, notes[0]));
    CMAPIMemoInfo again;
    CopySBinary(again.sbEntryID, notes[0]->sbEntryID);
    ASSERT_TRUE(m_pInterface->GetMemo(&again, 0x7));
    EXPECT_EQ(notes[0]->strContents, again.strContents);
    EXPECT_EQ(2, again.nNoteColor);
    EXPECT_EQ(500, again.nNoteWidth);
    DeleteAll(notes);
}

TEST_F(KindSamplesTest, AnOutlookTaskReadsCompleteWithItsCompletionDate)
{
    COutlookFolder* pTasks = ImportedFolder("pim_all_types_unicode.pst", 0x80);
    if (!pTasks)
        GTEST_SKIP() << "sample absent";
    CArray<CMAPITodoInfo*, CMAPITodoInfo*> tasks;
    ASSERT_TRUE(m_pInterface->GetTodo(pTasks, tasks, 0x7));
    ASSERT_EQ(1, tasks.GetSize());
    const CMAPITodoInfo& task = *tasks[0];
    EXPECT_EQ(CString(_T("Task")), task.strSubject);
    EXPECT_EQ(CString(_T("Unknown")), task.strOwner);
    EXPECT_EQ(2, task.nStatus);
    EXPECT_EQ(100.0, task.dCompleteRate);
    EXPECT_EQ(1, task.nPriority);
    EXPECT_EQ(0, task.bAlarmSet);
    EXPECT_EQ(0, task.bRecurSet);
    EXPECT_EQ(nullptr, task.lprcRecurring);
    EXPECT_EQ(0, task.tmStartTime.wYear) << "no start date";
    EXPECT_EQ(0, task.tmEndTime.wYear) << "no due date";
    EXPECT_EQ(2021, task.tmCompleteTime.wYear);
    EXPECT_EQ(2, task.tmCompleteTime.wMonth);
    EXPECT_EQ(4, task.tmCompleteTime.wDay);
    EXPECT_EQ(0, task.tmCompleteTime.wHour);
    DeleteAll(tasks);
}
} // namespace
