#include "interop/TodoEvent.h"

#include "interop/CalendarFields.h"
#include "interop/CalendarTimes.h"
#include "interop/InteropText.h"
#include "interop/RecurrenceRRule.h"

#include <cmath>
#include <ctime>
#include <memory>

namespace mapipim::interop
{
namespace
{
const char* const kStatusName = "X-MAPIPIM-TASK-STATUS"; // the statuses iCalendar has no word for

void AddStatus(icalcomponent* todo, int nStatus)
{
    const icalproperty_status status = nStatus == 1   ? ICAL_STATUS_INPROCESS
                                       : nStatus == 2 ? ICAL_STATUS_COMPLETED
                                                      : ICAL_STATUS_NEEDSACTION;
    icalcomponent_add_property(todo, icalproperty_new_status(status));
    if (nStatus < 0 || nStatus > 2)
        AddX(todo, kStatusName, std::to_string(nStatus));
}

int StatusOf(icalcomponent* todo)
{
    const std::string own = XValue(todo, kStatusName);
    if (!own.empty() && own.find_first_not_of("0123456789") == std::string::npos && own.size() < 6)
        return std::stoi(own);
    icalproperty* property = icalcomponent_get_first_property(todo, ICAL_STATUS_PROPERTY);
    const icalproperty_status status = property ? icalproperty_get_status(property) : ICAL_STATUS_NONE;
    return status == ICAL_STATUS_INPROCESS ? 1 : status == ICAL_STATUS_COMPLETED ? 2 : 0;
}

// A task's start or due date: the date in the zone the file gives it in.
bool ReadDate(icalcomponent* todo, icalproperty_kind kind, CalendarZones& zones, SYSTEMTIME& date, std::string& error)
{
    icalproperty* property = icalcomponent_get_first_property(todo, kind);
    if (!property)
        return true;
    ItemTime time;
    if (!ReadItemTime(property, zones, time, error))
        return false;
    icaltimetype local = time.local;
    if (icaltime_is_utc(local))
        local = ZoneTimeOfUtc(time.utc, zones.ForKey(CString(), time.strKey));
    local.is_date = 1;
    date = SystemTimeOf(local);
    return true;
}
} // namespace

void AddIdentity(icalcomponent* item, const CString& strEntryID)
{
    if (!strEntryID.IsEmpty())
        icalcomponent_add_property(item, icalproperty_new_uid((Utf8Of(strEntryID) + "@mapipim").c_str()));
    icalcomponent_add_property(
        item, icalproperty_new_dtstamp(icaltime_from_timet_with_zone(time(nullptr), 0, icaltimezone_get_utc_timezone())));
}

icalcomponent* TodoOfTask(const CMAPITodoInfo& t, CalendarZones& zones, int nFirstDayOfWeek, std::string& error)
{
    ComponentPtr todo(icalcomponent_new_vtodo());
    AddIdentity(todo.get(), t.strEntryID);
    AddText(todo.get(), ICAL_SUMMARY_PROPERTY, t.strSubject);
    AddText(todo.get(), ICAL_DESCRIPTION_PROPERTY, t.strContents);
    AddCategories(todo.get(), t.strLabel);
    AddSensitivity(todo.get(), t.nSensitivity);
    AddPriority(todo.get(), t.nPriority);
    AddStatus(todo.get(), t.nStatus);
    icalcomponent_add_property(todo.get(), icalproperty_new_percentcomplete(static_cast<int>(std::lround(t.dCompleteRate))));
    SYSTEMTIME start = t.tmStartTime;
    if (start.wYear == 0 && t.bRecurSet && t.lprcRecurring)
        start = t.lprcRecurring->tmStartDate; // a series needs its first day
    if (start.wYear != 0)
        icalcomponent_add_property(todo.get(), NewTimeProperty(ICAL_DTSTART_PROPERTY, DateOf(start), CString()));
    if (t.tmEndTime.wYear != 0)
        icalcomponent_add_property(todo.get(), NewTimeProperty(ICAL_DUE_PROPERTY, DateOf(t.tmEndTime), CString()));
    time_t utc = 0;
    if (t.dCompleteRate == 100.0 && UtcOfMachineLocal(t.tmCompleteTime, utc))
        icalcomponent_add_property(
            todo.get(), icalproperty_new_completed(icaltime_from_timet_with_zone(utc, 0, icaltimezone_get_utc_timezone())));
    if (t.bAlarmSet == 1 && UtcOfMachineLocal(t.tmAlarmTime, utc))
        AddAlarmAt(todo.get(), utc);
    if (t.bRecurSet && t.lprcRecurring)
    {
        icalrecurrencetype rule;
        if (!RRuleOfPattern(*t.lprcRecurring, DateOf(start), nullptr, nFirstDayOfWeek, rule, error))
            return nullptr;
        icalcomponent_add_property(todo.get(), icalproperty_new_rrule(rule));
    }
    return todo.release();
}

bool TaskOfTodo(icalcomponent* todo, CalendarZones& zones, CMAPITodoInfo& t, std::string& error)
{
    if (!ReadDate(todo, ICAL_DTSTART_PROPERTY, zones, t.tmStartTime, error) ||
        !ReadDate(todo, ICAL_DUE_PROPERTY, zones, t.tmEndTime, error))
        return false;
    t.strSubject = TextOfProperty(todo, ICAL_SUMMARY_PROPERTY);
    t.strContents = TextOfProperty(todo, ICAL_DESCRIPTION_PROPERTY);
    t.strLabel = CategoriesOf(todo);
    t.nSensitivity = SensitivityOf(todo);
    t.nPriority = PriorityOf(todo);
    t.nStatus = StatusOf(todo);
    icalproperty* percent = icalcomponent_get_first_property(todo, ICAL_PERCENTCOMPLETE_PROPERTY);
    const int nPercent = percent ? icalproperty_get_percentcomplete(percent) : (t.nStatus == 2 ? 100 : 0);
    t.dCompleteRate = nPercent < 0 ? 0.0 : nPercent > 100 ? 100.0 : nPercent;
    icalproperty* completed = icalcomponent_get_first_property(todo, ICAL_COMPLETED_PROPERTY);
    if (completed && !MachineLocalOfUtc(icaltime_as_timet_with_zone(icalproperty_get_completed(completed),
                                                                    icaltimezone_get_utc_timezone()),
                                        t.tmCompleteTime))
    {
        error = "COMPLETED outside the years a record holds";
        return false;
    }
    const Alarm alarm = AlarmOf(todo);
    t.bAlarmSet = alarm.bSet ? 1 : 0;
    if (alarm.bSet)
    {
        time_t utc = alarm.utc;
        if (alarm.bRelative)
        {
            const SYSTEMTIME anchor = t.tmStartTime.wYear ? t.tmStartTime : t.tmEndTime;
            if (anchor.wYear == 0 || !UtcOfMachineLocal(anchor, utc))
            {
                error = "a reminder relative to a task without start or due date";
                return false;
            }
            utc -= static_cast<time_t>(alarm.nMinutesBefore) * 60;
        }
        if (!MachineLocalOfUtc(utc, t.tmAlarmTime))
        {
            error = "a reminder outside the years a record holds";
            return false;
        }
    }
    t.bRecurSet = 0;
    icalproperty* rrule = icalcomponent_get_first_property(todo, ICAL_RRULE_PROPERTY);
    if (!rrule)
        return true;
    const SYSTEMTIME first = t.tmStartTime.wYear ? t.tmStartTime : t.tmEndTime;
    if (first.wYear == 0)
    {
        error = "a recurring VTODO without DTSTART or DUE";
        return false;
    }
    auto pattern = std::make_unique<CMAPIRecurring>();
    if (!PatternOfRRule(icalproperty_get_rrule(rrule), DateOf(first), nullptr, *pattern, error))
        return false;
    t.bRecurSet = 1;
    delete t.lprcRecurring;
    t.lprcRecurring = pattern.release();
    return true;
}
} // namespace mapipim::interop
