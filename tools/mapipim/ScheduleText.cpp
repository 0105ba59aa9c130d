#include "ScheduleText.h"

#include "ContactFields.h"
#include "DateText.h"
#include "LabelledText.h"
#include "ScheduleOptions.h"
#include "ShortIds.h"
#include "Text.h"

#include "items/RecurrenceCalendar.h"

namespace cli
{
namespace
{
// "YYYY-MM-DD HH:MM", or the date alone for all-day events.
std::string WhenText(const SYSTEMTIME& time, bool bAllDay)
{
    const std::string text = DateTimeText(time);
    if (text.empty())
        return "?";
    return bAllDay ? text.substr(0, 10) : text.substr(0, 10) + " " + text.substr(11, 5);
}

std::string Subject(const CString& strSubject)
{
    return strSubject.IsEmpty() ? "(no subject)" : Utf8(strSubject);
}

// An all-day event ends at the midnight after its last day, which is the day people name.
SYSTEMTIME LastDayOf(const SYSTEMTIME& start, const SYSTEMTIME& end)
{
    const DWORD dwStart = mapipim::MinutesOf(start);
    const DWORD dwEnd = mapipim::MinutesOf(end);
    if (dwEnd <= dwStart || dwEnd % mapipim::kMinutesPerDay != 0)
        return end;
    return mapipim::SystemTimeOfMinutes(dwEnd - mapipim::kMinutesPerDay);
}

// One appointment or occurrence: its times, the subject, location and all-day flag it shows, and whether it belongs
// to a series.
struct LineFields
{
    SYSTEMTIME start;
    SYSTEMTIME end;
    CString strSubject;
    CString strLocation;
    bool bAllDay;
    bool bRecurring;
};

void WriteLine(std::ostream& out, const CMAPIScheduleInfo& schedule, const LineFields& line)
{
    const bool bAllDay = line.bAllDay;
    out << WhenText(line.start, bAllDay) << " - "
        << WhenText(bAllDay ? LastDayOf(line.start, line.end) : line.end, bAllDay) << "  " << Subject(line.strSubject);
    if (!line.strLocation.IsEmpty())
        out << " @ " << Utf8(line.strLocation);
    if (bAllDay)
        out << "  [all day]";
    if (line.bRecurring)
        out << "  [recurring]";
    out << "  " << ShownId(Utf8(schedule.strEntryID)) << '\n';
}
} // namespace

void WriteOccurrenceLine(std::ostream& out, const Occurrence& occurrence)
{
    WriteLine(out, *occurrence.schedule,
              {occurrence.start, occurrence.end, SubjectOf(occurrence), LocationOf(occurrence), IsAllDay(occurrence),
               occurrence.recurring});
}

void WriteScheduleLine(std::ostream& out, const CMAPIScheduleInfo& schedule)
{
    WriteLine(out, schedule,
              {schedule.tzStartTime.tmDateTime, schedule.tzEndTime.tmDateTime, schedule.strSubject,
               schedule.strLocation, schedule.bAllday != 0, schedule.bRecurSet != 0});
}

void WriteSchedule(std::ostream& out, const CMAPIScheduleInfo& schedule)
{
    const bool bAllDay = schedule.bAllday != 0;
    WriteLabelled(out, "Entry ID", ShownId(Utf8(schedule.strEntryID)));
    WriteLabelled(out, "Created", DateTimeText(schedule.tmCTime));
    WriteLabelled(out, "Modified", DateTimeText(schedule.tmLMTime));
    WriteLabelled(out, "Subject", Utf8(schedule.strSubject));
    WriteLabelled(out, "Location", Utf8(schedule.strLocation));
    WriteLabelled(out, "Start", WhenText(schedule.tzStartTime.tmDateTime, bAllDay));
    const SYSTEMTIME& tmEnd = schedule.tzEndTime.tmDateTime;
    WriteLabelled(out, bAllDay ? "Last day" : "End",
                  WhenText(bAllDay ? LastDayOf(schedule.tzStartTime.tmDateTime, tmEnd) : tmEnd, bAllDay));
    WriteLabelled(out, "All day", bAllDay ? "yes" : "");
    WriteLabelled(out, "Time zone", Utf8(schedule.tzStartTime.strKeyName));
    WriteLabelled(out, "Busy", BusyName(schedule.nSign));
    WriteLabelled(out, "Reminder", schedule.bAlarm ? std::to_string(schedule.nAlarmMin) + " minutes before" : "");
    if (schedule.bRecurSet)
        WriteLabelled(out, "Recurrence", schedule.strRecurDisplay.IsEmpty() ? "yes" : Utf8(schedule.strRecurDisplay));
    WriteLabelled(out, "Categories", Utf8(schedule.strLabel));
    if (schedule.nSensitivity != 0)
        WriteLabelled(out, "Sensitivity", SensitivityName(schedule.nSensitivity));
    WriteLabelled(out, "Attachments", Utf8(schedule.strAttachFile));
    WriteLabelled(out, "Notes", Utf8(schedule.strContents));
}
} // namespace cli
