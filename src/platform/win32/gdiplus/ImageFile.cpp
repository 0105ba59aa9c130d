#include "platform/win32/gdiplus/ImageFile.h"

#include "platform/win32/PosixPath.h"
#include "platform/win32/gdiplus/Bitmap.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

using Gdiplus::GpStatus;

namespace mapipim::gdiplus
{
namespace
{
// Larger files are refused before reading: no picture a contact carries comes near it.
constexpr long long nMaxFileBytes = 256ll * 1024 * 1024;

struct FileCloser
{
    void operator()(FILE* pFile) const { fclose(pFile); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

GpStatus StatusFromErrno(int nErrno)
{
    switch (nErrno)
    {
    case ENOENT:
    case ENOTDIR:
        return Gdiplus::FileNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return Gdiplus::AccessDenied;
    case ENOMEM:
        return Gdiplus::OutOfMemory;
    default:
        return Gdiplus::Win32Error;
    }
}
} // namespace

GpStatus ReadImageFile(LPCWSTR lpszPath, std::vector<BYTE>& bytes)
{
    std::string strPath;
    if (!win32::ToPosixPath(lpszPath, strPath) || strPath.empty())
        return Gdiplus::InvalidParameter;
    FilePtr file(fopen(strPath.c_str(), "rb"));
    if (!file)
        return StatusFromErrno(errno);
    struct stat info = {};
    if (fstat(fileno(file.get()), &info) != 0)
        return StatusFromErrno(errno);
    if (!S_ISREG(info.st_mode))
        return Gdiplus::AccessDenied;
    if (info.st_size > nMaxFileBytes)
        return Gdiplus::OutOfMemory;
    if (!TryResize(bytes, static_cast<size_t>(info.st_size)))
        return Gdiplus::OutOfMemory;
    const size_t nRead = fread(bytes.data(), 1, bytes.size(), file.get());
    bytes.resize(nRead);
    return ferror(file.get()) ? Gdiplus::Win32Error : Gdiplus::Ok;
}

GpStatus WriteImageFile(LPCWSTR lpszPath, const std::vector<BYTE>& bytes)
{
    std::string strPath;
    if (!win32::ToPosixPath(lpszPath, strPath) || strPath.empty())
        return Gdiplus::InvalidParameter;
    FilePtr file(fopen(strPath.c_str(), "wb"));
    if (!file)
        return StatusFromErrno(errno);
    const bool bWritten = fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const bool bClosed = fclose(file.release()) == 0;
    if (bWritten && bClosed)
        return Gdiplus::Ok;
    remove(strPath.c_str());
    return Gdiplus::Win32Error;
}
} // namespace mapipim::gdiplus
