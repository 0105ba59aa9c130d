// calendar list|show|add|edit|delete: the schedule operations of the interface object.
#include "AttachingProgress.h"
#include "CommandSet.h"
#include "DateText.h"
#include "Failure.h"
#include "OptionChecks.h"
#include "FolderLocator.h"
#include "FolderTypes.h"
#include "Host.h"
#include "JsonRecords.h"
#include "Occurrences.h"
#include "ScheduleJson.h"
#include "ScheduleOptions.h"
#include "ScheduleReading.h"
#include "ScheduleText.h"
#include "ShortIds.h"
#include "ShowCommand.h"
#include "Text.h"

#include "items/RecurrenceCalendar.h"

#include <iostream>
#include <memory>

namespace cli
{
namespace
{
const LONG kDefaultViewDays = 30; // a view given one end reaches this many days to the other

struct CalendarRequest
{
    std::string id;
    std::string folder;
    std::string from;
    std::string to;
    ScheduleOptions fields;
    bool bToDeletedItems = false;
};

COutlookFolder& CalendarFolder(FolderLocator& folders, const std::string& folder)
{
    return folders.Find(folder, kFolderTypeCalendar);
}

SYSTEMTIME DaysLater(const SYSTEMTIME& day, LONG nDays)
{
    return mapipim::SystemTimeOfMinutes(
        static_cast<DWORD>(static_cast<LONG>(mapipim::MinutesOf(day)) + nDays * mapipim::kMinutesPerDay));
}

// The days of the view, both included; false when neither end was given.
bool ViewOf(const CalendarRequest& request, SYSTEMTIME& firstDay, SYSTEMTIME& lastDay)
{
    if (request.from.empty() && request.to.empty())
        return false;
    ParseDateText(request.from, firstDay);
    ParseDateText(request.to, lastDay);
    if (request.from.empty())
        firstDay = DaysLater(lastDay, -kDefaultViewDays);
    if (request.to.empty())
        lastDay = DaysLater(firstDay, kDefaultViewDays);
    if (mapipim::MinutesOf(lastDay) / mapipim::kMinutesPerDay < mapipim::MinutesOf(firstDay) / mapipim::kMinutesPerDay)
        throw UsageFailure("--to " + DateText(lastDay) + " lies before --from " + DateText(firstDay));
    return true;
}

Json OccurrenceJson(const Occurrence& occurrence)
{
    const CMAPIScheduleInfo& schedule = *occurrence.schedule;
    return Json{{"strEntryID", Utf8(schedule.strEntryID)},     {"start", DateTimeText(occurrence.start)},
                {"end", DateTimeText(occurrence.end)},         {"strSubject", Utf8(SubjectOf(occurrence))},
                {"strLocation", Utf8(LocationOf(occurrence))}, {"bAllday", IsAllDay(occurrence)},
                {"recurring", occurrence.recurring},           {"changed", occurrence.changed != nullptr}};
}

// What became of the single occurrences of each series of the list, at the series' index.
std::vector<SeriesEdits> EditsOf(Host& host, RecordArray<CMAPIScheduleInfo>& schedules)
{
    std::vector<SeriesEdits> edits(static_cast<size_t>(schedules.GetSize()));
    for (INT_PTR i = 0; i < schedules.GetSize(); ++i)
        if (schedules[i].bRecurSet)
            edits[static_cast<size_t>(i)] = ReadSeriesEdits(host.Session(), schedules[i].sbEntryID);
    return edits;
}

void PrintScheduleId(Host& host, const CMAPIScheduleInfo& schedule)
{
    if (host.Json())
        Host::Print(ScheduleJson(schedule));
    else
        std::cout << ShownId(Utf8(schedule.strEntryID)) << '\n';
}

void List(Host& host, const CalendarRequest& request)
{
    SYSTEMTIME firstDay = {}, lastDay = {};
    const bool bView = ViewOf(request, firstDay, lastDay);
    FolderLocator folders(host);
    COutlookFolder& folder = CalendarFolder(folders, request.folder);
    RecordArray<CMAPIScheduleInfo> schedules;
    ListSchedules(host, folder, folders.PathOf(folder), schedules);
    if (!bView)
    {
        if (!host.Json())
        {
            for (INT_PTR i = 0; i < schedules.GetSize(); ++i)
                WriteScheduleLine(std::cout, schedules[i]);
            return;
        }
        Json list = Json::array();
        for (INT_PTR i = 0; i < schedules.GetSize(); ++i)
            list.push_back(ScheduleJson(schedules[i]));
        Host::Print(Json{{"folder", FolderJson(folder, folders.PathOf(folder))}, {"appointments", list}});
        return;
    }
    const std::vector<SeriesEdits> edits = EditsOf(host, schedules);
    const std::vector<Occurrence> occurrences = OccurrencesBetween(schedules, edits, firstDay, lastDay);
    if (!host.Json())
    {
        for (const Occurrence& occurrence : occurrences)
            WriteOccurrenceLine(std::cout, occurrence);
        return;
    }
    Json list = Json::array();
    for (const Occurrence& occurrence : occurrences)
        list.push_back(OccurrenceJson(occurrence));
    Host::Print(Json{{"folder", FolderJson(folder, folders.PathOf(folder))},
                     {"from", DayText(firstDay)},
                     {"to", DayText(lastDay)},
                     {"occurrences", list}});
}

void Show(Host& host, const CalendarRequest& request)
{
    CMAPIScheduleInfo schedule;
    ReadSchedule(host, request.id, schedule);
    if (host.Json())
        Host::Print(ScheduleJson(schedule));
    else
        WriteSchedule(std::cout, schedule);
}

void Add(Host& host, const CalendarRequest& request)
{
    if (!request.fields.StartGiven())
        throw UsageFailure("give the start of the new appointment with --start");
    CMAPIScheduleInfo schedule;
    request.fields.ApplyTo(schedule);
    FolderLocator folders(host);
    COutlookFolder& folder = CalendarFolder(folders, request.folder);
    if (!WriteAttaching(schedule.strAttachFile, [&] { return host.Mapi().CreateSchedule(&folder, &schedule); }))
    {
        Host::CheckCancel();
        throw Failure("cannot create the appointment in '" + folders.PathOf(folder) + "'");
    }
    ReadSchedule(host, Utf8(schedule.strEntryID), schedule);
    CheckNewItem(
        "appointment", [&] { request.fields.CheckApplied(schedule); },
        [&] { return host.Mapi().DeleteSchedule(&folder, &schedule, FALSE); });
    PrintScheduleId(host, schedule);
}

void Edit(Host& host, const CalendarRequest& request)
{
    if (!request.fields.AnyGiven())
        throw UsageFailure("give at least one field to change");
    CMAPIScheduleInfo schedule;
    ReadSchedule(host, request.id, schedule);
    request.fields.ApplyTo(schedule);
    FolderLocator folders(host);
    COutlookFolder& folder = folders.FolderOfItem(request.folder, schedule.sbEntryID, kFolderTypeCalendar);
    if (!WriteAttaching(schedule.strAttachFile, [&] { return host.Mapi().ModifySchedule(&folder, &schedule); }))
    {
        Host::CheckCancel();
        throw Failure("cannot change the appointment " + request.id);
    }
    ReadSchedule(host, request.id, schedule);
    CheckEditedItem("appointment", request.id, [&] { request.fields.CheckApplied(schedule); });
    PrintScheduleId(host, schedule);
}

void Delete(Host& host, const CalendarRequest& request)
{
    CMAPIScheduleInfo schedule;
    ReadSchedule(host, request.id, schedule);
    FolderLocator folders(host);
    COutlookFolder& folder = folders.FolderOfItem(request.folder, schedule.sbEntryID, kFolderTypeCalendar);
    if (!host.Mapi().DeleteSchedule(&folder, &schedule, request.bToDeletedItems))
    {
        Host::CheckCancel();
        throw Failure("cannot delete the appointment " + request.id + " from '" + folders.PathOf(folder) + "'");
    }
    if (host.Json())
        Host::Print(Json{{"strEntryID", Utf8(schedule.strEntryID)}, {"movedToDeletedItems", request.bToDeletedItems}});
}

void AddIdArgument(CLI::App& command, CalendarRequest& request)
{
    command.add_option("id", request.id, "Entry identifier of the appointment (hexadecimal)")->required();
}

void AddFolderOption(CLI::App& command, CalendarRequest& request, const char* description)
{
    command.add_option("--folder", request.folder, description);
}
} // namespace

void ShowAppointment(Host& host, const std::string& id)
{
    CalendarRequest request;
    request.id = id;
    Show(host, request);
}

void AddCalendarCommands(CommandSet& commands)
{
    CLI::App& group = commands.AddGroup("calendar", "Read and write appointments");
    // One request per command: the field options of "add" and "edit" are distinct options of the parser.
    auto listing = std::make_shared<CalendarRequest>();
    CLI::App& list = commands.Add(group, "list",
                                  "List the appointments of a folder; with --from or --to, the occurrences of each "
                                  "day of that view, series expanded",
                                  List, listing);
    AddFolderOption(list, *listing, "Folder path or entry identifier (default: the calendar)");
    list.add_option("--from", listing->from, "First day of the view (default: 30 days before --to)")
        ->check(kDateValidator);
    list.add_option("--to", listing->to, "Last day of the view (default: 30 days after --from)")->check(kDateValidator);

    auto showing = std::make_shared<CalendarRequest>();
    AddIdArgument(commands.Add(group, "show", "Show every field of an appointment", Show, showing), *showing);

    auto adding = std::make_shared<CalendarRequest>();
    CLI::App& add = commands.Add(group, "add", "Create an appointment", Add, adding);
    AddFolderOption(add, *adding, "Folder to create it in (default: the calendar)");
    adding->fields.AddTo(add, false);

    auto editing = std::make_shared<CalendarRequest>();
    CLI::App& edit = commands.Add(group, "edit", "Change the given fields of an appointment", Edit, editing);
    AddIdArgument(edit, *editing);
    AddFolderOption(edit, *editing, "Folder of the appointment (default: the calendar)");
    editing->fields.AddTo(edit, true);

    auto deleting = std::make_shared<CalendarRequest>();
    CLI::App& remove = commands.Add(group, "delete", "Delete an appointment", Delete, deleting);
    AddIdArgument(remove, *deleting);
    AddFolderOption(remove, *deleting, "Folder of the appointment (default: the calendar)");
    remove.add_flag("--to-deleted-items", deleting->bToDeletedItems, "Move it to Deleted Items instead");
}
} // namespace cli
