// CMAPIInterface: start-up and shut-down against the service, the progress window and its messages, the cancel
// flag and the pause setting.
#include <mapipim/MAPIInterface.h>

#include "platform/Pause.h"
#include "platform/trace/TraceCapture.h"
#include "support/AfxPrinters.h"
#include "support/CallLogQueries.h"
#include "support/ProcessFlags.h"
#include "support/ServiceFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace
{
class InterfaceUnderTest : public CMAPIInterface
{
public:
    using CMAPIInterface::PostMsg;
    using CMAPIInterface::SendMsg;
    CMAPIEx& Session() { return m_MAPI; }
    BOOL Initialised() const { return m_bMAPIInit; }
    HWND Window() const { return m_hMsgWnd; }
};

class MAPIInterfaceTest : public ServiceTest
{
protected:
    ProcessFlagsGuard m_flags;
    mapipim::TraceCapture m_trace;
};

std::vector<CString> Lines(std::initializer_list<LPCWSTR> lines)
{
    std::vector<CString> result;
    for (LPCWSTR line : lines)
        result.push_back(line);
    return result;
}
} // namespace

TEST_F(MAPIInterfaceTest, ConstructionInitialisesWithoutFlagsAndLogsOnToTheDefaultProfile)
{
    {
        InterfaceUnderTest mapi;
        EXPECT_TRUE(mapi.Initialised());
        EXPECT_NE(mapi.Session().GetSession(), nullptr);
        EXPECT_EQ(mapi.Session().GetMessageStore(), nullptr) << "no store is opened at construction";
        EXPECT_EQ(mapi.Window(), nullptr);
        EXPECT_EQ(CallsOf("MAPI", "MAPIInitialize").at(0).flags, 0u);
        EXPECT_EQ(CallsOf("MAPI", "MAPILogonEx").at(0).flags, 0x62u);
        EXPECT_TRUE(CallsOf("IMAPISession", "OpenMsgStore").empty());
        CString strProfile;
        EXPECT_TRUE(mapi.Session().GetProfileName(strProfile));
        EXPECT_EQ(strProfile, CString(_T("Outlook")));
    }
    EXPECT_EQ(CallsOf("MAPI", "MAPIUninitialize").size(), 1u);
    EXPECT_TRUE(m_trace.GetLines().empty());
}

TEST_F(MAPIInterfaceTest, FailedInitialisationIsTracedAloneAndNotUndone)
{
    {
        ScopedFault fault("MAPI", "MAPIInitialize");
        InterfaceUnderTest mapi;
        EXPECT_FALSE(mapi.Initialised());
        EXPECT_EQ(mapi.Session().GetSession(), nullptr);
    }
    EXPECT_EQ(m_trace.GetLines(), Lines({_T("[MAPI] MAPI Initialize failed/\r\n")}));
    EXPECT_TRUE(CallsOf("MAPI", "MAPILogonEx").empty()) << "no logon without MAPI";
    EXPECT_TRUE(CallsOf("MAPI", "MAPIUninitialize").empty());
}

TEST_F(MAPIInterfaceTest, FailedLogonIsTracedAndMAPIIsStillUninitialised)
{
    {
        ScopedFault fault("MAPI", "MAPILogonEx");
        InterfaceUnderTest mapi;
        EXPECT_TRUE(mapi.Initialised());
        EXPECT_EQ(mapi.Session().GetSession(), nullptr);
        CString strProfile;
        EXPECT_FALSE(mapi.Session().GetProfileName(strProfile)) << "operations fail without a session";
    }
    EXPECT_EQ(m_trace.GetLines(), Lines({_T("[MAPI] MAPI Login failed/\r\n")}));
    EXPECT_EQ(CallsOf("MAPI", "MAPIUninitialize").size(), 1u);
}

TEST_F(MAPIInterfaceTest, DestructionReleasesTheSessionBeforeUninitialising)
{
    {
        InterfaceUnderTest mapi;
        mapisvc::ClearCallLog();
    }
    const std::vector<mapisvc::CallRecord> calls = mapisvc::GetCallLog();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().method, "MAPIUninitialize");
    // The fixture's leak check proves the session was released.
}

TEST(MAPIInterfaceCancel, FlagStaysUntilTheHostClearsIt)
{
    ProcessFlagsGuard flags;
    CMAPIInterface::SetCancel(0);
    EXPECT_FALSE(CMAPIInterface::IsCancel());
    CMAPIInterface::SetCancel(1);
    EXPECT_EQ(CMAPIInterface::IsCancel(), 1);
    EXPECT_EQ(CMAPIInterface::m_bCancel, 1);
    EXPECT_EQ(CMAPIInterface::IsCancel(), 1);
    CMAPIInterface::SetCancel(0);
    EXPECT_EQ(CMAPIInterface::IsCancel(), 0);
}

TEST(MAPIInterfaceMessages, RegisteredAtLoadUnderTheirNames)
{
    EXPECT_NE(WM_MAPI_GET_STOREINFO, 0u);
    EXPECT_EQ(WM_MAPI_GET_STOREINFO, RegisterWindowMessageW(_T("WM_MAPI_GET_STOREINFO")));
    EXPECT_EQ(WM_MAPI_GET_FOLDERINFO, RegisterWindowMessageW(_T("WM_MAPI_GET_FOLDERINFO")));
    EXPECT_EQ(WM_MAPI_GET_CONTENTS, RegisterWindowMessageW(_T("WM_MAPI_GET_CONTENTS")));
    EXPECT_EQ(WM_MAPI_GET_CONTENTS_END, RegisterWindowMessageW(_T("WM_MAPI_GET_CONTENTS_END")));
    EXPECT_NE(WM_MAPI_GET_STOREINFO, WM_MAPI_GET_FOLDERINFO);
    EXPECT_NE(WM_MAPI_GET_CONTENTS, WM_MAPI_GET_CONTENTS_END);
}

namespace
{
struct Delivered
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Delivered> g_delivered;

LRESULT CALLBACK RecordingProc(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_delivered.push_back({message, wParam, lParam});
    return 40 + static_cast<LRESULT>(wParam);
}

int PumpQueue()
{
    int nCount = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        DispatchMessageW(&msg);
        ++nCount;
    }
    return nCount;
}

class MAPIInterfaceWindowTest : public MAPIInterfaceTest
{
protected:
    void SetUp() override
    {
        MAPIInterfaceTest::SetUp();
        g_delivered.clear();
        m_hWnd = CreateMessageWindow(RecordingProc, nullptr);
        ASSERT_NE(m_hWnd, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(m_hWnd);
        PumpQueue();
        MAPIInterfaceTest::TearDown();
    }

    HWND m_hWnd = nullptr;
};
} // namespace

TEST_F(MAPIInterfaceWindowTest, SendMsgCallsTheWindowAtOncePostMsgQueues)
{
    InterfaceUnderTest mapi;
    mapi.SetMsgHwnd(m_hWnd);
    EXPECT_EQ(mapi.SendMsg(WM_MAPI_GET_CONTENTS, 2, 3), 42);
    ASSERT_EQ(g_delivered.size(), 1u);
    EXPECT_EQ(g_delivered[0].message, WM_MAPI_GET_CONTENTS);
    EXPECT_EQ(g_delivered[0].lParam, 3);

    EXPECT_EQ(mapi.PostMsg(WM_MAPI_GET_CONTENTS_END, 5, 0), TRUE);
    EXPECT_EQ(g_delivered.size(), 1u) << "a posted message waits in the queue";
    EXPECT_EQ(PumpQueue(), 1);
    ASSERT_EQ(g_delivered.size(), 2u);
    EXPECT_EQ(g_delivered[1].message, WM_MAPI_GET_CONTENTS_END);
    EXPECT_EQ(g_delivered[1].wParam, 5u);
}

TEST_F(MAPIInterfaceWindowTest, WithoutAWindowNothingIsDelivered)
{
    InterfaceUnderTest mapi;
    EXPECT_EQ(mapi.SendMsg(WM_MAPI_GET_CONTENTS, 2, 3), 0);
    EXPECT_EQ(mapi.PostMsg(WM_MAPI_GET_CONTENTS_END, 5, 0), 0);
    mapi.SetMsgHwnd(m_hWnd);
    mapi.SetMsgHwnd(NULL);
    EXPECT_EQ(mapi.SendMsg(WM_MAPI_GET_CONTENTS, 2, 3), 0);
    EXPECT_EQ(PumpQueue(), 0);
    EXPECT_TRUE(g_delivered.empty());
}

namespace
{
double MillisecondsForPauses(int nPauses)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < nPauses; ++i)
        mapipim::Pause();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
} // namespace

TEST(MAPIInterfaceYield, DefaultPauseIsOneMillisecondAndZeroTurnsItOff)
{
    ProcessFlagsGuard flags;
    EXPECT_EQ(CMAPIInterface::GetYield(), 1);
    EXPECT_GE(MillisecondsForPauses(20), 20.0);

    CMAPIInterface::SetYield(0);
    EXPECT_EQ(CMAPIInterface::GetYield(), 0);
    EXPECT_LT(MillisecondsForPauses(2000), 500.0);

    CMAPIInterface::SetYield(-3);
    EXPECT_EQ(CMAPIInterface::GetYield(), 0) << "a negative pause means none";
    CMAPIInterface::SetYield(5);
    EXPECT_EQ(mapipim::GetPauseMilliseconds(), 5);
}
