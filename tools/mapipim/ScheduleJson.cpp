#include "ScheduleJson.h"

#include "DateText.h"
#include "EntryId.h"
#include "JsonRecords.h"
#include "ScheduleOptions.h"
#include "Text.h"

namespace cli
{
Json TimeZoneJson(const CMAPITimeZone& zone)
{
    Json json;
    json["tmDateTime"] = TimeJson(zone.tmDateTime);
    json["strKeyName"] = Utf8(zone.strKeyName);
    json["nBias"] = zone.nBias;
    json["nStandardBias"] = zone.nStandardBias;
    json["nDaylightBias"] = zone.nDaylightBias;
    return json;
}

Json ScheduleJson(const CMAPIScheduleInfo& schedule)
{
    Json json;
    json["strEntryID"] = Utf8(schedule.strEntryID);
    json["sbEntryID"] = EntryIdText(schedule.sbEntryID);
    json["tmCTime"] = TimeJson(schedule.tmCTime);
    json["tmLMTime"] = TimeJson(schedule.tmLMTime);
    json["strSubject"] = Utf8(schedule.strSubject);
    json["strLocation"] = Utf8(schedule.strLocation);
    json["strContents"] = Utf8(schedule.strContents);
    json["tzStartTime"] = TimeZoneJson(schedule.tzStartTime);
    json["tzEndTime"] = TimeZoneJson(schedule.tzEndTime);
    json["bAllday"] = schedule.bAllday != 0;
    json["nSign"] = schedule.nSign;
    json["busy"] = BusyName(schedule.nSign);
    json["bAlarm"] = schedule.bAlarm != 0;
    json["nAlarmMin"] = schedule.nAlarmMin;
    json["nSensitivity"] = schedule.nSensitivity;
    json["nPriority"] = schedule.nPriority;
    json["strLabel"] = Utf8(schedule.strLabel);
    json["bRecurSet"] = schedule.bRecurSet != 0;
    json["strRecurDisplay"] = Utf8(schedule.strRecurDisplay);
    json["lprcRecurring"] = RecurringJson(schedule.lprcRecurring);
    json["nAttachCount"] = schedule.nAttachCount;
    json["strAttachFile"] = Utf8(schedule.strAttachFile);
    return json;
}
} // namespace cli
