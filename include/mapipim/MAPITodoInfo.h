// CMAPITodoInfo: one task as a plain record, read from and written to task messages by the todo item. Times are
// local. The record owns its recurrence pattern: a host that sets one allocates it with new; the destructor and
// later assignments delete it.
#pragma once

#include <mapipim/MAPIInfoBase.h>
#include <mapipim/MAPIRecurring.h>

class MAPIPIM_API CMAPITodoInfo : public CMAPIInfoBase
{
public:
    CMAPITodoInfo();
    CMAPITodoInfo(const CMAPITodoInfo& source);
    ~CMAPITodoInfo();

    // Copies every field; the recurrence pattern deeply (the target keeps its own or gets one, or loses it).
    CMAPITodoInfo& operator=(const CMAPITodoInfo& source);

    CString strSubject;
    CString strContents;           // body text
    CString strOwner;              // the task owner's name
    int nStatus;                   // 0 not started, 1 in progress, 2 complete; other values kept as they are
    int nPriority;                 // 0 low, 1 normal, 2 high
    double dCompleteRate;          // percent complete, 0.0 to 100.0
    int bAlarmSet;                 // non-zero when a reminder is set
    SYSTEMTIME tmAlarmTime;        // local reminder time
    SYSTEMTIME tmStartTime;        // start date; a zero year means none
    SYSTEMTIME tmEndTime;          // due date; a zero year means none
    SYSTEMTIME tmCompleteTime;     // completion date, used when dCompleteRate is 100.0
    int nSensitivity;              // 0 normal, 1 personal, 2 private, 3 confidential
    CString strLabel;              // categories
    int bRecurSet;                 // non-zero for a recurring task
    CMAPIRecurring* lprcRecurring; // the pattern, owned by the record; null when none
    int nAttachCount;              // filled on reading
    CString strAttachFile;         // attachment file names separated by "," or ";"
};
