#include <mapipim/MAPITodoInfo.h>

#include "records/RecurrenceOwner.h"

CMAPITodoInfo::CMAPITodoInfo()
    : nStatus(0), nPriority(1), dCompleteRate(0.0), bAlarmSet(0), tmAlarmTime(), tmStartTime(), tmEndTime(),
      tmCompleteTime(), nSensitivity(0), bRecurSet(0), lprcRecurring(nullptr), nAttachCount(0)
{
}

CMAPITodoInfo::CMAPITodoInfo(const CMAPITodoInfo& source) : CMAPITodoInfo()
{
    *this = source;
}

CMAPITodoInfo::~CMAPITodoInfo()
{
    delete lprcRecurring;
}

CMAPITodoInfo& CMAPITodoInfo::operator=(const CMAPITodoInfo& source)
{
    if (this == &source)
        return *this;
    CMAPIInfoBase::operator=(source);
    strSubject = source.strSubject;
    strContents = source.strContents;
    strOwner = source.strOwner;
    bAlarmSet = source.bAlarmSet;
    bRecurSet = source.bRecurSet;
    nSensitivity = source.nSensitivity;
    nPriority = source.nPriority;
    nStatus = source.nStatus;
    dCompleteRate = source.dCompleteRate;
    nAttachCount = source.nAttachCount;
    strAttachFile = source.strAttachFile;
    strLabel = source.strLabel;
    tmAlarmTime = source.tmAlarmTime;
    tmStartTime = source.tmStartTime;
    tmEndTime = source.tmEndTime;
    tmCompleteTime = source.tmCompleteTime;
    mapipim::AssignRecurrence(lprcRecurring, source.lprcRecurring);
    return *this;
}
