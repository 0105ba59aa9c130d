// Store and folder discovery of CMAPIInterface against a profile of several stores: which stores are listed, which
// folders are taken under each mask, in which order and with which depth, type, parent, store and count; the
// progress messages to the host's window; cancellation from the window; and the trace lines of failures.
#include <mapipim/MAPIInterface.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/SBinaryUtils.h>

#include "platform/trace/TraceCapture.h"
#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/SessionFixture.h"

#include <atomic>
#include <deque>
#include <map>
#include <memory>

namespace
{
typedef CArray<COutlookStore*, COutlookStore*> StoreArray;

// Reaches the session object inside the interface.
struct Interface : CMAPIInterface
{
    using CMAPIInterface::GetStoreSubFolder;
    using CMAPIInterface::m_MAPI;
};

// What discovery should give for one folder.
struct ExpectedFolder
{
    std::u16string name;
    int nDepth;
    int nType;
    const mapisvc::EntryId* pParent;
    int nCount = 0;
    const mapisvc::EntryId* pEntryID = nullptr; // checked when given
};

// The messages a host's window received, in order.
struct Message
{
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

struct Window
{
    std::vector<Message> received;
    size_t nCancelAtFolder = 0; // sets the cancel flag while handling this folder message (1-based); 0: never
    size_t nFolders = 0;
};

LRESULT CALLBACK RecordProgress(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Only the progress messages: a window is also told of its own end.
    if (msg != WM_MAPI_GET_STOREINFO && msg != WM_MAPI_GET_FOLDERINFO)
        return 0;
    Window* pWindow = static_cast<Window*>(GetWindowContext(hWnd));
    pWindow->received.push_back(Message{msg, wParam, lParam});
    if (msg == WM_MAPI_GET_FOLDERINFO && ++pWindow->nFolders == pWindow->nCancelAtFolder)
        CMAPIInterface::SetCancel(TRUE);
    return 0;
}

class DiscoveryTest : public SessionTest
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        CMAPIInterface::SetYield(0);
        BuildMailbox();
        BuildArchive();
        BuildLegacy();

        mapisvc::StoreOptions offline;
        offline.displayName = u"Offline";
        offline.state = 0;
        offline.standardFolders = false;
        AddStore(offline);
        mapisvc::StoreOptions nameless;
        nameless.displayName = u"";
        nameless.standardFolders = false;
        m_nameless = AddStore(nameless);

        m_interface.reset(new Interface);
    }

    void TearDown() override
    {
        DeleteStores();
        m_interface.reset();
        SessionTest::TearDown();
    }

    // Mailbox: the standard folders, some with sub folders, and folders of its own, named alike at several depths.
    void BuildMailbox()
    {
        m_mailbox = AddStore(u"Mailbox");
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenStore(session.Get(), m_mailbox);
        Ref<IMAPIFolder> inbox = OpenInbox(store.Get());
        m_mailboxRoot = GetBinary(store.Get(), PR_IPM_SUBTREE_ENTRYID);
        m_inbox = EntryIdOf(inbox.Get());
        m_calendar = GetBinary(inbox.Get(), PR_IPM_APPOINTMENT_ENTRYID);
        m_contacts = GetBinary(inbox.Get(), PR_IPM_CONTACT_ENTRYID);
        CreateMessage(inbox.Get(), u"first");
        CreateMessage(inbox.Get(), u"second");

        m_projects = AddFolder(m_mailbox, &m_inbox, u"Projects");
        m_projectsArchive = AddFolder(m_mailbox, &m_projects, u"Archive");
        m_meetings = AddFolder(m_mailbox, &m_inbox, u"Meetings", u"IPF.Appointment");
        m_holidays = AddFolder(m_mailbox, &m_calendar, u"Holidays", u"IPF.Appointment");
        m_family = AddFolder(m_mailbox, &m_contacts, u"Family", u"IPF.Contact");
        m_archive = AddFolder(m_mailbox, nullptr, u"Archive");
        m_2009 = AddFolder(m_mailbox, &m_archive, u"2009");
        AddFolder(m_mailbox, &m_2009, u"Archive");
        m_customers = AddFolder(m_mailbox, nullptr, u"Customers", u"IPF.Contact");
        AddFolder(m_mailbox, &m_customers, u"Inbox");
        AddFolder(m_mailbox, nullptr, u"Plain", u"");

        Ref<IMAPIFolder> projects = OpenFolder(store.Get(), m_projects);
        CreateMessage(projects.Get(), u"plan");
    }

    // Personal Archive: no standard folders, so no default folders either.
    void BuildArchive()
    {
        mapisvc::StoreOptions options;
        options.displayName = u"Personal Archive";
        options.standardFolders = false;
        m_personal = AddStore(options);
        m_personalArchive = AddFolder(m_personal, nullptr, u"Archive");
        AddFolder(m_personal, &m_personalArchive, u"Archive", u"IPF.Task");
        AddFolder(m_personal, nullptr, u"Chores", u"IPF.Task");
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenStore(session.Get(), m_personal);
        m_personalRoot = GetBinary(store.Get(), PR_IPM_SUBTREE_ENTRYID);
    }

    // Legacy: an ANSI-only store with the standard folders and one of its own.
    void BuildLegacy()
    {
        m_legacy = AddAnsiStore(u"Legacy");
        AddFolder(m_legacy, nullptr, u"Caf\u00E9");
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenStore(session.Get(), m_legacy);
        m_legacyRoot = GetBinary(store.Get(), PR_IPM_SUBTREE_ENTRYID);
    }

    std::vector<ExpectedFolder> MailboxFolders(bool bCounts)
    {
        const int nInboxCount = bCounts ? 2 : 0;
        const int nProjectsCount = bCounts ? 1 : 0;
        return {{u"Inbox", 1, 0x1, &m_mailboxRoot, nInboxCount},
                {u"Projects", 2, 0x1, &m_inbox, nProjectsCount},
                {u"Archive", 3, 0x1, &m_projects},
                {u"Meetings", 2, 0x1, &m_inbox},
                {u"Outbox", 1, 0x2, &m_mailboxRoot},
                {u"Sent Items", 1, 0x4, &m_mailboxRoot},
                {u"Deleted Items", 1, 0x10, &m_mailboxRoot},
                {u"Drafts", 1, 0x8, &m_mailboxRoot},
                {u"Calendar", 1, 0x40, &m_mailboxRoot},
                {u"Holidays", 2, 0x40, &m_calendar},
                {u"Contacts", 1, 0x20, &m_mailboxRoot},
                {u"Family", 2, 0x20, &m_contacts},
                {u"Tasks", 1, 0x80, &m_mailboxRoot},
                {u"Notes", 1, 0x100, &m_mailboxRoot},
                {u"Journal", 1, 0x200, &m_mailboxRoot},
                {u"Archive", 1, 0, &m_mailboxRoot},
                {u"2009", 2, 0, &m_archive},
                {u"Archive", 3, 0, &m_2009},
                {u"Customers", 1, 0x20, &m_mailboxRoot},
                {u"Inbox", 2, 0x20, &m_customers},
                {u"Plain", 1, 0, &m_mailboxRoot}};
    }

    std::vector<ExpectedFolder> PersonalFolders()
    {
        return {{u"Archive", 1, 0, &m_personalRoot},
                {u"Archive", 2, 0, &m_personalArchive},
                {u"Chores", 1, 0x80, &m_personalRoot}};
    }

    std::vector<ExpectedFolder> LegacyFolders()
    {
        return {{u"Inbox", 1, 0x1, &m_legacyRoot},      {u"Outbox", 1, 0x2, &m_legacyRoot},
                {u"Sent Items", 1, 0x4, &m_legacyRoot}, {u"Deleted Items", 1, 0x10, &m_legacyRoot},
                {u"Drafts", 1, 0x8, &m_legacyRoot},     {u"Calendar", 1, 0x40, &m_legacyRoot},
                {u"Contacts", 1, 0x20, &m_legacyRoot},  {u"Tasks", 1, 0x80, &m_legacyRoot},
                {u"Notes", 1, 0x100, &m_legacyRoot},    {u"Journal", 1, 0x200, &m_legacyRoot},
                {u"Caf\u00E9", 1, 0, &m_legacyRoot}};
    }

    // A folder of a tree a test builds.
    struct TreeFolder
    {
        std::u16string name;
        std::vector<TreeFolder> children;
    };

    // Adds the tree below parent level by level (every folder of one depth before any of the next, so that only
    // the walk can put them into depth-first order); returns what discovery should give for its folders, depth
    // first, the top ones at nDepth, every one of type nType.
    std::vector<ExpectedFolder> BuildTree(const mapisvc::EntryId& store, const mapisvc::EntryId& parent,
                                          const std::vector<TreeFolder>& tree, int nDepth, int nType)
    {
        std::map<const TreeFolder*, const mapisvc::EntryId*> ids;
        std::vector<std::pair<const TreeFolder*, const mapisvc::EntryId*>> level;
        for (const TreeFolder& folder : tree)
            level.push_back({&folder, &parent});
        while (!level.empty())
        {
            std::vector<std::pair<const TreeFolder*, const mapisvc::EntryId*>> next;
            for (const auto& pending : level)
            {
                m_treeIDs.push_back(AddFolder(store, pending.second, pending.first->name));
                ids[pending.first] = &m_treeIDs.back();
                for (const TreeFolder& child : pending.first->children)
                    next.push_back({&child, &m_treeIDs.back()});
            }
            level.swap(next);
        }
        std::vector<ExpectedFolder> expected;
        AppendDepthFirst(tree, parent, nDepth, nType, ids, expected);
        return expected;
    }

    static void AppendDepthFirst(const std::vector<TreeFolder>& tree, const mapisvc::EntryId& parent, int nDepth,
                                 int nType, const std::map<const TreeFolder*, const mapisvc::EntryId*>& ids,
                                 std::vector<ExpectedFolder>& expected)
    {
        for (const TreeFolder& folder : tree)
        {
            const mapisvc::EntryId* pID = ids.at(&folder);
            expected.push_back({folder.name, nDepth, nType, &parent, 0, pID});
            AppendDepthFirst(folder.children, *pID, nDepth + 1, nType, ids, expected);
        }
    }

    // Six levels, uneven, names met again at other depths.
    static std::vector<TreeFolder> UnevenTree()
    {
        return {{u"Tree",
                 {{u"A", {{u"A1", {{u"A1a", {{u"A1a-i", {{u"deepest", {}}}}}}}}, {u"A2", {}}}},
                  {u"B", {}},
                  {u"C", {{u"C1", {{u"C1a", {}}}}, {u"C2", {{u"C2a", {}}, {u"C2b", {{u"A", {}}}}}}}}}}};
    }

    // Keeps the folders whose first-level folder has one of these types (-1 for type 0).
    static std::vector<ExpectedFolder> Only(const std::vector<ExpectedFolder>& folders, std::vector<int> types)
    {
        std::vector<ExpectedFolder> kept;
        for (const ExpectedFolder& folder : folders)
        {
            for (int nType : types)
            {
                if (folder.nType == nType)
                    kept.push_back(folder);
            }
        }
        return kept;
    }

    // Checks a store record and its folder records against the tree the test built.
    void ExpectStore(size_t nStore, const char16_t* szName, const mapisvc::EntryId& entryID, int nFolderTypes,
                     const std::vector<ExpectedFolder>& folders)
    {
        ASSERT_LT(nStore, static_cast<size_t>(m_stores.GetSize()));
        const COutlookStore& store = *m_stores[static_cast<INT_PTR>(nStore)];
        SCOPED_TRACE(std::string(szName, szName + std::char_traits<char16_t>::length(szName)));
        EXPECT_EQ(store.strName, CString(szName));
        EXPECT_EQ(ToEntryId(store.sbEntryID), entryID);
        EXPECT_EQ(store.nFolderTypes, nFolderTypes);
        ASSERT_EQ(static_cast<size_t>(store.arrFolders.GetSize()), folders.size());
        for (size_t nFolder = 0; nFolder < folders.size(); ++nFolder)
        {
            const COutlookFolder& record = *store.arrFolders[static_cast<INT_PTR>(nFolder)];
            const ExpectedFolder& expected = folders[nFolder];
            SCOPED_TRACE(nFolder);
            EXPECT_EQ(record.strName, CString(expected.name.c_str()));
            EXPECT_EQ(record.nDepth, expected.nDepth);
            EXPECT_EQ(record.nFolderType, expected.nType);
            EXPECT_EQ(record.nCount, expected.nCount);
            EXPECT_EQ(ToEntryId(record.sbParentEntryID), *expected.pParent);
            EXPECT_EQ(ToEntryId(record.sbStoreEntryID), entryID);
            EXPECT_NE(record.sbEntryID.cb, 0u);
            if (expected.pEntryID)
                EXPECT_EQ(ToEntryId(record.sbEntryID), *expected.pEntryID);
        }
    }

    void ExpectNoFolders()
    {
        for (INT_PTR nStore = 0; nStore < m_stores.GetSize(); ++nStore)
            EXPECT_EQ(m_stores[nStore]->arrFolders.GetSize(), 0);
    }

    void DeleteStores()
    {
        for (INT_PTR nStore = 0; nStore < m_stores.GetSize(); ++nStore)
            delete m_stores[nStore];
        m_stores.RemoveAll();
    }

    std::unique_ptr<Interface> m_interface;
    StoreArray m_stores;
    mapisvc::EntryId m_mailbox, m_mailboxRoot, m_inbox, m_calendar, m_contacts, m_projects, m_projectsArchive,
        m_meetings, m_holidays, m_family, m_archive, m_2009, m_customers;
    mapisvc::EntryId m_personal, m_personalRoot, m_personalArchive;
    mapisvc::EntryId m_legacy, m_legacyRoot;
    mapisvc::EntryId m_nameless;
    std::deque<mapisvc::EntryId> m_treeIDs; // stable, for the expected records to point at
};

} // namespace

TEST_F(DiscoveryTest, ListingSkipsStoresWithoutStateOrNameAndSwitchesToAnsi)
{
    mapipim::TraceCapture trace;
    ASSERT_TRUE(m_interface->GetAllStoreInfo(m_stores, 0, NULL));
    ASSERT_EQ(m_stores.GetSize(), 3);
    EXPECT_EQ(m_stores[0]->strName, CString(_T("Mailbox")));
    EXPECT_TRUE(m_stores[0]->bDefault);
    EXPECT_EQ(m_stores[0]->strProvider, CString(_T("Personal Folders")));
    EXPECT_NE(m_stores[0]->nSupportMask & STORE_UNICODE_OK, 0u);
    EXPECT_EQ(m_stores[1]->strName, CString(_T("Personal Archive")));
    EXPECT_FALSE(m_stores[1]->bDefault);
    EXPECT_EQ(m_stores[2]->strName, CString(_T("Legacy")));
    EXPECT_EQ(m_stores[2]->nSupportMask & STORE_UNICODE_OK, 0u);
    ExpectNoFolders();

    const std::vector<CString> expected = {_T("[MAPI] OnlyANSIOnUnicode : TRUE"),
                                           _T("[MAPI] GetAllStoreInfo - GetMessageStoreState failed"),
                                           _T("[MAPI] GetAllStoreInfo - GetStoreName failed")};
    EXPECT_EQ(trace.GetLines(), expected);
    EXPECT_EQ(CMAPIEx::m_nMAPICode, 0);
    EXPECT_EQ(CMAPIEx::m_bOnlyANSIOnUnicode, 1);
    // The session keeps the store of the last row it opened.
    EXPECT_EQ(EntryIdOf(m_interface->m_MAPI.GetMessageStore()), m_nameless);
}

TEST_F(DiscoveryTest, NameMatchesTheWholeStoreNameIgnoringCase)
{
    ASSERT_TRUE(m_interface->GetAllStoreInfo(m_stores, 0, _T("personal ARCHIVE")));
    ASSERT_EQ(m_stores.GetSize(), 1);
    EXPECT_EQ(m_stores[0]->strName, CString(_T("Personal Archive")));

    EXPECT_TRUE(m_interface->GetStoreFolder(m_stores, 0xFFFFFFFF, _T("Archive")));
    EXPECT_EQ(m_stores.GetSize(), 0);
}

TEST_F(DiscoveryTest, InboxMaskGivesEachInboxWithItsSubFolders)
{
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0x1, NULL));
    ASSERT_EQ(m_stores.GetSize(), 3);
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF, Only(MailboxFolders(false), {0x1}));
    ExpectStore(1, u"Personal Archive", m_personal, 0x80, {});
    ExpectStore(2, u"Legacy", m_legacy, 0x3FF, Only(LegacyFolders(), {0x1}));
}

TEST_F(DiscoveryTest, ContactsMaskStillCollectsEveryFolderType)
{
    // Customers holds a folder named Inbox: below a contacts folder it is a contacts folder too.
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0x20, NULL));
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF, Only(MailboxFolders(false), {0x20}));
    ExpectStore(1, u"Personal Archive", m_personal, 0x80, {});
    ExpectStore(2, u"Legacy", m_legacy, 0x3FF, Only(LegacyFolders(), {0x20}));
}

TEST_F(DiscoveryTest, EveryBitTakesEveryFolderWithCounts)
{
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0xFFFFFFFF, NULL));
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF, MailboxFolders(true));
    ExpectStore(1, u"Personal Archive", m_personal, 0x80, PersonalFolders());
    ExpectStore(2, u"Legacy", m_legacy, 0x3FF, LegacyFolders());
}

TEST_F(DiscoveryTest, WithoutTheCountBitNoContentsTableIsOpened)
{
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0xFFFF7FFF, NULL));
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF, MailboxFolders(false));
    ExpectStore(1, u"Personal Archive", m_personal, 0x80, PersonalFolders());
    ExpectStore(2, u"Legacy", m_legacy, 0x3FF, LegacyFolders());
    EXPECT_TRUE(CallsOf("", "GetContentsTable").empty());
}

TEST_F(DiscoveryTest, MailFoldersWithoutItemFolders)
{
    ASSERT_TRUE(m_interface->GetDefaultStoreFolder(m_stores, 0xFFFF7C1F));
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF, Only(MailboxFolders(false), {0, 0x1, 0x2, 0x4, 0x8, 0x10}));
    ExpectStore(1, u"Personal Archive", m_personal, 0x80, Only(PersonalFolders(), {0}));
    ExpectStore(2, u"Legacy", m_legacy, 0x3FF, Only(LegacyFolders(), {0, 0x1, 0x2, 0x4, 0x8, 0x10}));

    // One bit fewer, and folders of no particular type are left out.
    ASSERT_TRUE(m_interface->GetDefaultStoreFolder(m_stores, 0xFFFF7C0F));
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF, Only(MailboxFolders(false), {0x1, 0x2, 0x4, 0x8}));
}

TEST_F(DiscoveryTest, SessionEndsWithTheLastStoreAndItsRoot)
{
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0x1, NULL));
    CMAPIEx& mapi = m_interface->m_MAPI;
    EXPECT_EQ(GetString(mapi.GetMessageStore(), PR_DISPLAY_NAME_W), u"Legacy");
    ASSERT_NE(mapi.GetFolder(), nullptr);
    EXPECT_EQ(ToEntryId(*mapi.GetFolder()->GetEntryID()), m_legacyRoot);
}

TEST_F(DiscoveryTest, WindowHearsOfEveryStoreAndFolderOnce)
{
    Window window;
    HWND hWnd = CreateMessageWindow(RecordProgress, &window);
    ASSERT_NE(hWnd, nullptr);
    m_interface->SetMsgHwnd(hWnd);
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0xFFFFFFFF, NULL));
    DestroyWindow(hWnd);

    std::vector<Message> expected;
    for (INT_PTR nStore = 0; nStore < m_stores.GetSize(); ++nStore)
        expected.push_back(Message{WM_MAPI_GET_STOREINFO, reinterpret_cast<WPARAM>(m_stores[nStore]),
                                   static_cast<LPARAM>(nStore + 1)});
    for (INT_PTR nStore = 0; nStore < m_stores.GetSize(); ++nStore)
    {
        COutlookStore* pStore = m_stores[nStore];
        for (INT_PTR nFolder = 0; nFolder < pStore->arrFolders.GetSize(); ++nFolder)
            expected.push_back(Message{WM_MAPI_GET_FOLDERINFO, reinterpret_cast<WPARAM>(pStore->arrFolders[nFolder]),
                                       reinterpret_cast<LPARAM>(pStore)});
    }
    ASSERT_EQ(window.received.size(), expected.size());
    EXPECT_EQ(expected.size(), 3u + 21u + 3u + 11u);
    for (size_t nMessage = 0; nMessage < expected.size(); ++nMessage)
    {
        SCOPED_TRACE(nMessage);
        EXPECT_EQ(window.received[nMessage].msg, expected[nMessage].msg);
        EXPECT_EQ(window.received[nMessage].wParam, expected[nMessage].wParam);
        EXPECT_EQ(window.received[nMessage].lParam, expected[nMessage].lParam);
    }
}

TEST_F(DiscoveryTest, CancelFromTheWindowStopsTheWalk)
{
    Window window;
    window.nCancelAtFolder = 3;
    HWND hWnd = CreateMessageWindow(RecordProgress, &window);
    m_interface->SetMsgHwnd(hWnd);
    EXPECT_FALSE(m_interface->GetStoreFolder(m_stores, 0xFFFFFFFF, NULL));
    DestroyWindow(hWnd);

    EXPECT_EQ(window.nFolders, 3u);
    // Only the folders met before the cancel were classified.
    ExpectStore(
        0, u"Mailbox", m_mailbox, 0x1,
        {{u"Inbox", 1, 0x1, &m_mailboxRoot, 2}, {u"Projects", 2, 0x1, &m_inbox, 1}, {u"Archive", 3, 0x1, &m_projects}});
    EXPECT_EQ(m_stores[1]->arrFolders.GetSize(), 0);
    EXPECT_EQ(m_stores[2]->arrFolders.GetSize(), 0);
}

TEST_F(DiscoveryTest, CancelledBeforehandListsStoresButTakesNoFolder)
{
    CMAPIInterface::SetCancel(TRUE);
    EXPECT_FALSE(m_interface->GetStoreFolder(m_stores, 0xFFFFFFFF, NULL));
    EXPECT_EQ(m_stores.GetSize(), 3);
    ExpectNoFolders();
}

TEST_F(DiscoveryTest, RefillingAnArrayReplacesItsRecords)
{
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0xFFFFFFFF, NULL));
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0x20, _T("mailbox")));
    ASSERT_EQ(m_stores.GetSize(), 1);
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF, Only(MailboxFolders(false), {0x20}));
}

TEST_F(DiscoveryTest, WithoutSessionTheArrayIsLeftAlone)
{
    ASSERT_TRUE(m_interface->GetAllStoreInfo(m_stores, 0, _T("Legacy")));
    m_interface->m_MAPI.Logout();
    EXPECT_FALSE(m_interface->GetAllStoreInfo(m_stores, 0, NULL));
    ASSERT_EQ(m_stores.GetSize(), 1);

    // The walk then names the store it cannot open; not opening a store is no failure of the walk.
    mapipim::TraceCapture trace;
    EXPECT_TRUE(m_interface->GetDefaultStoreFolder(m_stores, 0xFFFFFFFF));
    ASSERT_EQ(m_stores.GetSize(), 1);
    EXPECT_EQ(m_stores[0]->strName, CString(_T("Legacy")));
    ExpectNoFolders();
    EXPECT_EQ(trace.GetLines(),
              std::vector<CString>{_T("[MAPI] GetStoreSubFolder - OpenMessageStore failed : Legacy")});
}

TEST_F(DiscoveryTest, FailuresOfTheStoresTableAreTraced)
{
    const char* methods[] = {"GetMsgStoresTable", "SetColumns", "QueryRows"};
    const LPCWSTR lines[] = {_T("[MAPI] GetAllStoreInfo - GetMsgStoresTable failed"),
                             _T("[MAPI] GetAllStoreInfo - SetColumns failed"),
                             _T("[MAPI] GetAllStoreInfo - QueryRows failed")};
    for (int nStep = 0; nStep < 3; ++nStep)
    {
        ASSERT_TRUE(m_interface->GetAllStoreInfo(m_stores, 0, NULL));
        const ULONG ulFault =
            mapisvc::InjectFault(FailCall(nStep == 0 ? "IMAPISession" : "IMAPITable", methods[nStep]));
        mapipim::TraceCapture trace;
        EXPECT_FALSE(m_interface->GetAllStoreInfo(m_stores, 0, NULL));
        EXPECT_EQ(m_stores.GetSize(), 0);
        EXPECT_EQ(trace.GetLines(), std::vector<CString>{lines[nStep]});
        mapisvc::RemoveFault(ulFault);
    }
}

TEST_F(DiscoveryTest, StoreThatCannotBeOpenedIsSkipped)
{
    mapipim::TraceCapture trace;
    mapisvc::InjectFault(FailCall("IMAPISession", "OpenMsgStore", 2));
    // The result follows the last opening, of the nameless store, which worked.
    EXPECT_TRUE(m_interface->GetStoreFolder(m_stores, 0x1, NULL));
    ASSERT_EQ(m_stores.GetSize(), 2);
    EXPECT_TRUE(trace.Contains(_T("[MAPI] GetAllStoreInfo - OpenMsgStore failed")));
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF, Only(MailboxFolders(false), {0x1}));
    ExpectStore(1, u"Legacy", m_legacy, 0x3FF, Only(LegacyFolders(), {0x1}));
}

TEST_F(DiscoveryTest, WalkGoesOnPastAStoreItCannotOpen)
{
    ASSERT_TRUE(m_interface->GetAllStoreInfo(m_stores, 0, NULL));
    mapisvc::InjectFault(FailCall("IMAPISession", "OpenMsgStore", 1));
    mapipim::TraceCapture trace;
    ULONG ulFlags = 0x1;
    EXPECT_TRUE(m_interface->GetStoreSubFolder(m_stores, ulFlags));
    EXPECT_TRUE(trace.Contains(_T("[MAPI] GetStoreSubFolder - OpenMessageStore failed : Mailbox")));
    ExpectStore(0, u"Mailbox", m_mailbox, 0, {});
    ExpectStore(2, u"Legacy", m_legacy, 0x3FF, Only(LegacyFolders(), {0x1}));
}

TEST_F(DiscoveryTest, FolderThatCannotBeOpenedIsTakenWithoutItsSubFolders)
{
    // Folders are read from their hierarchy rows; the first folder opened is the Inbox, to read the table of the
    // folders below it.
    mapisvc::InjectFault(FailCall("IMAPIFolder", "OpenEntry", 1));
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0x1, _T("Mailbox")));
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF, {{u"Inbox", 1, 0x1, &m_mailboxRoot}});
}

TEST_F(DiscoveryTest, FolderWhoseSubFoldersCannotBeListedIsTakenAlone)
{
    mapisvc::InjectFault(FailCall("IMAPIFolder", "GetHierarchyTable", 2));
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0x1, _T("Mailbox")));
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF, {{u"Inbox", 1, 0x1, &m_mailboxRoot}});
}

TEST_F(DiscoveryTest, RecursiveWalkNeedsAFolderAndAStore)
{
    ASSERT_TRUE(m_interface->GetAllStoreInfo(m_stores, 0, _T("Mailbox")));
    CMAPIFolder folder;
    ULONG ulType = 0;
    BOOL bCount = FALSE;
    EXPECT_FALSE(m_interface->GetStoreSubFolder(NULL, 2, m_stores[0], ulType, bCount));
    EXPECT_FALSE(m_interface->GetStoreSubFolder(&folder, 2, NULL, ulType, bCount));
    EXPECT_FALSE(m_interface->GetStoreSubFolder(&folder, 2, m_stores[0], ulType, bCount));
    ExpectNoFolders();
}

TEST_F(DiscoveryTest, LastStoreFailingToOpenMakesTheListingFail)
{
    mapisvc::InjectFault(FailCall("IMAPISession", "OpenMsgStore", 5));
    EXPECT_FALSE(m_interface->GetAllStoreInfo(m_stores, 0, NULL));
    EXPECT_EQ(m_stores.GetSize(), 3);
}

namespace
{
LONG STDMETHODCALLTYPE CountCreated(LPVOID lpvContext, ULONG cNotification, LPNOTIFICATION lpNotifications)
{
    for (ULONG nNotification = 0; nNotification < cNotification; ++nNotification)
        *static_cast<std::atomic<int>*>(lpvContext) += lpNotifications[nNotification].ulEventType == fnevObjectCreated;
    return 0;
}
} // namespace

TEST_F(DiscoveryTest, NotifyAdviseSurvivesAWalkOverEveryStore)
{
    mapisvc::SetNotificationDelivery(mapisvc::NotificationDelivery::NotificationThread);
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0x1, NULL));
    CMAPIEx& mapi = m_interface->m_MAPI;
    SBinary mailboxID = AsSBinary(m_mailbox);
    ASSERT_TRUE(mapi.OpenMessageStore(mailboxID));
    std::atomic<int> created{0};
    ASSERT_TRUE(mapi.Notify(CountCreated, &created, fnevObjectCreated));
    mapisvc::ClearCallLog();

    // The walk opens every store in turn and leaves the last one open.
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0x1, NULL));
    EXPECT_TRUE(CallsOf("IMsgStore", "Unadvise").empty());
    {
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenStore(session.Get(), m_mailbox);
        CreateMessage(OpenInbox(store.Get()).Get(), u"news");
    }
    ASSERT_TRUE(mapisvc::WaitForNotifications(5000));
    EXPECT_EQ(created, 1);
    mapi.Logout();
    EXPECT_EQ(CallsOf("IMsgStore", "Unadvise").size(), 1u);
}

namespace
{
std::vector<ExpectedFolder> Joined(std::vector<ExpectedFolder> first, const std::vector<ExpectedFolder>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Index of the first expected folder of this name.
size_t IndexOf(const std::vector<ExpectedFolder>& folders, const std::u16string& name)
{
    for (size_t nFolder = 0; nFolder < folders.size(); ++nFolder)
        if (folders[nFolder].name == name)
            return nFolder;
    ADD_FAILURE() << "no folder of that name";
    return 0;
}
} // namespace

TEST_F(DiscoveryTest, DeepUnevenTreeComesDepthFirstWithTheParentOfEveryFolder)
{
    const std::vector<ExpectedFolder> tree = BuildTree(m_personal, m_personalRoot, UnevenTree(), 1, 0);
    ASSERT_EQ(tree.size(), 15u);
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0xFFFF7FFF, _T("Personal Archive")));
    ExpectStore(0, u"Personal Archive", m_personal, 0x80, Joined(PersonalFolders(), tree));
}

TEST_F(DiscoveryTest, RecursiveWalkBelowAGivenFolderTakesEveryLevel)
{
    std::vector<ExpectedFolder> tree = BuildTree(m_personal, m_personalRoot, UnevenTree(), 1, 0);
    ASSERT_TRUE(m_interface->GetAllStoreInfo(m_stores, 0, _T("Personal Archive")));
    CMAPIFolder top;
    CMAPIFolder leaf;
    SBinary storeID = AsSBinary(m_personal);
    SBinary topID = AsSBinary(*tree[0].pEntryID);
    SBinary leafID = AsSBinary(*tree[IndexOf(tree, u"B")].pEntryID);
    ASSERT_TRUE(m_interface->m_MAPI.OpenFolder(storeID, topID, top));
    ASSERT_TRUE(m_interface->m_MAPI.OpenFolder(storeID, leafID, leaf));

    // The type and depth given hold for every folder below, whatever its class.
    ULONG ulType = 0x80;
    BOOL bCount = FALSE;
    EXPECT_FALSE(m_interface->GetStoreSubFolder(&leaf, 3, m_stores[0], ulType, bCount));
    EXPECT_TRUE(m_interface->GetStoreSubFolder(&top, 2, m_stores[0], ulType, bCount));
    tree.erase(tree.begin());
    for (ExpectedFolder& folder : tree)
        folder.nType = 0x80;
    ExpectStore(0, u"Personal Archive", m_personal, 0, tree);
}

TEST_F(DiscoveryTest, CountsAreTheContentsRowsAsItemsComeAndGo)
{
    std::vector<ExpectedFolder> tree = BuildTree(m_personal, m_personalRoot, UnevenTree(), 1, 0);
    const size_t nA1 = IndexOf(tree, u"A1"), nDeepest = IndexOf(tree, u"deepest"), nB = IndexOf(tree, u"B");
    std::vector<mapisvc::EntryId> inA1;
    {
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenStore(session.Get(), m_personal);
        Ref<IMAPIFolder> a1 = OpenFolder(store.Get(), *tree[nA1].pEntryID);
        for (const char16_t* szSubject : {u"one", u"two", u"three"})
            inA1.push_back(CreateMessage(a1.Get(), szSubject));
        CreateMessage(OpenFolder(store.Get(), *tree[nDeepest].pEntryID).Get(), u"down here");
    }
    tree[nA1].nCount = 3;
    tree[nDeepest].nCount = 1;
    mapisvc::ClearCallLog();
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0xFFFFFFFF, _T("Personal Archive")));
    ExpectStore(0, u"Personal Archive", m_personal, 0x80, Joined(PersonalFolders(), tree));
    // The counts come with the hierarchy rows.
    EXPECT_TRUE(CallsOf("", "GetContentsTable").empty());

    {
        MapiInit init;
        Ref<IMAPISession> session = Logon();
        Ref<IMsgStore> store = OpenStore(session.Get(), m_personal);
        Ref<IMAPIFolder> a1 = OpenFolder(store.Get(), *tree[nA1].pEntryID);
        SBinary gone = AsSBinary(inA1[1]);
        ENTRYLIST messages = {1, &gone};
        ASSERT_EQ(a1->DeleteMessages(&messages, 0, nullptr, 0), S_OK);
        Ref<IMAPIFolder> b = OpenFolder(store.Get(), *tree[nB].pEntryID);
        CreateMessage(b.Get(), u"new");
        CreateMessage(b.Get(), u"newer");
    }
    tree[nA1].nCount = 2;
    tree[nB].nCount = 2;
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0xFFFFFFFF, _T("Personal Archive")));
    ExpectStore(0, u"Personal Archive", m_personal, 0x80, Joined(PersonalFolders(), tree));
    // Each the number of rows of the folder's contents table.
    const COutlookStore& store = *m_stores[0];
    for (INT_PTR nFolder = 0; nFolder < store.arrFolders.GetSize(); ++nFolder)
        EXPECT_EQ(store.arrFolders[nFolder]->nCount, m_interface->GetRowCount(store.arrFolders[nFolder]));
}

TEST_F(DiscoveryTest, FirstLevelFolderNotTakenHidesTheKindsBelowIt)
{
    AddFolder(m_mailbox, &m_customers, u"Visits", u"IPF.Appointment");
    AddFolder(m_mailbox, &m_2009, u"Dates", u"IPF.Appointment");
    AddFolder(m_mailbox, &m_2009, u"People", u"IPF.Contact");
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0x40, _T("Mailbox")));
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF, Only(MailboxFolders(false), {0x40}));
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0x60, _T("Mailbox")));
    ExpectStore(0, u"Mailbox", m_mailbox, 0x3FF,
                Joined(Only(MailboxFolders(false), {0x40, 0x20}), {{u"Visits", 2, 0x20, &m_customers}}));
}

TEST_F(DiscoveryTest, CancelInADeepFolderStopsRightAfterIt)
{
    const std::vector<ExpectedFolder> tree = BuildTree(m_personal, m_personalRoot, UnevenTree(), 1, 0);
    Window window;
    // Personal Archive's three folders, then Tree, A, A1 and A1a, four levels down, mid-table.
    window.nCancelAtFolder = 7;
    HWND hWnd = CreateMessageWindow(RecordProgress, &window);
    m_interface->SetMsgHwnd(hWnd);
    EXPECT_FALSE(m_interface->GetStoreFolder(m_stores, 0xFFFF7FFF, _T("Personal Archive")));
    DestroyWindow(hWnd);

    EXPECT_EQ(window.nFolders, 7u);
    std::vector<ExpectedFolder> taken = Joined(PersonalFolders(), tree);
    taken.resize(7);
    ExpectStore(0, u"Personal Archive", m_personal, 0x80, taken);
}

TEST_F(DiscoveryTest, CancelAtAFirstLevelFolderTakesNothingBelowIt)
{
    Window window;
    window.nCancelAtFolder = 1;
    HWND hWnd = CreateMessageWindow(RecordProgress, &window);
    m_interface->SetMsgHwnd(hWnd);
    EXPECT_FALSE(m_interface->GetStoreFolder(m_stores, 0xFFFF7FFF, NULL));
    DestroyWindow(hWnd);

    EXPECT_EQ(window.nFolders, 1u);
    ExpectStore(0, u"Mailbox", m_mailbox, 0x1, {{u"Inbox", 1, 0x1, &m_mailboxRoot}});
    EXPECT_EQ(m_stores[1]->arrFolders.GetSize(), 0);
}

TEST_F(DiscoveryTest, LongFolderNamesComeOutWhole)
{
    // Some stores' hierarchy tables keep 255 characters of a string.
    const std::u16string longName(300, u'L'), longerName(2000, u'M'), cutName(255, u'C');
    mapisvc::EntryId top = AddFolder(m_personal, nullptr, longName);
    mapisvc::EntryId below = AddFolder(m_personal, &top, longerName);
    AddFolder(m_personal, &below, cutName);
    AddFolder(m_personal, nullptr, longerName, u"IPF.Task");
    ASSERT_TRUE(m_interface->GetStoreFolder(m_stores, 0xFFFF7FFF, _T("Personal Archive")));
    ExpectStore(0, u"Personal Archive", m_personal, 0x80,
                Joined(PersonalFolders(), {{longName, 1, 0, &m_personalRoot, 0, &top},
                                           {longerName, 2, 0, &top, 0, &below},
                                           {cutName, 3, 0, &below},
                                           {longerName, 1, 0x80, &m_personalRoot}}));
}
