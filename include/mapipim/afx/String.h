// CString: UTF-16 text with the members and semantics of MFC's CString (Unicode build), for builds without MFC.
//
// Differences from MFC, all deliberate:
// - Nothing throws. An index outside the text reads as 0 and is ignored by SetAt; counts clamp as Left/Mid/Right
//   do in MFC.
// - Format and AppendFormat capture their arguments with their types (see FormatArg.h), so a CString may be passed
//   for %s directly, and a format that names more arguments than were given prints the surplus conversions as
//   they stand instead of reading foreign memory. FormatV/AppendFormatV take a va_list for forwarding callers.
// - There is no constructor from 8-bit text: which code page such text is in is the caller's knowledge (use
//   MultiByteToWideChar, or FromUtf8 for UTF-8).
//
// The include guard sits below the platform include on purpose: the platform header includes every afx header, so
// whichever header a host includes first, the base types are declared before any class body is read.
#include <mapipim/platform.h>

#ifndef MAPIPIM_AFX_STRING_H
#define MAPIPIM_AFX_STRING_H

#include <mapipim/afx/FormatArg.h>

#include <cstdarg>
#include <string>

class MAPIPIM_API CString
{
public:
    CString() noexcept;
    CString(const CString& other);
    CString(CString&& other) noexcept;
    CString(LPCWSTR pszText); // null gives an empty string
    CString(LPCWSTR pchText, int nLength);
    explicit CString(WCHAR ch, int nRepeat = 1);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(LPCWSTR pszText);
    CString& operator=(WCHAR ch);

    // ---- Size and characters
    int GetLength() const { return m_nLength; }
    bool IsEmpty() const { return m_nLength == 0; }
    void Empty();
    WCHAR GetAt(int nIndex) const { return nIndex >= 0 && nIndex < m_nLength ? m_pszData[nIndex] : WCHAR(0); }
    WCHAR operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, WCHAR ch);
    operator LPCWSTR() const { return m_pszData; }
    LPCWSTR GetString() const { return m_pszData; }

    // ---- Extraction
    CString Left(int nCount) const;
    CString Mid(int iFirst) const;
    CString Mid(int iFirst, int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCWSTR pszCharSet) const;
    CString SpanExcluding(LPCWSTR pszCharSet) const;
    // The next token after iStart, skipping leading delimiters; iStart becomes -1 when no token is left.
    CString Tokenize(LPCWSTR pszTokens, int& iStart) const;

    // ---- Searching (results are indexes, -1 when absent)
    int Find(WCHAR ch, int iStart = 0) const;
    int Find(LPCWSTR pszSub, int iStart = 0) const;
    int ReverseFind(WCHAR ch) const;
    int FindOneOf(LPCWSTR pszCharSet) const;

    // ---- Editing (counts and lengths returned as MFC does)
    int Replace(WCHAR chOld, WCHAR chNew);
    int Replace(LPCWSTR pszOld, LPCWSTR pszNew);
    int Remove(WCHAR ch);
    int Insert(int iIndex, WCHAR ch);
    int Insert(int iIndex, LPCWSTR pszText);
    int Delete(int iIndex, int nCount = 1);
    void Truncate(int nNewLength);
    CString& Append(LPCWSTR pszText);
    CString& Append(LPCWSTR pchText, int nLength);
    CString& AppendChar(WCHAR ch);

    CString& Trim();
    CString& Trim(WCHAR chTarget);
    CString& Trim(LPCWSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(WCHAR chTarget);
    CString& TrimLeft(LPCWSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(WCHAR chTarget);
    CString& TrimRight(LPCWSTR pszTargets);

    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();

    // ---- Comparison: ordinal by UTF-16 code unit; NoCase folds case beyond ASCII. Results are -1, 0 or 1.
    int Compare(LPCWSTR pszOther) const;
    int CompareNoCase(LPCWSTR pszOther) const;
    int Collate(LPCWSTR pszOther) const { return Compare(pszOther); }
    int CollateNoCase(LPCWSTR pszOther) const { return CompareNoCase(pszOther); }

    // ---- Formatting (printf-style; %s takes WCHAR text or a CString, %hs and %S 8-bit UTF-8 text)
    template <typename... Args> void Format(LPCWSTR pszFormat, const Args&... args)
    {
        const mapipim::FormatArg packed[sizeof...(Args) + 1] = {mapipim::FormatArg(args)...};
        FormatArgs(false, pszFormat, packed, static_cast<int>(sizeof...(Args)));
    }
    template <typename... Args> void AppendFormat(LPCWSTR pszFormat, const Args&... args)
    {
        const mapipim::FormatArg packed[sizeof...(Args) + 1] = {mapipim::FormatArg(args)...};
        FormatArgs(true, pszFormat, packed, static_cast<int>(sizeof...(Args)));
    }
    void FormatV(LPCWSTR pszFormat, va_list args);
    void AppendFormatV(LPCWSTR pszFormat, va_list args);

    // ---- Direct buffer access: write into the buffer, then ReleaseBuffer (-1 measures up to the terminator).
    LPWSTR GetBuffer();
    LPWSTR GetBuffer(int nMinBufferLength);
    LPWSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);

    CString& operator+=(const CString& other);
    CString& operator+=(LPCWSTR pszText);
    CString& operator+=(WCHAR ch);

    // ---- UTF-8 for hosts (malformed input becomes U+FFFD)
    static CString FromUtf8(const char* pszUtf8, int nBytes = -1);
    // Writes at most nSize bytes of the UTF-8 form (whole characters, no terminator) and returns the full size.
    int GetUtf8(char* pBuffer, int nSize) const;
    std::string ToUtf8() const
    {
        std::string text(static_cast<size_t>(GetUtf8(nullptr, 0)), '\0');
        GetUtf8(&text[0], static_cast<int>(text.size()));
        return text;
    }

    // The two pieces of text joined, in one allocation (what operator+ uses).
    // A length of -1 measures terminated text; null text is empty.
    static CString Concat(LPCWSTR pchLeft, int nLeft, LPCWSTR pchRight, int nRight);

private:
    void FormatArgs(bool bAppend, LPCWSTR pszFormat, const mapipim::FormatArg* pArgs, int nArgs);
    void Assign(LPCWSTR pchText, int nLength);
    void Splice(int iIndex, int nRemove, LPCWSTR pchInsert, int nInsert);
    void Reserve(int nCapacity, bool bKeepText);
    void SetLength(int nLength);
    void Release();
    CString& TrimWhere(bool bLeft, bool bRight, LPCWSTR pszTargets, WCHAR chTarget);

    LPWSTR m_pszData; // always terminated; a shared empty text while m_nCapacity is 0
    int m_nLength;
    int m_nCapacity; // characters that fit before the terminator
};

inline CString operator+(const CString& left, const CString& right)
{
    return CString::Concat(left, left.GetLength(), right, right.GetLength());
}
inline CString operator+(const CString& left, LPCWSTR right)
{
    return CString::Concat(left, left.GetLength(), right, -1);
}
inline CString operator+(LPCWSTR left, const CString& right)
{
    return CString::Concat(left, -1, right, right.GetLength());
}
inline CString operator+(const CString& left, WCHAR right)
{
    return CString::Concat(left, left.GetLength(), &right, 1);
}
inline CString operator+(WCHAR left, const CString& right)
{
    return CString::Concat(&left, 1, right, right.GetLength());
}

inline bool operator==(const CString& left, const CString& right)
{
    return left.GetLength() == right.GetLength() && left.Compare(right) == 0;
}
inline bool operator==(const CString& left, LPCWSTR right)
{
    return left.Compare(right) == 0;
}
inline bool operator==(LPCWSTR left, const CString& right)
{
    return right.Compare(left) == 0;
}
inline bool operator!=(const CString& left, const CString& right)
{
    return !(left == right);
}
inline bool operator!=(const CString& left, LPCWSTR right)
{
    return !(left == right);
}
inline bool operator!=(LPCWSTR left, const CString& right)
{
    return !(left == right);
}
inline bool operator<(const CString& left, const CString& right)
{
    return left.Compare(right) < 0;
}
inline bool operator<(const CString& left, LPCWSTR right)
{
    return left.Compare(right) < 0;
}
inline bool operator<(LPCWSTR left, const CString& right)
{
    return right.Compare(left) > 0;
}
inline bool operator>(const CString& left, const CString& right)
{
    return right < left;
}
inline bool operator>(const CString& left, LPCWSTR right)
{
    return right < left;
}
inline bool operator>(LPCWSTR left, const CString& right)
{
    return right < left;
}
inline bool operator<=(const CString& left, const CString& right)
{
    return !(right < left);
}
inline bool operator<=(const CString& left, LPCWSTR right)
{
    return !(right < left);
}
inline bool operator<=(LPCWSTR left, const CString& right)
{
    return !(right < left);
}
inline bool operator>=(const CString& left, const CString& right)
{
    return !(left < right);
}
inline bool operator>=(const CString& left, LPCWSTR right)
{
    return !(left < right);
}
inline bool operator>=(LPCWSTR left, const CString& right)
{
    return !(left < right);
}

#endif
