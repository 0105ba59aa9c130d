// tzinfo: the machine's time zone as the library sees it (its registry key, found as the library finds it, and the
// current year's rule) and the numbers of the library's registered progress messages. Output is UTF-8.
#include <mapipim/platform.h>

#include <cstdio>
#include <string>

namespace
{
const WCHAR kTimeZonesKey[] = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
const WCHAR* const kMessageNames[] = {u"WM_MAPI_GET_STOREINFO", u"WM_MAPI_GET_FOLDERINFO", u"WM_MAPI_GET_CONTENTS",
                                      u"WM_MAPI_GET_CONTENTS_END"};
const char* const kWeekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kWeeks[] = {"first", "second", "third", "fourth", "last"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

std::string Utf8(const WCHAR* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(size) - 1);
    return utf8;
}

bool HasStandardName(HKEY zones, const WCHAR* keyName, const WCHAR* standardName)
{
    HKEY zone = nullptr;
    if (RegOpenKeyExW(zones, keyName, 0, KEY_READ, &zone) != ERROR_SUCCESS)
        return false;
    WCHAR std[512] = {};
    DWORD size = sizeof(std);
    const bool same =
        RegQueryValueExW(zone, u"Std", nullptr, nullptr, reinterpret_cast<BYTE*>(std), &size) == ERROR_SUCCESS &&
        std::u16string(std) == standardName;
    RegCloseKey(zone);
    return same;
}

// The key whose "Std" text is the machine zone's standard name: the lookup the library makes.
std::u16string FindZoneKey(const TIME_ZONE_INFORMATION& tzi)
{
    HKEY zones = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTimeZonesKey, 0, KEY_READ, &zones) != ERROR_SUCCESS)
        return std::u16string();
    std::u16string found;
    WCHAR name[256];
    for (DWORD index = 0; found.empty() && RegEnumKeyW(zones, index, name, 255) == ERROR_SUCCESS; ++index)
        if (HasStandardName(zones, name, tzi.StandardName))
            found = name;
    RegCloseKey(zones);
    return found;
}

void PrintTransition(const char* label, const SYSTEMTIME& date)
{
    if (date.wMonth < 1 || date.wMonth > 12 || date.wDay < 1 || date.wDay > 5 || date.wDayOfWeek > 6)
    {
        std::printf("%-14s none\n", label);
        return;
    }
    std::printf("%-14s %s %s of %s at %02u:%02u:%02u.%03u (wMonth %u, wDayOfWeek %u, wDay %u)\n", label,
                kWeeks[date.wDay - 1], kWeekdays[date.wDayOfWeek], kMonths[date.wMonth - 1], date.wHour, date.wMinute,
                date.wSecond, date.wMilliseconds, date.wMonth, date.wDayOfWeek, date.wDay);
}

const char* ZoneIdName(DWORD id)
{
    switch (id)
    {
    case TIME_ZONE_ID_STANDARD:
        return "standard time";
    case TIME_ZONE_ID_DAYLIGHT:
        return "daylight time";
    case TIME_ZONE_ID_UNKNOWN:
        return "no daylight saving";
    default:
        return "invalid";
    }
}
} // namespace

int main()
{
    TIME_ZONE_INFORMATION tzi{};
    const DWORD id = GetTimeZoneInformation(&tzi);
    const std::u16string key = FindZoneKey(tzi);
    std::printf("Time-zone key  %s\n", key.empty() ? "(not found)" : Utf8(key.c_str()).c_str());
    std::printf("StandardName   %s\n", Utf8(tzi.StandardName).c_str());
    std::printf("DaylightName   %s\n", Utf8(tzi.DaylightName).c_str());
    std::printf("Bias           %ld\n", static_cast<long>(tzi.Bias));
    std::printf("StandardBias   %ld\n", static_cast<long>(tzi.StandardBias));
    std::printf("DaylightBias   %ld\n", static_cast<long>(tzi.DaylightBias));
    PrintTransition("StandardDate", tzi.StandardDate);
    PrintTransition("DaylightDate", tzi.DaylightDate);
    std::printf("Now            %s (%lu)\n", ZoneIdName(id), static_cast<unsigned long>(id));
    std::printf("\nRegistered messages\n");
    for (const WCHAR* name : kMessageNames)
        std::printf("%-26s 0x%04X\n", Utf8(name).c_str(), RegisterWindowMessageW(name));
    return 0;
}
