// Small helpers of the Windows-only tests: text between the library's CString and the C++ library's strings, and
// the locale that the test run was started in.
#pragma once

#include <mapipim/platform.h>

#include <cstdlib>
#include <string>

inline std::wstring Wide(const CString& text)
{
    return std::wstring(static_cast<LPCWSTR>(text), text.GetLength());
}

inline std::string Narrow(const CString& text)
{
    return text.ToUtf8();
}

// LC_ALL as CTest set it for this run ("de_DE.UTF-8"), or empty.
inline std::string ExpectedLocale()
{
    const char* pszLocale = std::getenv("MAPIPIM_EXPECT_LOCALE");
    return pszLocale ? pszLocale : "";
}
