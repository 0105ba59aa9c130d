#include "interop/CalendarZones.h"

#include "interop/ZoneRules.h"

namespace mapipim::interop
{
namespace
{
constexpr LONGLONG kTicksPerSecond = 10'000'000;
constexpr LONGLONG kUnixEpochTicks = 116'444'736'000'000'000LL; // 1970-01-01 in FILETIME ticks

bool TicksOf(const SYSTEMTIME& tm, LONGLONG& ticks)
{
    FILETIME ft;
    if (!SystemTimeToFileTime(&tm, &ft))
        return false;
    ticks = static_cast<LONGLONG>((static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    return true;
}

SYSTEMTIME SystemTimeOfTicks(LONGLONG ticks)
{
    FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(static_cast<ULONGLONG>(ticks) >> 32)};
    SYSTEMTIME tm = {};
    FileTimeToSystemTime(&ft, &tm);
    return tm;
}
} // namespace

CalendarZones::~CalendarZones()
{
    for (auto& entry : m_zones)
        icaltimezone_free(entry.second, 1);
}

icaltimezone* CalendarZones::Adopt(icalcomponent* component)
{
    icaltimezone* zone = icaltimezone_new();
    if (!icaltimezone_set_component(zone, component))
    {
        icaltimezone_free(zone, 1);
        icalcomponent_free(component);
        return nullptr;
    }
    return zone;
}

icaltimezone* CalendarZones::ForKey(const CString& strKey, CString& strUsedKey)
{
    strUsedKey = strKey.IsEmpty() ? MachineZoneKey() : strKey;
    const std::string tzid = strUsedKey.ToUtf8();
    const auto known = m_zones.find(tzid);
    if (known != m_zones.end())
        return known->second;
    const std::string text = VTimezoneOfKey(strUsedKey);
    icalcomponent* component = text.empty() ? nullptr : icalparser_parse_string(text.c_str());
    icaltimezone* zone = component ? Adopt(component) : nullptr;
    if (!zone)
        return nullptr;
    m_zones[tzid] = zone;
    m_keys[tzid] = strUsedKey;
    m_definitions.push_back(text);
    return zone;
}

icaltimezone* CalendarZones::ForRecordKey(const CString& strKey, CString& strUsedKey)
{
    icaltimezone* zone = ForKey(strKey, strUsedKey);
    return zone ? zone : ForKey(CString(), strUsedKey);
}

bool CalendarZones::Add(const std::string& text, std::string& error)
{
    icalcomponent* component = icalparser_parse_string(text.c_str());
    if (component && icalcomponent_isa(component) != ICAL_VTIMEZONE_COMPONENT)
    {
        icalcomponent* inner = icalcomponent_get_first_component(component, ICAL_VTIMEZONE_COMPONENT);
        if (inner)
            icalcomponent_remove_component(component, inner);
        icalcomponent_free(component);
        component = inner;
    }
    icalproperty* tzidProperty = component ? icalcomponent_get_first_property(component, ICAL_TZID_PROPERTY) : nullptr;
    if (!tzidProperty || !icalproperty_get_tzid(tzidProperty))
    {
        if (component)
            icalcomponent_free(component);
        error = "VTIMEZONE without TZID";
        return false;
    }
    const std::string tzid = icalproperty_get_tzid(tzidProperty);
    std::string location;
    for (icalproperty* x = icalcomponent_get_first_property(component, ICAL_X_PROPERTY); x;
         x = icalcomponent_get_next_property(component, ICAL_X_PROPERTY))
        if (icalproperty_get_x_name(x) && std::string(icalproperty_get_x_name(x)) == "X-LIC-LOCATION" &&
            icalproperty_get_x(x))
            location = icalproperty_get_x(x);
    if (m_zones.count(tzid))
    {
        icalcomponent_free(component);
        return true; // the first definition of a TZID holds
    }
    icaltimezone* zone = Adopt(component);
    if (!zone)
    {
        error = "VTIMEZONE " + tzid + " cannot be read";
        return false;
    }
    m_zones[tzid] = zone;
    m_keys[tzid] = KeyOfTzid(tzid, location);
    return true;
}

icaltimezone* CalendarZones::ForTzid(const std::string& tzid, CString& strKey)
{
    const auto known = m_zones.find(tzid);
    if (known != m_zones.end())
    {
        strKey = m_keys[tzid];
        return known->second;
    }
    const CString strMapped = KeyOfTzid(tzid, std::string_view());
    if (strMapped.IsEmpty())
        return nullptr;
    return ForKey(strMapped, strKey);
}

bool UtcOfMachineLocal(const SYSTEMTIME& local, time_t& utc)
{
    SYSTEMTIME universal;
    LONGLONG ticks = 0;
    if (!TzSpecificLocalTimeToSystemTime(NULL, &local, &universal) || !TicksOf(universal, ticks))
        return false;
    utc = static_cast<time_t>((ticks - kUnixEpochTicks) / kTicksPerSecond);
    return true;
}

bool MachineLocalOfUtc(time_t utc, SYSTEMTIME& local)
{
    constexpr LONGLONG kFirstSecond = -11'644'473'600LL; // 1601-01-01T00:00:00Z
    constexpr LONGLONG kLastSecond = 910'670'515'199LL;  // 30827-12-31T23:59:59Z
    if (utc < kFirstSecond || utc > kLastSecond)
        return false;
    const SYSTEMTIME universal = SystemTimeOfTicks(static_cast<LONGLONG>(utc) * kTicksPerSecond + kUnixEpochTicks);
    local = SYSTEMTIME{};
    return SystemTimeToTzSpecificLocalTime(NULL, &universal, &local) != FALSE;
}

icaltimetype ZoneTimeOfUtc(time_t utc, icaltimezone* zone)
{
    icaltimetype time = icaltime_from_timet_with_zone(utc, 0, icaltimezone_get_utc_timezone());
    if (!zone)
        return time;
    return icaltime_convert_to_zone(time, zone);
}

time_t UtcOfZoneTime(const icaltimetype& time, icaltimezone* zone)
{
    return icaltime_as_timet_with_zone(time, zone ? zone : icaltimezone_get_utc_timezone());
}

icaltimetype DateOf(const SYSTEMTIME& tm)
{
    icaltimetype date = icaltime_null_date();
    date.year = tm.wYear;
    date.month = tm.wMonth;
    date.day = tm.wDay;
    date.is_date = 1;
    return date;
}

SYSTEMTIME SystemTimeOf(const icaltimetype& time)
{
    SYSTEMTIME tm = {};
    tm.wYear = static_cast<WORD>(time.year);
    tm.wMonth = static_cast<WORD>(time.month);
    tm.wDay = static_cast<WORD>(time.day);
    if (!time.is_date)
    {
        tm.wHour = static_cast<WORD>(time.hour);
        tm.wMinute = static_cast<WORD>(time.minute);
        tm.wSecond = static_cast<WORD>(time.second);
    }
    FILETIME ft;
    if (SystemTimeToFileTime(&tm, &ft)) // fills the day of the week
        FileTimeToSystemTime(&ft, &tm);
    return tm;
}
} // namespace mapipim::interop
