// How the library reads file paths that arrive in records: which text is a full path, where its folder part ends.
// Windows paths use "\" and begin with a drive letter; on Linux "/" separates as well and a path that begins
// with "/" is a full path. Every item kind asks here instead of testing characters itself.
#pragma once

#include "platform/platform.h"

namespace mapipim
{
// True for a character that separates the parts of a path: "\", and on Linux "/" too.
bool IsPathSeparator(WCHAR ch);

// True for a path that names a file from the root: its second character is ":" (a drive letter), or on Linux it
// begins with "/". Relative names, bare file names and "\\server\share" paths are not full paths.
bool IsFullFilePath(LPCWSTR lpszPath);

// The position of the first or last separator in the path, -1 when it has none (or the path is null).
int FindFirstPathSeparator(LPCWSTR lpszPath);
int FindLastPathSeparator(LPCWSTR lpszPath);

// True when the text names a file through a folder rather than being a bare name: a separator follows its first
// character, or it is a full path beginning with "/" (Linux). A text that begins with "\" does not count.
bool HasFolderPart(LPCWSTR lpszPath);
} // namespace mapipim
