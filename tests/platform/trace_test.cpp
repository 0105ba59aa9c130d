#include "platform/trace/Trace.h"
#include "platform/trace/TraceCapture.h"
#include "platform/trace/TraceLog.h"

#include "support/AfxPrinters.h"

#include <mapipim/Trace.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
class TraceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "afx-trace-XXXXXX").string();
        ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
        m_directory = pattern;
    }
    void TearDown() override
    {
        mapipim::SetTraceTarget(nullptr);
        std::filesystem::remove_all(m_directory);
    }

    CString TracePath(const char* pszName) const { return CString::FromUtf8((m_directory + "/" + pszName).c_str()); }
    std::string ReadFile(const char* pszName) const
    {
        std::ifstream stream(m_directory + "/" + pszName, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    }

    std::string m_directory;
};

TEST_F(TraceTest, CaptureReceivesTheExactText)
{
    mapipim::TraceCapture capture;
    const CString strFolder(_T("Kontakte"));
    LOGTRACE(_T("[MAPI] Get failed : strSubject"));
    LOGTRACE(_T("[MAPI] Set failed : %s(strLocation) - Folder:%s"), _T("Raum 1"), strFolder);
    LOGTRACE(_T("[MAPI] Failed : OpenMessageStore - SetColumns : %s, %d"), strFolder, -2147221233);
    LOGTRACE(_T("[MAPI] MAPI Initialize failed/\r\n"));
    EXPECT_EQ(capture.GetLines(), (std::vector<CString>{_T("[MAPI] Get failed : strSubject"),
                                                        _T("[MAPI] Set failed : Raum 1(strLocation) - Folder:Kontakte"),
                                                        _T("[MAPI] Failed : OpenMessageStore - SetColumns : Kontakte, ")
                                                        _T("-2147221233"),
                                                        _T("[MAPI] MAPI Initialize failed/\r\n")}));
    EXPECT_TRUE(capture.Contains(_T("[MAPI] Get failed : strSubject")));
    capture.Clear();
    EXPECT_TRUE(capture.GetLines().empty());
}

TEST_F(TraceTest, NestedCapturesSeeTheirOwnLifetime)
{
    mapipim::TraceCapture outer;
    LOGTRACE(_T("one"));
    {
        mapipim::TraceCapture inner;
        LOGTRACE(_T("two"));
        EXPECT_EQ(inner.GetLines(), std::vector<CString>{_T("two")});
    }
    LOGTRACE(_T("three"));
    EXPECT_EQ(outer.GetLines(), (std::vector<CString>{_T("one"), _T("two"), _T("three")}));
}

TEST_F(TraceTest, FileSinkWritesUtf8LinesAndAppends)
{
    ASSERT_TRUE(mapipim::SetTraceTarget(TracePath("trace.log")));
    LOGTRACE(_T("Ordner: %s"), _T("Gelöschte Elemente"));
    LOGTRACE(_T("[MAPI] MAPI Login failed/\r\n"));
    LOGTRACE(_T("%d%%"), 50);
    EXPECT_EQ(ReadFile("trace.log"), "Ordner: Gel\xC3\xB6schte Elemente\n[MAPI] MAPI Login failed/\r\n50%\n");
    ASSERT_TRUE(mapipim::SetTraceTarget(nullptr));
    LOGTRACE(_T("not written"));
    ASSERT_TRUE(mapipim::SetTraceTarget(TracePath("trace.log")));
    LOGTRACE(_T("again"));
    EXPECT_EQ(ReadFile("trace.log").substr(ReadFile("trace.log").size() - 6), "again\n");
}

TEST_F(TraceTest, UnwritableTargetChangesNothing)
{
    ASSERT_TRUE(mapipim::SetTraceTarget(TracePath("kept.log")));
    EXPECT_FALSE(mapipim::SetTraceTarget(TracePath("missing-dir/trace.log")));
    EXPECT_FALSE(mapipim::SetTraceTarget(CString::FromUtf8(m_directory.c_str())));
    LOGTRACE(_T("still here"));
    EXPECT_EQ(ReadFile("kept.log"), "still here\n");
}

TEST_F(TraceTest, UnusableEnvironmentTargetMeansNoSink)
{
    ASSERT_EQ(setenv("MAPIPIM_TRACE", (m_directory + "/missing-dir/x.log").c_str(), 1), 0);
    EXPECT_FALSE(mapipim::TraceLog::ApplyEnvironment());
    EXPECT_FALSE(mapipim::TraceLog::IsListening());
    SetLastError(1234);
    LOGTRACE(_T("goes nowhere %s"), _T("at all"));
    EXPECT_EQ(GetLastError(), 1234u);

    ASSERT_EQ(setenv("MAPIPIM_TRACE", (m_directory + "/env.log").c_str(), 1), 0);
    EXPECT_TRUE(mapipim::TraceLog::ApplyEnvironment());
    LOGTRACE(_T("from the environment"));
    EXPECT_EQ(ReadFile("env.log"), "from the environment\n");
    unsetenv("MAPIPIM_TRACE");
    EXPECT_TRUE(mapipim::TraceLog::ApplyEnvironment());
    EXPECT_FALSE(mapipim::TraceLog::IsListening());
}

TEST_F(TraceTest, StandardErrorSink)
{
    ASSERT_TRUE(mapipim::SetTraceTarget(_T("-")));
    ::testing::internal::CaptureStderr();
    LOGTRACE(_T("to stderr: %u"), 7u);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "to stderr: 7\n");
}

TEST_F(TraceTest, FailingSinkKeepsTheCallersErrorState)
{
    ASSERT_TRUE(mapipim::SetTraceTarget(_T("/dev/full"))); // opens, but every write fails
    mapipim::TraceCapture capture;
    SetLastError(ERROR_FILE_NOT_FOUND);
    errno = EDOM;
    LOGTRACE(_T("line %d"), 1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(errno, EDOM);
    EXPECT_TRUE(capture.Contains(_T("line 1"))); // the other sinks still get the line
}

TEST_F(TraceTest, LinesFromManyThreadsStayWhole)
{
    ASSERT_TRUE(mapipim::SetTraceTarget(TracePath("threads.log")));
    mapipim::TraceCapture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(
            [t]
            {
                for (int i = 0; i < 200; ++i)
                    LOGTRACE(_T("thread %d line %03d"), t, i);
            });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(capture.GetLines().size(), 800u);
    EXPECT_TRUE(capture.Contains(_T("thread 3 line 199")));
    const std::string text = ReadFile("threads.log");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 800);
    EXPECT_NE(text.find("thread 2 line 100\n"), std::string::npos);
}

TEST_F(TraceTest, ForwardedVaList)
{
    mapipim::TraceCapture capture;
    const auto forward = [](LPCWSTR pszFormat, ...)
    {
        va_list args;
        va_start(args, pszFormat);
        LOGTRACEV(pszFormat, args);
        va_end(args);
    };
    forward(_T("%s : %d"), _T("PR_ATTACH_FILENAME"), 3);
    EXPECT_EQ(capture.GetLines(), std::vector<CString>{_T("PR_ATTACH_FILENAME : 3")});
}
} // namespace
