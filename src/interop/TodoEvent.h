// A task as a VTODO and back: start and due as dates, status, percent complete, completion time, the texts,
// categories, sensitivity, importance, the reminder at its time, and the recurrence.
#pragma once

#include "interop/CalendarZones.h"

#include <mapipim/MAPITodoInfo.h>

#include <string>

namespace mapipim::interop
{
icalcomponent* TodoOfTask(const CMAPITodoInfo& task, CalendarZones& zones, int nFirstDayOfWeek, std::string& error);
bool TaskOfTodo(icalcomponent* todo, CalendarZones& zones, CMAPITodoInfo& task, std::string& error);

// The UID and DTSTAMP every exported item carries; the UID from the item's entry identifier.
void AddIdentity(icalcomponent* item, const CString& strEntryID);
} // namespace mapipim::interop
