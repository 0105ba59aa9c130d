#include "platform/afx/LocalClock.h"

namespace mapipim
{
namespace
{
void FromTm(const tm& fields, SYSTEMTIME& local)
{
    local.wYear = static_cast<WORD>(fields.tm_year + 1900);
    local.wMonth = static_cast<WORD>(fields.tm_mon + 1);
    local.wDayOfWeek = static_cast<WORD>(fields.tm_wday);
    local.wDay = static_cast<WORD>(fields.tm_mday);
    local.wHour = static_cast<WORD>(fields.tm_hour);
    local.wMinute = static_cast<WORD>(fields.tm_min);
    local.wSecond = static_cast<WORD>(fields.tm_sec > 59 ? 59 : fields.tm_sec);
    local.wMilliseconds = 0;
}
} // namespace

#if defined(_WIN32)
bool LocalTimeFromTimeT(time_t seconds, SYSTEMTIME& local)
{
    tm fields{};
    __time64_t value = seconds;
    if (_localtime64_s(&fields, &value) != 0)
        return false;
    FromTm(fields, local);
    return true;
}

bool LocalTimeFromFileTime(const FILETIME& utc, SYSTEMTIME& local)
{
    FILETIME localFileTime;
    return FileTimeToLocalFileTime(&utc, &localFileTime) && FileTimeToSystemTime(&localFileTime, &local);
}
#else
bool LocalTimeFromTimeT(time_t seconds, SYSTEMTIME& local)
{
    tm fields{};
    if (localtime_r(&seconds, &fields) == nullptr)
        return false;
    FromTm(fields, local);
    return true;
}

bool LocalTimeFromFileTime(const FILETIME& utc, SYSTEMTIME& local)
{
    constexpr long long kTicksPerSecond = 10000000;
    constexpr long long kUnixEpochInSeconds = 11644473600; // 1601-01-01 to 1970-01-01
    const unsigned long long ticks = (static_cast<unsigned long long>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
    const long long seconds = static_cast<long long>(ticks / kTicksPerSecond) - kUnixEpochInSeconds;
    return LocalTimeFromTimeT(static_cast<time_t>(seconds), local);
}
#endif
} // namespace mapipim
