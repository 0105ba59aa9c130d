// CFileFind: MFC's directory search, for builds without MFC.
//
// FindFile starts a search (null means "*.*"; "*" and "?" work in the last path component) and says whether
// anything matched; each FindNextFile then moves to the next match and returns nonzero while more matches follow,
// so the usual loop is `for (BOOL bMore = find.FindFile(p); bMore;) { bMore = find.FindNextFile(); ... }`.
// On Linux matches come sorted by name and are case-sensitive like the file system.
#include <mapipim/platform.h>

#ifndef MAPIPIM_AFX_FILEFIND_H
#define MAPIPIM_AFX_FILEFIND_H

#include <mapipim/afx/String.h>

namespace mapipim
{
class DirectoryScan;
struct FoundFile;
} // namespace mapipim

class MAPIPIM_API CFileFind
{
public:
    CFileFind();
    ~CFileFind();
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    BOOL FindFile(LPCWSTR pstrName = nullptr, DWORD dwUnused = 0);
    BOOL FindNextFile();
    void Close();

    // What the last FindNextFile moved to; empty, 0 or FALSE before the first.
    CString GetFileName() const;
    CString GetFilePath() const;
    CString GetFileTitle() const;
    CString GetRoot() const { return m_strRoot; }
    ULONGLONG GetLength() const;
    BOOL GetLastWriteTime(FILETIME* pTimeStamp) const;
    BOOL IsDirectory() const;
    BOOL IsDots() const;
    BOOL IsReadOnly() const;

private:
    mapipim::DirectoryScan* m_pScan;
    mapipim::FoundFile* m_pFound;
    mapipim::FoundFile* m_pNext;
    bool m_bHasNext;
    CString m_strRoot; // the searched directory, ending with a separator
};

#endif
