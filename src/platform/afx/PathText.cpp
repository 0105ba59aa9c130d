#include "platform/afx/PathText.h"

#include <vector>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace mapipim
{
int FileNameStart(LPCWSTR pszPath)
{
    return FindLastPathSeparator(pszPath) + 1;
}

CString FileTitleOf(const CString& strName)
{
    const int iDot = strName.ReverseFind(_T('.'));
    return iDot > 0 ? strName.Left(iDot) : strName;
}

#if defined(_WIN32)
CString FullPath(LPCWSTR pszPath)
{
    if (pszPath == nullptr || *pszPath == 0)
        return CString();
    const DWORD nSize = GetFullPathNameW(pszPath, 0, nullptr, nullptr);
    if (nSize == 0)
        return CString();
    CString strFull;
    const DWORD nLength = GetFullPathNameW(pszPath, nSize, strFull.GetBuffer(static_cast<int>(nSize)), nullptr);
    strFull.ReleaseBuffer(nLength < nSize ? static_cast<int>(nLength) : 0);
    return strFull;
}
#else
namespace
{
CString CurrentDirectory()
{
    std::vector<char> buffer(4096);
    while (getcwd(buffer.data(), buffer.size()) == nullptr)
    {
        if (buffer.size() > (1u << 20))
            return CString();
        buffer.resize(buffer.size() * 2);
    }
    return CString::FromUtf8(buffer.data());
}

// Joins components with "/", dropping "." and letting ".." remove the component before it.
CString NormalizeAbsolute(const CString& strPath)
{
    std::vector<CString> components;
    int iStart = 0;
    const int nLength = strPath.GetLength();
    for (int i = 0; i <= nLength; ++i)
    {
        if (i < nLength && !IsPathSeparator(strPath[i]))
            continue;
        const CString component = strPath.Mid(iStart, i - iStart);
        iStart = i + 1;
        if (component.IsEmpty() || component == _T("."))
            continue;
        if (component == _T(".."))
        {
            if (!components.empty())
                components.pop_back();
            continue;
        }
        components.push_back(component);
    }
    CString strResult;
    for (const CString& component : components)
        strResult += _T('/') + component;
    if (strResult.IsEmpty() || (nLength > 0 && IsPathSeparator(strPath[nLength - 1])))
        strResult += _T('/');
    return strResult;
}
} // namespace

CString FullPath(LPCWSTR pszPath)
{
    if (pszPath == nullptr || *pszPath == 0)
        return CString();
    if (IsPathSeparator(*pszPath))
        return NormalizeAbsolute(pszPath);
    const CString strBase = CurrentDirectory();
    return strBase.IsEmpty() ? CString() : NormalizeAbsolute(strBase + _T('/') + pszPath);
}
#endif
} // namespace mapipim
