#include "platform/afx/CaseMapping.h"

#if !defined(_WIN32)
#include <unicode/uchar.h>
#include <unicode/utf16.h>
#endif

namespace mapipim
{
namespace
{
bool IsAscii(WCHAR unit)
{
    return unit < 0x80;
}

WCHAR AsciiLower(WCHAR unit)
{
    return unit >= u'A' && unit <= u'Z' ? static_cast<WCHAR>(unit + 32) : unit;
}

WCHAR AsciiUpper(WCHAR unit)
{
    return unit >= u'a' && unit <= u'z' ? static_cast<WCHAR>(unit - 32) : unit;
}

#if defined(_WIN32)
WCHAR MapUnit(WCHAR unit, bool bUpper)
{
    if (bUpper)
        CharUpperBuffW(&unit, 1);
    else
        CharLowerBuffW(&unit, 1);
    return unit;
}

void MapText(WCHAR* pText, int nLength, bool bUpper)
{
    if (bUpper)
        CharUpperBuffW(pText, static_cast<DWORD>(nLength));
    else
        CharLowerBuffW(pText, static_cast<DWORD>(nLength));
}
#else
UChar32 MapCodePoint(UChar32 codePoint, bool bUpper)
{
    return bUpper ? u_toupper(codePoint) : u_tolower(codePoint);
}

WCHAR MapUnit(WCHAR unit, bool bUpper)
{
    if (U16_IS_SURROGATE(unit))
        return unit;
    const UChar32 mapped = MapCodePoint(unit, bUpper);
    return mapped <= 0xFFFF ? static_cast<WCHAR>(mapped) : unit;
}

// Walks code points so that letters outside the basic plane map too; a mapping that would change the number of
// code units (none exists among the simple mappings) is skipped rather than allowed to move the text.
void MapText(WCHAR* pText, int nLength, bool bUpper)
{
    int i = 0;
    while (i < nLength)
    {
        const int nStart = i;
        UChar32 codePoint;
        U16_NEXT(pText, i, nLength, codePoint);
        const UChar32 mapped = MapCodePoint(codePoint, bUpper);
        if (mapped == codePoint || U16_LENGTH(mapped) != i - nStart)
            continue;
        int nWrite = nStart;
        U16_APPEND_UNSAFE(pText, nWrite, mapped);
    }
}
#endif

void MapInPlace(WCHAR* pText, int nLength, bool bUpper)
{
    bool bAsciiOnly = true;
    for (int i = 0; i < nLength; ++i)
    {
        if (!IsAscii(pText[i]))
        {
            bAsciiOnly = false;
            break;
        }
        pText[i] = bUpper ? AsciiUpper(pText[i]) : AsciiLower(pText[i]);
    }
    if (!bAsciiOnly)
        MapText(pText, nLength, bUpper);
}
} // namespace

void MakeLowerInPlace(WCHAR* pText, int nLength)
{
    MapInPlace(pText, nLength, false);
}

void MakeUpperInPlace(WCHAR* pText, int nLength)
{
    MapInPlace(pText, nLength, true);
}

WCHAR LowerCaseUnit(WCHAR unit)
{
    return IsAscii(unit) ? AsciiLower(unit) : MapUnit(unit, false);
}
} // namespace mapipim
