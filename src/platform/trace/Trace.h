// LOGTRACE: the library's trace log. Library code writes each failure with its exact text,
// `LOGTRACE(_T("[MAPI] Get failed : strSubject"))`, or with printf-style arguments,
// `LOGTRACE(_T("[MAPI] Set failed : %s(strLocation) - Folder:%s"), strLocation, folder.strName)`.
//
// The formatted text reaches the sink as it is: no prefix, time stamp or level. Arguments are captured with their
// types (see FormatArg.h), so CString values may be passed for %s. Tracing never changes what the caller sees: it
// cannot fail, throw, or alter GetLastError, and costs next to nothing while no sink listens.
#pragma once

#include "platform/platform.h"

#include <cstdarg>

namespace mapipim
{
void WriteTrace(LPCWSTR pszFormat, const FormatArg* pArgs, int nArgs);
void WriteTraceV(LPCWSTR pszFormat, va_list args);
} // namespace mapipim

template <typename... Args> void LOGTRACE(LPCWSTR pszFormat, const Args&... args)
{
    const mapipim::FormatArg packed[sizeof...(Args) + 1] = {mapipim::FormatArg(args)...};
    mapipim::WriteTrace(pszFormat, packed, static_cast<int>(sizeof...(Args)));
}

// For callers that forward their own variadic arguments.
inline void LOGTRACEV(LPCWSTR pszFormat, va_list args)
{
    mapipim::WriteTraceV(pszFormat, args);
}
