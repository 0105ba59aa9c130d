#include "platform/afx/CaseMapping.h"
#include "platform/afx/Utf8.h"
#include "platform/afx/WideFormat.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <string_view>
#include <utility>

namespace
{
using TextView = std::basic_string_view<WCHAR>;

// The text of every string that owns no buffer. Never written: capacity 0 keeps it out of every write path.
WCHAR g_szEmpty[1] = {0};

// Longest text a CString grows to; keeps every length and capacity computation far from int overflow.
constexpr int kMaxLength = INT_MAX / 4;

int MeasureText(LPCWSTR pszText)
{
    if (pszText == nullptr)
        return 0;
    int nLength = 0;
    while (pszText[nLength] != 0 && nLength < kMaxLength)
        ++nLength;
    return nLength;
}

int ClampLength(long long nLength)
{
    return nLength <= 0 ? 0 : nLength > kMaxLength ? kMaxLength : static_cast<int>(nLength);
}

TextView ViewOf(LPCWSTR pszText)
{
    return TextView(pszText ? pszText : g_szEmpty, static_cast<size_t>(MeasureText(pszText)));
}

bool IsInSet(LPCWSTR pszSet, WCHAR ch)
{
    for (; pszSet != nullptr && *pszSet != 0; ++pszSet)
        if (*pszSet == ch)
            return true;
    return false;
}

// What the C runtime's iswspace accepts in the Windows "C" locale: the ASCII controls, space, and the Unicode
// space separators.
bool IsWhiteSpace(WCHAR ch)
{
    switch (ch)
    {
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x20:
    case 0x85:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return ch >= 0x2000 && ch <= 0x200A;
    }
}

int Sign(int nValue)
{
    return nValue < 0 ? -1 : nValue > 0 ? 1 : 0;
}

bool IsSurrogatePair(WCHAR high, WCHAR low)
{
    return high >= 0xD800 && high <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF;
}
} // namespace

CString::CString() noexcept : m_pszData(g_szEmpty), m_nLength(0), m_nCapacity(0) {}

CString::CString(const CString& other) : CString()
{
    Assign(other.m_pszData, other.m_nLength);
}

CString::CString(CString&& other) noexcept
    : m_pszData(other.m_pszData), m_nLength(other.m_nLength), m_nCapacity(other.m_nCapacity)
{
    other.m_pszData = g_szEmpty;
    other.m_nLength = 0;
    other.m_nCapacity = 0;
}

CString::CString(LPCWSTR pszText) : CString()
{
    Assign(pszText, MeasureText(pszText));
}

CString::CString(LPCWSTR pchText, int nLength) : CString()
{
    Assign(pchText, nLength);
}

CString::CString(WCHAR ch, int nRepeat) : CString()
{
    const int nLength = ClampLength(nRepeat);
    Reserve(nLength, false);
    std::fill_n(m_pszData, nLength, ch);
    SetLength(nLength);
}

CString::~CString()
{
    Release();
}

CString& CString::operator=(const CString& other)
{
    if (this != &other)
        Assign(other.m_pszData, other.m_nLength);
    return *this;
}

CString& CString::operator=(CString&& other) noexcept
{
    if (this != &other)
    {
        Release();
        std::swap(m_pszData, other.m_pszData);
        std::swap(m_nLength, other.m_nLength);
        std::swap(m_nCapacity, other.m_nCapacity);
    }
    return *this;
}

CString& CString::operator=(LPCWSTR pszText)
{
    Assign(pszText, MeasureText(pszText));
    return *this;
}

CString& CString::operator=(WCHAR ch)
{
    Assign(&ch, 1);
    return *this;
}

void CString::Empty()
{
    Release();
}

void CString::SetAt(int nIndex, WCHAR ch)
{
    if (nIndex >= 0 && nIndex < m_nLength)
        m_pszData[nIndex] = ch;
}

// ---- Extraction

CString CString::Left(int nCount) const
{
    return CString(m_pszData, std::min(std::max(nCount, 0), m_nLength));
}

CString CString::Mid(int iFirst) const
{
    return Mid(iFirst, m_nLength);
}

CString CString::Mid(int iFirst, int nCount) const
{
    iFirst = std::max(iFirst, 0);
    if (iFirst >= m_nLength)
        return CString();
    nCount = std::min(std::max(nCount, 0), m_nLength - iFirst);
    return CString(m_pszData + iFirst, nCount);
}

CString CString::Right(int nCount) const
{
    nCount = std::min(std::max(nCount, 0), m_nLength);
    return CString(m_pszData + m_nLength - nCount, nCount);
}

CString CString::SpanIncluding(LPCWSTR pszCharSet) const
{
    int nSpan = 0;
    while (nSpan < m_nLength && IsInSet(pszCharSet, m_pszData[nSpan]))
        ++nSpan;
    return Left(nSpan);
}

CString CString::SpanExcluding(LPCWSTR pszCharSet) const
{
    const int nFound = FindOneOf(pszCharSet);
    return nFound < 0 ? *this : Left(nFound);
}

// MFC returns the rest of the text for an empty delimiter set without moving iStart, which makes the usual
// "while (iStart != -1)" loop endless; here iStart moves past the end so the next call finishes the loop.
CString CString::Tokenize(LPCWSTR pszTokens, int& iStart) const
{
    if (iStart >= 0 && iStart < m_nLength)
    {
        if (pszTokens == nullptr || *pszTokens == 0)
        {
            CString rest = Mid(iStart);
            iStart = m_nLength;
            return rest;
        }
        int iFrom = iStart;
        while (iFrom < m_nLength && IsInSet(pszTokens, m_pszData[iFrom]))
            ++iFrom;
        if (iFrom < m_nLength)
        {
            int iUntil = iFrom;
            while (iUntil < m_nLength && !IsInSet(pszTokens, m_pszData[iUntil]))
                ++iUntil;
            iStart = iUntil + 1;
            return Mid(iFrom, iUntil - iFrom);
        }
    }
    iStart = -1;
    return CString();
}

// ---- Searching

int CString::Find(WCHAR ch, int iStart) const
{
    if (iStart < 0 || iStart >= m_nLength)
        return -1;
    const size_t nFound = TextView(m_pszData, m_nLength).find(ch, static_cast<size_t>(iStart));
    return nFound == TextView::npos ? -1 : static_cast<int>(nFound);
}

int CString::Find(LPCWSTR pszSub, int iStart) const
{
    if (pszSub == nullptr || iStart < 0 || iStart > m_nLength)
        return -1;
    const size_t nFound = TextView(m_pszData, m_nLength).find(ViewOf(pszSub), static_cast<size_t>(iStart));
    return nFound == TextView::npos ? -1 : static_cast<int>(nFound);
}

int CString::ReverseFind(WCHAR ch) const
{
    const size_t nFound = TextView(m_pszData, m_nLength).rfind(ch);
    return nFound == TextView::npos ? -1 : static_cast<int>(nFound);
}

int CString::FindOneOf(LPCWSTR pszCharSet) const
{
    for (int i = 0; i < m_nLength; ++i)
        if (IsInSet(pszCharSet, m_pszData[i]))
            return i;
    return -1;
}

// ---- Editing

int CString::Replace(WCHAR chOld, WCHAR chNew)
{
    if (chOld == chNew)
        return 0;
    int nCount = 0;
    for (int i = 0; i < m_nLength; ++i)
    {
        if (m_pszData[i] == chOld)
        {
            m_pszData[i] = chNew;
            ++nCount;
        }
    }
    return nCount;
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew)
{
    const TextView oldText = ViewOf(pszOld);
    const TextView newText = ViewOf(pszNew);
    const TextView text(m_pszData, m_nLength);
    if (oldText.empty())
        return 0;
    mapipim::WideString result;
    int nCount = 0;
    size_t nFrom = 0;
    for (size_t nFound = text.find(oldText); nFound != TextView::npos; nFound = text.find(oldText, nFrom))
    {
        result.append(text.substr(nFrom, nFound - nFrom)).append(newText);
        nFrom = nFound + oldText.size();
        ++nCount;
    }
    if (nCount > 0)
    {
        result.append(text.substr(nFrom));
        Assign(result.data(), ClampLength(static_cast<long long>(result.size())));
    }
    return nCount;
}

int CString::Remove(WCHAR ch)
{
    WCHAR* pEnd = std::remove(m_pszData, m_pszData + m_nLength, ch);
    const int nRemoved = m_nLength - static_cast<int>(pEnd - m_pszData);
    if (nRemoved > 0)
        SetLength(m_nLength - nRemoved);
    return nRemoved;
}

int CString::Insert(int iIndex, WCHAR ch)
{
    Splice(std::min(std::max(iIndex, 0), m_nLength), 0, &ch, 1);
    return m_nLength;
}

int CString::Insert(int iIndex, LPCWSTR pszText)
{
    Splice(std::min(std::max(iIndex, 0), m_nLength), 0, pszText, MeasureText(pszText));
    return m_nLength;
}

int CString::Delete(int iIndex, int nCount)
{
    iIndex = std::max(iIndex, 0);
    nCount = std::min(std::max(nCount, 0), m_nLength - iIndex);
    if (nCount > 0)
        Splice(iIndex, nCount, g_szEmpty, 0);
    return m_nLength;
}

void CString::Truncate(int nNewLength)
{
    if (nNewLength >= 0 && nNewLength < m_nLength)
        SetLength(nNewLength);
}

CString& CString::Append(LPCWSTR pszText)
{
    return Append(pszText, MeasureText(pszText));
}

CString& CString::Append(LPCWSTR pchText, int nLength)
{
    if (pchText != nullptr && nLength > 0)
        Splice(m_nLength, 0, pchText, nLength);
    return *this;
}

CString& CString::AppendChar(WCHAR ch)
{
    return Append(&ch, 1);
}

CString& CString::Trim()
{
    return TrimWhere(true, true, nullptr, 0);
}

CString& CString::Trim(WCHAR chTarget)
{
    return TrimWhere(true, true, nullptr, chTarget);
}

CString& CString::Trim(LPCWSTR pszTargets)
{
    return TrimWhere(true, true, pszTargets ? pszTargets : g_szEmpty, 0);
}

CString& CString::TrimLeft()
{
    return TrimWhere(true, false, nullptr, 0);
}

CString& CString::TrimLeft(WCHAR chTarget)
{
    return TrimWhere(true, false, nullptr, chTarget);
}

CString& CString::TrimLeft(LPCWSTR pszTargets)
{
    return TrimWhere(true, false, pszTargets ? pszTargets : g_szEmpty, 0);
}

CString& CString::TrimRight()
{
    return TrimWhere(false, true, nullptr, 0);
}

CString& CString::TrimRight(WCHAR chTarget)
{
    return TrimWhere(false, true, nullptr, chTarget);
}

CString& CString::TrimRight(LPCWSTR pszTargets)
{
    return TrimWhere(false, true, pszTargets ? pszTargets : g_szEmpty, 0);
}

// pszTargets null with chTarget 0 trims white space; pszTargets null otherwise trims chTarget; else the set.
CString& CString::TrimWhere(bool bLeft, bool bRight, LPCWSTR pszTargets, WCHAR chTarget)
{
    const auto isTarget = [&](WCHAR ch)
    {
        if (pszTargets != nullptr)
            return IsInSet(pszTargets, ch);
        return chTarget == 0 ? IsWhiteSpace(ch) : ch == chTarget;
    };
    int iEnd = m_nLength;
    while (bRight && iEnd > 0 && isTarget(m_pszData[iEnd - 1]))
        --iEnd;
    int iBegin = 0;
    while (bLeft && iBegin < iEnd && isTarget(m_pszData[iBegin]))
        ++iBegin;
    if (iBegin > 0 || iEnd < m_nLength)
    {
        std::memmove(m_pszData, m_pszData + iBegin, (iEnd - iBegin) * sizeof(WCHAR));
        SetLength(iEnd - iBegin);
    }
    return *this;
}

CString& CString::MakeLower()
{
    mapipim::MakeLowerInPlace(m_pszData, m_nLength);
    return *this;
}

CString& CString::MakeUpper()
{
    mapipim::MakeUpperInPlace(m_pszData, m_nLength);
    return *this;
}

// Reverses characters, not code units: a surrogate pair stays in its order.
CString& CString::MakeReverse()
{
    std::reverse(m_pszData, m_pszData + m_nLength);
    for (int i = 0; i + 1 < m_nLength; ++i)
    {
        if (IsSurrogatePair(m_pszData[i + 1], m_pszData[i]))
        {
            std::swap(m_pszData[i], m_pszData[i + 1]);
            ++i;
        }
    }
    return *this;
}

// ---- Comparison

// Both comparisons read each side up to its first NUL, as wcscmp does in MFC: a string holding a NUL equals
// itself, rather than comparing its whole length against the other side cut at the NUL.
int CString::Compare(LPCWSTR pszOther) const
{
    return Sign(ViewOf(m_pszData).compare(ViewOf(pszOther)));
}

int CString::CompareNoCase(LPCWSTR pszOther) const
{
    const TextView self = ViewOf(m_pszData);
    const TextView other = ViewOf(pszOther);
    const size_t nCommon = std::min(other.size(), self.size());
    for (size_t i = 0; i < nCommon; ++i)
    {
        const WCHAR mine = mapipim::LowerCaseUnit(self[i]);
        const WCHAR theirs = mapipim::LowerCaseUnit(other[i]);
        if (mine != theirs)
            return mine < theirs ? -1 : 1;
    }
    return self.size() == other.size() ? 0 : self.size() < other.size() ? -1 : 1;
}

// ---- Formatting

void CString::FormatArgs(bool bAppend, LPCWSTR pszFormat, const mapipim::FormatArg* pArgs, int nArgs)
{
    mapipim::WideString text;
    mapipim::AppendFormatted(text, pszFormat, pArgs, nArgs);
    if (bAppend)
        Append(text.data(), ClampLength(static_cast<long long>(text.size())));
    else
        Assign(text.data(), ClampLength(static_cast<long long>(text.size())));
}

void CString::FormatV(LPCWSTR pszFormat, va_list args)
{
    mapipim::WideString text;
    mapipim::AppendFormattedV(text, pszFormat, args);
    Assign(text.data(), ClampLength(static_cast<long long>(text.size())));
}

void CString::AppendFormatV(LPCWSTR pszFormat, va_list args)
{
    mapipim::WideString text;
    mapipim::AppendFormattedV(text, pszFormat, args);
    Append(text.data(), ClampLength(static_cast<long long>(text.size())));
}

// ---- Buffer access

LPWSTR CString::GetBuffer()
{
    return GetBuffer(m_nLength);
}

LPWSTR CString::GetBuffer(int nMinBufferLength)
{
    Reserve(std::max({ClampLength(nMinBufferLength), m_nLength, 1}), true);
    std::fill(m_pszData + m_nLength, m_pszData + m_nCapacity + 1, WCHAR(0));
    return m_pszData;
}

LPWSTR CString::GetBufferSetLength(int nLength)
{
    nLength = ClampLength(nLength);
    GetBuffer(nLength);
    SetLength(nLength);
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (m_nCapacity == 0)
        return;
    if (nNewLength < 0)
        nNewLength = static_cast<int>(std::find(m_pszData, m_pszData + m_nCapacity, WCHAR(0)) - m_pszData);
    SetLength(std::min(nNewLength, m_nCapacity));
}

CString& CString::operator+=(const CString& other)
{
    return Append(other.m_pszData, other.m_nLength);
}

CString& CString::operator+=(LPCWSTR pszText)
{
    return Append(pszText);
}

CString& CString::operator+=(WCHAR ch)
{
    return AppendChar(ch);
}

// ---- UTF-8

CString CString::FromUtf8(const char* pszUtf8, int nBytes)
{
    if (pszUtf8 == nullptr)
        return CString();
    const size_t nSize = nBytes < 0 ? std::strlen(pszUtf8) : static_cast<size_t>(nBytes);
    mapipim::WideString text;
    mapipim::AppendUtf8AsUtf16(pszUtf8, nSize, text);
    return CString(text.data(), ClampLength(static_cast<long long>(text.size())));
}

int CString::GetUtf8(char* pBuffer, int nSize) const
{
    std::string text;
    mapipim::AppendUtf16AsUtf8(m_pszData, static_cast<size_t>(m_nLength), text);
    if (pBuffer != nullptr && nSize > 0)
    {
        size_t nCopy = std::min(text.size(), static_cast<size_t>(nSize));
        while (nCopy < text.size() && nCopy > 0 && (static_cast<unsigned char>(text[nCopy]) & 0xC0) == 0x80)
            --nCopy;
        std::memcpy(pBuffer, text.data(), nCopy);
    }
    return static_cast<int>(text.size());
}

CString CString::Concat(LPCWSTR pchLeft, int nLeft, LPCWSTR pchRight, int nRight)
{
    nLeft = pchLeft == nullptr ? 0 : nLeft < 0 ? MeasureText(pchLeft) : nLeft;
    nRight = pchRight == nullptr ? 0 : nRight < 0 ? MeasureText(pchRight) : nRight;
    CString result;
    result.Reserve(ClampLength(static_cast<long long>(nLeft) + nRight), false);
    result.Append(pchLeft, nLeft);
    result.Append(pchRight, nRight);
    return result;
}

// ---- Storage

void CString::Assign(LPCWSTR pchText, int nLength)
{
    nLength = pchText == nullptr ? 0 : ClampLength(nLength);
    if (nLength > 0 && std::less_equal<LPCWSTR>()(m_pszData, pchText) &&
        std::less<LPCWSTR>()(pchText, m_pszData + m_nLength))
    {
        const int nAvailable = m_nLength - static_cast<int>(pchText - m_pszData);
        nLength = std::min(nLength, nAvailable);
        std::memmove(m_pszData, pchText, nLength * sizeof(WCHAR));
        SetLength(nLength);
        return;
    }
    Reserve(nLength, false);
    if (nLength > 0)
        std::memcpy(m_pszData, pchText, nLength * sizeof(WCHAR));
    SetLength(nLength);
}

// Replaces nRemove characters at iIndex with the given text, which may lie inside this string's own buffer.
void CString::Splice(int iIndex, int nRemove, LPCWSTR pchInsert, int nInsert)
{
    const bool bInside = nInsert > 0 && std::less_equal<LPCWSTR>()(m_pszData, pchInsert) &&
                         std::less_equal<LPCWSTR>()(pchInsert, m_pszData + m_nLength);
    const mapipim::WideString copy = bInside ? mapipim::WideString(pchInsert, nInsert) : mapipim::WideString();
    if (bInside)
        pchInsert = copy.data();
    const int nNewLength = ClampLength(static_cast<long long>(m_nLength) - nRemove + nInsert);
    nInsert = nNewLength - (m_nLength - nRemove);
    if (nInsert < 0)
        return;
    Reserve(nNewLength, true);
    std::memmove(m_pszData + iIndex + nInsert, m_pszData + iIndex + nRemove,
                 (m_nLength - iIndex - nRemove) * sizeof(WCHAR));
    if (nInsert > 0)
        std::memcpy(m_pszData + iIndex, pchInsert, nInsert * sizeof(WCHAR));
    SetLength(nNewLength);
}

void CString::Reserve(int nCapacity, bool bKeepText)
{
    if (nCapacity <= m_nCapacity)
        return;
    if (bKeepText)
        nCapacity = std::max(nCapacity, std::min(kMaxLength, m_nCapacity + m_nCapacity / 2));
    LPWSTR pszData = new WCHAR[static_cast<size_t>(nCapacity) + 1];
    const int nKeep = bKeepText ? m_nLength : 0;
    std::memcpy(pszData, m_pszData, nKeep * sizeof(WCHAR));
    pszData[nKeep] = 0;
    Release();
    m_pszData = pszData;
    m_nCapacity = nCapacity;
    m_nLength = nKeep;
}

void CString::SetLength(int nLength)
{
    m_nLength = nLength;
    if (m_nCapacity > 0)
        m_pszData[nLength] = 0;
}

void CString::Release()
{
    if (m_nCapacity > 0)
        delete[] m_pszData;
    m_pszData = g_szEmpty;
    m_nLength = 0;
    m_nCapacity = 0;
}
