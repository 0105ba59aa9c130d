// CMAPIScheduleItem: the times of an appointment as it writes them. Start and end are stored as the UTC they
// stand for in the machine's zone, with the zones the record names beside them as time-zone definitions; the
// duration counts minutes between the record's local times; a reminder is due at the start, and signals its lead
// time before it.
#include "items/MAPIScheduleItem.h"

#include "items/ItemFields.h"
#include "items/ScheduleProperties.h"
#include "platform/trace/Trace.h"

namespace
{
const int kAppointment = MAPIPIM_SET_APPOINTMENT;
const int kCommon = MAPIPIM_SET_COMMON;

// A hair over zero, so that a span of whole minutes that the date arithmetic leaves a little short of its value
// still counts every minute; it is added away from zero, so an end an hour before the start gives -60, not -59.
const double kMinuteRounding = 5.787037037037037e-6;
const LONGLONG kTicksPerMinute = 600000000LL; // FILETIME units (100 ns)

// Whole minutes from the start to the end of the record's local times: negative when the end comes first, 0 when
// either names no date.
LONG DurationMinutes(const SYSTEMTIME& tmStart, const SYSTEMTIME& tmEnd)
{
    const COleDateTime start(tmStart);
    const COleDateTime end(tmEnd);
    if (start.GetStatus() != COleDateTime::valid || end.GetStatus() != COleDateTime::valid)
        return 0;
    const double dSpan = (static_cast<DATE>(end) - static_cast<DATE>(start)) * 1440.0;
    const double dMinutes = dSpan < 0 ? dSpan - kMinuteRounding : dSpan + kMinuteRounding;
    if (dMinutes >= 2147483647.0 || dMinutes <= -2147483648.0)
        return 0;
    return static_cast<LONG>(dMinutes);
}

// A UTC time moved back by some minutes; false when it names no time.
bool MinutesBefore(const SYSTEMTIME& tmUTC, LONG nMinutes, SYSTEMTIME& tmResult)
{
    FILETIME ft = {};
    if (!SystemTimeToFileTime(&tmUTC, &ft))
        return false;
    const ULONGLONG ullTicks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    const LONGLONG llTicks = static_cast<LONGLONG>(ullTicks) - static_cast<LONGLONG>(nMinutes) * kTicksPerMinute;
    if (llTicks < 0)
        return false;
    ft.dwLowDateTime = static_cast<DWORD>(static_cast<ULONGLONG>(llTicks));
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<ULONGLONG>(llTicks) >> 32);
    return FileTimeToSystemTime(&ft, &tmResult) != FALSE;
}
} // namespace

void CMAPIScheduleItem::SetStartAndEnd(LPCWSTR szFolder, CMAPIScheduleInfo& info, const SYSTEMTIME& tmStartUTC,
                                       const SYSTEMTIME& tmEndUTC)
{
    const SYSTEMTIME& tmStart = info.tzStartTime.tmDateTime;
    const SYSTEMTIME& tmEnd = info.tzEndTime.tmDateTime;
    if (!SetTimeZoneDefinition(kAppointment, mapipim::PidLidAppointmentTimeZoneDefinitionStartDisplay,
                               &info.tzStartTime, FALSE))
        LOGTRACE(_T("[MAPI] Set failed : (tzStartTime) - Folder:%s"), szFolder);
    if (!SetTimeZoneDefinition(kAppointment, mapipim::PidLidAppointmentTimeZoneDefinitionEndDisplay, &info.tzEndTime,
                               FALSE))
        LOGTRACE(_T("[MAPI] Set failed : (tzEndTime) - Folder:%s"), szFolder);
    if (!SetPropertyTime(mapipim::PidLidAppointmentStartWhole, tmStartUTC, kAppointment))
        mapipim::TraceSetTimeFailed(tmStart, _T("tzStartTime"), szFolder);
    if (!SetPropertyTime(mapipim::PidLidCommonStart, tmStartUTC, kCommon))
        mapipim::TraceSetTimeFailed(tmStart, _T("dispidCommonStart"), szFolder);
    if (!SetPropertyTime(mapipim::PidLidAppointmentEndWhole, tmEndUTC, kAppointment))
        mapipim::TraceSetTimeFailed(tmEnd, _T("tzEndTime"), szFolder);
    if (!SetPropertyTime(mapipim::PidLidCommonEnd, tmEndUTC, kCommon))
        mapipim::TraceSetTimeFailed(tmEnd, _T("dispidCommonEnd"), szFolder);
    if (!SetPropertyTime(PR_END_DATE, tmEndUTC))
        mapipim::TraceSetTimeFailed(tmEnd, _T("PR_END_DATE"), szFolder);
    const LONG nDuration = DurationMinutes(tmStart, tmEnd);
    if (!SetPropertyLong(mapipim::PidLidAppointmentDuration, nDuration, kAppointment))
        mapipim::TraceSetLongFailed(nDuration, _T("dispidApptDuration"), szFolder);
}

// Without a reminder the reminder times stay as they were: Outlook keeps them, and the flag says they are off.
void CMAPIScheduleItem::SetReminder(LPCWSTR szFolder, const CMAPIScheduleInfo& info, const SYSTEMTIME& tmStartUTC)
{
    if (!info.bAlarm)
        return;
    if (!SetPropertyTime(mapipim::PidLidReminderTime, tmStartUTC, kCommon))
        mapipim::TraceSetTimeFailed(info.tzStartTime.tmDateTime, _T("dispidReminderTime"), szFolder);
    SYSTEMTIME tmSignal = {};
    if (!MinutesBefore(tmStartUTC, info.nAlarmMin, tmSignal) ||
        !SetPropertyTime(mapipim::PidLidReminderSignalTime, tmSignal, kCommon))
        mapipim::TraceSetTimeFailed(info.tzEndTime.tmDateTime, _T("dispidReminderNextTime"), szFolder);
}
