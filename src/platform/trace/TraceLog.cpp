#include "platform/trace/TraceLog.h"

#include "platform/Mutex.h"
#include "platform/trace/TraceCapture.h"

#include <mapipim/Trace.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace mapipim
{
namespace
{
enum class SinkKind
{
    None,
    File,
    StandardError
};

// Constant-initialised, so tracing works from other static constructors and destructors. The file is never
// destroyed at exit for the same reason; every line is written through at once, so nothing is lost.
Mutex g_mutex;
std::atomic<bool> g_bConfigured{false};
std::atomic<bool> g_bListening{false};
SinkKind g_sink = SinkKind::None;
CFile* g_pFile = nullptr;
TraceCapture* g_pCaptures = nullptr;

CString EnvironmentTarget()
{
#if defined(_WIN32)
    return CString(_wgetenv(L"MAPIPIM_TRACE"));
#else
    return CString::FromUtf8(std::getenv("MAPIPIM_TRACE"));
#endif
}

bool IsStandardError(LPCWSTR pszTarget)
{
    return pszTarget[0] == '-' && pszTarget[1] == 0;
}

// The callers of everything below hold g_mutex.
void UpdateListening()
{
    g_bListening = g_sink != SinkKind::None || g_pCaptures != nullptr;
}

// Opens the new sink first, so that a target that cannot be opened leaves the old one in place.
bool ApplyTarget(LPCWSTR pszTarget)
{
    CFile* pFile = nullptr;
    SinkKind sink = SinkKind::None;
    if (pszTarget != nullptr && *pszTarget != 0)
    {
        sink = IsStandardError(pszTarget) ? SinkKind::StandardError : SinkKind::File;
        if (sink == SinkKind::File)
        {
            pFile = new CFile;
            if (!pFile->Open(pszTarget, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite |
                                            CFile::shareDenyNone | CFile::typeBinary))
            {
                delete pFile;
                return false;
            }
            pFile->SeekToEnd();
        }
    }
    delete g_pFile;
    g_pFile = pFile;
    g_sink = sink;
    UpdateListening();
    g_bConfigured = true;
    return true;
}

// An unusable MAPIPIM_TRACE means no sink, not a new attempt on every line.
bool ApplyEnvironmentTarget()
{
    if (ApplyTarget(EnvironmentTarget()))
        return true;
    ApplyTarget(nullptr);
    return false;
}

void WriteToSink(const CString& strLine)
{
    if (g_sink == SinkKind::None)
        return;
    std::string bytes = strLine.ToUtf8();
    if (bytes.empty() || bytes.back() != '\n')
        bytes += '\n';
    if (g_sink == SinkKind::File)
        g_pFile->Write(bytes.data(), static_cast<UINT>(bytes.size()));
    else
    {
        std::fwrite(bytes.data(), 1, bytes.size(), stderr);
        std::fflush(stderr);
    }
}
} // namespace

bool TraceLog::SetTarget(LPCWSTR pszTarget)
{
    MutexLock lock(g_mutex);
    return ApplyTarget(pszTarget);
}

bool TraceLog::ApplyEnvironment()
{
    MutexLock lock(g_mutex);
    return ApplyEnvironmentTarget();
}

bool TraceLog::IsListening()
{
    if (!g_bConfigured)
    {
        MutexLock lock(g_mutex);
        if (!g_bConfigured)
            ApplyEnvironmentTarget();
    }
    return g_bListening;
}

void TraceLog::Publish(const CString& strLine)
{
    MutexLock lock(g_mutex);
    WriteToSink(strLine);
    for (TraceCapture* pCapture = g_pCaptures; pCapture != nullptr; pCapture = pCapture->m_pNextCapture)
        pCapture->Append(strLine);
}

void TraceLog::Attach(TraceCapture* pCapture)
{
    MutexLock lock(g_mutex);
    pCapture->m_pNextCapture = g_pCaptures;
    g_pCaptures = pCapture;
    UpdateListening();
}

void TraceLog::Detach(TraceCapture* pCapture)
{
    MutexLock lock(g_mutex);
    for (TraceCapture** ppLink = &g_pCaptures; *ppLink != nullptr; ppLink = &(*ppLink)->m_pNextCapture)
    {
        if (*ppLink == pCapture)
        {
            *ppLink = pCapture->m_pNextCapture;
            break;
        }
    }
    UpdateListening();
}

BOOL SetTraceTarget(LPCWSTR pszTarget)
{
    return TraceLog::SetTarget(pszTarget) ? TRUE : FALSE;
}
} // namespace mapipim
