// Path text for the file classes (the separators themselves are decided in platform/Path.h).
#pragma once

#include "platform/Path.h"
#include "platform/platform.h"

namespace mapipim
{
// The index just after the last separator (0 when there is none).
int FileNameStart(LPCWSTR pszPath);
// The name without its last extension (".profile" keeps its dot: a leading dot starts no extension).
CString FileTitleOf(const CString& strName);
// The absolute form, with "." and ".." components resolved as text; empty when it cannot be made.
CString FullPath(LPCWSTR pszPath);
} // namespace mapipim
