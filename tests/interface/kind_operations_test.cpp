// The members of the interface object for appointments, tasks and notes, one typed test over each kind: lists over
// 0, 1 and 1,000 items with their progress messages, cancellation, items that cannot be read, failed fetches,
// creation, modification and deletion both ways, and every trace line of the operations. The mapping of each
// kind's fields is tested with its item class.
#include "interface/HostWindow.h"
#include "interface/KindOperations.h"
#include "support/FolderItemTest.h"

using namespace itemtest;

namespace
{
CString Numbered(const char* szPrefix, int n)
{
    CString strText;
    strText.Format(_T("%s %d"), static_cast<LPCWSTR>(Utf8(szPrefix)), n);
    return strText;
}

template <class Kind> class KindOperationsTest : public FolderItemTest
{
protected:
    typedef typename Kind::Info Info;
    typedef CArray<Info*, Info*> RecordArray;

    KindOperationsTest() : FolderItemTest(Kind::kFolderProperty, Kind::kFolderName) {}

    void SetUp() override
    {
        FolderItemTest::SetUp();
        m_pInterface = std::make_unique<CMAPIInterface>();
        m_pInterface->SetMsgHwnd(m_window.Get());
    }
    void TearDown() override
    {
        DeleteAll();
        m_pInterface.reset();
        FolderItemTest::TearDown();
    }

    CMAPIInterface& Interface() { return *m_pInterface; }

    void DeleteAll()
    {
        for (INT_PTR i = 0; i < m_records.GetSize(); ++i)
            delete m_records[i];
        m_records.RemoveAll();
    }

    // Items titled "Item <n>" written straight into the folder, cheaper than full records.
    void AddItems(int nFirst, int nCount)
    {
        for (int i = nFirst; i < nFirst + nCount; ++i)
        {
            CMAPIItem item;
            ASSERT_TRUE(item.Create(&Session(), &Folder()));
            item.SetPropertyString(PR_MESSAGE_CLASS_W, CString(Kind::kMessageClass));
            item.SetPropertyString(PR_SUBJECT_W, Numbered("Item", i));
            ASSERT_TRUE(item.Save(TRUE));
        }
    }

    // A list with its messages delivered; the records stay in m_records.
    BOOL List(ULONG ulFlags)
    {
        m_window.Clear();
        const BOOL bResult = Kind::List(Interface(), &FolderRecord(), m_records, ulFlags);
        m_window.Pump();
        return bResult;
    }

    // The folder record with its entry identifier spoilt, named strName.
    COutlookFolder GoneFolder(LPCWSTR szName)
    {
        COutlookFolder gone = FolderRecord();
        gone.strName = szName;
        gone.sbEntryID.lpb[gone.sbEntryID.cb - 1] ^= 0xFF;
        return gone;
    }

    CString Line(const char* szText, LPCWSTR szArgument) { return Utf8(szText) + szArgument; }

    HostWindow m_window;
    RecordArray m_records;

private:
    std::unique_ptr<CMAPIInterface> m_pInterface;
};

typedef ::testing::Types<MemoKind, TodoKind, ScheduleKind> Kinds;
TYPED_TEST_SUITE(KindOperationsTest, Kinds);

// ---- Lists

TYPED_TEST(KindOperationsTest, ListsSendOneMessagePerRecordInTableOrderAndPostTheEnd)
{
    CMAPIInterface::SetYield(0);
    int nAdded = 0;
    for (int nSize : {0, 1, 1000})
    {
        SCOPED_TRACE(nSize);
        this->AddItems(nAdded, nSize - nAdded);
        nAdded = nSize;
        ASSERT_TRUE(this->List(TypeParam::kTitleGroup));
        ASSERT_EQ(nSize, this->m_records.GetSize());
        ASSERT_EQ(size_t(nSize), this->m_window.m_records.size());
        for (int i = 0; i < nSize; ++i)
        {
            ASSERT_EQ(this->m_records[i], this->m_window.m_records[i]);
            ASSERT_EQ(&this->FolderRecord(), this->m_window.m_folders[i]);
            ASSERT_EQ(Numbered("Item", i), TypeParam::Title(*this->m_records[i]));
        }
        ASSERT_EQ(std::vector<WPARAM>{WPARAM(nSize)}, this->m_window.m_ends);
    }
}

TYPED_TEST(KindOperationsTest, ListReplacesTheRecordsTheArrayHeld)
{
    this->AddItems(0, 2);
    for (int i = 0; i < 3; ++i)
        this->m_records.Add(new typename TypeParam::Info);
    ASSERT_TRUE(this->List(TypeParam::kTitleGroup));
    ASSERT_EQ(2, this->m_records.GetSize());
    EXPECT_EQ(Utf8("Item 1"), TypeParam::Title(*this->m_records[1]));
}

TYPED_TEST(KindOperationsTest, CancelFromTheHandlerStopsAfterTheCurrentRecord)
{
    CMAPIInterface::SetYield(0);
    this->AddItems(0, 10);
    this->m_window.CancelAfter(3);
    EXPECT_FALSE(this->List(TypeParam::kTitleGroup));
    EXPECT_EQ(3, this->m_records.GetSize());
    EXPECT_TRUE(this->m_window.m_ends.empty());

    // Set before the list, the flag empties the array and reads nothing.
    EXPECT_FALSE(this->List(TypeParam::kTitleGroup));
    EXPECT_EQ(0, this->m_records.GetSize());
    EXPECT_TRUE(this->m_window.m_records.empty());
    EXPECT_TRUE(this->m_window.m_ends.empty());
}

TYPED_TEST(KindOperationsTest, AnItemThatCannotBeOpenedIsSkipped)
{
    CMAPIInterface::SetYield(0);
    this->AddItems(0, 5);
    ScopedFault fault(FailCall("IMAPISession", "OpenEntry", 3));
    ASSERT_TRUE(this->List(TypeParam::kTitleGroup));
    ASSERT_EQ(4, this->m_records.GetSize());
    EXPECT_EQ(Utf8("Item 3"), TypeParam::Title(*this->m_records[2]));
    EXPECT_EQ(std::vector<WPARAM>{4}, this->m_window.m_ends);
}

TYPED_TEST(KindOperationsTest, AFailedFetchKeepsWhatWasReadAndReportsFailure)
{
    CMAPIInterface::SetYield(0);
    this->AddItems(0, 600);
    ScopedFault fault(FailCall("IMAPITable", "QueryRows", 2, MAPI_E_NETWORK_ERROR)); // the second batch of 512
    EXPECT_FALSE(this->List(TypeParam::kTitleGroup));
    EXPECT_EQ(512, this->m_records.GetSize());
    EXPECT_TRUE(this->m_window.m_ends.empty());
    CString strLine;
    strLine.Format(_T("[MAPI] Failed : %s - QueryRows : %s, %d"), static_cast<LPCWSTR>(Utf8(TypeParam::kListName)),
                   static_cast<LPCWSTR>(this->FolderRecord().strName), int(MAPI_E_NETWORK_ERROR));
    EXPECT_TRUE(this->Traced(strLine));
}

TYPED_TEST(KindOperationsTest, ListOfAFolderThatCannotBeOpened)
{
    COutlookFolder gone = this->GoneFolder(_T("Gone"));
    this->m_records.Add(new typename TypeParam::Info);
    EXPECT_FALSE(TypeParam::List(this->Interface(), &gone, this->m_records, 0x7));
    EXPECT_EQ(0, this->m_records.GetSize());
    CString strLine;
    strLine.Format(_T("[MAPI] %s - Open failed a folder : Gone"), static_cast<LPCWSTR>(Utf8(TypeParam::kListName)));
    EXPECT_TRUE(this->Traced(strLine));
    EXPECT_FALSE(TypeParam::List(this->Interface(), nullptr, this->m_records, 0x7));
}

// ---- Single items

TYPED_TEST(KindOperationsTest, CreateReadModifyAndListTheSameItem)
{
    typename TypeParam::Info info;
    TypeParam::SetTitle(info, Utf8("Before ✓"));
    ASSERT_TRUE(TypeParam::Create(this->Interface(), &this->FolderRecord(), &info));
    CString strHex;
    GetSBinaryToString(strHex, info.sbEntryID);
    EXPECT_EQ(strHex, info.strEntryID);
    EXPECT_NE(0, info.tmCTime.wYear);
    EXPECT_NE(0, info.tmLMTime.wYear);

    typename TypeParam::Info read;
    CopySBinary(read.sbEntryID, info.sbEntryID);
    ASSERT_TRUE(TypeParam::Read(this->Interface(), &read, 0x7));
    EXPECT_EQ(Utf8("Before ✓"), TypeParam::Title(read));
    EXPECT_TRUE(SameTime(info.tmCTime, read.tmCTime));

    TypeParam::SetTitle(info, Utf8("After ✓"));
    ASSERT_TRUE(TypeParam::Modify(this->Interface(), &this->FolderRecord(), &info));
    ASSERT_TRUE(this->List(0x7));
    ASSERT_EQ(1, this->m_records.GetSize());
    EXPECT_EQ(Utf8("After ✓"), TypeParam::Title(*this->m_records[0]));
    EXPECT_EQ(info.strEntryID, this->m_records[0]->strEntryID);
}

TYPED_TEST(KindOperationsTest, CreateFailures)
{
    typename TypeParam::Info info;
    EXPECT_FALSE(TypeParam::Create(this->Interface(), nullptr, &info));
    EXPECT_FALSE(TypeParam::Create(this->Interface(), &this->FolderRecord(), nullptr));

    COutlookFolder gone = this->GoneFolder(_T("Gone"));
    EXPECT_FALSE(TypeParam::Create(this->Interface(), &gone, &info));
    EXPECT_TRUE(this->Trace().GetLines().empty());

    mapisvc::Fault fault;
    fault.method = "CreateMessage";
    ScopedFault failing(fault);
    EXPECT_FALSE(TypeParam::Create(this->Interface(), &this->FolderRecord(), &info));
    EXPECT_TRUE(this->Traced(this->Line(TypeParam::kCreateFailed, this->FolderRecord().strName)));
}

TYPED_TEST(KindOperationsTest, DeleteRemovesOrMovesToDeletedItems)
{
    std::unique_ptr<CMAPIFolder> pDeleted(this->Session().OpenDeletedItems(FALSE));
    ASSERT_NE(nullptr, pDeleted);
    COutlookFolder deletedItems = this->RecordOf(*pDeleted, _T("Deleted Items"));
    typename TypeParam::Info moved, removed;
    TypeParam::SetTitle(moved, _T("Moved"));
    TypeParam::SetTitle(removed, _T("Removed"));
    ASSERT_TRUE(TypeParam::Create(this->Interface(), &this->FolderRecord(), &moved));
    ASSERT_TRUE(TypeParam::Create(this->Interface(), &this->FolderRecord(), &removed));
    ASSERT_EQ(2, this->Interface().GetRowCount(&this->FolderRecord()));

    EXPECT_TRUE(TypeParam::Delete(this->Interface(), &this->FolderRecord(), &moved, 1));
    EXPECT_EQ(1, this->Interface().GetRowCount(&this->FolderRecord()));
    EXPECT_EQ(1, this->Interface().GetRowCount(&deletedItems));
    EXPECT_TRUE(TypeParam::Delete(this->Interface(), &this->FolderRecord(), &removed, 0));
    EXPECT_EQ(0, this->Interface().GetRowCount(&this->FolderRecord()));
    EXPECT_EQ(1, this->Interface().GetRowCount(&deletedItems));

    // Reading a removed item fails and names it.
    typename TypeParam::Info gone;
    CopySBinary(gone.sbEntryID, removed.sbEntryID);
    gone.strEntryID = removed.strEntryID;
    EXPECT_FALSE(TypeParam::Read(this->Interface(), &gone, 0x1));
    CString strLine;
    strLine.Format(_T("[MAPI] %s - Open failed a %s : %s"), static_cast<LPCWSTR>(Utf8(TypeParam::kListName)),
                   static_cast<LPCWSTR>(Utf8(TypeParam::kItemName)), static_cast<LPCWSTR>(removed.strEntryID));
    EXPECT_TRUE(this->Traced(strLine));

    EXPECT_FALSE(TypeParam::Delete(this->Interface(), nullptr, &moved, 0));
    EXPECT_FALSE(TypeParam::Delete(this->Interface(), &this->FolderRecord(), nullptr, 0));
}

TYPED_TEST(KindOperationsTest, NullAndUnknownRecordsFail)
{
    EXPECT_FALSE(TypeParam::Read(this->Interface(), nullptr, 0x7));
    EXPECT_FALSE(TypeParam::Modify(this->Interface(), nullptr, nullptr));
    typename TypeParam::Info unknown;
    EXPECT_FALSE(TypeParam::Modify(this->Interface(), &this->FolderRecord(), &unknown));
}
} // namespace
