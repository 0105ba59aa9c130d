#include <mapipim/MAPIScheduleInfo.h>

#include "records/RecurrenceOwner.h"

CMAPIScheduleInfo::CMAPIScheduleInfo()
    : bAllday(0), nSign(2), bAlarm(1), nAlarmMin(15), nSensitivity(0), nPriority(1), bRecurSet(0),
      lprcRecurring(nullptr), nAttachCount(0)
{
}

CMAPIScheduleInfo::CMAPIScheduleInfo(const CMAPIScheduleInfo& source) : CMAPIScheduleInfo()
{
    *this = source;
}

CMAPIScheduleInfo::~CMAPIScheduleInfo()
{
    delete lprcRecurring;
}

CMAPIScheduleInfo& CMAPIScheduleInfo::operator=(const CMAPIScheduleInfo& source)
{
    if (this == &source)
        return *this;
    CMAPIInfoBase::operator=(source);
    strSubject = source.strSubject;
    strLocation = source.strLocation;
    strContents = source.strContents;
    tzStartTime = source.tzStartTime;
    tzEndTime = source.tzEndTime;
    bAllday = source.bAllday;
    nSign = source.nSign;
    bAlarm = source.bAlarm;
    nAlarmMin = source.nAlarmMin;
    bRecurSet = source.bRecurSet;
    strRecurDisplay = source.strRecurDisplay;
    nSensitivity = source.nSensitivity;
    strLabel = source.strLabel;
    nPriority = source.nPriority;
    nAttachCount = source.nAttachCount;
    strAttachFile = source.strAttachFile;
    mapipim::AssignRecurrence(lprcRecurring, source.lprcRecurring);
    return *this;
}
