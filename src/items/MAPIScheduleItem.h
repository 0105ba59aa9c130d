// CMAPIScheduleItem: one appointment message ("IPM.Appointment") and the mapping between its properties and the
// schedule record: GetInfo reads the groups of fields the host asks for, SetInfo writes every field (the times as
// UTC with the zones they were given in, the reminder, the recurrence or its removal, the attachments) and saves.
#pragma once

#include <mapipim/MAPIScheduleInfo.h>
#include <mapipim/OutlookFolder.h>

#include "items/MAPIRecurItem.h"

// Read groups of GetInfo's flag word; the entry identifier is read whatever the flags.
enum
{
    MAPIPIM_SCHEDULE_TIMES = 0x1,   // tmCTime and tmLMTime
    MAPIPIM_SCHEDULE_SUBJECT = 0x2, // strSubject
    MAPIPIM_SCHEDULE_OTHERS = 0x4,  // every other field
};

class CMAPIScheduleItem : public CMAPIRecurItem
{
public:
    CMAPIScheduleItem();
    ~CMAPIScheduleItem() override;

    // A new, unsaved appointment message in pFolder (without one, in the session's current folder).
    BOOL Create(CMAPIEx* pMAPI, CMAPIFolder* pFolder);
    BOOL GetInfo(CMAPIScheduleInfo* pInfo, ULONG ulFlags);
    // Writes every field and saves the message, which stays open. The record's zones get their key names and
    // biases from the registry, and its recurrence pattern its completed range. pFolder names the host's folder
    // in trace lines only.
    BOOL SetInfo(COutlookFolder* pFolder, CMAPIScheduleInfo* pInfo);

private:
    void GetOtherFields(CMAPIScheduleInfo& info);
    void GetStartAndEnd(CMAPIScheduleInfo& info);
    void GetRecurrence(CMAPIScheduleInfo& info);
    void GetAttachments(CMAPIScheduleInfo& info);

    void SetFields(const COutlookFolder& folder, CMAPIScheduleInfo& info);
    // The zones, the start and end (as UTC) and the duration.
    void SetStartAndEnd(LPCWSTR szFolder, CMAPIScheduleInfo& info, const SYSTEMTIME& tmStartUTC,
                        const SYSTEMTIME& tmEndUTC);
    void SetReminder(LPCWSTR szFolder, const CMAPIScheduleInfo& info, const SYSTEMTIME& tmStartUTC);
    // The recurrence with its type, zone and clip range, or (not recurring) their removal and the appointment's
    // own clip range.
    void SetRecurrence(LPCWSTR szFolder, CMAPIScheduleInfo& info, const SYSTEMTIME& tmStartUTC,
                       const SYSTEMTIME& tmEndUTC);
    void SetRecurrencePart(LPCWSTR szFolder, CMAPIScheduleInfo& info);
    void RemoveRecurrencePart(LPCWSTR szFolder);
    void SetClipRange(LPCWSTR szFolder, const CMAPIScheduleInfo& info, const SYSTEMTIME& tmClipStart,
                      const SYSTEMTIME& tmClipEnd);
};
