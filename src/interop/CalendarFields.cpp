#include "interop/CalendarFields.h"

#include "interop/InteropText.h"

#include <mapipim/SubString.h>

namespace mapipim::interop
{
void AddText(icalcomponent* item, icalproperty_kind kind, const CString& text)
{
    if (text.IsEmpty())
        return;
    icalproperty* property = icalproperty_new(kind);
    icalproperty_set_value(property, icalvalue_new_text(Utf8Of(text).c_str()));
    icalcomponent_add_property(item, property);
}

CString TextOfProperty(icalcomponent* item, icalproperty_kind kind)
{
    icalproperty* property = icalcomponent_get_first_property(item, kind);
    icalvalue* value = property ? icalproperty_get_value(property) : nullptr;
    const char* text = value && icalvalue_isa(value) == ICAL_TEXT_VALUE ? icalvalue_get_text(value) : nullptr;
    if (!text)
        return CString();
    CString strText = TextOf(text);
    // Files end lines with "\n"; the stores keep "\r\n".
    strText.Replace(_T("\r\n"), _T("\n"));
    strText.Replace(_T("\n"), _T("\r\n"));
    return strText;
}

void AddCategories(icalcomponent* item, const CString& strCategories)
{
    CString strCategory;
    for (int i = 0; GetExtractSubString(strCategory, strCategories, i, _T(",;")); ++i)
    {
        strCategory.Trim();
        if (!strCategory.IsEmpty())
            icalcomponent_add_property(item, icalproperty_new_categories(Utf8Of(strCategory).c_str()));
    }
}

CString CategoriesOf(icalcomponent* item)
{
    CString strCategories;
    for (icalproperty* p = icalcomponent_get_first_property(item, ICAL_CATEGORIES_PROPERTY); p;
         p = icalcomponent_get_next_property(item, ICAL_CATEGORIES_PROPERTY))
    {
        const char* text = icalproperty_get_categories(p);
        if (!text || !*text)
            continue;
        if (!strCategories.IsEmpty())
            strCategories += _T(";");
        strCategories += TextOf(text);
    }
    strCategories.Replace(_T(","), _T(";")); // one CATEGORIES line may list several
    return strCategories;
}

void AddSensitivity(icalcomponent* item, int nSensitivity)
{
    static const char* const kClasses[] = {"PUBLIC", "X-PERSONAL", "PRIVATE", "CONFIDENTIAL"};
    const char* text = nSensitivity >= 0 && nSensitivity <= 3 ? kClasses[nSensitivity] : "PUBLIC";
    icalproperty* property = icalproperty_new_from_string((std::string("CLASS:") + text).c_str());
    if (property)
        icalcomponent_add_property(item, property);
}

int SensitivityOf(icalcomponent* item)
{
    icalproperty* property = icalcomponent_get_first_property(item, ICAL_CLASS_PROPERTY);
    if (!property)
        return 0;
    const char* text = icalproperty_get_value_as_string(property);
    const std::string value = text ? text : "";
    if (value == "PRIVATE")
        return 2;
    if (value == "CONFIDENTIAL")
        return 3;
    if (value == "X-PERSONAL")
        return 1;
    return 0;
}

void AddPriority(icalcomponent* item, int nPriority)
{
    const int nValue = nPriority <= 0 ? 9 : nPriority >= 2 ? 1 : 5;
    icalcomponent_add_property(item, icalproperty_new_priority(nValue));
}

int PriorityOf(icalcomponent* item)
{
    icalproperty* property = icalcomponent_get_first_property(item, ICAL_PRIORITY_PROPERTY);
    const int nValue = property ? icalproperty_get_priority(property) : 0;
    if (nValue >= 1 && nValue <= 4)
        return 2;
    if (nValue >= 6 && nValue <= 9)
        return 0;
    return 1;
}

namespace
{
icalcomponent* NewDisplayAlarm(icalcomponent* item)
{
    icalcomponent* alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(alarm, icalproperty_new_description("Reminder"));
    icalcomponent_add_component(item, alarm);
    return alarm;
}
} // namespace

void AddAlarmBefore(icalcomponent* item, int nMinutes)
{
    icalcomponent* alarm = NewDisplayAlarm(item);
    icaltriggertype trigger;
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-nMinutes * 60);
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
}

void AddAlarmAt(icalcomponent* item, time_t utc)
{
    icalcomponent* alarm = NewDisplayAlarm(item);
    icaltriggertype trigger;
    trigger.time = icaltime_from_timet_with_zone(utc, 0, icaltimezone_get_utc_timezone());
    trigger.duration = icaldurationtype_null_duration();
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
}

Alarm AlarmOf(icalcomponent* item)
{
    Alarm result;
    icalcomponent* alarm = icalcomponent_get_first_component(item, ICAL_VALARM_COMPONENT);
    icalproperty* property = alarm ? icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY) : nullptr;
    if (!property)
        return result;
    const icaltriggertype trigger = icalproperty_get_trigger(property);
    result.bSet = true;
    if (!icaltime_is_null_time(trigger.time))
    {
        result.utc = icaltime_as_timet_with_zone(trigger.time, icaltimezone_get_utc_timezone());
        return result;
    }
    result.bRelative = true;
    const int nSeconds = icaldurationtype_as_int(trigger.duration);
    result.nMinutesBefore = nSeconds <= 0 ? -nSeconds / 60 : 0;
    return result;
}

std::string XValue(icalcomponent* item, const char* name)
{
    for (icalproperty* x = icalcomponent_get_first_property(item, ICAL_X_PROPERTY); x;
         x = icalcomponent_get_next_property(item, ICAL_X_PROPERTY))
    {
        const char* xName = icalproperty_get_x_name(x);
        if (xName && std::string(xName) == name)
        {
            const char* text = icalproperty_get_value_as_string(x);
            return text ? text : "";
        }
    }
    return std::string();
}

void AddX(icalcomponent* item, const char* name, const std::string& value)
{
    icalproperty* x = icalproperty_new_x(value.c_str());
    icalproperty_set_x_name(x, name);
    icalcomponent_add_property(item, x);
}
} // namespace mapipim::interop
