// Dates on the command line and in output: YYYY-MM-DD with an optional time, THH:MM or THH:MM:SS, always local
// time as the records carry it. An empty text is the record's "not set" (a SYSTEMTIME whose wYear is 0).
#pragma once

#include <mapipim/platform.h>

#include <string>

namespace cli
{
// Fills time (day of the week included) from the text; false when it is not a valid calendar date and time.
bool ParseDateText(const std::string& text, SYSTEMTIME& time);

// "YYYY-MM-DDTHH:MM:SS"; empty for a time that is not set.
std::string DateTimeText(const SYSTEMTIME& time);

// As DateTimeText, but the date alone when the time of day is midnight.
std::string DateText(const SYSTEMTIME& time);

// "YYYY-MM-DD" whatever the time of day, for the values that are days (birthdays, anniversaries); empty when not set.
std::string DayText(const SYSTEMTIME& time);
} // namespace cli
