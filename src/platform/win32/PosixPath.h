// Windows paths handed to the file stand-ins become POSIX paths here: UTF-16 to UTF-8, "\" to "/".
#pragma once

#include "platform/platform.h"

#include <string>

namespace mapipim::win32
{
// False for a null path or text that is not valid UTF-16 (an unpaired surrogate); no file is named by those.
bool ToPosixPath(LPCWSTR lpszPath, std::string& strPosix);

// A POSIX path as WCHAR text; bytes that are not UTF-8 become U+FFFD.
std::u16string FromPosixPath(const std::string& strPosix);

// The Win32 error code that best describes an errno value from a file call.
DWORD Win32ErrorFromErrno(int nErrno);
} // namespace mapipim::win32
