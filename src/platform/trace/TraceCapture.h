// Collects the trace lines written while it exists, exactly as formatted (no line break added), for tests that
// check the library's trace. Captures may nest: each sees the lines of its own lifetime. Thread-safe.
#pragma once

#include "platform/Mutex.h"
#include "platform/platform.h"

#include <vector>

namespace mapipim
{
class TraceCapture
{
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::vector<CString> GetLines() const;
    bool Contains(LPCWSTR pszLine) const;
    void Clear();

private:
    friend class TraceLog;
    void Append(const CString& strLine);

    mutable Mutex m_mutex;
    std::vector<CString> m_lines;
    TraceCapture* m_pNextCapture = nullptr; // the trace log's list of captures, guarded by its lock
};
} // namespace mapipim
