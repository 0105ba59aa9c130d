#include "platform/afx/FileHandle.h"
#include "platform/afx/PathText.h"

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile() : m_hFile(hFileNull) {}

CFile::CFile(LPCWSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull)
{
    Open(lpszFileName, nOpenFlags);
}

CFile::~CFile()
{
    Close();
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags)
{
    Close();
    m_hFile = mapipim::OpenFileHandle(lpszFileName, nOpenFlags);
    if (m_hFile == hFileNull)
        return FALSE;
    m_strFileName = mapipim::FullPath(lpszFileName);
    if (m_strFileName.IsEmpty())
        m_strFileName = lpszFileName;
    return TRUE;
}

void CFile::Close()
{
    if (m_hFile != hFileNull)
        mapipim::CloseFileHandle(m_hFile);
    m_hFile = hFileNull;
    m_strFileName.Empty();
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (m_hFile == hFileNull || lpBuf == nullptr)
        return 0;
    return mapipim::ReadFileHandle(m_hFile, lpBuf, nCount);
}

UINT CFile::Write(const void* lpBuf, UINT nCount)
{
    if (m_hFile == hFileNull || lpBuf == nullptr)
        return 0;
    return mapipim::WriteFileHandle(m_hFile, lpBuf, nCount);
}

BOOL CFile::Flush()
{
    return m_hFile != hFileNull && mapipim::FlushFileHandle(m_hFile);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    ULONGLONG nPosition = 0;
    if (m_hFile == hFileNull || !mapipim::SeekFileHandle(m_hFile, lOff, nFrom, nPosition))
        return static_cast<ULONGLONG>(-1);
    return nPosition;
}

ULONGLONG CFile::GetPosition() const
{
    ULONGLONG nPosition = 0;
    if (m_hFile == hFileNull || !mapipim::SeekFileHandle(m_hFile, 0, current, nPosition))
        return 0;
    return nPosition;
}

ULONGLONG CFile::GetLength() const
{
    ULONGLONG nLength = 0;
    if (m_hFile == hFileNull || !mapipim::GetFileHandleLength(m_hFile, nLength))
        return 0;
    return nLength;
}

BOOL CFile::SetLength(ULONGLONG dwNewLen)
{
    return m_hFile != hFileNull && mapipim::SetFileHandleLength(m_hFile, dwNewLen);
}

CString CFile::GetFileName() const
{
    return m_strFileName.Mid(mapipim::FileNameStart(m_strFileName));
}

CString CFile::GetFileTitle() const
{
    return mapipim::FileTitleOf(GetFileName());
}
