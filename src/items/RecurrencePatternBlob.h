// The recurrence blob of appointments and tasks (RecurrencePattern), and for appointments the extension that
// follows it (AppointmentRecurrencePattern): versions, the start and end time offsets and the changed occurrences
// (RecurrenceExceptionBlob.h). Little-endian; dates are whole minutes since 1601-01-01.
//
//   04 30 04 30 | frequency (0x200A + 0..3) | pattern type | calendar type | first date-time | period | sliding
//   | 0, 4 or 8 bytes by pattern type | end type (0x2021 + 0..2) | occurrence count | first day of week
//   | deleted count, dates | modified count, dates | start date | end date
//   [ 06 30 00 00 | 09 30 00 00 | start offset | end offset | exception count (16 bits) | exceptions ]
#pragma once

#include "items/BlobReader.h"
#include "items/RecurrenceExceptionBlob.h"

#include <vector>

namespace mapipim
{
enum : DWORD
{
    kRecurFrequencyBase = 0x200A, // daily; weekly, monthly and yearly follow
    kRecurEndTypeBase = 0x2021,   // end by date; after a count and never follow
    kRecurEndNever = 0x2023,
    kRecurEndNeverAlternative = 0xFFFFFFFF, // also means never
    kRecurNeverEndDate = 0x5AE980DF,        // 4500-12-31 23:59, the end date of a series without end
};

struct RecurrencePatternBlob
{
    WORD wReaderVersion = 0x3004;
    WORD wWriterVersion = 0x3004;
    WORD wFrequency = 0;
    WORD wPatternType = 0;
    WORD wCalendarType = 0;
    DWORD dwFirstDateTime = 0;
    DWORD dwPeriod = 0;
    DWORD dwSlidingFlag = 0;
    DWORD dwPatternSpecific1 = 0; // day mask or day of the month, by pattern type
    DWORD dwPatternSpecific2 = 0; // month-nth patterns: the week number
    DWORD dwEndType = 0;
    DWORD dwOccurrenceCount = 0;
    DWORD dwFirstDayOfWeek = 0;
    DWORD dwDeletedInstanceCount = 0; // as stored; the list holds what the value really carries
    std::vector<DWORD> deletedInstanceDates;
    DWORD dwModifiedInstanceCount = 0; // as stored
    std::vector<DWORD> modifiedInstanceDates;
    DWORD dwStartDate = 0;
    DWORD dwEndDate = 0;

    // The appointment extension.
    bool bHasAppointmentPart = false;
    DWORD dwReaderVersion2 = 0x3006;
    DWORD dwWriterVersion2 = 0x3009;
    DWORD dwStartTimeOffset = 0;
    DWORD dwEndTimeOffset = 0;
    WORD wExceptionCount = 0;                    // as stored; the writer writes the list's length
    std::vector<RecurrenceException> exceptions; // in the order of their original starts
};

// Bytes of pattern-specific data for a pattern type: 4 (week, month, month-end and their Hijri forms), 8
// (month-nth), else 0.
ULONG PatternSpecificSize(WORD wPatternType);

// Writes the pattern with its instance lists (their lengths as counts) and, when it has one, the appointment
// extension with its exceptions.
void WriteRecurrencePattern(CMAPIByteStream& stream, const RecurrencePatternBlob& blob);
ULONG RecurrencePatternSize(const RecurrencePatternBlob& blob);

// Reads up to the end date, skipping instance lists of any length the value holds (a count that runs past the
// end of the value leaves what follows at zero), then the appointment extension's versions, offsets, exception
// count and exceptions when the value goes on.
RecurrencePatternBlob ReadRecurrencePattern(BlobReader& stream);
} // namespace mapipim
