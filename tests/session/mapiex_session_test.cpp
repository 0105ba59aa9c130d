// CMAPIEx against the embedded service: initialisation and logon flags, profiles, the profile name, logging
// out, the current folder and the message pump.
#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>

#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/ProcessFlags.h"
#include "support/ServiceFixture.h"
#include "support/ServiceHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
// Reaches the members that a session object fills through other operations (stores, notifications).
class SessionUnderTest : public CMAPIEx
{
public:
    void AdoptStore(IMsgStore* pStore) { m_pMsgStore = pStore; }
    void SetConnection(ULONG ulConnection) { m_ulConnection = ulConnection; }
    ULONG Connection() const { return m_ulConnection; }
    ULONG MDBFlags() const { return m_ulMDBFlags; }
};

// A folder that tells when it is deleted.
class TrackedFolder : public CMAPIFolder
{
public:
    explicit TrackedFolder(bool& bDeleted) : m_bDeleted(bDeleted) {}
    ~TrackedFolder() override { m_bDeleted = true; }

private:
    bool& m_bDeleted;
};

class MAPIExSessionTest : public ServiceTest
{
protected:
    ProcessFlagsGuard m_flags;
};

class LoggedOnSessionTest : public MAPIExSessionTest
{
protected:
    void SetUp() override
    {
        MAPIExSessionTest::SetUp();
        ASSERT_TRUE(CMAPIEx::Init());
        ASSERT_TRUE(m_mapi.Login());
    }
    void TearDown() override
    {
        m_mapi.Logout();
        CMAPIEx::Term();
        MAPIExSessionTest::TearDown();
    }

    SessionUnderTest m_mapi;
};

ULONG LoggedFlagsOfInit(int bMultiThreaded, int bService)
{
    mapisvc::ClearCallLog();
    EXPECT_TRUE(CMAPIEx::Init(bMultiThreaded, bService));
    CMAPIEx::Term();
    const std::vector<mapisvc::CallRecord> calls = CallsOf("MAPI", "MAPIInitialize");
    EXPECT_EQ(calls.size(), 1u);
    return calls.empty() ? 0xFFFFFFFF : calls[0].flags;
}

ULONG LastLogonFlags()
{
    const std::vector<mapisvc::CallRecord> calls = CallsOf("MAPI", "MAPILogonEx");
    return calls.empty() ? 0xFFFFFFFF : calls.back().flags;
}
} // namespace

TEST_F(MAPIExSessionTest, NewObjectHoldsNothing)
{
    SessionUnderTest mapi;
    EXPECT_EQ(mapi.GetSession(), nullptr);
    EXPECT_EQ(mapi.GetMessageStore(), nullptr);
    EXPECT_EQ(mapi.GetFolder(), nullptr);
    EXPECT_EQ(mapi.Connection(), 0u);
    EXPECT_EQ(mapi.MDBFlags(), static_cast<ULONG>(MAPI_BEST_ACCESS | MAPI_MODIFY));
    CString strName = _T("previous");
    EXPECT_FALSE(mapi.GetProfileName(strName));
    EXPECT_TRUE(strName.IsEmpty());
}

TEST_F(MAPIExSessionTest, InitPassesTheFlagWordsOfItsArguments)
{
    EXPECT_EQ(LoggedFlagsOfInit(0, 0), 0u);
    EXPECT_EQ(LoggedFlagsOfInit(1, 0), static_cast<ULONG>(MAPI_MULTITHREAD_NOTIFICATIONS));
    EXPECT_EQ(LoggedFlagsOfInit(0, 1), static_cast<ULONG>(MAPI_NT_SERVICE));
    EXPECT_EQ(LoggedFlagsOfInit(1, 1), static_cast<ULONG>(MAPI_NT_SERVICE | MAPI_MULTITHREAD_NOTIFICATIONS));
}

TEST_F(MAPIExSessionTest, InitReportsAFailingMAPIInitialize)
{
    ScopedFault fault("MAPI", "MAPIInitialize");
    EXPECT_FALSE(CMAPIEx::Init());
}

TEST_F(MAPIExSessionTest, LoginToTheDefaultProfileUsesFlags0x62)
{
    ASSERT_TRUE(CMAPIEx::Init());
    {
        CMAPIEx mapi;
        ASSERT_TRUE(mapi.Login(NULL, 0));
        EXPECT_NE(mapi.GetSession(), nullptr);
        EXPECT_EQ(LastLogonFlags(), 0x62u);
        EXPECT_TRUE(CallsOf("MAPI", "MAPILogonEx").back().text.empty());
        EXPECT_EQ(mapi.GetMessageStore(), nullptr) << "logging on opens no store";
    }
    CMAPIEx::Term();
}

TEST_F(MAPIExSessionTest, LoginAsServiceNamesTheProfileAsEightBitTextWithFlags0x10072)
{
    ASSERT_EQ(mapisvc::CreateProfile(u"B\u00FCro"), S_OK);
    ASSERT_TRUE(CMAPIEx::Init());
    {
        CMAPIEx mapi;
        ASSERT_TRUE(mapi.Login(_T("B\u00FCro"), TRUE));
        EXPECT_EQ(LastLogonFlags(), 0x10072u);
        // Without MAPI_UNICODE the service reads the name as ANSI text; it arrives intact only if it was sent so.
        EXPECT_EQ(CallsOf("MAPI", "MAPILogonEx").back().text, u"B\u00FCro");
        CString strName;
        EXPECT_TRUE(mapi.GetProfileName(strName));
        EXPECT_EQ(strName, CString(_T("B\u00FCro")));
    }
    CMAPIEx::Term();
}

TEST_F(MAPIExSessionTest, FailedLoginLeavesTheObjectLoggedOut)
{
    ASSERT_TRUE(CMAPIEx::Init());
    {
        CMAPIEx mapi;
        ASSERT_TRUE(mapi.Login());
        ScopedFault fault("MAPI", "MAPILogonEx");
        EXPECT_FALSE(mapi.Login());
        EXPECT_EQ(mapi.GetSession(), nullptr);
    }
    {
        CMAPIEx mapi;
        EXPECT_FALSE(mapi.Login(_T("No Such Profile")));
        EXPECT_EQ(mapi.GetSession(), nullptr);
    }
    CMAPIEx::Term();
}

TEST_F(LoggedOnSessionTest, SecondLoginReplacesTheSession)
{
    const LONG nObjects = mapisvc::GetLiveObjectCount();
    ASSERT_TRUE(m_mapi.Login());
    EXPECT_NE(m_mapi.GetSession(), nullptr);
    EXPECT_EQ(mapisvc::GetLiveObjectCount(), nObjects) << "the first session was released";
}

TEST_F(MAPIExSessionTest, LogoutOnAFreshObjectAndTwiceIsHarmless)
{
    CMAPIEx mapi;
    mapi.Logout();
    mapi.Logout();
    EXPECT_EQ(mapi.GetSession(), nullptr);
    EXPECT_TRUE(mapisvc::GetCallLog().empty());
}

TEST_F(LoggedOnSessionTest, LogoutEndsTheAdviseReleasesStoreAndSession)
{
    Ref<IMsgStore> store = OpenDefaultStore(m_mapi.GetSession());
    ASSERT_TRUE(store);
    store->AddRef(); // one reference for the session object, which releases it at Logout
    m_mapi.AdoptStore(store.Get());
    m_mapi.SetConnection(7);
    mapisvc::ClearCallLog();

    m_mapi.Logout();
    EXPECT_EQ(CallsOf("IMsgStore", "Unadvise").size(), 1u);
    EXPECT_EQ(m_mapi.Connection(), 0u);
    EXPECT_EQ(m_mapi.GetMessageStore(), nullptr);
    EXPECT_EQ(m_mapi.GetSession(), nullptr);
    EXPECT_TRUE(CallsOf("IMAPISession", "Logoff").empty()) << "the session ends with its last reference";
}

TEST_F(LoggedOnSessionTest, LogoutWithoutAStoreForgetsTheConnectionWithoutUnadvise)
{
    m_mapi.SetConnection(7);
    m_mapi.Logout();
    EXPECT_EQ(m_mapi.Connection(), 0u);
    EXPECT_TRUE(CallsOf("IMsgStore", "Unadvise").empty());
}

TEST_F(MAPIExSessionTest, SetFolderDeletesTheFolderItReplaces)
{
    bool bFirstDeleted = false;
    bool bSecondDeleted = false;
    CMAPIEx mapi;
    TrackedFolder* pFirst = new TrackedFolder(bFirstDeleted);
    TrackedFolder* pSecond = new TrackedFolder(bSecondDeleted);

    mapi.SetFolder(pFirst);
    EXPECT_EQ(mapi.GetFolder(), pFirst);
    mapi.SetFolder(pFirst);
    EXPECT_FALSE(bFirstDeleted) << "making the current folder current again keeps it";
    mapi.SetFolder(pSecond);
    EXPECT_TRUE(bFirstDeleted);
    EXPECT_EQ(mapi.GetFolder(), pSecond);
    mapi.SetFolder(NULL);
    EXPECT_TRUE(bSecondDeleted);
    EXPECT_EQ(mapi.GetFolder(), nullptr);
}

TEST_F(MAPIExSessionTest, LogoutAndDestructionDeleteTheCurrentFolder)
{
    bool bDeleted = false;
    {
        CMAPIEx mapi;
        mapi.SetFolder(new TrackedFolder(bDeleted));
        mapi.Logout();
        EXPECT_TRUE(bDeleted);
        EXPECT_EQ(mapi.GetFolder(), nullptr);
    }
    bDeleted = false;
    {
        CMAPIEx mapi;
        mapi.SetFolder(new TrackedFolder(bDeleted));
    }
    EXPECT_TRUE(bDeleted);
}

TEST_F(MAPIExSessionTest, CreateAndDeleteProfileByEightBitName)
{
    CMAPIEx mapi;
    ASSERT_TRUE(mapi.CreateProfile(_T("Caf\u00E9")));
    std::vector<std::u16string> profiles = mapisvc::ListProfiles();
    EXPECT_NE(std::find(profiles.begin(), profiles.end(), u"Caf\u00E9"), profiles.end());
    EXPECT_FALSE(mapi.CreateProfile(_T("Caf\u00E9"))) << "the profile exists already";

    ASSERT_TRUE(mapi.DeleteProfile(_T("Caf\u00E9")));
    profiles = mapisvc::ListProfiles();
    EXPECT_EQ(std::find(profiles.begin(), profiles.end(), u"Caf\u00E9"), profiles.end());
    EXPECT_FALSE(mapi.DeleteProfile(_T("Caf\u00E9")));
    for (const mapisvc::CallRecord& call : CallsOf("IProfAdmin", ""))
        EXPECT_EQ(call.flags, 0u);
}

TEST_F(MAPIExSessionTest, ProfileAdministrationFailures)
{
    CMAPIEx mapi;
    {
        ScopedFault fault("MAPI", "MAPIAdminProfiles");
        EXPECT_FALSE(mapi.CreateProfile(_T("One")));
        EXPECT_FALSE(mapi.DeleteProfile(_T("One")));
    }
    {
        ScopedFault fault("IProfAdmin", "CreateProfile");
        EXPECT_FALSE(mapi.CreateProfile(_T("One")));
    }
    EXPECT_TRUE(mapisvc::ListProfiles().empty());
    ASSERT_TRUE(mapi.CreateProfile(_T("One")));
    {
        ScopedFault fault("IProfAdmin", "DeleteProfile");
        EXPECT_FALSE(mapi.DeleteProfile(_T("One")));
    }
    EXPECT_EQ(mapisvc::ListProfiles().size(), 1u);
}

TEST_F(LoggedOnSessionTest, GetProfileNameReadsTheSubsystemRowOfTheStatusTable)
{
    mapisvc::ClearCallLog();
    CString strName;
    ASSERT_TRUE(m_mapi.GetProfileName(strName));
    EXPECT_EQ(strName, CString(_T("Outlook")));
    const std::vector<mapisvc::CallRecord> columns = CallsOf("IMAPITable", "SetColumns");
    ASSERT_EQ(columns.size(), 1u);
    EXPECT_EQ(columns[0].propTags, (std::vector<ULONG>{PR_DISPLAY_NAME_W, PR_RESOURCE_TYPE}));
    for (const mapisvc::CallRecord& call : CallsOf("IMAPITable", "QueryRows"))
        EXPECT_EQ(call.flags, 0u);
    EXPECT_EQ(CallsOf("IMAPISession", "GetStatusTable").at(0).flags, 0u);
}

TEST_F(LoggedOnSessionTest, GetProfileNameAsksForEightBitNamesInAnsiOnlyMode)
{
    ProcessFlagsGuard::EnterAnsiOnlyMode();
    mapisvc::ClearCallLog();
    CString strName;
    ASSERT_TRUE(m_mapi.GetProfileName(strName));
    EXPECT_EQ(strName, CString(_T("Outlook")));
    EXPECT_TRUE(HasTag(CallsOf("IMAPITable", "SetColumns").at(0), PR_DISPLAY_NAME_A));
}

TEST_F(LoggedOnSessionTest, GetProfileNameWithoutASubsystemRowFails)
{
    // The default profile's status table lists its store, the address book and then the subsystem; ending the
    // table before the third row leaves no subsystem row to find.
    ScopedFault fault("IMAPITable", "QueryRows", MAPI_E_CALL_FAILED, 3);
    CString strName = _T("previous");
    EXPECT_FALSE(m_mapi.GetProfileName(strName));
    EXPECT_TRUE(strName.IsEmpty());
}

TEST_F(LoggedOnSessionTest, GetProfileNameFailsWithTheStatusTableOrItsColumns)
{
    CString strName;
    {
        ScopedFault fault("IMAPISession", "GetStatusTable");
        EXPECT_FALSE(m_mapi.GetProfileName(strName));
    }
    {
        ScopedFault fault("IMAPITable", "SetColumns");
        EXPECT_FALSE(m_mapi.GetProfileName(strName));
    }
    EXPECT_TRUE(strName.IsEmpty());
    EXPECT_TRUE(m_mapi.GetProfileName(strName));
}

namespace
{
int g_nPumped = 0;

LRESULT CALLBACK CountingProc(HWND, UINT, WPARAM, LPARAM)
{
    ++g_nPumped;
    return 0;
}
} // namespace

TEST(MAPIExPumpMessages, DispatchesEveryWaitingMessageAndReturnsWhenTheQueueIsEmpty)
{
    g_nPumped = 0;
    HWND hWnd = CreateMessageWindow(CountingProc, nullptr);
    ASSERT_NE(hWnd, nullptr);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(PostMessageW(hWnd, WM_USER + i, 0, 0));
    CMAPIEx::PumpMessages();
    EXPECT_EQ(g_nPumped, 3);
    CMAPIEx::PumpMessages();
    EXPECT_EQ(g_nPumped, 3);
    DestroyWindow(hWnd);
}
