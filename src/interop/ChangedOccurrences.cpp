#include "interop/ChangedOccurrences.h"

#include "interop/CalendarTimes.h"
#include "interop/ScheduleEvent.h"
#include "items/OccurrenceEnumerator.h"
#include "items/RecurrenceRule.h"

#include <climits>

namespace mapipim::interop
{
namespace
{
// Minutes since 1601 in a zone's local time, as the blob keeps them, and back.
icaltimetype LocalOfMinutes(DWORD dwMinutes, bool bDate)
{
    const CivilDate date = CivilDateOf(static_cast<DayNumber>(dwMinutes / kMinutesPerDay));
    icaltimetype time = bDate ? icaltime_null_date() : icaltime_null_time();
    time.year = date.year;
    time.month = date.month;
    time.day = date.day;
    if (!bDate)
    {
        time.hour = static_cast<int>(dwMinutes % kMinutesPerDay / 60);
        time.minute = static_cast<int>(dwMinutes % 60);
    }
    return time;
}

DWORD MinutesOfLocal(const icaltimetype& time)
{
    const DayNumber day = DayNumberOf(CivilDate{time.year, time.month, time.day});
    return static_cast<DWORD>(day) * kMinutesPerDay + (time.is_date ? 0 : time.hour * 60 + time.minute);
}

// A record keeps a time as the machine's local time of the instant, and an all-day time as its date; an instant
// no record can hold is an empty time (year 0), which names no date.
SYSTEMTIME RecordTimeOf(DWORD dwMinutes, icaltimezone* zone, bool bAllDay)
{
    if (bAllDay)
        return SystemTimeOf(LocalOfMinutes(dwMinutes, true));
    SYSTEMTIME local{};
    if (!MachineLocalOfUtc(UtcOfZoneTime(LocalOfMinutes(dwMinutes, false), zone), local))
        return SYSTEMTIME{};
    return local;
}

// False for a time that names no date or lies past the last day a series reaches (32-bit minutes end in 9767).
bool ZoneMinutesOf(const SYSTEMTIME& tmRecord, icaltimezone* zone, bool bAllDay, DWORD& dwMinutes)
{
    time_t utc = 0;
    icaltimetype local;
    if (bAllDay)
        local = DateOf(tmRecord);
    else if (UtcOfMachineLocal(tmRecord, utc))
        local = ZoneTimeOfUtc(utc, zone);
    else
        return false;
    const DayNumber day = DayNumberOf(CivilDate{local.year, local.month, local.day});
    if (day < 0 || day > LastRecurrenceDay() + 1)
        return false;
    dwMinutes = MinutesOfLocal(local);
    return true;
}

void ApplyOverrides(const RecurrenceException& changed, CMAPIScheduleInfo& occurrence)
{
    const WORD wFlags = changed.wOverrideFlags;
    if (wFlags & kOverrideSubject)
        occurrence.strSubject = changed.strSubject;
    if (wFlags & kOverrideLocation)
        occurrence.strLocation = changed.strLocation;
    if (wFlags & kOverrideBusyStatus)
        occurrence.nSign = static_cast<int>(changed.dwBusyStatus);
    if (wFlags & kOverrideReminder)
        occurrence.bAlarm = changed.dwReminderSet != 0;
    if ((wFlags & kOverrideReminderDelta) && changed.dwReminderDelta <= INT_MAX)
        occurrence.nAlarmMin = static_cast<int>(changed.dwReminderDelta);
    if (wFlags & kOverrideSubType)
        occurrence.bAllday = changed.dwSubType != 0;
    if (wFlags & kOverrideExceptionalBody)
        occurrence.strContents.Empty();
}

void SetOverrides(const CMAPIScheduleInfo& series, const CMAPIScheduleInfo& occurrence, RecurrenceException& changed)
{
    changed.strSubject = occurrence.strSubject;
    changed.strLocation = occurrence.strLocation;
    changed.dwBusyStatus = static_cast<DWORD>(occurrence.nSign);
    changed.dwReminderSet = occurrence.bAlarm ? 1 : 0;
    changed.dwReminderDelta = static_cast<DWORD>(occurrence.nAlarmMin);
    changed.dwSubType = occurrence.bAllday ? 1 : 0;
    const struct
    {
        WORD wFlag;
        bool bDiffers;
    } kComparisons[] = {
        {kOverrideSubject, occurrence.strSubject != series.strSubject},
        {kOverrideLocation, occurrence.strLocation != series.strLocation},
        {kOverrideBusyStatus, occurrence.nSign != series.nSign},
        {kOverrideReminder, (occurrence.bAlarm != 0) != (series.bAlarm != 0)},
        {kOverrideReminderDelta, occurrence.bAlarm && occurrence.nAlarmMin != series.nAlarmMin},
        {kOverrideSubType, (occurrence.bAllday != 0) != (series.bAllday != 0)},
    };
    for (const auto& comparison : kComparisons)
        if (comparison.bDiffers)
            changed.wOverrideFlags |= comparison.wFlag;
}

bool IsOccurrenceDay(const CMAPIRecurring& pattern, int nFirstDayOfWeek, DayNumber day)
{
    RecurrenceRule rule;
    if (!RecurrenceRuleOf(pattern, nFirstDayOfWeek, rule))
        return false;
    OccurrenceEnumerator dates(rule);
    dates.SeekTo(day);
    DayNumber found = 0;
    if (!dates.Next(found) || found != day)
        return false;
    DayNumber last = 0;
    if (pattern.nEndType == 0)
        return DayNumberOfSystemTime(pattern.tmEndDate, last) && day <= last;
    return pattern.nEndType != 1 || CountOccurrencesThrough(rule, day) <= pattern.nOccurrenceCount;
}

// The original start of the occurrence a RECURRENCE-ID names, in the series' zone: one of the series' days, at the
// series' time of day (a date names the occurrence of that day).
bool OriginalStartOf(icalproperty* recurrenceID, const CMAPIScheduleInfo& series, icaltimezone* zone,
                     CalendarZones& zones, int nFirstDayOfWeek, DWORD& dwOriginal, std::string& error)
{
    ItemTime named;
    DWORD dwSeriesStart = 0;
    if (!ReadItemTime(recurrenceID, zones, named, error))
        return false;
    if (!ZoneMinutesOf(series.tzStartTime.tmDateTime, zone, series.bAllday != 0, dwSeriesStart))
        return (error = "the series' start names no date", false);
    const icaltimetype local = named.local.is_date ? named.local : ZoneTimeOfUtc(named.utc, zone);
    const DayNumber day = DayNumberOf(CivilDate{local.year, local.month, local.day});
    dwOriginal = static_cast<DWORD>(day) * kMinutesPerDay + dwSeriesStart % kMinutesPerDay;
    const bool bTimeMatches = named.local.is_date || series.bAllday || MinutesOfLocal(local) == dwOriginal;
    if (bTimeMatches && IsOccurrenceDay(*series.lprcRecurring, nFirstDayOfWeek, day))
        return true;
    const char* text = icalproperty_get_value_as_string(recurrenceID);
    error = std::string("RECURRENCE-ID ") + (text ? text : "") + " names no occurrence of the series";
    return false;
}
} // namespace

icalcomponent* EventOfChangedOccurrence(const CMAPIScheduleInfo& series, const RecurrenceException& changed,
                                        CalendarZones& zones, int nFirstDayOfWeek, std::string& error)
{
    if (changed.dwEndDateTime < changed.dwStartDateTime)
    {
        error = "it ends before it starts";
        return nullptr;
    }
    CString strKey;
    icaltimezone* zone = zones.ForRecordKey(series.tzStartTime.strKeyName, strKey);
    CMAPIScheduleInfo occurrence(series);
    occurrence.bRecurSet = 0;
    ApplyOverrides(changed, occurrence);
    occurrence.tzStartTime.tmDateTime = RecordTimeOf(changed.dwStartDateTime, zone, occurrence.bAllday != 0);
    occurrence.tzEndTime.tmDateTime = RecordTimeOf(changed.dwEndDateTime, zone, occurrence.bAllday != 0);
    ComponentPtr event(EventOfSchedule(occurrence, {}, zones, nFirstDayOfWeek, error));
    if (!event)
        return nullptr;
    const bool bDate = series.bAllday != 0;
    icalcomponent_add_property(event.get(), NewTimeProperty(ICAL_RECURRENCEID_PROPERTY,
                                                            LocalOfMinutes(changed.dwOriginalStartTime, bDate),
                                                            bDate ? CString() : strKey));
    return event.release();
}

bool ChangedOccurrenceOfEvent(icalcomponent* event, const CMAPIScheduleInfo& series, CalendarZones& zones,
                              int nFirstDayOfWeek, CMAPIScheduleInfo& occurrence, RecurrenceException& changed,
                              std::string& error)
{
    icalproperty* recurrenceID = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
    std::vector<DWORD> ignored;
    if (!recurrenceID || !series.bRecurSet || !series.lprcRecurring)
        return (error = "no recurring series to change", false);
    if (!ScheduleOfEvent(event, zones, occurrence, ignored, error))
        return false;
    if (occurrence.bRecurSet)
        return (error = "a changed occurrence with a recurrence of its own", false);
    CString strKey;
    icaltimezone* zone = zones.ForRecordKey(series.tzStartTime.strKeyName, strKey);
    changed = RecurrenceException();
    if (!OriginalStartOf(recurrenceID, series, zone, zones, nFirstDayOfWeek, changed.dwOriginalStartTime, error))
        return false;
    if (!ZoneMinutesOf(occurrence.tzStartTime.tmDateTime, zone, occurrence.bAllday != 0, changed.dwStartDateTime) ||
        !ZoneMinutesOf(occurrence.tzEndTime.tmDateTime, zone, occurrence.bAllday != 0, changed.dwEndDateTime))
        return (error = "a time that names no date, or one past the last day a series reaches", false);
    SetOverrides(series, occurrence, changed);
    return true;
}
} // namespace mapipim::interop
