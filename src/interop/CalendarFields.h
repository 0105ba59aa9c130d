// The properties appointments and tasks share in iCalendar: texts, categories, CLASS for the sensitivity,
// PRIORITY for the importance, and the reminder's VALARM.
#pragma once

#include "platform/platform.h"

#include <libical/ical.h>

#include <string>

namespace mapipim::interop
{
void AddText(icalcomponent* item, icalproperty_kind kind, const CString& text);
CString TextOfProperty(icalcomponent* item, icalproperty_kind kind);

// Categories travel in records as one text separated by "," or ";".
void AddCategories(icalcomponent* item, const CString& strCategories);
CString CategoriesOf(icalcomponent* item);

// 0 normal PUBLIC, 1 personal X-PERSONAL, 2 private PRIVATE, 3 confidential CONFIDENTIAL.
void AddSensitivity(icalcomponent* item, int nSensitivity);
int SensitivityOf(icalcomponent* item);

// 0 low 9, 1 normal 5, 2 high 1; reading takes 1-4 as high, 6-9 as low, anything else as normal.
void AddPriority(icalcomponent* item, int nPriority);
int PriorityOf(icalcomponent* item);

// A DISPLAY alarm: minutes before the start, or at a UTC instant.
void AddAlarmBefore(icalcomponent* item, int nMinutes);
void AddAlarmAt(icalcomponent* item, time_t utc);
struct Alarm
{
    bool bSet = false;
    bool bRelative = false;
    int nMinutesBefore = 0;
    time_t utc = 0;
};
Alarm AlarmOf(icalcomponent* item);

// An X- property's value, empty when absent.
std::string XValue(icalcomponent* item, const char* name);
void AddX(icalcomponent* item, const char* name, const std::string& value);
} // namespace mapipim::interop
