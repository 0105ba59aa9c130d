#include "platform/afx/FileHandle.h"

#if !defined(_WIN32)
#include "platform/win32/PosixPath.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mapipim
{
namespace
{
constexpr UINT kAccessMask = 0x0003;
constexpr UINT kShareMask = 0x0070;
constexpr UINT kModeWrite = 0x0001;
constexpr UINT kModeReadWrite = 0x0002;
constexpr UINT kShareDenyWrite = 0x0020;
constexpr UINT kShareDenyRead = 0x0030;
constexpr UINT kShareDenyNone = 0x0040;
constexpr UINT kModeCreate = 0x1000;
constexpr UINT kModeNoTruncate = 0x2000;
} // namespace

#if defined(_WIN32)
namespace
{
DWORD DesiredAccess(UINT nOpenFlags)
{
    switch (nOpenFlags & kAccessMask)
    {
    case kModeWrite:
        return GENERIC_WRITE;
    case kModeReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

DWORD ShareMode(UINT nOpenFlags)
{
    switch (nOpenFlags & kShareMask)
    {
    case kShareDenyWrite:
        return FILE_SHARE_READ;
    case kShareDenyRead:
        return FILE_SHARE_WRITE;
    case kShareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0;
    }
}

DWORD Disposition(UINT nOpenFlags)
{
    if (!(nOpenFlags & kModeCreate))
        return OPEN_EXISTING;
    return (nOpenFlags & kModeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

constexpr DWORD kChunk = 1u << 30;
} // namespace

HANDLE OpenFileHandle(LPCWSTR pszPath, UINT nOpenFlags)
{
    return CreateFileW(pszPath, DesiredAccess(nOpenFlags), ShareMode(nOpenFlags), nullptr, Disposition(nOpenFlags),
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

void CloseFileHandle(HANDLE hFile)
{
    CloseHandle(hFile);
}

UINT ReadFileHandle(HANDLE hFile, void* pBuffer, UINT nCount)
{
    UINT nTotal = 0;
    while (nTotal < nCount)
    {
        DWORD nRead = 0;
        const DWORD nWant = nCount - nTotal < kChunk ? nCount - nTotal : kChunk;
        if (!ReadFile(hFile, static_cast<BYTE*>(pBuffer) + nTotal, nWant, &nRead, nullptr) || nRead == 0)
            break;
        nTotal += nRead;
    }
    return nTotal;
}

UINT WriteFileHandle(HANDLE hFile, const void* pBuffer, UINT nCount)
{
    UINT nTotal = 0;
    while (nTotal < nCount)
    {
        DWORD nWritten = 0;
        const DWORD nWant = nCount - nTotal < kChunk ? nCount - nTotal : kChunk;
        if (!WriteFile(hFile, static_cast<const BYTE*>(pBuffer) + nTotal, nWant, &nWritten, nullptr) || nWritten == 0)
            break;
        nTotal += nWritten;
    }
    return nTotal;
}

bool SeekFileHandle(HANDLE hFile, LONGLONG nOffset, UINT nFrom, ULONGLONG& nPosition)
{
    LARGE_INTEGER distance;
    distance.QuadPart = nOffset;
    LARGE_INTEGER result;
    if (nFrom > FILE_END || !SetFilePointerEx(hFile, distance, &result, nFrom))
        return false;
    nPosition = static_cast<ULONGLONG>(result.QuadPart);
    return true;
}

bool GetFileHandleLength(HANDLE hFile, ULONGLONG& nLength)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(hFile, &size))
        return false;
    nLength = static_cast<ULONGLONG>(size.QuadPart);
    return true;
}

bool SetFileHandleLength(HANDLE hFile, ULONGLONG nLength)
{
    ULONGLONG nPosition = 0;
    ULONGLONG nIgnored = 0;
    if (!SeekFileHandle(hFile, 0, FILE_CURRENT, nPosition) ||
        !SeekFileHandle(hFile, static_cast<LONGLONG>(nLength), FILE_BEGIN, nIgnored))
        return false;
    const bool bDone = SetEndOfFile(hFile) != FALSE;
    SeekFileHandle(hFile, static_cast<LONGLONG>(nPosition), FILE_BEGIN, nIgnored);
    return bDone;
}

bool FlushFileHandle(HANDLE hFile)
{
    return FlushFileBuffers(hFile) != FALSE;
}
#else
namespace
{
int Descriptor(HANDLE hFile)
{
    return static_cast<int>(reinterpret_cast<intptr_t>(hFile));
}

void SetLastErrorFromErrno()
{
    SetLastError(win32::Win32ErrorFromErrno(errno));
}

int OpenFlags(UINT nOpenFlags)
{
    int nFlags = O_CLOEXEC;
    switch (nOpenFlags & kAccessMask)
    {
    case kModeWrite:
        nFlags |= O_WRONLY;
        break;
    case kModeReadWrite:
        nFlags |= O_RDWR;
        break;
    default:
        nFlags |= O_RDONLY;
        break;
    }
    if (nOpenFlags & kModeCreate)
        nFlags |= (nOpenFlags & kModeNoTruncate) ? O_CREAT : O_CREAT | O_TRUNC;
    return nFlags;
}
} // namespace

HANDLE OpenFileHandle(LPCWSTR pszPath, UINT nOpenFlags)
{
    std::string path;
    if (pszPath == nullptr || *pszPath == 0 || !win32::ToPosixPath(pszPath, path))
    {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    int fd = -1;
    do
        fd = open(path.c_str(), OpenFlags(nOpenFlags), 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
    {
        SetLastErrorFromErrno();
        return INVALID_HANDLE_VALUE;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))
    {
        close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
}

void CloseFileHandle(HANDLE hFile)
{
    close(Descriptor(hFile));
}

UINT ReadFileHandle(HANDLE hFile, void* pBuffer, UINT nCount)
{
    UINT nTotal = 0;
    while (nTotal < nCount)
    {
        const ssize_t nRead = read(Descriptor(hFile), static_cast<BYTE*>(pBuffer) + nTotal, nCount - nTotal);
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead <= 0)
        {
            if (nRead < 0)
                SetLastErrorFromErrno();
            break;
        }
        nTotal += static_cast<UINT>(nRead);
    }
    return nTotal;
}

UINT WriteFileHandle(HANDLE hFile, const void* pBuffer, UINT nCount)
{
    UINT nTotal = 0;
    while (nTotal < nCount)
    {
        const ssize_t nWritten = write(Descriptor(hFile), static_cast<const BYTE*>(pBuffer) + nTotal, nCount - nTotal);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0)
        {
            SetLastErrorFromErrno();
            break;
        }
        nTotal += static_cast<UINT>(nWritten);
    }
    return nTotal;
}

bool SeekFileHandle(HANDLE hFile, LONGLONG nOffset, UINT nFrom, ULONGLONG& nPosition)
{
    static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (nFrom > 2)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const off_t nResult = lseek(Descriptor(hFile), static_cast<off_t>(nOffset), kWhence[nFrom]);
    if (nResult < 0)
    {
        SetLastErrorFromErrno();
        return false;
    }
    nPosition = static_cast<ULONGLONG>(nResult);
    return true;
}

bool GetFileHandleLength(HANDLE hFile, ULONGLONG& nLength)
{
    struct stat info;
    if (fstat(Descriptor(hFile), &info) != 0)
    {
        SetLastErrorFromErrno();
        return false;
    }
    nLength = static_cast<ULONGLONG>(info.st_size);
    return true;
}

bool SetFileHandleLength(HANDLE hFile, ULONGLONG nLength)
{
    if (ftruncate(Descriptor(hFile), static_cast<off_t>(nLength)) != 0)
    {
        SetLastErrorFromErrno();
        return false;
    }
    return true;
}

bool FlushFileHandle(HANDLE hFile)
{
    if (fsync(Descriptor(hFile)) != 0)
    {
        SetLastErrorFromErrno();
        return false;
    }
    return true;
}
#endif
} // namespace mapipim
