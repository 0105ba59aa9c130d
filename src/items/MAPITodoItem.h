// CMAPITodoItem: one task ("IPM.Task") and the mapping between its properties and the todo record. Start and due
// dates are kept as the task shows them (the local date) in the task's own properties, with their UTC beside them
// in the common start and end; the completion date and the reminder are UTC in the store and local in the record.
// Writing makes the status follow the percentage complete.
#pragma once

#include <mapipim/MAPITodoInfo.h>
#include <mapipim/OutlookFolder.h>

#include "items/MAPIRecurItem.h"

// Read groups of GetInfo's flag word; the entry identifier is read whatever the flags.
enum
{
    MAPIPIM_TODO_TIMES = 0x1,   // tmCTime and tmLMTime
    MAPIPIM_TODO_SUBJECT = 0x2, // strSubject
    MAPIPIM_TODO_OTHERS = 0x4,  // every other field
};

class CMAPITodoItem : public CMAPIRecurItem
{
public:
    CMAPITodoItem();
    ~CMAPITodoItem() override;

    // A new, unsaved task in pFolder (without one, in the session's current folder).
    BOOL Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder);
    BOOL GetInfo(CMAPITodoInfo* pInfo, ULONG ulFlags);
    // Writes every field and saves the task, which stays open. The record's nStatus is adjusted to its
    // dCompleteRate, and a recurring task's pattern gets its completed range. pFolder names the host's folder in
    // trace lines only.
    BOOL SetInfo(COutlookFolder* pFolder, CMAPITodoInfo* pInfo);

    // The status a task is stored with: complete at exactly 100 percent, no longer complete below it, not started
    // at 0; a status of 3 (waiting) or 4 (deferred) is kept except at 100 percent.
    static int AdjustedStatus(int nStatus, double dCompleteRate);

private:
    void GetOtherFields(CMAPITodoInfo& info);
    void GetDates(CMAPITodoInfo& info);
    void GetCompleteRate(CMAPITodoInfo& info);
    void GetRecurrence(CMAPITodoInfo& info);
    void SetFields(LPCWSTR szFolder, CMAPITodoInfo& info);
    void SetDate(LPCWSTR szFolder, const SYSTEMTIME& tmDate, LONG lTaskID, LONG lCommonID, LPCWSTR szField);
    void SetCompletion(LPCWSTR szFolder, CMAPITodoInfo& info);
    void SetReminder(LPCWSTR szFolder, const CMAPITodoInfo& info);
    void SetRecurrence(LPCWSTR szFolder, CMAPITodoInfo& info);
};
