// CMAPIScheduleItem: the recurrence of an appointment as it writes it. A recurring appointment carries its
// pattern, the pattern's type, the zone its occurrences keep and the range they span (the clip range); a single
// one loses all of these and spans only itself.
#include "items/MAPIScheduleItem.h"

#include "items/ItemFields.h"
#include "items/ScheduleProperties.h"
#include "platform/trace/Trace.h"

namespace
{
const int kAppointment = MAPIPIM_SET_APPOINTMENT;

// The recurrence blob stores the frequency from this base: 0x200A daily, 0x200B weekly, ...
const int kFrequencyBase = 0x200A;

// A series that never ends is clipped at the last minute Outlook's calendar shows.
const WORD kLastClipYear = 4500;
const WORD kLastClipMonth = 8;

// The clip end of a series: its end in UTC, except that an end in the last days Outlook knows (a series without
// end, whatever the zone made of its 4500-08-31 23:59) is 4500-08-31 23:59 itself.
SYSTEMTIME ClipEndOf(const CMAPIRecurring& pattern)
{
    SYSTEMTIME tmClipEnd = mapipim::UTCOfLocalTime(pattern.tmEndDate);
    if (tmClipEnd.wYear == kLastClipYear && tmClipEnd.wMonth >= kLastClipMonth && tmClipEnd.wMonth <= 12)
    {
        tmClipEnd.wMonth = kLastClipMonth;
        tmClipEnd.wDay = 31;
        tmClipEnd.wHour = 23;
        tmClipEnd.wMinute = 59;
    }
    return tmClipEnd;
}
} // namespace

void CMAPIScheduleItem::SetRecurrence(LPCWSTR szFolder, CMAPIScheduleInfo& info, const SYSTEMTIME& tmStartUTC,
                                      const SYSTEMTIME& tmEndUTC)
{
    if (!info.bRecurSet)
    {
        RemoveRecurrencePart(szFolder);
        SetClipRange(szFolder, info, tmStartUTC, tmEndUTC);
        return;
    }
    if (!info.lprcRecurring)
    {
        // A recurring record without its pattern: whatever pattern the item holds stays, and the appointment
        // spans itself until a pattern is given.
        LOGTRACE(_T("[MAPI] Set failed : lprcRecurring - Folder:%s"), szFolder);
        LOGTRACE(_T("[MAPI] Set skipped : bRecurSet without lprcRecurring, clip range of the appointment - Folder:%s"),
                 szFolder);
        SetClipRange(szFolder, info, tmStartUTC, tmEndUTC);
        return;
    }
    SetRecurrencePart(szFolder, info);
    SetClipRange(szFolder, info, mapipim::UTCOfLocalTime(info.lprcRecurring->tmStartDate),
                 ClipEndOf(*info.lprcRecurring));
}

void CMAPIScheduleItem::SetRecurrencePart(LPCWSTR szFolder, CMAPIScheduleInfo& info)
{
    CMAPIRecurring& pattern = *info.lprcRecurring;
    if (!SetRecurrencePattern(kAppointment, mapipim::PidLidAppointmentRecur, &pattern, &info))
        LOGTRACE(_T("[MAPI] Set failed : lprcRecurring - Folder:%s"), szFolder);
    if (!SetPropertyLong(mapipim::PidLidRecurrenceType, pattern.nFrequency + 1, kAppointment))
        LOGTRACE(_T("[MAPI] Set failed : %x(bRecurSet) - Folder:%s"), pattern.nFrequency + kFrequencyBase, szFolder);
    if (!SetTimeZoneDefinition(kAppointment, mapipim::PidLidAppointmentTimeZoneDefinitionRecur, &info.tzStartTime,
                               TRUE))
        LOGTRACE(_T("[MAPI] Set failed : dispidApptTZDefRecur - Folder:%s"), szFolder);
    if (!SetTimeZoneStruct(kAppointment, mapipim::PidLidTimeZoneStruct, &info.tzStartTime))
        LOGTRACE(_T("[MAPI] Set failed : dispidTimeZoneStruct - Folder:%s"), szFolder);
}

void CMAPIScheduleItem::RemoveRecurrencePart(LPCWSTR szFolder)
{
    const struct
    {
        LONG lID;
        LPCWSTR szName;
    } kRecurrenceProperties[] = {
        {mapipim::PidLidAppointmentRecur, _T("lprcRecurring")},
        {mapipim::PidLidRecurrenceType, _T("bRecurSet")},
        {mapipim::PidLidAppointmentTimeZoneDefinitionRecur, _T("dispidApptTZDefRecur")},
        {mapipim::PidLidTimeZoneStruct, _T("dispidTimeZoneStruct")},
    };
    for (const auto& property : kRecurrenceProperties)
        if (!RemoveProperty(static_cast<ULONG>(property.lID), kAppointment))
            mapipim::TraceRemoveFailed(property.szName, szFolder);
}

void CMAPIScheduleItem::SetClipRange(LPCWSTR szFolder, const CMAPIScheduleInfo& info, const SYSTEMTIME& tmClipStart,
                                     const SYSTEMTIME& tmClipEnd)
{
    if (!SetPropertyTime(mapipim::PidLidClipStart, tmClipStart, kAppointment))
        mapipim::TraceSetTimeFailed(info.tzStartTime.tmDateTime, _T("dispidClipStart"), szFolder);
    if (!SetPropertyTime(mapipim::PidLidClipEnd, tmClipEnd, kAppointment))
        mapipim::TraceSetTimeFailed(info.tzEndTime.tmDateTime, _T("dispidClipEnd"), szFolder);
}
