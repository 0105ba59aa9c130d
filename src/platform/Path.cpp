#include "platform/Path.h"

namespace mapipim
{
bool IsPathSeparator(WCHAR ch)
{
#ifdef _WIN32
    return ch == L'\\';
#else
    return ch == u'\\' || ch == u'/';
#endif
}

bool IsFullFilePath(LPCWSTR lpszPath)
{
    if (!lpszPath || !lpszPath[0])
        return false;
#ifndef _WIN32
    if (lpszPath[0] == u'/')
        return true;
#endif
    return lpszPath[1] == _T(':');
}

int FindFirstPathSeparator(LPCWSTR lpszPath)
{
    if (!lpszPath)
        return -1;
    for (int i = 0; lpszPath[i]; ++i)
        if (IsPathSeparator(lpszPath[i]))
            return i;
    return -1;
}

int FindLastPathSeparator(LPCWSTR lpszPath)
{
    int nLast = -1;
    if (!lpszPath)
        return nLast;
    for (int i = 0; lpszPath[i]; ++i)
        if (IsPathSeparator(lpszPath[i]))
            nLast = i;
    return nLast;
}

bool HasFolderPart(LPCWSTR lpszPath)
{
#ifndef _WIN32
    if (lpszPath && lpszPath[0] == u'/')
        return true;
#endif
    return FindFirstPathSeparator(lpszPath) > 0;
}
} // namespace mapipim
