// The changed occurrences of an appointment series, as the recurrence blob's appointment extension carries them
// after its exception count: one ExceptionInfo per occurrence, a reserved block, one ExtendedException per
// occurrence in the same order, and a second reserved block. Times are minutes since 1601-01-01 in the series' zone.
//
//   ExceptionInfo:     start | end | original start | override flags (16 bits) | the overridden fields, by flag
//   ExtendedException: [change highlight size, bytes: writer version 0x3009 on] | reserved size, bytes
//                      [start | end | original start | wide subject | wide location | reserved size, bytes:
//                       only with a subject or location override]
#pragma once

#include "items/BlobReader.h"

#include <vector>

namespace mapipim
{
enum : WORD
{
    kOverrideSubject = 0x0001,
    kOverrideMeetingType = 0x0002,
    kOverrideReminderDelta = 0x0004,
    kOverrideReminder = 0x0008,
    kOverrideLocation = 0x0010,
    kOverrideBusyStatus = 0x0020,
    kOverrideAttachment = 0x0040,
    kOverrideSubType = 0x0080, // the all-day flag
    kOverrideAppointmentColor = 0x0100,
    kOverrideExceptionalBody = 0x0200, // the body differs; it lives in the exception's attachment only
};

struct RecurrenceException
{
    DWORD dwStartDateTime = 0;
    DWORD dwEndDateTime = 0;
    DWORD dwOriginalStartTime = 0;
    WORD wOverrideFlags = 0;
    CString strSubject; // from the wide text when the extended part holds one, else the 8-bit text
    DWORD dwMeetingType = 0;
    DWORD dwReminderDelta = 0;
    DWORD dwReminderSet = 0;
    CString strLocation;
    DWORD dwBusyStatus = 0;
    DWORD dwAttachment = 0;
    DWORD dwSubType = 0;
    DWORD dwAppointmentColor = 0;
};

// Reads nCount entries and both reserved blocks. An ExceptionInfo the value holds only in part ends the list there
// (the entries before it stay); a damaged extended part leaves the 8-bit texts.
std::vector<RecurrenceException> ReadRecurrenceExceptions(BlobReader& stream, WORD nCount, DWORD dwWriterVersion2);

// Writes the entries and both (empty) reserved blocks; the change highlight is written for writer version 0x3009
// on. A text longer than a 16-bit length can say is cut there.
void WriteRecurrenceExceptions(CMAPIByteStream& stream, const std::vector<RecurrenceException>& exceptions,
                               DWORD dwWriterVersion2);
ULONG RecurrenceExceptionsSize(const std::vector<RecurrenceException>& exceptions, DWORD dwWriterVersion2);
} // namespace mapipim
