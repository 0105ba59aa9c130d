// CMAPIRecurItem: the common base of the appointment and task items. It writes and reads their recurrence pattern
// (the recurrence blob) and, for appointments, the time-zone definitions and structure, and carries the calendar
// arithmetic that completes a pattern's range before it is written.
#pragma once

#include <mapipim/MAPIItem.h>
#include <mapipim/MAPIRecurring.h>
#include <mapipim/MAPIScheduleInfo.h>
#include <mapipim/MAPITimeZone.h>

class CMAPIRecurItem : public CMAPIItem
{
public:
    CMAPIRecurItem();
    ~CMAPIRecurItem() override;

    // ---- Recurrence pattern
    // Completes the pattern's range (the caller's pattern keeps the completed end date and count) and writes its
    // blob under (nSet, ulID); with a schedule, the appointment extension with the start and end time offsets.
    BOOL SetRecurrencePattern(int nSet, ULONG ulID, CMAPIRecurring* pRecurring, CMAPIScheduleInfo* pSchedule);
    BOOL GetRecurrencePattern(int nSet, ULONG ulID, CMAPIRecurring* pRecurring);

    // ---- Time-zone properties
    // The zone's definition from the registry (an empty key name becomes the machine's; the biases are refreshed
    // from the zone's "TZI"), with the recurrence flag on its effective rule when bRecurrence is set.
    BOOL SetTimeZoneDefinition(int nSet, ULONG ulID, CMAPITimeZone* pTimeZone, BOOL bRecurrence);
    BOOL SetTimeZoneStruct(int nSet, ULONG ulID, CMAPITimeZone* pTimeZone);
    // The key name and the biases of the definition's effective rule (else its last).
    BOOL GetTimeZoneDefinition(int nSet, ULONG ulID, CMAPITimeZone* pTimeZone);

    // ---- Calendar arithmetic (nFirstDayOfWeek: 0 Sunday to 6 Saturday)
    // The blob's first date-time in minutes: the start of the period that holds the pattern's start, counted from
    // 1601-01-01; 0 for a degenerate pattern.
    static DWORD GetFirstDateTime(const CMAPIRecurring& pattern, int nFirstDayOfWeek);
    // Sets the occurrence count of a pattern that ends by a date, the end date of one that ends after a count, and
    // 4500-08-31 23:59 with a count of 10 for one that never ends. A pattern whose range cannot be computed keeps
    // it as given, and the reason is traced; FALSE then.
    static BOOL CompleteRecurrenceRange(CMAPIRecurring& pattern, int nFirstDayOfWeek);
    // 28 to 31 for months 1 to 12.
    static int GetDaysInMonth(int nYear, int nMonth);
    // 0 Sunday to 6 Saturday.
    static int CalcDayOfWeek(int nYear, int nMonth, int nDay);
};
