// What a CMAPIRecurring takes from a parsed recurrence blob: the pattern's fields, without the first date-time,
// the first day of the week, the versions and the instance lists.
#pragma once

#include "items/RecurrencePatternBlob.h"

#include <mapipim/MAPIRecurring.h>

namespace mapipim
{
// An end type of 0xFFFFFFFF, which also means never, reads as never (2).
void ReadPatternFields(const RecurrencePatternBlob& blob, CMAPIRecurring& pattern);
} // namespace mapipim
