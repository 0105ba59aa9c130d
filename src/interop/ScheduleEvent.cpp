#include "interop/ScheduleEvent.h"

#include "interop/CalendarFields.h"
#include "interop/CalendarTimes.h"
#include "interop/InteropText.h"
#include "interop/RecurrenceRRule.h"
#include "interop/TodoEvent.h"
#include "items/RecurrenceCalendar.h"

#include <algorithm>
#include <memory>

namespace mapipim::interop
{
namespace
{
const char* const kBusyStatus[] = {"FREE", "TENTATIVE", "BUSY", "OOF"};

icaltimetype NextDay(icaltimetype date)
{
    icaltime_adjust(&date, 1, 0, 0, 0);
    return date;
}

// The record's machine-local time in the zone of strKey (the machine's when the registry does not know it).
bool ZonedTime(const CMAPITimeZone& time, CalendarZones& zones, icaltimetype& local, CString& strKey,
               icaltimezone*& zone, std::string& error)
{
    time_t utc = 0;
    if (!UtcOfMachineLocal(time.tmDateTime, utc))
    {
        error = "a time that names no date";
        return false;
    }
    zone = zones.ForRecordKey(time.strKeyName, strKey);
    local = ZoneTimeOfUtc(utc, zone);
    return true;
}

void AddDeletedDates(icalcomponent* event, const std::vector<DWORD>& deletedDates, const icaltimetype& start,
                     const CString& strKey)
{
    for (DWORD dwMinutes : deletedDates)
    {
        const CivilDate date = CivilDateOf(static_cast<DayNumber>(dwMinutes / kMinutesPerDay));
        icaltimetype occurrence = start;
        occurrence.year = date.year;
        occurrence.month = date.month;
        occurrence.day = date.day;
        icalcomponent_add_property(event, NewTimeProperty(ICAL_EXDATE_PROPERTY, occurrence, strKey));
    }
}

void AddBusyStatus(icalcomponent* event, int nSign)
{
    icalcomponent_add_property(event, icalproperty_new_transp(nSign == 0 ? ICAL_TRANSP_TRANSPARENT
                                                                         : ICAL_TRANSP_OPAQUE));
    AddX(event, "X-MICROSOFT-CDO-BUSYSTATUS", kBusyStatus[nSign >= 0 && nSign <= 3 ? nSign : 2]);
}

int BusyStatusOf(icalcomponent* event)
{
    const std::string status = XValue(event, "X-MICROSOFT-CDO-BUSYSTATUS");
    for (int i = 0; i < 4; ++i)
        if (status == kBusyStatus[i])
            return i;
    icalproperty* transp = icalcomponent_get_first_property(event, ICAL_TRANSP_PROPERTY);
    return transp && icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENT ? 0 : 2;
}

bool ReadEnd(icalcomponent* event, CalendarZones& zones, const ItemTime& start, ItemTime& end, std::string& error)
{
    icalproperty* dtend = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY);
    if (dtend)
        return ReadItemTime(dtend, zones, end, error);
    end = start;
    icalproperty* duration = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY);
    if (duration)
    {
        end.utc = start.utc + icaldurationtype_as_int(icalproperty_get_duration(duration));
        icaltime_adjust(&end.local, 0, 0, 0, icaldurationtype_as_int(icalproperty_get_duration(duration)));
    }
    else if (start.local.is_date)
        end.local = NextDay(start.local); // a date without end lasts the day
    return true;
}

bool ReadRecurrence(icalcomponent* event, const ItemTime& start, CalendarZones& zones, CMAPIScheduleInfo& schedule,
                    std::vector<DWORD>& deletedDates, std::string& error)
{
    icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    if (icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY))
    {
        error = "RDATE has no Outlook pattern";
        return false;
    }
    if (!rrule)
        return true;
    if (icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY))
    {
        error = "more than one RRULE";
        return false;
    }
    auto pattern = std::make_unique<CMAPIRecurring>();
    if (!PatternOfRRule(icalproperty_get_rrule(rrule), start.local, start.zone, *pattern, error))
        return false;
    schedule.bRecurSet = 1;
    delete schedule.lprcRecurring;
    schedule.lprcRecurring = pattern.release();
    for (icalproperty* exdate = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); exdate;
         exdate = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY))
    {
        ItemTime excluded;
        if (!ReadItemTime(exdate, zones, excluded, error))
            return false;
        icaltimetype local = excluded.local;
        if (!local.is_date)
            local = ZoneTimeOfUtc(excluded.utc, start.zone ? start.zone : zones.ForKey(CString(), excluded.strKey));
        const DayNumber day = DayNumberOf(CivilDate{local.year, local.month, local.day});
        deletedDates.push_back(static_cast<DWORD>(day) * kMinutesPerDay);
    }
    std::sort(deletedDates.begin(), deletedDates.end());
    deletedDates.erase(std::unique(deletedDates.begin(), deletedDates.end()), deletedDates.end());
    return true;
}
} // namespace

icalcomponent* EventOfSchedule(const CMAPIScheduleInfo& s, const std::vector<DWORD>& deletedDates,
                               CalendarZones& zones, int nFirstDayOfWeek, std::string& error)
{
    ComponentPtr event(icalcomponent_new_vevent());
    AddIdentity(event.get(), s.strEntryID);
    icaltimetype start, end;
    CString strStartKey, strEndKey;
    icaltimezone* startZone = nullptr;
    icaltimezone* endZone = nullptr;
    if (s.bAllday)
    {
        start = DateOf(s.tzStartTime.tmDateTime);
        end = DateOf(s.tzEndTime.tmDateTime);
        if (icaltime_compare_date_only(end, start) <= 0)
            end = NextDay(start);
    }
    else if (!ZonedTime(s.tzStartTime, zones, start, strStartKey, startZone, error) ||
             !ZonedTime(s.tzEndTime, zones, end, strEndKey, endZone, error))
        return nullptr;
    icalcomponent_add_property(event.get(), NewTimeProperty(ICAL_DTSTART_PROPERTY, start, strStartKey));
    icalcomponent_add_property(event.get(), NewTimeProperty(ICAL_DTEND_PROPERTY, end, strEndKey));
    AddText(event.get(), ICAL_SUMMARY_PROPERTY, s.strSubject);
    AddText(event.get(), ICAL_LOCATION_PROPERTY, s.strLocation);
    AddText(event.get(), ICAL_DESCRIPTION_PROPERTY, s.strContents);
    AddCategories(event.get(), s.strLabel);
    AddSensitivity(event.get(), s.nSensitivity);
    AddPriority(event.get(), s.nPriority);
    AddBusyStatus(event.get(), s.nSign);
    AddX(event.get(), "X-MICROSOFT-CDO-ALLDAYEVENT", s.bAllday ? "TRUE" : "FALSE");
    if (s.bRecurSet && s.lprcRecurring)
    {
        icalrecurrencetype rule;
        if (!RRuleOfPattern(*s.lprcRecurring, start, startZone, nFirstDayOfWeek, rule, error))
            return nullptr;
        icalcomponent_add_property(event.get(), icalproperty_new_rrule(rule));
        AddDeletedDates(event.get(), deletedDates, start, strStartKey);
    }
    if (s.bAlarm)
        AddAlarmBefore(event.get(), s.nAlarmMin);
    return event.release();
}

bool ScheduleOfEvent(icalcomponent* event, CalendarZones& zones, CMAPIScheduleInfo& s,
                     std::vector<DWORD>& deletedDates, std::string& error)
{
    icalproperty* dtstart = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!dtstart)
    {
        error = "VEVENT without DTSTART";
        return false;
    }
    ItemTime start, end;
    if (!ReadItemTime(dtstart, zones, start, error) || !ReadEnd(event, zones, start, end, error))
        return false;
    if (end.local.is_date != start.local.is_date)
    {
        error = "DTSTART and DTEND of different value types";
        return false;
    }
    s.bAllday = start.local.is_date ? 1 : 0;
    if (s.bAllday)
    {
        s.tzStartTime.tmDateTime = SystemTimeOf(start.local);
        s.tzEndTime.tmDateTime = SystemTimeOf(end.local);
        s.tzStartTime.strKeyName.Empty();
        s.tzEndTime.strKeyName.Empty();
    }
    else
    {
        if (!MachineLocalOfUtc(start.utc, s.tzStartTime.tmDateTime) ||
            !MachineLocalOfUtc(end.utc, s.tzEndTime.tmDateTime))
        {
            error = "DTSTART or DTEND outside the years a record holds";
            return false;
        }
        s.tzStartTime.strKeyName = start.strKey;
        s.tzEndTime.strKeyName = end.strKey.IsEmpty() ? start.strKey : end.strKey;
    }
    if (end.utc < start.utc)
    {
        error = "DTEND before DTSTART";
        return false;
    }
    s.strSubject = TextOfProperty(event, ICAL_SUMMARY_PROPERTY);
    s.strLocation = TextOfProperty(event, ICAL_LOCATION_PROPERTY);
    s.strContents = TextOfProperty(event, ICAL_DESCRIPTION_PROPERTY);
    s.strLabel = CategoriesOf(event);
    s.nSensitivity = SensitivityOf(event);
    s.nPriority = PriorityOf(event);
    s.nSign = BusyStatusOf(event);
    const Alarm alarm = AlarmOf(event);
    s.bAlarm = alarm.bSet ? 1 : 0;
    s.nAlarmMin = !alarm.bSet ? 0 : alarm.bRelative ? alarm.nMinutesBefore
                                                    : static_cast<int>(std::max<time_t>(0, (start.utc - alarm.utc) / 60));
    s.bRecurSet = 0;
    return ReadRecurrence(event, start, zones, s, deletedDates, error);
}
} // namespace mapipim::interop
