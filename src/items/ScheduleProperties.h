// The named properties of appointments that the schedule item reads and writes, by their numeric ids: those of
// PSETID_Appointment (set index MAPIPIM_SET_APPOINTMENT) and those of PSETID_Common (MAPIPIM_SET_COMMON).
#pragma once

#include "platform/platform.h"

namespace mapipim
{
enum AppointmentNamedId : LONG
{
    PidLidBusyStatus = 0x8205,
    PidLidLocation = 0x8208,
    PidLidAppointmentStartWhole = 0x820D,
    PidLidAppointmentEndWhole = 0x820E,
    PidLidAppointmentDuration = 0x8213,
    PidLidAppointmentSubType = 0x8215, // all day
    PidLidAppointmentRecur = 0x8216,   // the recurrence blob
    PidLidRecurring = 0x8223,
    PidLidRecurrenceType = 0x8231,
    PidLidRecurrencePattern = 0x8232, // the recurrence in words
    PidLidTimeZoneStruct = 0x8233,
    PidLidClipStart = 0x8235,
    PidLidClipEnd = 0x8236,
    PidLidAllowExternalCheck = 0x8246,
    PidLidAppointmentTimeZoneDefinitionStartDisplay = 0x825E,
    PidLidAppointmentTimeZoneDefinitionEndDisplay = 0x825F,
    PidLidAppointmentTimeZoneDefinitionRecur = 0x8260,
};

enum CommonNamedId : LONG
{
    PidLidReminderDelta = 0x8501, // minutes before the start
    PidLidReminderTime = 0x8502,
    PidLidReminderSet = 0x8503,
    PidLidCommonStart = 0x8516,
    PidLidCommonEnd = 0x8517,
    PidLidReminderSignalTime = 0x8560,
};

// The icon of an appointment in Outlook's views (PR_ICON_INDEX): single, and one more for a recurring one.
const LONG kAppointmentIconIndex = 0x400;
const LONG kRecurringAppointmentIconIndex = 0x401;
} // namespace mapipim
