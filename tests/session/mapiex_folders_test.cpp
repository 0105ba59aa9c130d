// CMAPIEx's folder openers (by store property, Inbox property, receive folder, name and entry identifiers), the
// session's current folder, and the members that forward to it.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>

#include "support/AfxPrinters.h"
#include "support/SessionFixture.h"

#include <memory>

namespace
{
class MAPIExFoldersTest : public SessionTest
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        m_store = AddStore(u"Mailbox");
    }

    static std::u16string NameOf(CMAPIFolder* pFolder)
    {
        CString strName;
        if (!pFolder || !pFolder->GetPropertyString(PR_DISPLAY_NAME_W, strName))
            return u"(none)";
        return std::u16string(static_cast<LPCWSTR>(strName));
    }

    static std::u16string ClassOf(CMAPIFolder* pFolder)
    {
        CString strClass;
        if (!pFolder || !pFolder->GetPropertyString(PR_CONTAINER_CLASS_W, strClass))
            return u"(none)";
        return std::u16string(static_cast<LPCWSTR>(strClass));
    }

    mapisvc::EntryId m_store;
};

typedef CMAPIFolder* (CMAPIEx::*RoleOpener)(int);

struct Role
{
    RoleOpener opener;
    const char16_t* szName;
};
} // namespace

TEST_F(MAPIExFoldersTest, EveryRoleOpensItsFolder)
{
    const Role roles[] = {{&CMAPIEx::OpenRootFolder, u"Top of Personal Folders"},
                          {&CMAPIEx::OpenInbox, u"Inbox"},
                          {&CMAPIEx::OpenOutbox, u"Outbox"},
                          {&CMAPIEx::OpenSentItems, u"Sent Items"},
                          {&CMAPIEx::OpenDeletedItems, u"Deleted Items"},
                          {&CMAPIEx::OpenContacts, u"Contacts"},
                          {&CMAPIEx::OpenDrafts, u"Drafts"},
                          {&CMAPIEx::OpenCalendar, u"Calendar"}};
    ASSERT_TRUE(Session().OpenMessageStore());
    for (const Role& role : roles)
    {
        std::unique_ptr<CMAPIFolder> folder((Session().*role.opener)(FALSE));
        ASSERT_TRUE(folder) << std::string(role.szName, role.szName + std::char_traits<char16_t>::length(role.szName));
        EXPECT_EQ(NameOf(folder.get()), role.szName);
        EXPECT_EQ(CString(folder->GetName()), CString(_T("")));
        EXPECT_NE(folder->GetEntryID()->cb, 0u);
        EXPECT_EQ(Session().GetFolder(), nullptr);
    }
}

TEST_F(MAPIExFoldersTest, WithoutStoreOrCurrentFolderNothingOpens)
{
    CMAPIEx& mapi = Session();
    EXPECT_EQ(mapi.OpenRootFolder(TRUE), nullptr);
    EXPECT_EQ(mapi.OpenInbox(TRUE), nullptr);
    EXPECT_EQ(mapi.OpenContacts(TRUE), nullptr);
    EXPECT_EQ(mapi.OpenFolder(_T("Inbox"), FALSE), nullptr);
    CMAPIFolder folder;
    EXPECT_FALSE(mapi.OpenFolder(PR_IPM_SUBTREE_ENTRYID, folder));

    CString strName;
    EXPECT_EQ(mapi.GetHierarchy(), nullptr);
    EXPECT_EQ(mapi.GetContents(), nullptr);
    EXPECT_EQ(mapi.GetRowCount(), 0);
    EXPECT_FALSE(mapi.SortContents(TABLE_SORT_ASCEND, PR_SUBJECT_W));
    EXPECT_FALSE(mapi.SetUnreadOnly(TRUE));
    EXPECT_FALSE(mapi.SetRestriction(NULL));
    EXPECT_FALSE(mapi.GetNextSubFolder(folder, strName));
}

TEST_F(MAPIExFoldersTest, CurrentFolderIsReplacedAndForwardedTo)
{
    ASSERT_TRUE(Session().OpenMessageStore());
    CMAPIFolder* pInbox = Session().OpenInbox(TRUE);
    ASSERT_NE(pInbox, nullptr);
    EXPECT_EQ(Session().GetFolder(), pInbox);
    EXPECT_EQ(Session().GetRowCount(), -1);
    ASSERT_NE(Session().GetContents(), nullptr);
    EXPECT_EQ(Session().GetRowCount(), 0);

    const LONG nObjects = mapisvc::GetLiveObjectCount();
    CMAPIFolder* pRoot = Session().OpenRootFolder(TRUE);
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(Session().GetFolder(), pRoot);
    // The Inbox object and its contents table went with it; the root folder came instead.
    EXPECT_EQ(mapisvc::GetLiveObjectCount(), nObjects - 1);

    ASSERT_NE(Session().GetHierarchy(), nullptr);
    CMAPIFolder subFolder;
    CString strName;
    ASSERT_TRUE(Session().GetNextSubFolder(subFolder, strName));
    EXPECT_EQ(strName, CString(_T("Inbox")));
}

TEST_F(MAPIExFoldersTest, OpenByNameIgnoresCaseAndSearchesDepthFirst)
{
    mapisvc::EntryId first = AddFolder(m_store, nullptr, u"Alpha");
    mapisvc::EntryId deep = AddFolder(m_store, &first, u"Deeper");
    AddFolder(m_store, &deep, u"Target", u"IPF.Task");
    AddFolder(m_store, nullptr, u"TARGET", u"IPF.Contact");
    ASSERT_TRUE(Session().OpenMessageStore());

    std::unique_ptr<CMAPIFolder> inbox(Session().OpenFolder(_T("inbox"), FALSE));
    EXPECT_EQ(NameOf(inbox.get()), u"Inbox");
    std::unique_ptr<CMAPIFolder> target(Session().OpenFolder(_T("target"), FALSE));
    EXPECT_EQ(ClassOf(target.get()), u"IPF.Task");
    EXPECT_EQ(CString(target->GetName()), CString(_T("")));
    EXPECT_EQ(Session().OpenFolder(_T("Targe"), FALSE), nullptr);
    EXPECT_EQ(Session().OpenFolder(static_cast<LPCWSTR>(NULL), FALSE), nullptr);
}

TEST_F(MAPIExFoldersTest, OpenByNameAsCurrentReplacesTheCurrentFolderEvenWhenNothingMatches)
{
    ASSERT_TRUE(Session().OpenMessageStore());
    CMAPIFolder* pDrafts = Session().OpenFolder(_T("drafts"), TRUE);
    ASSERT_NE(pDrafts, nullptr);
    EXPECT_EQ(Session().GetFolder(), pDrafts);

    EXPECT_EQ(Session().OpenFolder(_T("Nowhere"), TRUE), nullptr);
    EXPECT_EQ(Session().GetFolder(), nullptr);
}

TEST_F(MAPIExFoldersTest, OpenIntoAGivenFolderObject)
{
    ASSERT_TRUE(Session().OpenMessageStore());
    CMAPIFolder folder;
    ASSERT_TRUE(Session().OpenFolder(PR_IPM_SENTMAIL_ENTRYID, folder));
    EXPECT_EQ(NameOf(&folder), u"Sent Items");
    // A property the store does not hold opens nothing and leaves the object as it was.
    EXPECT_FALSE(Session().OpenFolder(PR_IPM_APPOINTMENT_ENTRYID, folder));
    EXPECT_EQ(NameOf(&folder), u"Sent Items");
}

TEST_F(MAPIExFoldersTest, OpenByStoreAndFolderIdentifiers)
{
    mapisvc::StoreOptions bare;
    bare.displayName = u"Personal Archive";
    bare.standardFolders = false;
    mapisvc::EntryId archive = AddStore(bare);
    mapisvc::EntryId projects = AddFolder(archive, nullptr, u"Projects");
    SBinary storeID = AsSBinary(archive);
    SBinary folderID = AsSBinary(projects);

    CMAPIFolder folder;
    ASSERT_TRUE(Session().OpenFolder(storeID, folderID, folder));
    EXPECT_EQ(NameOf(&folder), u"Projects");
    EXPECT_EQ(GetString(Session().GetMessageStore(), PR_DISPLAY_NAME_W), u"Personal Archive");

    BYTE bogus[] = {0x00, 0x01};
    SBinary bogusID = {sizeof(bogus), bogus};
    CMAPIFolder other;
    EXPECT_FALSE(Session().OpenFolder(storeID, bogusID, other));
    EXPECT_FALSE(Session().OpenFolder(bogusID, folderID, other));
}

TEST_F(MAPIExFoldersTest, MessageIdentifierIsNoFolder)
{
    ASSERT_TRUE(Session().OpenMessageStore());
    Ref<IMAPIFolder> inbox = OpenInbox(Session().GetMessageStore());
    mapisvc::EntryId message = CreateMessage(inbox.Get(), u"Not a folder");
    inbox.Reset();
    SBinary storeID = AsSBinary(m_store);
    SBinary messageID = AsSBinary(message);
    CMAPIFolder folder;
    EXPECT_FALSE(Session().OpenFolder(storeID, messageID, folder));
    EXPECT_EQ(folder.GetEntryID()->cb, 0u);
}

TEST_F(MAPIExFoldersTest, RoleFoldersOfAStoreWithoutStandardFolders)
{
    mapisvc::StoreOptions bare;
    bare.displayName = u"Bare";
    bare.standardFolders = false;
    mapisvc::EntryId bareStore = AddStore(bare);
    SBinary bareID = AsSBinary(bareStore);
    ASSERT_TRUE(Session().OpenMessageStore(bareID));

    std::unique_ptr<CMAPIFolder> root(Session().OpenRootFolder(FALSE));
    EXPECT_TRUE(root);
    EXPECT_EQ(Session().OpenOutbox(FALSE), nullptr);
    EXPECT_EQ(Session().OpenInbox(FALSE), nullptr);
    EXPECT_EQ(Session().OpenCalendar(FALSE), nullptr);
}

TEST_F(MAPIExFoldersTest, FailingReadsOpenNothing)
{
    ASSERT_TRUE(Session().OpenMessageStore());
    mapisvc::Fault receiveFolder;
    receiveFolder.interfaceName = "IMsgStore";
    receiveFolder.method = "GetReceiveFolder";
    const ULONG ulReceiveFault = mapisvc::InjectFault(receiveFolder);
    EXPECT_EQ(Session().OpenInbox(FALSE), nullptr);
    EXPECT_EQ(Session().OpenDrafts(FALSE), nullptr);
    mapisvc::RemoveFault(ulReceiveFault);

    mapisvc::Fault inboxProperty;
    inboxProperty.interfaceName = "IMAPIFolder";
    inboxProperty.method = "GetProps";
    inboxProperty.propTag = PR_IPM_CONTACT_ENTRYID;
    mapisvc::InjectFault(inboxProperty);
    EXPECT_EQ(Session().OpenContacts(TRUE), nullptr);
    std::unique_ptr<CMAPIFolder> calendar(Session().OpenCalendar(FALSE));
    EXPECT_EQ(NameOf(calendar.get()), u"Calendar");

    mapisvc::Fault openEntry;
    openEntry.interfaceName = "IMsgStore";
    openEntry.method = "OpenEntry";
    mapisvc::InjectFault(openEntry);
    EXPECT_EQ(Session().OpenSentItems(FALSE), nullptr);
}
