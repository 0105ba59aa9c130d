// An iCalendar file as the items it holds. Each VEVENT and VTODO is cut out with the line it starts on and parsed
// alone, so that a damaged item fails by itself and the items before and after it still import; the VTIMEZONEs
// are collected first, since an item may name a zone defined further down.
#pragma once

#include "interop/CalendarZones.h"

#include <string>
#include <string_view>
#include <vector>

namespace mapipim::interop
{
struct CalendarItem
{
    int nLine = 0;
    icalcomponent_kind kind = ICAL_NO_COMPONENT; // VEVENT or VTODO
    std::string text;                            // the item's lines, unfolded
    std::string error;                           // empty when the item's lines are sound
};

struct CalendarFile
{
    std::vector<CalendarItem> items;
    std::vector<std::string> failures; // "line N: reason" for what is neither item nor zone
};

// Splits the file and adds its VTIMEZONEs to zones.
CalendarFile ReadCalendarFile(std::string_view text, CalendarZones& zones);

// Parses one item's text; null with the reason (libical's own complaints included) when it is malformed.
icalcomponent* ParseCalendarItem(const CalendarItem& item, std::string& error);

// A VCALENDAR of the items (which it takes over) with the zones they use.
std::string WriteCalendarFile(const std::vector<icalcomponent*>& items, const CalendarZones& zones);
} // namespace mapipim::interop
