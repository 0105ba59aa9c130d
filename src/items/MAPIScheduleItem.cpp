// CMAPIScheduleItem: creating an appointment message, and reading and writing the schedule record field by field.
// The times, the reminder and the recurrence are written by MAPIScheduleItemTimes.cpp and
// MAPIScheduleItemRecurrence.cpp.
#include "items/MAPIScheduleItem.h"

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/SBinaryUtils.h>
#include "items/ItemAttachmentList.h"
#include "items/CancelFlag.h"
#include "items/ItemFields.h"
#include "items/PropertyListCache.h"
#include "items/ScheduleProperties.h"
#include "platform/trace/Trace.h"

#include <memory>

using mapipim::IsItemAccessCancelled;
using mapipim::PropertyName;

namespace
{
typedef mapipim::ItemField<CMAPIScheduleInfo> ScheduleField;

const int kAppointment = MAPIPIM_SET_APPOINTMENT;
const int kCommon = MAPIPIM_SET_COMMON;

const ScheduleField kSubjectFields[] = {
    ScheduleField::Text(&CMAPIScheduleInfo::strSubject, {PR_SUBJECT_W, MAPIPIM_SET_NONE}, MAPIPIM_SCHEDULE_SUBJECT,
                        _T("strSubject")),
};

// After the body: how private and how important the appointment is.
const ScheduleField kImportanceFields[] = {
    ScheduleField::Number(&CMAPIScheduleInfo::nSensitivity, {PR_SENSITIVITY, MAPIPIM_SET_NONE}, MAPIPIM_SCHEDULE_OTHERS,
                          _T("nSensitivity"), 0),
    ScheduleField::Number(&CMAPIScheduleInfo::nPriority, {PR_IMPORTANCE, MAPIPIM_SET_NONE}, MAPIPIM_SCHEDULE_OTHERS,
                          _T("nPriority"), 1),
};

// After the categories.
const ScheduleField kLocationFields[] = {
    ScheduleField::Text(&CMAPIScheduleInfo::strLocation, {mapipim::PidLidLocation, kAppointment},
                        MAPIPIM_SCHEDULE_OTHERS, _T("strLocation")),
};

// After the times and zones: the all-day flag, the busy status and whether a reminder is set.
const ScheduleField kStatusFields[] = {
    ScheduleField::Flag(&CMAPIScheduleInfo::bAllday, {mapipim::PidLidAppointmentSubType, kAppointment},
                        MAPIPIM_SCHEDULE_OTHERS, _T("bAllday"), 0),
    ScheduleField::Number(&CMAPIScheduleInfo::nSign, {mapipim::PidLidBusyStatus, kAppointment}, MAPIPIM_SCHEDULE_OTHERS,
                          _T("nSign"), 0),
    ScheduleField::Flag(&CMAPIScheduleInfo::bAlarm, {mapipim::PidLidReminderSet, kCommon}, MAPIPIM_SCHEDULE_OTHERS,
                        _T("bAlarm"), 0),
};

// Read only when a reminder is set.
const ScheduleField kAlarmFields[] = {
    ScheduleField::Number(&CMAPIScheduleInfo::nAlarmMin, {mapipim::PidLidReminderDelta, kCommon},
                          MAPIPIM_SCHEDULE_OTHERS, _T("nAlarmMin"), 0),
};

// Read in this order, written the other way round.
const ScheduleField kRecurSetFields[] = {
    ScheduleField::Flag(&CMAPIScheduleInfo::bRecurSet, {mapipim::PidLidRecurring, kAppointment},
                        MAPIPIM_SCHEDULE_OTHERS, _T("bRecurSet"), 0),
};
const ScheduleField kRecurDisplayFields[] = {
    ScheduleField::Text(&CMAPIScheduleInfo::strRecurDisplay, {mapipim::PidLidRecurrencePattern, kAppointment},
                        MAPIPIM_SCHEDULE_OTHERS, _T("strRecurDisplay")),
};

// The base times: reading fails when either is missing.
const ScheduleField kTimeFields[] = {
    ScheduleField::Time(&CMAPIScheduleInfo::tmCTime, {PR_CREATION_TIME, MAPIPIM_SET_NONE}, MAPIPIM_SCHEDULE_TIMES,
                        _T("tmCTime")),
    ScheduleField::Time(&CMAPIScheduleInfo::tmLMTime, {PR_LAST_MODIFICATION_TIME, MAPIPIM_SET_NONE},
                        MAPIPIM_SCHEDULE_TIMES, _T("tmLMTime")),
};

// Every property GetInfo reads for the groups in ulFlags, for one batch read: the tables, the start and end, the
// attachment flag and (when no pause is owed between body chunks) the body.
std::vector<PropertyName> BuildPropertiesToRead(ULONG ulFlags, bool bBodyInBatch)
{
    std::vector<PropertyName> properties;
    mapipim::CollectProperties(kSubjectFields, ulFlags, properties);
    mapipim::CollectProperties(kImportanceFields, ulFlags, properties);
    mapipim::CollectProperties(kLocationFields, ulFlags, properties);
    mapipim::CollectProperties(kStatusFields, ulFlags, properties);
    mapipim::CollectProperties(kAlarmFields, ulFlags, properties);
    mapipim::CollectProperties(kRecurSetFields, ulFlags, properties);
    mapipim::CollectProperties(kRecurDisplayFields, ulFlags, properties);
    mapipim::CollectProperties(kTimeFields, ulFlags, properties);
    if (ulFlags & MAPIPIM_SCHEDULE_OTHERS)
    {
        properties.push_back({mapipim::PidLidAppointmentStartWhole, kAppointment});
        properties.push_back({mapipim::PidLidAppointmentEndWhole, kAppointment});
        properties.push_back({PR_HASATTACH, MAPIPIM_SET_NONE});
        if (bBodyInBatch)
            properties.push_back({PR_BODY_W, MAPIPIM_SET_NONE});
    }
    return properties;
}

const std::vector<PropertyName>& PropertiesToRead(ULONG ulFlags)
{
    return mapipim::CachedPropertyList<BuildPropertiesToRead>(ulFlags);
}
} // namespace

CMAPIScheduleItem::CMAPIScheduleItem() = default;

CMAPIScheduleItem::~CMAPIScheduleItem() = default;

BOOL CMAPIScheduleItem::Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder)
{
    if (!pMAPI)
        return FALSE;
    if (!pFolder)
        pFolder = pMAPI->GetFolder();
    if (!CMAPIItem::Create(pMAPI, pFolder))
        return FALSE;
    StampNewItem(_T("IPM.Appointment"), pFolder, TRUE);
    if (!SetPropertyBool(mapipim::PidLidAllowExternalCheck, TRUE, kAppointment))
        LOGTRACE(_T("[MAPI] Set failed : dispidAllowExternCheck"));
    return TRUE;
}

// ---- Reading

BOOL CMAPIScheduleItem::GetInfo(CMAPIScheduleInfo* pInfo, ULONG ulFlags)
{
    if (!pInfo)
        return FALSE;
    mapipim::PropertyBatchScope batch(*this, PropertiesToRead(ulFlags));
    BOOL bResult = ReadEntryIDInto(*pInfo);
    if (ulFlags & MAPIPIM_SCHEDULE_SUBJECT)
        mapipim::ReadFields(*this, kSubjectFields, *pInfo);
    if (ulFlags & MAPIPIM_SCHEDULE_OTHERS)
        GetOtherFields(*pInfo);
    if ((ulFlags & MAPIPIM_SCHEDULE_TIMES) && !mapipim::ReadFields(*this, kTimeFields, *pInfo))
        bResult = FALSE;
    return IsItemAccessCancelled() ? FALSE : bResult;
}

void CMAPIScheduleItem::GetOtherFields(CMAPIScheduleInfo& info)
{
    GetBody(info.strContents); // an appointment without a body reads as an empty one
    mapipim::ReadFields(*this, kImportanceFields, info);
    if (!GetCategories(info.strLabel))
        mapipim::TraceGetFailed(_T("strLabel"));
    mapipim::ReadFields(*this, kLocationFields, info);
    GetStartAndEnd(info);
    mapipim::ReadFields(*this, kStatusFields, info);
    if (info.bAlarm == 1)
        mapipim::ReadFields(*this, kAlarmFields, info);
    else
        info.nAlarmMin = 0;
    mapipim::ReadFields(*this, kRecurSetFields, info);
    mapipim::ReadFields(*this, kRecurDisplayFields, info);
    GetRecurrence(info);
    GetAttachments(info);
}

void CMAPIScheduleItem::GetStartAndEnd(CMAPIScheduleInfo& info)
{
    if (!GetPropertyTime(mapipim::PidLidAppointmentStartWhole, info.tzStartTime.tmDateTime, kAppointment))
        mapipim::TraceGetFailed(_T("tmDateTime"));
    if (!GetPropertyTime(mapipim::PidLidAppointmentEndWhole, info.tzEndTime.tmDateTime, kAppointment))
        mapipim::TraceGetFailed(_T("tmDateTime"));
    if (!GetTimeZoneDefinition(kAppointment, mapipim::PidLidAppointmentTimeZoneDefinitionStartDisplay,
                               &info.tzStartTime))
        mapipim::TraceGetFailed(_T("tzStartTime"));
    if (!GetTimeZoneDefinition(kAppointment, mapipim::PidLidAppointmentTimeZoneDefinitionEndDisplay, &info.tzEndTime))
        mapipim::TraceGetFailed(_T("tzEndTime"));
}

// A recurring appointment always comes with its pattern (kept even when its blob cannot be read); a single one
// never does.
void CMAPIScheduleItem::GetRecurrence(CMAPIScheduleInfo& info)
{
    if (!info.bRecurSet)
    {
        delete info.lprcRecurring;
        info.lprcRecurring = NULL;
        return;
    }
    if (!info.lprcRecurring)
        info.lprcRecurring = new CMAPIRecurring;
    if (!GetRecurrencePattern(kAppointment, mapipim::PidLidAppointmentRecur, info.lprcRecurring))
        mapipim::TraceGetFailed(_T("lprcRecurring"));
}

void CMAPIScheduleItem::GetAttachments(CMAPIScheduleInfo& info)
{
    // A message without attachments has no table worth opening.
    if (GetPropertyBool(PR_HASATTACH, FALSE))
    {
        info.nAttachCount = GetAttachmentCount();
        GetAttachmentNames(info.strAttachFile, -1, MAPIPIM_ATTACH_ALL);
    }
    else if (!IsItemAccessCancelled())
    {
        info.nAttachCount = 0;
        info.strAttachFile.Empty();
    }
}

// ---- Writing

BOOL CMAPIScheduleItem::SetInfo(COutlookFolder* pFolder, CMAPIScheduleInfo* pInfo)
{
    if (!pFolder || !pInfo)
        return FALSE;
    SetFields(*pFolder, *pInfo);
    if (IsItemAccessCancelled())
        return FALSE;
    if (!Save(FALSE))
    {
        LOGTRACE(_T("[MAPI] Set failed : Save( FALSE ) - Folder:%s"), pFolder->strName);
        return FALSE;
    }
    return TRUE;
}

// Each failure here is traced and the writing goes on: an appointment with one field missing is still worth
// saving.
void CMAPIScheduleItem::SetFields(const COutlookFolder& folder, CMAPIScheduleInfo& info)
{
    const LPCWSTR szFolder = folder.strName;
    const SYSTEMTIME tmStartUTC = mapipim::UTCOfLocalTime(info.tzStartTime.tmDateTime);
    const SYSTEMTIME tmEndUTC = mapipim::UTCOfLocalTime(info.tzEndTime.tmDateTime);
    mapipim::WriteFields(*this, kSubjectFields, info, szFolder);
    if (!SetBody(info.strContents))
        mapipim::TraceSetTextFailed(info.strContents, _T("strContents"), szFolder);
    mapipim::WriteFields(*this, kImportanceFields, info, szFolder);
    if (!SetCategories(info.strLabel))
        mapipim::TraceSetTextFailed(info.strLabel, _T("strLabel"), szFolder);
    mapipim::WriteFields(*this, kLocationFields, info, szFolder);
    SetStartAndEnd(szFolder, info, tmStartUTC, tmEndUTC);
    mapipim::WriteFields(*this, kStatusFields, info, szFolder);
    mapipim::WriteFields(*this, kAlarmFields, info, szFolder);
    SetReminder(szFolder, info, tmStartUTC);
    mapipim::WriteFields(*this, kRecurDisplayFields, info, szFolder);
    mapipim::WriteFields(*this, kRecurSetFields, info, szFolder);
    SetRecurrence(szFolder, info, tmStartUTC, tmEndUTC);
    const LONG nIcon = info.bRecurSet ? mapipim::kRecurringAppointmentIconIndex : mapipim::kAppointmentIconIndex;
    if (!SetPropertyLong(PR_ICON_INDEX, nIcon))
        LOGTRACE(_T("[MAPI] Set failed : Icon - Folder:%s"), szFolder);
    mapipim::WriteAttachmentList(*this, info.strAttachFile, MAPIPIM_ATTACH_ALL, szFolder);
}
