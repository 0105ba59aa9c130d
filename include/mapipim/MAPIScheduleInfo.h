// CMAPIScheduleInfo: one appointment as a plain record, read from and written to calendar messages by the
// schedule item. Times are local, each with the zone it is expressed in. The record owns its recurrence pattern:
// a host that sets one allocates it with new; the destructor and later assignments delete it.
#pragma once

#include <mapipim/MAPIInfoBase.h>
#include <mapipim/MAPIRecurring.h>
#include <mapipim/MAPITimeZone.h>

class MAPIPIM_API CMAPIScheduleInfo : public CMAPIInfoBase
{
public:
    CMAPIScheduleInfo();
    CMAPIScheduleInfo(const CMAPIScheduleInfo& source);
    ~CMAPIScheduleInfo();

    // Copies every field; the recurrence pattern deeply (the target keeps its own or gets one, or loses it).
    CMAPIScheduleInfo& operator=(const CMAPIScheduleInfo& source);

    CString strSubject;
    CString strLocation;
    CString strContents;           // body text
    CMAPITimeZone tzStartTime;     // local start and its zone
    CMAPITimeZone tzEndTime;       // local end and its zone
    int bAllday;                   // non-zero for an all-day event
    int nSign;                     // busy status: 0 free, 1 tentative, 2 busy, 3 out of office
    int bAlarm;                    // non-zero when a reminder is set
    int nAlarmMin;                 // reminder lead time in minutes before the start
    int nSensitivity;              // 0 normal, 1 personal, 2 private, 3 confidential
    int nPriority;                 // 0 low, 1 normal, 2 high
    CString strLabel;              // categories
    int bRecurSet;                 // non-zero for a recurring appointment
    CString strRecurDisplay;       // the recurrence described for people; stored and returned as text
    CMAPIRecurring* lprcRecurring; // the pattern, owned by the record; null when none
    int nAttachCount;              // filled on reading
    CString strAttachFile;         // attachment file names separated by "," or ";"
};
