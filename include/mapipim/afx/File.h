// CFile: MFC's binary file, for builds without MFC, with the same flag values.
//
// Nothing throws: Open reports failure as FALSE (GetLastError has the Windows error), Read returns the bytes read,
// Write returns the bytes written (fewer than asked means the write failed), Seek returns (ULONGLONG)-1 on failure.
// On Linux "\" and "/" both separate path components.
#include <mapipim/platform.h>

#ifndef MAPIPIM_AFX_FILE_H
#define MAPIPIM_AFX_FILE_H

#include <mapipim/afx/String.h>

class MAPIPIM_API CFile
{
public:
    enum OpenFlags
    {
        modeRead = 0x00000,
        modeWrite = 0x00001,
        modeReadWrite = 0x00002,
        shareCompat = 0x00000,
        shareExclusive = 0x00010,
        shareDenyWrite = 0x00020,
        shareDenyRead = 0x00030,
        shareDenyNone = 0x00040,
        modeNoInherit = 0x00080,
        typeUnicode = 0x00400,
        modeCreate = 0x01000,
        modeNoTruncate = 0x02000,
        typeText = 0x04000,
        typeBinary = 0x08000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000
    };
    enum SeekPosition
    {
        begin = 0x0,
        current = 0x1,
        end = 0x2
    };
    static const HANDLE hFileNull;

    CFile();
    // Opens the file; whether it worked shows in m_hFile (hFileNull on failure).
    CFile(LPCWSTR lpszFileName, UINT nOpenFlags);
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Closes a file this object held open before. modeCreate truncates unless modeNoTruncate is given.
    BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags);
    void Close();
    void Abort() { Close(); }
    bool IsOpen() const { return m_hFile != hFileNull; }

    UINT Read(void* lpBuf, UINT nCount);
    UINT Write(const void* lpBuf, UINT nCount);
    BOOL Flush();

    ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    ULONGLONG GetPosition() const;
    ULONGLONG GetLength() const;
    BOOL SetLength(ULONGLONG dwNewLen);

    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;
    CString GetFileTitle() const;

    HANDLE m_hFile;

protected:
    CString m_strFileName;
};

#endif
