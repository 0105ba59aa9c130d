// Path text for the file classes. On Linux "\" and "/" both separate components: paths built the Windows way
// (documents folder + "\" + name) reach the file system with "/".
#pragma once

#include "platform/platform.h"

#include <string>

namespace mapipim
{
bool IsPathSeparator(WCHAR ch);
// The index just after the last separator (0 when there is none).
int FileNameStart(const CString& strPath);
// The name without its last extension (".profile" keeps its dot: a leading dot starts no extension).
CString FileTitleOf(const CString& strName);
// The absolute form, with "." and ".." components resolved as text; empty when it cannot be made.
CString FullPath(LPCWSTR pszPath);
#if !defined(_WIN32)
// The UTF-8 bytes the POSIX calls take, separators turned into "/".
std::string NativePath(LPCWSTR pszPath);
#endif
} // namespace mapipim
