// Delimited text such as the category and attachment lists of the records: fields separated by any character of
// a separator set, numbered from 0. Adjacent separators enclose empty fields; nothing is trimmed.
#pragma once

#include <mapipim/platform.h>

// Field nIndex of szText into strResult. 1 when the field is non-empty, or when it is empty but text of a later
// field follows it; 0 otherwise. A negative index or empty (or null) text gives 0 and leaves strResult untouched.
// A null or empty separator set makes the whole text field 0.
MAPIPIM_API BOOL GetExtractSubString(CString& strResult, LPCWSTR szText, int nIndex, LPCWSTR szSeparators);

// The number of fields of szText (separators + 1, counting empty fields), 0 for empty (or null) text.
MAPIPIM_API int GetCountSubString(LPCWSTR szText, LPCWSTR szSeparators);
