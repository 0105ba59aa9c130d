#include <mapipim/SubString.h>

namespace
{
bool IsSeparator(WCHAR ch, LPCWSTR szSeparators)
{
    if (szSeparators == nullptr)
        return false;
    for (LPCWSTR p = szSeparators; *p != 0; ++p)
    {
        if (*p == ch)
            return true;
    }
    return false;
}

bool IsEmptyText(LPCWSTR szText)
{
    return szText == nullptr || *szText == 0;
}

// The first character at or after p that does not separate, or the end of the text.
LPCWSTR SkipSeparators(LPCWSTR p, LPCWSTR szSeparators)
{
    while (*p != 0 && IsSeparator(*p, szSeparators))
        ++p;
    return p;
}

// The end of the field that begins at p: the next separator or the end of the text.
LPCWSTR FieldEnd(LPCWSTR p, LPCWSTR szSeparators)
{
    while (*p != 0 && !IsSeparator(*p, szSeparators))
        ++p;
    return p;
}
} // namespace

BOOL GetExtractSubString(CString& strResult, LPCWSTR szText, int nIndex, LPCWSTR szSeparators)
{
    if (nIndex < 0 || IsEmptyText(szText))
        return FALSE;

    // Each separator closes one field, so the wanted field begins after nIndex separators.
    LPCWSTR pField = szText;
    for (int nSkipped = 0; nSkipped < nIndex; ++nSkipped)
    {
        pField = FieldEnd(pField, szSeparators);
        if (*pField == 0)
        {
            strResult.Empty();
            return FALSE;
        }
        ++pField;
    }

    LPCWSTR pEnd = FieldEnd(pField, szSeparators);
    strResult = CString(pField, int(pEnd - pField));
    if (!strResult.IsEmpty())
        return TRUE;
    // An empty field still counts as found when a later field holds text.
    return *SkipSeparators(pEnd, szSeparators) != 0;
}

int GetCountSubString(LPCWSTR szText, LPCWSTR szSeparators)
{
    if (IsEmptyText(szText))
        return 0;
    int nFields = 1;
    for (LPCWSTR p = szText; *p != 0; ++p)
    {
        if (IsSeparator(*p, szSeparators))
            ++nFields;
    }
    return nFields;
}
