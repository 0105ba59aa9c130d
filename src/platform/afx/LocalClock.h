// The process's local time for COleDateTime's constructors from time_t and FILETIME and for GetCurrentTime: the C
// library's zone rules on Linux, the system's on Windows.
#pragma once

#include "platform/platform.h"

#include <ctime>

namespace mapipim
{
bool LocalTimeFromTimeT(time_t seconds, SYSTEMTIME& local);
// The FILETIME is UTC, as Windows keeps it; sub-second parts are dropped.
bool LocalTimeFromFileTime(const FILETIME& utc, SYSTEMTIME& local);
} // namespace mapipim
