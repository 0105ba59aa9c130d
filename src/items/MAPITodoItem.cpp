// CMAPITodoItem: creating a task, and reading and writing the todo record field by field.
#include "items/MAPITodoItem.h"

#include <mapipim/MAPIEx.h>
#include <mapipim/MAPIFolder.h>
#include <mapipim/SBinaryUtils.h>
#include <mapipim/TimeConversion.h>

#include "items/CancelFlag.h"
#include "items/ItemAttachmentList.h"
#include "items/ItemFields.h"
#include "items/PropertyListCache.h"
#include "items/TodoProperties.h"
#include "platform/trace/Trace.h"

#include <memory>

using mapipim::IsItemAccessCancelled;
using mapipim::PropertyName;

namespace
{
typedef mapipim::ItemField<CMAPITodoInfo> TodoField;

const ULONG kOthers = MAPIPIM_TODO_OTHERS;
const PropertyName kStartDate = {mapipim::PidLidTaskStartDate, MAPIPIM_SET_TASK};
const PropertyName kDueDate = {mapipim::PidLidTaskDueDate, MAPIPIM_SET_TASK};
const PropertyName kPercentComplete = {mapipim::PidLidPercentComplete, MAPIPIM_SET_TASK};

// clang-format off
#define TODO_NUMBER(field, tag, set) TodoField::Number(&CMAPITodoInfo::field, {tag, set}, kOthers, _T(#field), 0)
#define TODO_FLAG(field, tag, set) TodoField::Flag(&CMAPITodoInfo::field, {tag, set}, kOthers, _T(#field), 0)
#define TODO_TIME(field, tag, set, group) TodoField::Time(&CMAPITodoInfo::field, {tag, set}, group, _T(#field))
// clang-format on

const TodoField kSubjectFields[] = {
    TodoField::Text(&CMAPITodoInfo::strSubject, {PR_SUBJECT_W, MAPIPIM_SET_NONE}, MAPIPIM_TODO_SUBJECT,
                    _T("strSubject")),
};

const TodoField kOwnerFields[] = {
    TodoField::Text(&CMAPITodoInfo::strOwner, {mapipim::PidLidTaskOwner, MAPIPIM_SET_TASK}, kOthers, _T("strOwner")),
};

// Every number and flag falls back to 0, the priority too (whose record default is 1).
const TodoField kStatusFields[] = {
    TODO_NUMBER(nStatus, mapipim::PidLidTaskStatus, MAPIPIM_SET_TASK),
};
const TodoField kPriorityFields[] = {
    TODO_NUMBER(nPriority, PR_IMPORTANCE, MAPIPIM_SET_NONE),
};
const TodoField kSensitivityFields[] = {
    TODO_NUMBER(nSensitivity, PR_SENSITIVITY, MAPIPIM_SET_NONE),
};

// Written only when the percentage or the reminder asks for them, removed otherwise (SetCompletion, SetReminder).
const TodoField kCompletionFields[] = {
    TODO_TIME(tmCompleteTime, mapipim::PidLidTaskDateCompleted, MAPIPIM_SET_TASK, kOthers),
};
const TodoField kReminderSetFields[] = {
    TODO_FLAG(bAlarmSet, mapipim::PidLidReminderSet, MAPIPIM_SET_COMMON),
};
const TodoField kReminderTimeFields[] = {
    TODO_TIME(tmAlarmTime, mapipim::PidLidReminderTime, MAPIPIM_SET_COMMON, kOthers),
};
const TodoField kRecurringFields[] = {
    TODO_FLAG(bRecurSet, mapipim::PidLidTaskFRecurring, MAPIPIM_SET_TASK),
};

// The base times: reading fails when either is missing.
const TodoField kTimeFields[] = {
    TODO_TIME(tmCTime, PR_CREATION_TIME, MAPIPIM_SET_NONE, MAPIPIM_TODO_TIMES),
    TODO_TIME(tmLMTime, PR_LAST_MODIFICATION_TIME, MAPIPIM_SET_NONE, MAPIPIM_TODO_TIMES),
};

std::vector<PropertyName> BuildPropertiesToRead(ULONG ulFlags, bool bBodyInBatch)
{
    std::vector<PropertyName> properties;
    mapipim::CollectProperties(kSubjectFields, ulFlags, properties);
    mapipim::CollectProperties(kOwnerFields, ulFlags, properties);
    mapipim::CollectProperties(kStatusFields, ulFlags, properties);
    mapipim::CollectProperties(kPriorityFields, ulFlags, properties);
    mapipim::CollectProperties(kSensitivityFields, ulFlags, properties);
    mapipim::CollectProperties(kCompletionFields, ulFlags, properties);
    mapipim::CollectProperties(kReminderSetFields, ulFlags, properties);
    mapipim::CollectProperties(kReminderTimeFields, ulFlags, properties);
    mapipim::CollectProperties(kRecurringFields, ulFlags, properties);
    mapipim::CollectProperties(kTimeFields, ulFlags, properties);
    if (ulFlags & kOthers)
    {
        properties.insert(properties.end(), {kStartDate, kDueDate, kPercentComplete, {PR_HASATTACH, 0}});
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

CMAPITodoItem::CMAPITodoItem() = default;

CMAPITodoItem::~CMAPITodoItem() = default;

BOOL CMAPITodoItem::Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder)
{
    if (!pMAPI)
        return FALSE;
    if (!pFolder)
        pFolder = pMAPI->GetFolder();
    if (!CMAPIItem::Create(pMAPI, pFolder))
        return FALSE;
    StampNewItem(_T("IPM.Task"), pFolder, TRUE);
    return TRUE;
}

int CMAPITodoItem::AdjustedStatus(int nStatus, double dCompleteRate)
{
    const int kComplete = 2;
    if (dCompleteRate == 0.0 && nStatus == kComplete)
        return 0;
    if (dCompleteRate == 100.0 && nStatus != kComplete)
        return kComplete;
    if (dCompleteRate < 100.0 && nStatus == kComplete)
        return 1;
    return nStatus;
}

// ---- Reading

BOOL CMAPITodoItem::GetInfo(CMAPITodoInfo* pInfo, ULONG ulFlags)
{
    if (!pInfo)
        return FALSE;
    mapipim::PropertyBatchScope batch(*this, PropertiesToRead(ulFlags));
    BOOL bResult = ReadEntryIDInto(*pInfo);
    if (ulFlags & MAPIPIM_TODO_SUBJECT)
        mapipim::ReadFields(*this, kSubjectFields, *pInfo);
    if (ulFlags & kOthers)
        GetOtherFields(*pInfo);
    if ((ulFlags & MAPIPIM_TODO_TIMES) && !mapipim::ReadFields(*this, kTimeFields, *pInfo))
        bResult = FALSE;
    return IsItemAccessCancelled() ? FALSE : bResult;
}

void CMAPITodoItem::GetOtherFields(CMAPITodoInfo& info)
{
    if (!GetBody(info.strContents))
        mapipim::TraceGetFailed(_T("strContents"));
    mapipim::ReadFields(*this, kOwnerFields, info);
    GetDates(info);
    mapipim::ReadFields(*this, kStatusFields, info);
    mapipim::ReadFields(*this, kPriorityFields, info);
    GetCompleteRate(info);
    mapipim::ReadFields(*this, kCompletionFields, info);
    mapipim::ReadFields(*this, kReminderSetFields, info);
    mapipim::ReadFields(*this, kReminderTimeFields, info);
    mapipim::ReadFields(*this, kRecurringFields, info);
    if (!GetCategories(info.strLabel))
        mapipim::TraceGetFailed(_T("strLabel"));
    mapipim::ReadFields(*this, kSensitivityFields, info);
    GetRecurrence(info);
    mapipim::ReadAttachmentList(*this, info.nAttachCount, info.strAttachFile, MAPIPIM_ATTACH_ALL);
}

// The dates as the task shows them, with no conversion; a date that cannot be read stays as it was.
void CMAPITodoItem::GetDates(CMAPITodoInfo& info)
{
    if (!GetPropertyTime(kStartDate.ulTag, info.tmStartTime, kStartDate.nSet, FALSE))
        mapipim::TraceGetFailed(_T("tmStartTime"));
    if (!GetPropertyTime(kDueDate.ulTag, info.tmEndTime, kDueDate.nSet, FALSE))
        mapipim::TraceGetFailed(_T("tmEndTime"));
}

void CMAPITodoItem::GetCompleteRate(CMAPITodoInfo& info)
{
    const double dFraction = GetPropertyDouble(kPercentComplete.ulTag, -1.0, kPercentComplete.nSet);
    if (dFraction == -1.0)
    {
        info.dCompleteRate = 0.0;
        mapipim::TraceGetFailed(_T("dCompleteRate"));
    }
    else
        info.dCompleteRate = dFraction * 100.0;
}

// A recurring task brings its pattern into the record (allocated when the record has none); any other task
// leaves the record without one.
void CMAPITodoItem::GetRecurrence(CMAPITodoInfo& info)
{
    if (info.bRecurSet != 1)
    {
        delete info.lprcRecurring;
        info.lprcRecurring = NULL;
        return;
    }
    if (!info.lprcRecurring)
        info.lprcRecurring = new CMAPIRecurring;
    if (!GetRecurrencePattern(MAPIPIM_SET_TASK, mapipim::PidLidTaskRecurrence, info.lprcRecurring))
        mapipim::TraceGetFailed(_T("GetRecurPatternData"));
}

// ---- Writing

BOOL CMAPITodoItem::SetInfo(COutlookFolder* pFolder, CMAPITodoInfo* pInfo)
{
    if (!pFolder || !pInfo)
        return FALSE;
    SetFields(pFolder->strName, *pInfo);
    if (IsItemAccessCancelled())
        return FALSE;
    if (!Save(FALSE))
    {
        LOGTRACE(_T("[MAPI] Set failed : Save( FALSE ) - Folder:%s"), pFolder->strName);
        return FALSE;
    }
    return TRUE;
}

// Each failure here is traced and the writing goes on: a task with one property missing is still worth saving.
void CMAPITodoItem::SetFields(LPCWSTR szFolder, CMAPITodoInfo& info)
{
    mapipim::WriteFields(*this, kSubjectFields, info, szFolder);
    if (!SetBody(info.strContents))
        mapipim::TraceSetTextFailed(info.strContents, _T("strContents"), szFolder);
    mapipim::WriteFields(*this, kOwnerFields, info, szFolder);
    SetDate(szFolder, info.tmStartTime, mapipim::PidLidTaskStartDate, mapipim::PidLidCommonStart, _T("tmStartTime"));
    SetDate(szFolder, info.tmEndTime, mapipim::PidLidTaskDueDate, mapipim::PidLidCommonEnd, _T("tmEndTime"));
    mapipim::WriteFields(*this, kPriorityFields, info, szFolder);
    mapipim::WriteFields(*this, kSensitivityFields, info, szFolder);
    SetCompletion(szFolder, info);
    SetReminder(szFolder, info);
    if (!SetCategories(info.strLabel))
        mapipim::TraceSetTextFailed(info.strLabel, _T("strLabel"), szFolder);
    mapipim::WriteFields(*this, kRecurringFields, info, szFolder);
    SetRecurrence(szFolder, info);
    if (!SetPropertyLong(PR_ICON_INDEX, mapipim::kTodoIconIndex + (info.bRecurSet ? 1 : 0)))
        LOGTRACE(_T("[MAPI] Set failed : Icon - Folder:%s"), szFolder);
    mapipim::WriteAttachmentList(*this, info.strAttachFile, MAPIPIM_ATTACH_ALL, szFolder);
}

// The task's own date property keeps the date as given; the common one its UTC. A date of year 0 is no date: both
// go.
void CMAPITodoItem::SetDate(LPCWSTR szFolder, const SYSTEMTIME& tmDate, LONG lTaskID, LONG lCommonID, LPCWSTR szField)
{
    if (tmDate.wYear == 0)
    {
        if (!RemoveProperty(lTaskID, MAPIPIM_SET_TASK))
            mapipim::TraceRemoveFailed(szField, szFolder);
        if (!RemoveProperty(lCommonID, MAPIPIM_SET_COMMON))
            mapipim::TraceRemoveFailed(szField, szFolder);
        return;
    }
    if (!SetPropertyTime(lTaskID, tmDate, MAPIPIM_SET_TASK))
        mapipim::TraceSetTimeFailed(tmDate, szField, szFolder);
    if (!mapipim::WriteLocalTime(*this, {static_cast<ULONG>(lCommonID), MAPIPIM_SET_COMMON}, tmDate))
        mapipim::TraceSetTimeFailed(tmDate, szField, szFolder);
}

// The percentage, whether the task is complete and when, and the status that follows from them. Only exactly
// 100 percent counts as complete.
void CMAPITodoItem::SetCompletion(LPCWSTR szFolder, CMAPITodoInfo& info)
{
    if (!SetPropertyDouble(kPercentComplete.ulTag, info.dCompleteRate * 0.01, kPercentComplete.nSet))
        mapipim::TraceSetLongFailed(static_cast<int>(info.dCompleteRate), _T("dCompleteRate"), szFolder);
    const bool bComplete = info.dCompleteRate == 100.0;
    if (!SetPropertyBool(mapipim::PidLidTaskComplete, bComplete ? 1 : 0, MAPIPIM_SET_TASK))
        mapipim::TraceSetLongFailed(bComplete ? 1 : 0, _T("TaskComplete"), szFolder);
    const TodoField& completed = kCompletionFields[0];
    if (bComplete)
        mapipim::WriteField(*this, completed, info, szFolder);
    else if (!RemoveProperty(completed.property.ulTag, completed.property.nSet))
        mapipim::TraceRemoveFailed(completed.szName, szFolder);
    info.nStatus = AdjustedStatus(info.nStatus, info.dCompleteRate);
    mapipim::WriteFields(*this, kStatusFields, info, szFolder);
}

// The reminder time is kept only while the reminder is set to 1; any other value (a 2 included) removes it.
void CMAPITodoItem::SetReminder(LPCWSTR szFolder, const CMAPITodoInfo& info)
{
    mapipim::WriteFields(*this, kReminderSetFields, info, szFolder);
    const TodoField& reminder = kReminderTimeFields[0];
    if (info.bAlarmSet == 1)
        mapipim::WriteField(*this, reminder, info, szFolder);
    else if (!RemoveProperty(reminder.property.ulTag, reminder.property.nSet))
        mapipim::TraceRemoveFailed(reminder.szName, szFolder);
}

// A recurring task writes its pattern (completing its range in the record) and marks its occurrences as dead
// ones, as a task series does; a single task loses any pattern it had.
void CMAPITodoItem::SetRecurrence(LPCWSTR szFolder, CMAPITodoInfo& info)
{
    if (!info.bRecurSet)
    {
        if (!RemoveProperty(mapipim::PidLidTaskRecurrence, MAPIPIM_SET_TASK))
            LOGTRACE(_T("[MAPI] Remove failed : lprcRecurring - Folder:%s"), szFolder);
        return;
    }
    if (!SetRecurrencePattern(MAPIPIM_SET_TASK, mapipim::PidLidTaskRecurrence, info.lprcRecurring, NULL))
        LOGTRACE(_T("[MAPI] Set failed : lprcRecurring - Folder:%s"), szFolder);
    if (!SetPropertyBool(mapipim::PidLidTaskDeadOccurrence, 1, MAPIPIM_SET_TASK))
        LOGTRACE(_T("[MAPI] Set failed : dispidTaskDeadOccur - Folder:%s"), szFolder);
}
