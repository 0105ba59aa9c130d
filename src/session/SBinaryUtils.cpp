#include <mapipim/SBinaryUtils.h>

#include "session/SBinaryBytes.h"

#include <climits>
#include <cstring>

using namespace mapipim;

namespace
{
const WCHAR kHexDigits[] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};

int HexDigitValue(WCHAR ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    return -1;
}

bool IsWhiteSpace(WCHAR ch)
{
    return ch == ' ' || (ch >= 0x09 && ch <= 0x0D);
}

bool IsHexPrefixMark(WCHAR ch)
{
    return ch == 'x' || ch == 'X';
}

// The value the C runtime's wcstol(text, NULL, 16) gives for text of at most two characters (a zero second
// character ends it): leading white space skipped, a sign accepted, conversion stopped at the first character
// that is not a hexadecimal digit. Two characters leave no room for a "0x" prefix followed by a digit.
long ParseHexPair(WCHAR chFirst, WCHAR chSecond)
{
    const WCHAR text[] = {chFirst, chSecond, 0};
    const WCHAR* p = text;
    while (IsWhiteSpace(*p))
        ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-')
    {
        bNegative = *p == '-';
        ++p;
    }
    long lValue = 0;
    for (int nDigit; (nDigit = HexDigitValue(*p)) >= 0; ++p)
        lValue = lValue * 16 + nDigit;
    return bNegative ? -lValue : lValue;
}

// Where the digits of hexadecimal text begin: after an "x" at position 0, and after an "x" at position 1 whatever
// stands before it, so that "x", "0x" and "xx" are all skipped.
int HexPrefixLength(LPCWSTR pszText, int nLength)
{
    int iStart = 0;
    if (nLength > 0 && IsHexPrefixMark(pszText[0]))
        iStart = 1;
    if (nLength > 1 && IsHexPrefixMark(pszText[1]))
        iStart = 2;
    return iStart;
}
} // namespace

BOOL CopySBinary(SBinary& target, const SBinary& source)
{
    // The new bytes are made before the old ones are released, so that a source that shares the target's bytes
    // (or is the target) is still readable while it is copied.
    LPBYTE lpbCopy = nullptr;
    if (source.cb != 0 && source.lpb != nullptr)
    {
        lpbCopy = AllocateSBinaryBytes(source.cb);
        if (lpbCopy != nullptr)
            std::memcpy(lpbCopy, source.lpb, source.cb);
    }
    const ULONG cbCopy = lpbCopy != nullptr ? source.cb : 0;
    FreeSBinary(target);
    target.cb = cbCopy;
    target.lpb = lpbCopy;
    return source.cb == 0 || lpbCopy != nullptr;
}

BOOL CompareSBinary(const SBinary& first, const SBinary& second)
{
    if (first.cb != second.cb)
        return FALSE;
    if (first.cb == 0 || first.lpb == second.lpb)
        return TRUE;
    if (first.lpb == nullptr || second.lpb == nullptr)
        return FALSE;
    return std::memcmp(first.lpb, second.lpb, first.cb) == 0;
}

BOOL GetSBinaryToString(CString& strText, SBinary value)
{
    if (value.cb == 0 || value.lpb == nullptr || value.cb > ULONG(INT_MAX / 2))
        return FALSE;
    const int nLength = int(value.cb * 2);
    LPWSTR pszOut = strText.GetBufferSetLength(nLength);
    for (ULONG i = 0; i < value.cb; ++i)
    {
        *pszOut++ = kHexDigits[value.lpb[i] >> 4];
        *pszOut++ = kHexDigits[value.lpb[i] & 0x0F];
    }
    strText.ReleaseBuffer(nLength);
    return TRUE;
}

BOOL GetStringToSBinary(SBinary& value, CString strText)
{
    const int nLength = strText.GetLength();
    if (nLength == 0)
        return FALSE;
    FreeSBinary(value);

    const ULONG cbMost = ULONG(nLength / 2);
    LPBYTE lpb = AllocateSBinaryBytes(cbMost);
    if (cbMost != 0 && lpb == nullptr)
        return FALSE;

    LPCWSTR pszText = strText;
    ULONG cbMade = 0;
    for (int iPos = HexPrefixLength(pszText, nLength); cbMade < cbMost && iPos < nLength; iPos += 2)
    {
        const WCHAR chSecond = iPos + 1 < nLength ? pszText[iPos + 1] : WCHAR(0);
        lpb[cbMade++] = BYTE(ParseHexPair(pszText[iPos], chSecond) & 0xFF);
    }

    // Text that held only a prefix makes no bytes: keep the rule that an empty value holds no buffer.
    if (cbMade == 0)
    {
        delete[] lpb;
        lpb = nullptr;
    }
    value.cb = cbMade;
    value.lpb = lpb;
    return TRUE;
}
