#include "interop/CalendarTimes.h"

#include "interop/InteropText.h"

namespace mapipim::interop
{
icalproperty* NewTimeProperty(icalproperty_kind kind, icaltimetype time, const CString& strKey)
{
    time.zone = nullptr; // the TZID parameter names the zone
    icalproperty* property = icalproperty_new(kind);
    icalproperty_set_value(property, time.is_date ? icalvalue_new_date(time) : icalvalue_new_datetime(time));
    if (time.is_date)
        icalproperty_add_parameter(property, icalparameter_new_value(ICAL_VALUE_DATE));
    else if (!strKey.IsEmpty())
        icalproperty_add_parameter(property, icalparameter_new_tzid(Utf8Of(strKey).c_str()));
    return property;
}

bool ReadItemTime(icalproperty* property, CalendarZones& zones, ItemTime& time, std::string& error)
{
    icalvalue* value = icalproperty_get_value(property);
    const icalvalue_kind kind = value ? icalvalue_isa(value) : ICAL_NO_VALUE;
    if (kind != ICAL_DATE_VALUE && kind != ICAL_DATETIME_VALUE)
    {
        error = std::string(icalproperty_kind_to_string(icalproperty_isa(property))) + " is not a date or time";
        return false;
    }
    time.local = kind == ICAL_DATE_VALUE ? icalvalue_get_date(value) : icalvalue_get_datetime(value);
    if (icaltime_is_null_time(time.local) || !icaltime_is_valid_time(time.local) || time.local.year < 1601 ||
        time.local.month < 1 || time.local.month > 12 || time.local.day < 1 ||
        time.local.day > icaltime_days_in_month(time.local.month, time.local.year))
    {
        error = std::string(icalproperty_kind_to_string(icalproperty_isa(property))) + " names no date";
        return false;
    }
    time.zone = nullptr;
    time.strKey.Empty();
    icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (time.local.is_date)
    {
        SYSTEMTIME midnight = SystemTimeOf(time.local);
        return UtcOfMachineLocal(midnight, time.utc) || (error = "a date out of range", false);
    }
    if (icaltime_is_utc(time.local))
    {
        time.utc = UtcOfZoneTime(time.local, nullptr);
        return true;
    }
    if (tzid && icalparameter_get_tzid(tzid))
    {
        const std::string name = icalparameter_get_tzid(tzid);
        time.zone = zones.ForTzid(name, time.strKey);
        if (!time.zone)
        {
            error = "unknown TZID \"" + name + "\"";
            return false;
        }
    }
    else
        time.zone = zones.ForKey(CString(), time.strKey); // a floating time: the machine's zone
    time.utc = UtcOfZoneTime(time.local, time.zone);
    return true;
}
} // namespace mapipim::interop
