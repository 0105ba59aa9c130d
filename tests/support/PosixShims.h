// The two POSIX calls the tests use that the Windows C library lacks, so that the same tests build for both.
// The local time is the one Windows itself gives: the C library's own zone there follows TZ in a syntax of its
// own, which an IANA name in TZ (as the test runs set it for Wine) does not satisfy.
#pragma once

#include <ctime>

#if defined(_WIN32)
#include <mapipim/platform.h>

#include <cstring>
#include <direct.h>
#include <io.h>

inline struct tm* localtime_r(const time_t* pTime, struct tm* pResult)
{
    const unsigned long long ticks = (static_cast<unsigned long long>(*pTime) + 11644473600ULL) * 10000000ULL;
    FILETIME utc = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME stUtc = {};
    SYSTEMTIME stLocal = {};
    if (!FileTimeToSystemTime(&utc, &stUtc) || !SystemTimeToTzSpecificLocalTime(NULL, &stUtc, &stLocal))
        return nullptr;
    *pResult = tm{};
    pResult->tm_year = stLocal.wYear - 1900;
    pResult->tm_mon = stLocal.wMonth - 1;
    pResult->tm_mday = stLocal.wDay;
    pResult->tm_hour = stLocal.wHour;
    pResult->tm_min = stLocal.wMinute;
    pResult->tm_sec = stLocal.wSecond;
    pResult->tm_wday = stLocal.wDayOfWeek;
    pResult->tm_isdst = -1;
    return pResult;
}

inline char* mkdtemp(char* pszPattern)
{
    if (_mktemp_s(pszPattern, std::strlen(pszPattern) + 1) != 0)
        return nullptr;
    return _mkdir(pszPattern) == 0 ? pszPattern : nullptr;
}
#endif
