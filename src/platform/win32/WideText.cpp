// The Win32 wide-text helpers. lstrcmpW and lstrcmpiW compare linguistically, as Windows does (a < B < c), with
// ICU's root collation; text that collates equal but differs in code units is ordered by code unit, so only the
// same text (or, for lstrcmpiW, text differing in case alone) compares equal.
#include "platform/platform.h"

#include "platform/afx/CaseMapping.h"

#include <unicode/ucol.h>

#include <memory>

namespace
{
struct CollatorCloser
{
    void operator()(UCollator* pCollator) const { ucol_close(pCollator); }
};
using CollatorHandle = std::unique_ptr<UCollator, CollatorCloser>;

// One collator per thread and strength; null when ICU cannot open one (the comparison is then ordinal).
UCollator* GetCollator(bool bIgnoreCase)
{
    thread_local CollatorHandle collators[2];
    CollatorHandle& collator = collators[bIgnoreCase ? 1 : 0];
    if (!collator)
    {
        UErrorCode status = U_ZERO_ERROR;
        collator.reset(ucol_open("", &status));
        if (U_FAILURE(status))
            collator.reset();
        else
            ucol_setStrength(collator.get(), bIgnoreCase ? UCOL_SECONDARY : UCOL_TERTIARY);
    }
    return collator.get();
}

int CompareOrdinal(LPCWSTR pszLeft, LPCWSTR pszRight, bool bIgnoreCase)
{
    for (;; ++pszLeft, ++pszRight)
    {
        const WCHAR left = bIgnoreCase ? mapipim::LowerCaseUnit(*pszLeft) : *pszLeft;
        const WCHAR right = bIgnoreCase ? mapipim::LowerCaseUnit(*pszRight) : *pszRight;
        if (left != right)
            return left < right ? -1 : 1;
        if (left == 0)
            return 0;
    }
}

// Windows treats a null string as smaller than any other.
int Compare(LPCWSTR pszLeft, LPCWSTR pszRight, bool bIgnoreCase)
{
    if (pszLeft == nullptr || pszRight == nullptr)
        return pszLeft == pszRight ? 0 : pszLeft == nullptr ? -1 : 1;
    if (UCollator* pCollator = GetCollator(bIgnoreCase))
    {
        const UCollationResult result = ucol_strcoll(pCollator, pszLeft, -1, pszRight, -1);
        if (result != UCOL_EQUAL)
            return result == UCOL_LESS ? -1 : 1;
    }
    return CompareOrdinal(pszLeft, pszRight, bIgnoreCase);
}

// Addresses this low are never readable: the null page and what MAKEINTRESOURCE-style casts produce.
bool IsLowAddress(const void* pointer)
{
    return reinterpret_cast<uintptr_t>(pointer) < 0x10000;
}
} // namespace

int lstrlenW(LPCWSTR lpString)
{
    if (lpString == nullptr)
        return 0;
    int nLength = 0;
    while (lpString[nLength] != 0)
        ++nLength;
    return nLength;
}

int lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2)
{
    return Compare(lpString1, lpString2, false);
}

int lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2)
{
    return Compare(lpString1, lpString2, true);
}

// Copies at most iMaxLength - 1 characters and always terminates. Null pointers fail with a null result where
// Windows would fault; a length of 0 or less copies nothing.
LPWSTR lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength)
{
    if (lpString1 == nullptr || lpString2 == nullptr)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (iMaxLength <= 0)
        return lpString1;
    int i = 0;
    for (; i < iMaxLength - 1 && lpString2[i] != 0; ++i)
        lpString1[i] = lpString2[i];
    lpString1[i] = 0;
    return lpString1;
}

BOOL IsBadStringPtrW(LPCWSTR lpsz, UINT_PTR ucchMax)
{
    if (lpsz == nullptr || (ucchMax > 0 && IsLowAddress(lpsz)))
        return TRUE;
    return FALSE;
}

BOOL IsBadStringPtrA(LPCSTR lpsz, UINT_PTR ucchMax)
{
    if (lpsz == nullptr || (ucchMax > 0 && IsLowAddress(lpsz)))
        return TRUE;
    return FALSE;
}
