// Where the library's trace lines go: one line per failure, as UTF-8. Until a host calls SetTraceTarget, the
// environment variable MAPIPIM_TRACE decides when the first line is written: a file path (lines are appended), or
// "-" for standard error. Without either, lines go nowhere.
#pragma once

#include <mapipim/platform.h>

namespace mapipim
{
// A file path (lines are appended), "-" for standard error, or null or empty for no sink. FALSE when the file
// cannot be opened for writing; the previous sink then stays.
MAPIPIM_API BOOL SetTraceTarget(LPCWSTR pszTarget);
} // namespace mapipim
