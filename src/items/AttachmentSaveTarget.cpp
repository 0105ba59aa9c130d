#include "items/AttachmentSaveTarget.h"

#include "items/AttachmentFileName.h"
#include "platform/Path.h"

namespace mapipim
{
namespace
{
bool EndsWithSeparator(const CString& strPath)
{
    return !strPath.IsEmpty() && IsPathSeparator(strPath[strPath.GetLength() - 1]);
}

// A file search finds a directory by its own name, so trailing separators are left out of the search; wildcards
// would make it find some other name.
bool IsExistingDirectory(CString strPath)
{
    while (strPath.GetLength() > 1 && EndsWithSeparator(strPath))
        strPath.Truncate(strPath.GetLength() - 1);
    if (strPath.IsEmpty() || strPath.FindOneOf(_T("*?")) >= 0)
        return false;
    CFileFind find;
    if (!find.FindFile(strPath))
        return false;
    find.FindNextFile();
    return find.IsDirectory() != FALSE;
}
} // namespace

bool AttachmentSaveTarget::Decide(LPCWSTR szPath)
{
    if (!szPath || !szPath[0])
        return false;
    m_strPath = szPath;
    m_bDirectory = IsExistingDirectory(m_strPath);
    if (m_bDirectory)
    {
        if (!EndsWithSeparator(m_strPath))
            m_strPath += _T("\\");
        return true;
    }
    const int nSeparator = FindLastPathSeparator(szPath);
    return nSeparator >= 0 && IsExistingDirectory(m_strPath.Left(nSeparator));
}

CString AttachmentSaveTarget::GetFilePath(const CString& strLongFileName, const CString& strFileName) const
{
    if (!m_bDirectory)
        return m_strPath;
    return m_strPath + GetSafeAttachmentFileName(strLongFileName.IsEmpty() ? strFileName : strLongFileName);
}
} // namespace mapipim
