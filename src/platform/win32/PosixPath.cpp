#include "platform/win32/PosixPath.h"

#include <cerrno>
#include <unicode/ustring.h>

namespace mapipim::win32
{
bool ToPosixPath(LPCWSTR lpszPath, std::string& strPosix)
{
    strPosix.clear();
    if (!lpszPath)
        return false;
    std::u16string strPath(lpszPath);
    for (char16_t& ch : strPath)
        if (ch == u'\\')
            ch = u'/';
    int32_t nLength = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(nullptr, 0, &nLength, strPath.data(), static_cast<int32_t>(strPath.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return false;
    strPosix.resize(static_cast<size_t>(nLength));
    status = U_ZERO_ERROR;
    u_strToUTF8(strPosix.data(), nLength, nullptr, strPath.data(), static_cast<int32_t>(strPath.size()), &status);
    if (U_FAILURE(status))
    {
        strPosix.clear();
        return false;
    }
    return true;
}

std::u16string FromPosixPath(const std::string& strPosix)
{
    int32_t nLength = 0;
    UErrorCode status = U_ZERO_ERROR;
    const auto nBytes = static_cast<int32_t>(strPosix.size());
    u_strFromUTF8WithSub(nullptr, 0, &nLength, strPosix.data(), nBytes, 0xFFFD, nullptr, &status);
    std::u16string strPath(static_cast<size_t>(nLength), u'\0');
    status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(strPath.data(), nLength, nullptr, strPosix.data(), nBytes, 0xFFFD, nullptr, &status);
    return U_SUCCESS(status) ? strPath : std::u16string();
}

DWORD Win32ErrorFromErrno(int nErrno)
{
    switch (nErrno)
    {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    default:
        return ERROR_INVALID_PARAMETER;
    }
}
} // namespace mapipim::win32
