// The first day of the week as the user's regional settings name it, counted from Sunday = 0, for the recurrence
// patterns that Outlook writes with it.
#pragma once

// 0 (Sunday) to 6 (Saturday); 0 also when the setting is missing or unreadable.
int GetFirstDayOfWeek();
