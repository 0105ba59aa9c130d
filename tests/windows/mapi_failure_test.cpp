// MAPI32 without a message service (as on a machine without Outlook, and under Wine, whose MAPIInitialize fails
// then): the session and the interface object fail cleanly, say so once in the trace log, and later calls find
// nothing without a crash.
#include <mapipim/MAPIInterface.h>
#include <mapipim/Trace.h>

#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace
{
class MAPIFailure : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wchar_t szFolder[MAX_PATH] = {};
        ASSERT_GT(GetTempPathW(MAX_PATH, szFolder), 0u);
        wchar_t szFile[MAX_PATH] = {};
        ASSERT_NE(GetTempFileNameW(szFolder, L"mpt", 0, szFile), 0u);
        m_strTrace = szFile;
        ASSERT_TRUE(mapipim::SetTraceTarget(m_strTrace.c_str()));
    }

    void TearDown() override
    {
        mapipim::SetTraceTarget(NULL);
        DeleteFileW(m_strTrace.c_str());
    }

    std::string TraceText() const
    {
        std::ifstream file(m_strTrace.c_str(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    std::wstring m_strTrace;
};
} // namespace

TEST_F(MAPIFailure, LoginWithoutAProviderFailsAndLeavesNoSession)
{
    const BOOL bInit = CMAPIEx::Init(0, 0);
    {
        CMAPIEx mapi;
        EXPECT_FALSE(mapi.Login(NULL, FALSE));
        CString strProfile = _T("previous");
        EXPECT_FALSE(mapi.GetProfileName(strProfile));
        EXPECT_TRUE(strProfile.IsEmpty());
        EXPECT_FALSE(mapi.OpenMessageStore(NULL));
    }
    if (bInit)
        CMAPIEx::Term();
}

TEST_F(MAPIFailure, InterfaceTracesTheFailedStartOnce)
{
    {
        CMAPIInterface mapi;
        EXPECT_EQ(TraceText(), "[MAPI] MAPI Initialize failed/\r\n");
    }
    EXPECT_EQ(TraceText(), "[MAPI] MAPI Initialize failed/\r\n");
}

TEST_F(MAPIFailure, OperationsOfAFailedInterfaceReportFailure)
{
    CMAPIInterface mapi;
    CArray<COutlookStore*, COutlookStore*> arrStores;
    EXPECT_FALSE(mapi.GetAllStoreInfo(arrStores, 0, NULL));
    EXPECT_EQ(arrStores.GetSize(), 0);
    // The walk's result speaks only of cancellation; the host judges by the records, and there are none.
    mapi.GetDefaultStoreFolder(arrStores, 0);
    EXPECT_EQ(arrStores.GetSize(), 0);
    CMAPIContactInfo contact;
    EXPECT_FALSE(mapi.GetContact(&contact, 0x7));
}
