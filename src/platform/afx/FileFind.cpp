#include "platform/afx/DirectoryScan.h"
#include "platform/afx/PathText.h"

#include <utility>

CFileFind::CFileFind()
    : m_pScan(nullptr), m_pFound(new mapipim::FoundFile), m_pNext(new mapipim::FoundFile), m_bHasNext(false)
{
}

CFileFind::~CFileFind()
{
    Close();
    delete m_pFound;
    delete m_pNext;
}

BOOL CFileFind::FindFile(LPCWSTR pstrName, DWORD dwUnused)
{
    (void)dwUnused;
    Close();
    const CString strPattern = pstrName != nullptr && *pstrName != 0 ? CString(pstrName) : CString(_T("*.*"));
    m_pScan = mapipim::DirectoryScan::Start(strPattern, *m_pNext).release();
    if (m_pScan == nullptr)
        return FALSE;
    m_bHasNext = true;
    const CString strFull = mapipim::FullPath(strPattern);
    m_strRoot = strFull.Left(mapipim::FileNameStart(strFull));
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (m_pScan == nullptr || !m_bHasNext)
        return FALSE;
    std::swap(m_pFound, m_pNext);
    m_bHasNext = m_pScan->Next(*m_pNext);
    return m_bHasNext;
}

void CFileFind::Close()
{
    delete m_pScan;
    m_pScan = nullptr;
    m_bHasNext = false;
    *m_pFound = mapipim::FoundFile();
    m_strRoot.Empty();
}

CString CFileFind::GetFileName() const
{
    return m_pFound->strName;
}

CString CFileFind::GetFilePath() const
{
    return m_pFound->strName.IsEmpty() ? CString() : m_strRoot + m_pFound->strName;
}

CString CFileFind::GetFileTitle() const
{
    return mapipim::FileTitleOf(m_pFound->strName);
}

ULONGLONG CFileFind::GetLength() const
{
    return m_pFound->nLength;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const
{
    if (pTimeStamp == nullptr || m_pFound->strName.IsEmpty())
        return FALSE;
    *pTimeStamp = m_pFound->lastWriteTime;
    return TRUE;
}

BOOL CFileFind::IsDirectory() const
{
    return m_pFound->bDirectory;
}

BOOL CFileFind::IsDots() const
{
    return m_pFound->bDirectory && (m_pFound->strName == _T(".") || m_pFound->strName == _T(".."));
}

BOOL CFileFind::IsReadOnly() const
{
    return m_pFound->bReadOnly;
}
