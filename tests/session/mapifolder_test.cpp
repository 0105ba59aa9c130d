// CMAPIFolder: attaching and detaching, the contents walk in batches (passing over items that cannot be opened
// and telling a failed fetch from the end of the table), sorting and restricting the contents, the sub-folder
// walk, and moving and deleting messages.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/SBinaryUtils.h>

#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/SessionFixture.h"

#include <memory>

namespace
{
class MAPIFolderTest : public SessionTest
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        m_store = AddStore(u"Mailbox");
        ASSERT_TRUE(Session().OpenMessageStore());
        m_inbox.reset(Session().OpenInbox(FALSE));
        ASSERT_TRUE(m_inbox);
    }

    void TearDown() override
    {
        m_inbox.reset();
        SessionTest::TearDown();
    }

    // Creates messages in the Inbox with these subjects; a subject starting with "read" is marked read.
    void AddMessages(const std::vector<std::u16string>& subjects)
    {
        Ref<IMAPIFolder> inbox = OpenInbox(Session().GetMessageStore());
        for (const std::u16string& subject : subjects)
        {
            const bool bRead = subject.compare(0, 4, u"read") == 0;
            m_messages.push_back(
                CreateMessage(inbox.Get(), subject, {LongValue(PR_MESSAGE_FLAGS, bRead ? MSGFLAG_READ : 0)}));
        }
    }

    // The subjects the contents walk hands out, to its end.
    std::vector<std::u16string> WalkSubjects(CMAPIFolder& folder)
    {
        std::vector<std::u16string> subjects;
        CMAPIItem item;
        while (folder.GetNextContents(&item))
        {
            CString strSubject;
            EXPECT_TRUE(item.GetPropertyString(PR_SUBJECT_W, strSubject));
            subjects.push_back(static_cast<LPCWSTR>(strSubject));
        }
        return subjects;
    }

    mapisvc::EntryId m_store;
    std::unique_ptr<CMAPIFolder> m_inbox;
    std::vector<mapisvc::EntryId> m_messages;
};

typedef std::vector<std::u16string> Subjects;
} // namespace

TEST_F(MAPIFolderTest, AttachTakesTheReferenceAndDetachGivesItBack)
{
    const SBinary inboxID = *m_inbox->GetEntryID();
    ASSERT_NE(inboxID.cb, 0u);
    IMAPIFolder* pFolder = m_inbox->Detach();
    ASSERT_NE(pFolder, nullptr);
    EXPECT_EQ(m_inbox->Detach(), nullptr);

    CMAPIFolder named(&Session(), pFolder, _T("My Inbox"));
    EXPECT_EQ(CString(named.GetName()), CString(_T("My Inbox")));
    EXPECT_TRUE(CompareSBinary(*named.GetEntryID(), inboxID));

    // Re-attaching closes first; a null folder leaves the object empty.
    named.Attach(&Session(), NULL, NULL);
    EXPECT_EQ(CString(named.GetName()), CString(_T("")));
    EXPECT_EQ(named.GetEntryID()->cb, 0u);
    EXPECT_EQ(named.GetHierarchy(), nullptr);
    EXPECT_EQ(named.GetContents(), nullptr);
}

TEST_F(MAPIFolderTest, ContentsWalkHandsOutEveryItemThenEndsCleanly)
{
    AddMessages({u"first", u"second", u"third"});
    EXPECT_EQ(m_inbox->GetRowCount(), -1);
    CMAPIItem item;
    EXPECT_FALSE(m_inbox->GetNextContents(&item));
    EXPECT_NE(m_inbox->GetLastFetchResult(), S_OK);

    ASSERT_NE(m_inbox->GetContents(), nullptr);
    EXPECT_EQ(m_inbox->GetRowCount(), 3);
    EXPECT_EQ(m_inbox->GetLastFetchResult(), S_OK);
    EXPECT_FALSE(m_inbox->GetNextContents(NULL));
    EXPECT_EQ(WalkSubjects(*m_inbox), (Subjects{u"first", u"second", u"third"}));
    EXPECT_EQ(m_inbox->GetLastFetchResult(), S_OK);
    // The walk does not start over by itself.
    EXPECT_FALSE(m_inbox->GetNextContents(&item));
}

TEST_F(MAPIFolderTest, FullBatchIsFollowedByAnEmptyFetch)
{
    std::vector<std::u16string> subjects;
    for (int nMessage = 0; nMessage < 512; ++nMessage)
        subjects.push_back(u"m");
    AddMessages(subjects);
    ASSERT_NE(m_inbox->GetContents(), nullptr);
    mapisvc::ClearCallLog();

    EXPECT_EQ(WalkSubjects(*m_inbox).size(), 512u);
    EXPECT_EQ(CallsOf("IMAPITable", "QueryRows").size(), 2u);
    EXPECT_EQ(m_inbox->GetLastFetchResult(), S_OK);
}

TEST_F(MAPIFolderTest, ItemDeletedDuringTheWalkIsPassedOver)
{
    AddMessages({u"one", u"two", u"three", u"four"});
    ASSERT_NE(m_inbox->GetContents(), nullptr);
    CMAPIItem item;
    ASSERT_TRUE(m_inbox->GetNextContents(&item));

    // The batch already holds the row of "two"; its message goes away before the walk reaches it.
    SBinary twoID = AsSBinary(m_messages[1]);
    ASSERT_TRUE(m_inbox->DeleteMessage(&twoID));
    EXPECT_EQ(WalkSubjects(*m_inbox), (Subjects{u"three", u"four"}));
    EXPECT_EQ(m_inbox->GetLastFetchResult(), S_OK);
}

TEST_F(MAPIFolderTest, ItemThatCannotBeOpenedIsPassedOver)
{
    AddMessages({u"one", u"two", u"three", u"four", u"five"});
    ASSERT_NE(m_inbox->GetContents(), nullptr);
    mapisvc::Fault damaged = FailCall("IMAPISession", "OpenEntry", 3);
    damaged.result = MAPI_E_CORRUPT_DATA;
    mapisvc::InjectFault(damaged);

    EXPECT_EQ(WalkSubjects(*m_inbox), (Subjects{u"one", u"two", u"four", u"five"}));
    EXPECT_EQ(m_inbox->GetLastFetchResult(), S_OK);
}

TEST_F(MAPIFolderTest, FailedFetchIsToldFromTheEnd)
{
    AddMessages({u"one", u"two"});
    ASSERT_NE(m_inbox->GetContents(), nullptr);
    mapisvc::Fault fetch = FailCall("IMAPITable", "QueryRows");
    fetch.result = MAPI_E_NETWORK_ERROR;
    const ULONG ulFault = mapisvc::InjectFault(fetch);

    CMAPIItem item;
    EXPECT_FALSE(m_inbox->GetNextContents(&item));
    EXPECT_EQ(m_inbox->GetLastFetchResult(), MAPI_E_NETWORK_ERROR);

    // A new contents table starts a new walk with a clean result.
    mapisvc::RemoveFault(ulFault);
    ASSERT_NE(m_inbox->GetContents(), nullptr);
    EXPECT_EQ(m_inbox->GetLastFetchResult(), S_OK);
    EXPECT_EQ(WalkSubjects(*m_inbox), (Subjects{u"one", u"two"}));
}

TEST_F(MAPIFolderTest, NewContentsTableDropsTheRowsOfTheOldOne)
{
    AddMessages({u"one", u"two", u"three"});
    ASSERT_NE(m_inbox->GetContents(), nullptr);
    CMAPIItem item;
    ASSERT_TRUE(m_inbox->GetNextContents(&item));
    ASSERT_NE(m_inbox->GetContents(), nullptr);
    EXPECT_EQ(WalkSubjects(*m_inbox), (Subjects{u"one", u"two", u"three"}));
}

TEST_F(MAPIFolderTest, SortAndRestrictTheContents)
{
    AddMessages({u"beta", u"read alpha", u"gamma"});
    EXPECT_FALSE(m_inbox->SortContents(TABLE_SORT_ASCEND, PR_SUBJECT_W));
    EXPECT_FALSE(m_inbox->SetUnreadOnly(TRUE));
    EXPECT_FALSE(m_inbox->SetRestriction(NULL));
    ASSERT_NE(m_inbox->GetContents(), nullptr);

    ASSERT_TRUE(m_inbox->SortContents(TABLE_SORT_DESCEND, PR_SUBJECT_W));
    EXPECT_EQ(WalkSubjects(*m_inbox), (Subjects{u"read alpha", u"gamma", u"beta"}));

    ASSERT_TRUE(m_inbox->SetUnreadOnly(TRUE));
    EXPECT_EQ(m_inbox->GetRowCount(), 2);
    ASSERT_TRUE(m_inbox->SortContents(TABLE_SORT_ASCEND, PR_SUBJECT_W));
    EXPECT_EQ(WalkSubjects(*m_inbox), (Subjects{u"beta", u"gamma"}));

    ASSERT_TRUE(m_inbox->SetUnreadOnly(FALSE));
    EXPECT_EQ(m_inbox->GetRowCount(), 3);

    mapisvc::InjectFault(FailCall("IMAPITable", "SortTable"));
    mapisvc::InjectFault(FailCall("IMAPITable", "Restrict"));
    EXPECT_FALSE(m_inbox->SortContents(TABLE_SORT_ASCEND, PR_SUBJECT_W));
    EXPECT_FALSE(m_inbox->SetUnreadOnly(TRUE));
}

TEST_F(MAPIFolderTest, SubFolderWalkNamesEachFolderAndClosesTheLastOne)
{
    mapisvc::EntryId work = AddFolder(m_store, nullptr, u"Work");
    mapisvc::EntryId reports = AddFolder(m_store, &work, u"Reports");
    AddFolder(m_store, &work, u"Plans");
    SBinary storeID = AsSBinary(m_store);
    SBinary workID = AsSBinary(work);
    CMAPIFolder folder;
    ASSERT_TRUE(Session().OpenFolder(storeID, workID, folder));

    CMAPIFolder subFolder;
    CString strName;
    EXPECT_FALSE(folder.GetNextSubFolder(subFolder, strName));
    ASSERT_NE(folder.GetHierarchy(), nullptr);
    ASSERT_TRUE(folder.GetNextSubFolder(subFolder, strName));
    EXPECT_EQ(strName, CString(_T("Reports")));
    EXPECT_EQ(CString(subFolder.GetName()), CString(_T("Reports")));
    EXPECT_EQ(ToEntryId(*subFolder.GetEntryID()), reports);
    ASSERT_TRUE(folder.GetNextSubFolder(subFolder, strName));
    EXPECT_EQ(strName, CString(_T("Plans")));

    EXPECT_FALSE(folder.GetNextSubFolder(subFolder, strName));
    EXPECT_EQ(subFolder.GetEntryID()->cb, 0u);
    EXPECT_EQ(subFolder.GetHierarchy(), nullptr);

    // Neither a folder walking into itself nor a detached one can go on.
    ASSERT_NE(folder.GetHierarchy(), nullptr);
    EXPECT_FALSE(folder.GetNextSubFolder(folder, strName));
    IMAPIFolder* pDetached = folder.Detach();
    EXPECT_FALSE(folder.GetNextSubFolder(subFolder, strName));
    pDetached->Release();
}

TEST_F(MAPIFolderTest, SubFolderThatCannotBeOpenedStillGivesItsName)
{
    AddFolder(m_store, nullptr, u"Projects");
    std::unique_ptr<CMAPIFolder> root(Session().OpenRootFolder(FALSE));
    ASSERT_NE(root->GetHierarchy(), nullptr);
    mapisvc::InjectFault(FailCall("IMAPIFolder", "OpenEntry"));

    CMAPIFolder subFolder;
    CString strName;
    ASSERT_TRUE(root->GetNextSubFolder(subFolder, strName));
    EXPECT_EQ(strName, CString(_T("Inbox")));
    EXPECT_EQ(subFolder.GetEntryID()->cb, 0u);
    EXPECT_EQ(subFolder.GetHierarchy(), nullptr);
}

TEST_F(MAPIFolderTest, AnsiOnlyStoreNamesItsFoldersInEightBitText)
{
    mapisvc::StoreOptions options;
    options.displayName = u"Legacy";
    options.unicode = false;
    options.standardFolders = false;
    mapisvc::EntryId legacy = AddStore(options);
    AddFolder(legacy, nullptr, u"Caf\u00E9");
    SBinary legacyID = AsSBinary(legacy);
    ASSERT_TRUE(Session().OpenMessageStore(legacyID));
    std::unique_ptr<CMAPIFolder> root(Session().OpenRootFolder(FALSE));
    ASSERT_TRUE(root);
    ASSERT_NE(root->GetHierarchy(), nullptr);

    CMAPIFolder subFolder;
    CString strName;
    ASSERT_TRUE(root->GetNextSubFolder(subFolder, strName));
    EXPECT_EQ(strName, CString(_T("Caf\u00E9")));
    std::unique_ptr<CMAPIFolder> found(root->OpenSubFolder(_T("CAF\u00C9")));
    EXPECT_TRUE(found);
}

TEST_F(MAPIFolderTest, MoveAndDeleteSingleMessages)
{
    AddMessages({u"keep", u"move", u"delete"});
    std::unique_ptr<CMAPIFolder> drafts(Session().OpenDrafts(FALSE));
    ASSERT_TRUE(drafts);
    SBinary moveID = AsSBinary(m_messages[1]);
    SBinary deleteID = AsSBinary(m_messages[2]);

    EXPECT_FALSE(m_inbox->MoveMessage(NULL, drafts.get()));
    EXPECT_FALSE(m_inbox->MoveMessage(&moveID, NULL));
    ASSERT_TRUE(m_inbox->MoveMessage(&moveID, drafts.get()));
    ASSERT_TRUE(m_inbox->DeleteMessage(&deleteID));
    EXPECT_FALSE(m_inbox->DeleteMessage(NULL));

    ASSERT_NE(m_inbox->GetContents(), nullptr);
    EXPECT_EQ(WalkSubjects(*m_inbox), Subjects{u"keep"});
    ASSERT_NE(drafts->GetContents(), nullptr);
    EXPECT_EQ(WalkSubjects(*drafts), Subjects{u"move"});

    mapisvc::InjectFault(FailCall("IMAPIFolder", "DeleteMessages"));
    SBinary keepID = AsSBinary(m_messages[0]);
    EXPECT_FALSE(m_inbox->DeleteMessage(&keepID));
}

TEST_F(MAPIFolderTest, HierarchyOfAllLevelsWithTheCallersColumns)
{
    mapisvc::EntryId work = AddFolder(m_store, nullptr, u"Work");
    mapisvc::EntryId reports = AddFolder(m_store, &work, u"Reports");
    mapisvc::EntryId plans = AddFolder(m_store, &work, u"Plans");
    mapisvc::EntryId drafts = AddFolder(m_store, &reports, u"Drafts");
    SBinary storeID = AsSBinary(m_store);
    SBinary workID = AsSBinary(work);
    CMAPIFolder folder;
    ASSERT_TRUE(Session().OpenFolder(storeID, workID, folder));

    SizedSPropTagArray(2, columns) = {2, {PR_ENTRYID, PR_DEPTH}};
    IMAPITable* pTable = folder.GetHierarchy(reinterpret_cast<LPSPropTagArray>(&columns), CONVENIENT_DEPTH);
    ASSERT_NE(pTable, nullptr);
    TableRows rows = ReadRows(pTable, {PR_ENTRYID, PR_DEPTH});
    ASSERT_EQ(rows.size(), 3u);
    const mapisvc::EntryId expected[] = {reports, drafts, plans};
    const LONG depths[] = {1, 2, 1};
    for (size_t nRow = 0; nRow < 3; ++nRow)
    {
        EXPECT_EQ(ToEntryId(rows[nRow].lpProps[0].Value.bin), expected[nRow]);
        EXPECT_EQ(rows[nRow].lpProps[1].Value.l, depths[nRow]);
    }

    // The table replaces the folder's earlier one; without the flag only the direct sub folders come.
    IMAPITable* pDirect = folder.GetHierarchy(reinterpret_cast<LPSPropTagArray>(&columns), 0);
    ASSERT_NE(pDirect, nullptr);
    EXPECT_EQ(ReadRows(pDirect, {PR_ENTRYID, PR_DEPTH}).size(), 2u);

    mapisvc::InjectFault(FailCall("IMAPITable", "SetColumns"));
    EXPECT_EQ(folder.GetHierarchy(reinterpret_cast<LPSPropTagArray>(&columns), 0), nullptr);
}

TEST_F(MAPIFolderTest, OpenSubFolderByEntryIDOpensOnlyFolders)
{
    mapisvc::EntryId work = AddFolder(m_store, nullptr, u"Work");
    AddMessages({u"not a folder"});
    std::unique_ptr<CMAPIFolder> root(Session().OpenRootFolder(FALSE));
    ASSERT_TRUE(root);

    CMAPIFolder subFolder;
    SBinary workID = AsSBinary(work);
    ASSERT_TRUE(root->OpenSubFolder(workID, subFolder));
    EXPECT_EQ(ToEntryId(*subFolder.GetEntryID()), work);
    EXPECT_NE(subFolder.GetHierarchy(), nullptr);

    SBinary messageID = AsSBinary(m_messages[0]);
    EXPECT_FALSE(root->OpenSubFolder(messageID, subFolder));
    EXPECT_FALSE(root->OpenSubFolder(workID, *root));
    EXPECT_NE(root->GetEntryID()->cb, 0u);
    IMAPIFolder* pDetached = root->Detach();
    EXPECT_FALSE(root->OpenSubFolder(workID, subFolder));
    pDetached->Release();
}

TEST_F(MAPIFolderTest, AnItemOfTheWalkTakesItsIdentityFromTheRowAndTheFolder)
{
    AddMessages({u"one", u"two"});
    ASSERT_NE(m_inbox->GetContents(), nullptr);
    ASSERT_NE(m_inbox->GetStoreFacts(), nullptr);
    mapisvc::ClearCallLog();
    CMAPIItem item;
    ASSERT_TRUE(m_inbox->GetNextContents(&item));

    // Only the message is opened: its entry identifier is the row's, its store the folder's.
    EXPECT_TRUE(CallsOf("IMessage", "GetProps").empty());
    EXPECT_EQ(item.GetStoreFacts(), m_inbox->GetStoreFacts());
    const SBinary* pEntryID = item.GetEntryID();
    EXPECT_EQ(mapisvc::EntryId(pEntryID->lpb, pEntryID->lpb + pEntryID->cb), m_messages[0]);
    CMAPIItem opened;
    SBinary entryID = AsSBinary(m_messages[0]);
    ASSERT_TRUE(opened.Open(&Session(), entryID));
    EXPECT_EQ(opened.GetStoreFacts(), item.GetStoreFacts()) << "opened alone, the item finds the same store";
    CString strSubject;
    EXPECT_TRUE(item.GetPropertyString(PR_SUBJECT_W, strSubject));
    EXPECT_EQ(strSubject, CString(u"one"));
}
