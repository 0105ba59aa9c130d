// The ICU converter behind a Windows code page. Converters keep state while they work, so each thread has its own,
// opened at its first use of a code page and kept until the thread ends: a conversion never opens one.
#pragma once

#include <mapipim/win32/winapi.h>

#include <unicode/ucnv.h>

#include <array>

namespace mapipim::win32
{
class CodePageConverter
{
public:
    // The calling thread's converter for a concrete code page (not CP_ACP); null when the code page is unknown or
    // is one that Windows does not convert with these calls (UTF-16).
    static CodePageConverter* ForThisThread(UINT codePage);

    CodePageConverter(UINT codePage, UConverter* converter);
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    UINT CodePage() const { return m_codePage; }
    UConverter* Get() const { return m_converter; }
    // UTF-8 and UTF-7 follow rules of their own in the conversion calls.
    bool IsUnicode() const { return m_codePage == CP_UTF8 || m_codePage == CP_UTF7; }
    bool IsLeadByte(BYTE byte) const { return m_leadBytes[byte]; }

private:
    UINT m_codePage;
    UConverter* m_converter;
    std::array<bool, 256> m_leadBytes{};
};

// CP_ACP and CP_THREAD_ACP become the process's ANSI code page, CP_OEMCP its OEM code page.
UINT ResolveCodePage(UINT codePage);
} // namespace mapipim::win32
