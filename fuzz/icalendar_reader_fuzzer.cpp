// The iCalendar reader behind CMAPIInterface::ImportICalendar, over any bytes an .ics file may hold: the file is
// cut into items, each parsed by libical and mapped to an appointment or task record as an import would.
// Checks: every item that fails names a reason; a record that was read is written back as an item without
// failure (through the same zones); a VEVENT with a RECURRENCE-ID read as a change of the file's last series is
// written back as one, and ends no earlier than it starts; every libical component is freed (LeakSanitizer).
//
// Input: the file's bytes.
#include "FuzzSupport.h"

#include "interop/ChangedOccurrences.h"
#include "interop/ICalendarFile.h"
#include "interop/ScheduleEvent.h"
#include "interop/TodoEvent.h"

#include <memory>
#include <string_view>

using namespace mapipim::interop;

namespace
{
void CheckChange(icalcomponent* event, const CMAPIScheduleInfo& series, CalendarZones& zones)
{
    std::string error;
    CMAPIScheduleInfo occurrence;
    mapipim::RecurrenceException changed;
    if (!ChangedOccurrenceOfEvent(event, series, zones, 0, occurrence, changed, error))
        return FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(changed.dwEndDateTime >= changed.dwStartDateTime);
    ComponentPtr written(EventOfChangedOccurrence(series, changed, zones, 0, error));
    FUZZ_CHECK(written != nullptr || !error.empty());
}

void CheckItem(const CalendarItem& item, CalendarZones& zones, std::unique_ptr<CMAPIScheduleInfo>& series)
{
    std::string error;
    ComponentPtr component(ParseCalendarItem(item, error));
    if (!component)
    {
        FUZZ_CHECK(!error.empty());
        return;
    }
    if (item.kind == ICAL_VTODO_COMPONENT)
    {
        CMAPITodoInfo task;
        if (!TaskOfTodo(component.get(), zones, task, error))
            return FUZZ_CHECK(!error.empty());
        ComponentPtr written(TodoOfTask(task, zones, 0, error));
        FUZZ_CHECK(written != nullptr);
        return;
    }
    if (series && icalcomponent_get_first_property(component.get(), ICAL_RECURRENCEID_PROPERTY))
        CheckChange(component.get(), *series, zones);
    CMAPIScheduleInfo schedule;
    std::vector<DWORD> deleted;
    if (!ScheduleOfEvent(component.get(), zones, schedule, deleted, error))
        return FUZZ_CHECK(!error.empty());
    if (schedule.bRecurSet && schedule.lprcRecurring)
        series = std::make_unique<CMAPIScheduleInfo>(schedule);
    // A read pattern always has an RRULE again; the range may still be past what the store can hold.
    ComponentPtr written(EventOfSchedule(schedule, deleted, zones, 0, error));
    FUZZ_CHECK(written != nullptr || !error.empty());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CalendarZones zones;
    const CalendarFile file = ReadCalendarFile(text, zones);
    for (const std::string& failure : file.failures)
        FUZZ_CHECK(failure.compare(0, 5, "line ") == 0);
    std::unique_ptr<CMAPIScheduleInfo> series;
    for (const CalendarItem& item : file.items)
        CheckItem(item, zones, series);
    return 0;
}
