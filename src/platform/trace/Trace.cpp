#include "platform/trace/Trace.h"

#include "platform/afx/WideFormat.h"
#include "platform/trace/TraceLog.h"

#include <cerrno>

namespace mapipim
{
namespace
{
// Writing a trace line must not change what GetLastError or errno report to the caller afterwards.
class ErrorStateKeeper
{
public:
    ErrorStateKeeper() : m_dwLastError(GetLastError()), m_nErrno(errno) {}
    ~ErrorStateKeeper()
    {
        SetLastError(m_dwLastError);
        errno = m_nErrno;
    }
    ErrorStateKeeper(const ErrorStateKeeper&) = delete;
    ErrorStateKeeper& operator=(const ErrorStateKeeper&) = delete;

private:
    DWORD m_dwLastError;
    int m_nErrno;
};

template <class FormatLine> void Trace(const FormatLine& formatLine)
{
    ErrorStateKeeper keeper;
    try
    {
        if (!TraceLog::IsListening())
            return;
        WideString text;
        formatLine(text);
        TraceLog::Publish(CString(text.data(), static_cast<int>(text.size())));
    }
    catch (...)
    {
        // Out of memory while tracing: the line is lost, the caller carries on.
    }
}
} // namespace

void WriteTrace(LPCWSTR pszFormat, const FormatArg* pArgs, int nArgs)
{
    Trace([&](WideString& text) { AppendFormatted(text, pszFormat, pArgs, nArgs); });
}

void WriteTraceV(LPCWSTR pszFormat, va_list args)
{
    Trace([&](WideString& text) { AppendFormattedV(text, pszFormat, args); });
}
} // namespace mapipim
