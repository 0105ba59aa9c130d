#include "platform/trace/TraceCapture.h"

#include "platform/trace/TraceLog.h"

#include <algorithm>

namespace mapipim
{
TraceCapture::TraceCapture()
{
    TraceLog::Attach(this);
}

TraceCapture::~TraceCapture()
{
    TraceLog::Detach(this);
}

std::vector<CString> TraceCapture::GetLines() const
{
    MutexLock lock(m_mutex);
    return m_lines;
}

bool TraceCapture::Contains(LPCWSTR pszLine) const
{
    MutexLock lock(m_mutex);
    return std::find(m_lines.begin(), m_lines.end(), CString(pszLine)) != m_lines.end();
}

void TraceCapture::Clear()
{
    MutexLock lock(m_mutex);
    m_lines.clear();
}

void TraceCapture::Append(const CString& strLine)
{
    MutexLock lock(m_mutex);
    m_lines.push_back(strLine);
}
} // namespace mapipim
