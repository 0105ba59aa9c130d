// FolderRow: a hierarchy row read as a folder, from its columns where they are whole, and from the folder itself
// where the row may have cut a string short, could not carry it, or could not count the folder's items.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>

#include "interface/FolderRow.h"
#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/SessionFixture.h"

#include <memory>

using mapipim::FolderRow;

namespace
{
// The row's columns in the order a test lays them out.
enum Column
{
    nEntryID,
    nDisplayName,
    nContainerClass,
    nDepth,
    nSubFolders,
    nContentCount,
    nColumns
};

class FolderRowTest : public SessionTest
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        m_store = AddStore(u"Mailbox");
        m_longName = std::u16string(300, u'n');
        m_folder = AddFolder(m_store, nullptr, m_longName, u"IPF.Contact");
        ASSERT_TRUE(Session().OpenMessageStore());
        m_root.reset(Session().OpenRootFolder(FALSE));
        ASSERT_TRUE(m_root);
        {
            MapiInit init;
            Ref<IMAPISession> session = Logon();
            Ref<IMsgStore> store = OpenStore(session.Get(), m_store);
            Ref<IMAPIFolder> folder = OpenFolder(store.Get(), m_folder);
            m_message = CreateMessage(folder.Get(), u"one");
            CreateMessage(folder.Get(), u"two");
        }
        m_entryID = AsSBinary(m_folder);
        m_values[nEntryID].ulPropTag = PR_ENTRYID;
        m_values[nEntryID].Value.bin = m_entryID;
        SetString(nDisplayName, PR_DISPLAY_NAME_W, m_longName.substr(0, 100));
        SetString(nContainerClass, PR_CONTAINER_CLASS_W, u"IPF.Contact");
        SetLong(nDepth, PR_DEPTH, 3);
        m_values[nSubFolders].ulPropTag = PR_SUBFOLDERS;
        m_values[nSubFolders].Value.b = FALSE;
        SetLong(nContentCount, PR_CONTENT_COUNT, 7);
        m_row.cValues = nColumns;
        m_row.lpProps = m_values;
        mapisvc::ClearCallLog();
    }

    void TearDown() override
    {
        m_root.reset();
        SessionTest::TearDown();
    }

    void SetString(Column nColumn, ULONG ulPropTag, const std::u16string& text)
    {
        m_strings[nColumn] = CString(text.c_str());
        m_values[nColumn].ulPropTag = ulPropTag;
        m_values[nColumn].Value.lpszW = const_cast<LPWSTR>(static_cast<LPCWSTR>(m_strings[nColumn]));
    }

    void SetLong(Column nColumn, ULONG ulPropTag, LONG nValue)
    {
        m_values[nColumn].ulPropTag = ulPropTag;
        m_values[nColumn].Value.l = nValue;
    }

    void SetError(Column nColumn, ULONG ulPropTag, HRESULT hr)
    {
        m_values[nColumn].ulPropTag = PROP_TAG(PT_ERROR, PROP_ID(ulPropTag));
        m_values[nColumn].Value.err = hr;
    }

    size_t FoldersOpened() { return CallsOf("IMAPIFolder", "OpenEntry").size(); }

    mapisvc::EntryId m_store, m_folder, m_message;
    std::u16string m_longName;
    std::unique_ptr<CMAPIFolder> m_root;
    SBinary m_entryID = {};
    CString m_strings[nColumns];
    SPropValue m_values[nColumns] = {};
    SRow m_row = {};
};
} // namespace

TEST_F(FolderRowTest, WholeColumnsAreTakenWithoutOpeningTheFolder)
{
    FolderRow row(*m_root, m_row);
    ASSERT_NE(row.EntryID(), nullptr);
    EXPECT_EQ(ToEntryId(*row.EntryID()), m_folder);
    EXPECT_EQ(row.Name(), CString(m_longName.substr(0, 100).c_str()));
    EXPECT_EQ(row.ContainerClass(), CString(_T("IPF.Contact")));
    EXPECT_EQ(row.Depth(), 3);
    EXPECT_FALSE(row.HasSubFolders());
    // The row's count is taken as it stands, though the folder holds two items.
    EXPECT_EQ(row.Count(), 7);
    EXPECT_EQ(FoldersOpened(), 0u);
}

TEST_F(FolderRowTest, AStringCutAtTheTablesLimitIsReadFromTheFolder)
{
    SetString(nDisplayName, PR_DISPLAY_NAME_W, m_longName.substr(0, 255));
    FolderRow row(*m_root, m_row);
    EXPECT_EQ(row.Name(), CString(m_longName.c_str()));
    EXPECT_EQ(FoldersOpened(), 1u);
    // The folder is opened once for everything the row lacks.
    SetError(nContainerClass, PR_CONTAINER_CLASS_W, MAPI_E_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(row.ContainerClass(), CString(_T("IPF.Contact")));
    EXPECT_EQ(FoldersOpened(), 1u);
}

TEST_F(FolderRowTest, AValueTooLargeForTheRowIsReadFromTheFolder)
{
    SetError(nDisplayName, PR_DISPLAY_NAME_W, MAPI_E_NOT_ENOUGH_MEMORY);
    FolderRow row(*m_root, m_row);
    EXPECT_EQ(row.Name(), CString(m_longName.c_str()));
}

TEST_F(FolderRowTest, AValueTheFolderLacksIsNoReasonToOpenIt)
{
    SetError(nContainerClass, PR_CONTAINER_CLASS_W, MAPI_E_NOT_FOUND);
    SetString(nDisplayName, PR_DISPLAY_NAME_W, m_longName.substr(0, 254));
    FolderRow row(*m_root, m_row);
    EXPECT_EQ(row.ContainerClass(), CString());
    EXPECT_EQ(row.Name().GetLength(), 254);
    EXPECT_EQ(FoldersOpened(), 0u);
}

TEST_F(FolderRowTest, ACountTheRowLacksComesFromTheContentsTable)
{
    SetError(nContentCount, PR_CONTENT_COUNT, MAPI_E_NOT_FOUND);
    FolderRow row(*m_root, m_row);
    EXPECT_EQ(row.Count(), 2);
    EXPECT_EQ(CallsOf("IMAPIFolder", "GetContentsTable").size(), 1u);
}

TEST_F(FolderRowTest, AShortRowLooksIntoTheFolder)
{
    m_row.cValues = 1;
    FolderRow row(*m_root, m_row);
    EXPECT_EQ(row.Depth(), 0);
    EXPECT_TRUE(row.HasSubFolders());
    EXPECT_EQ(row.Name(), CString());
    EXPECT_EQ(row.Count(), 2);
    ASSERT_NE(row.Folder(), nullptr);
    EXPECT_EQ(ToEntryId(*row.Folder()->GetEntryID()), m_folder);
}

TEST_F(FolderRowTest, ARowWithoutAFolderGivesWhatItHolds)
{
    SetError(nEntryID, PR_ENTRYID, MAPI_E_NOT_FOUND);
    SetError(nDisplayName, PR_DISPLAY_NAME_W, MAPI_E_NOT_ENOUGH_MEMORY);
    SetError(nContentCount, PR_CONTENT_COUNT, MAPI_E_NOT_FOUND);
    FolderRow row(*m_root, m_row);
    EXPECT_EQ(row.EntryID(), nullptr);
    EXPECT_EQ(row.Folder(), nullptr);
    EXPECT_EQ(row.Name(), CString());
    EXPECT_EQ(row.Count(), 0);

    // An identifier that names a message opens no folder either.
    SBinary messageID = AsSBinary(m_message);
    m_values[nEntryID].ulPropTag = PR_ENTRYID;
    m_values[nEntryID].Value.bin = messageID;
    FolderRow message(*m_root, m_row);
    EXPECT_EQ(message.Folder(), nullptr);
    EXPECT_EQ(message.Count(), 0);
}

TEST_F(FolderRowTest, ColumnsAreFoundByTheirPropertyInAnyOrder)
{
    std::swap(m_values[nEntryID], m_values[nContentCount]);
    std::swap(m_values[nDisplayName], m_values[nDepth]);
    FolderRow row(*m_root, m_row);
    ASSERT_NE(row.EntryID(), nullptr);
    EXPECT_EQ(ToEntryId(*row.EntryID()), m_folder);
    EXPECT_EQ(row.Depth(), 3);
    EXPECT_EQ(row.Count(), 7);
    EXPECT_EQ(row.Name().GetLength(), 100);
}

TEST_F(FolderRowTest, ColumnsAskOnlyForWhatTheWalkNeeds)
{
    const std::vector<ULONG> common = {PR_ENTRYID, PR_DISPLAY_NAME_W, PR_CONTAINER_CLASS_W, PR_DEPTH};
    auto tagsOf = [](FolderRow::Columns& columns)
    { return std::vector<ULONG>(columns.Get()->aulPropTag, columns.Get()->aulPropTag + columns.Get()->cValues); };

    FolderRow::Columns allLevels(*m_root, true, false);
    EXPECT_EQ(tagsOf(allLevels), common);
    FolderRow::Columns oneLevelCounted(*m_root, false, true);
    std::vector<ULONG> expected = common;
    expected.push_back(PR_SUBFOLDERS);
    expected.push_back(PR_CONTENT_COUNT);
    EXPECT_EQ(tagsOf(oneLevelCounted), expected);

    // A store without Unicode strings is asked for 8-bit ones.
    mapisvc::StoreOptions options;
    options.displayName = u"Legacy";
    options.unicode = false;
    const mapisvc::EntryId legacy = AddStore(options);
    SBinary legacyID = AsSBinary(legacy);
    ASSERT_TRUE(Session().OpenMessageStore(legacyID));
    std::unique_ptr<CMAPIFolder> legacyRoot(Session().OpenRootFolder(FALSE));
    ASSERT_TRUE(legacyRoot);
    FolderRow::Columns ansi(*legacyRoot, true, false);
    EXPECT_EQ(tagsOf(ansi), (std::vector<ULONG>{PR_ENTRYID, PR_DISPLAY_NAME_A, PR_CONTAINER_CLASS_A, PR_DEPTH}));
}
