// Appointments as text for people.
#pragma once

#include "Occurrences.h"

#include <mapipim/MAPIScheduleInfo.h>

#include <ostream>

namespace cli
{
// One line for a calendar view: start and end (local), subject, location, the all-day and recurring marks, and
// the entry identifier.
void WriteOccurrenceLine(std::ostream& out, const Occurrence& occurrence);

// One line for an appointment listed without a view: as an occurrence, with its recurrence in words.
void WriteScheduleLine(std::ostream& out, const CMAPIScheduleInfo& schedule);

// Every field that holds a value, one per line.
void WriteSchedule(std::ostream& out, const CMAPIScheduleInfo& schedule);
} // namespace cli
