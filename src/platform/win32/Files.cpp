// The Win32 file calls the library makes, on POSIX paths (see PosixPath.h).
#include "platform/platform.h"
#include "platform/win32/PosixPath.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using mapipim::win32::ToPosixPath;
using mapipim::win32::Win32ErrorFromErrno;

namespace
{
BOOL FailWithErrno(int nErrno)
{
    SetLastError(Win32ErrorFromErrno(nErrno));
    return FALSE;
}

bool IsDirectory(const std::string& strPath)
{
    struct stat info = {};
    return stat(strPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
} // namespace

BOOL DeleteFileW(LPCWSTR lpFileName)
{
    std::string strPath;
    if (!ToPosixPath(lpFileName, strPath) || strPath.empty())
        return FailWithErrno(ENOENT);
    // unlink() would remove a symbolic link to a directory but refuse a directory itself; DeleteFileW refuses both
    // kinds of directory alike.
    if (IsDirectory(strPath))
        return FailWithErrno(EACCES);
    if (unlink(strPath.c_str()) != 0)
        return FailWithErrno(errno);
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR lpFileName)
{
    std::string strPath;
    struct stat info = {};
    if (!ToPosixPath(lpFileName, strPath) || strPath.empty())
    {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (stat(strPath.c_str(), &info) != 0)
    {
        SetLastError(Win32ErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    if (S_ISDIR(info.st_mode))
        return FILE_ATTRIBUTE_DIRECTORY;
    return access(strPath.c_str(), W_OK) == 0 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, void* /*lpSecurityAttributes*/)
{
    std::string strPath;
    if (!ToPosixPath(lpPathName, strPath) || strPath.empty())
        return FailWithErrno(ENOENT);
    if (mkdir(strPath.c_str(), 0777) == 0)
        return TRUE;
    // A missing parent folder is a missing path to Windows, not a missing file.
    if (errno == ENOENT)
    {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    return FailWithErrno(errno);
}
