// CMAPIInterface: calendar and task folders, and single appointments and tasks, to and from iCalendar files.
#include <mapipim/MAPIInterface.h>
#include <mapipim/SBinaryUtils.h>

#include "interface/FolderClassifier.h"
#include "interface/ItemOperations.h"
#include "interop/ChangedOccurrences.h"
#include "interop/ICalendarFile.h"
#include "interop/InteropRun.h"
#include "interop/InteropText.h"
#include "interop/ScheduleEvent.h"
#include "interop/SeriesChanges.h"
#include "interop/SeriesImport.h"
#include "interop/TodoEvent.h"
#include "items/FirstDayOfWeek.h"
#include "items/MAPIScheduleItem.h"
#include "items/MAPITodoItem.h"

#include <memory>

using namespace mapipim::interop;

namespace
{
const ULONG kReadEverything = 0x7;

const mapipim::ItemKindTexts kScheduleExportTexts = {
    _T("ExportICalendar"),
    _T("[MAPI] ExportICalendar - Open failed a folder : %s"),
    _T("[MAPI] ExportICalendar - Open failed a schedule : %s"),
    _T("[MAPI] ExportICalendar - Create failed a schedule : %s"),
};
const mapipim::ItemKindTexts kTodoExportTexts = {
    _T("ExportICalendar"),
    _T("[MAPI] ExportICalendar - Open failed a folder : %s"),
    _T("[MAPI] ExportICalendar - Open failed a todo : %s"),
    _T("[MAPI] ExportICalendar - Create failed a todo : %s"),
};

template <typename TInfo> void DeleteRecords(CArray<TInfo*, TInfo*>& records)
{
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
        delete records[i];
    records.RemoveAll();
}

class CalendarWriter
{
public:
    CalendarWriter(CMAPIEx& mapi, InteropRun& run) : m_mapi(mapi), m_run(run), m_nFirstDay(GetFirstDayOfWeek()) {}
    ~CalendarWriter()
    {
        for (icalcomponent* item : m_items)
            icalcomponent_free(item);
    }

    // A series with its changed occurrences, each a VEVENT of its own after the series'.
    void Add(CMAPIScheduleInfo& schedule)
    {
        SeriesChanges changes;
        if (schedule.bRecurSet)
            changes = ReadSeriesChanges(m_mapi, schedule.sbEntryID);
        std::string error;
        if (!Keep(EventOfSchedule(schedule, changes.deleted, m_zones, m_nFirstDay, error), &schedule,
                  schedule.strEntryID, error))
            return;
        for (const mapipim::RecurrenceException& changed : changes.changed)
        {
            icalcomponent* event = EventOfChangedOccurrence(schedule, changed, m_zones, m_nFirstDay, error);
            if (event)
                m_items.push_back(event);
            else
                m_run.Skip("item " + Utf8Of(schedule.strEntryID) + ", a changed occurrence: " + error);
        }
    }

    void Add(CMAPITodoInfo& task)
    {
        std::string error;
        Keep(TodoOfTask(task, m_zones, m_nFirstDay, error), &task, task.strEntryID, error);
    }

    BOOL Write(LPCWSTR szPath)
    {
        const std::string text = WriteCalendarFile(m_items, m_zones);
        m_items.clear(); // the file writer took them
        if (!WriteWholeFile(szPath, text))
            return m_run.Fail("the file cannot be written");
        return m_run.Finish();
    }

private:
    bool Keep(icalcomponent* item, const void* pRecord, const CString& strEntryID, const std::string& error)
    {
        if (!item)
        {
            m_run.Skip("item " + Utf8Of(strEntryID) + ": " + error);
            return false;
        }
        m_items.push_back(item);
        m_run.Done(pRecord);
        return true;
    }

    CMAPIEx& m_mapi;
    InteropRun& m_run;
    int m_nFirstDay;
    CalendarZones m_zones;
    std::vector<icalcomponent*> m_items;
};

template <typename TInfo, typename TItem>
bool ListFolder(CMAPIEx& mapi, const mapipim::ItemKindTexts& texts, COutlookFolder* pFolder,
                CArray<TInfo*, TInfo*>& records)
{
    // The list reports no progress of its own: the export reports each item it writes.
    return mapipim::ItemOperations<TInfo, TItem>(mapi, NULL, texts).List(pFolder, records, kReadEverything) != FALSE;
}

bool IsTaskFolder(const COutlookFolder& folder)
{
    return (folder.nFolderType & mapipim::FOLDER_TYPE_TASKS) != 0;
}

CString MessageClassOf(CMAPIEx& mapi, SBinary& entryID)
{
    CMAPIScheduleItem item;
    CString strClass;
    if (item.Open(&mapi, entryID))
        item.GetPropertyString(PR_MESSAGE_CLASS_W, strClass);
    return strClass;
}

bool StartsWith(const CString& strText, LPCWSTR szPrefix)
{
    const int nLength = lstrlenW(szPrefix);
    return strText.GetLength() >= nLength && strText.Left(nLength).CompareNoCase(szPrefix) == 0;
}
} // namespace

BOOL CMAPIInterface::ExportICalendar(COutlookFolder* pFolder, LPCWSTR szPath, CInteropReport* pReport)
{
    InteropRun run(m_hMsgWnd, pFolder, pReport, _T("ExportICalendar"), szPath);
    if (!pFolder || !szPath)
        return FALSE;
    CalendarWriter writer(m_MAPI, run);
    if (IsTaskFolder(*pFolder))
    {
        CArray<CMAPITodoInfo*, CMAPITodoInfo*> tasks;
        const bool bListed = ListFolder<CMAPITodoInfo, CMAPITodoItem>(m_MAPI, kTodoExportTexts, pFolder, tasks);
        for (INT_PTR i = 0; bListed && i < tasks.GetSize() && !run.Cancelled(); ++i)
            writer.Add(*tasks[i]);
        DeleteRecords(tasks);
        if (!bListed || run.Cancelled())
            return FALSE;
        return writer.Write(szPath);
    }
    CArray<CMAPIScheduleInfo*, CMAPIScheduleInfo*> schedules;
    const bool bListed =
        ListFolder<CMAPIScheduleInfo, CMAPIScheduleItem>(m_MAPI, kScheduleExportTexts, pFolder, schedules);
    for (INT_PTR i = 0; bListed && i < schedules.GetSize() && !run.Cancelled(); ++i)
        writer.Add(*schedules[i]);
    DeleteRecords(schedules);
    if (!bListed || run.Cancelled())
        return FALSE;
    return writer.Write(szPath);
}

BOOL CMAPIInterface::ExportICalendar(SBinary& entryID, LPCWSTR szPath, CInteropReport* pReport)
{
    InteropRun run(m_hMsgWnd, NULL, pReport, _T("ExportICalendar"), szPath);
    if (!szPath)
        return FALSE;
    CalendarWriter writer(m_MAPI, run);
    const CString strClass = MessageClassOf(m_MAPI, entryID);
    if (StartsWith(strClass, _T("IPM.Task")))
    {
        CMAPITodoInfo task;
        CopySBinary(task.sbEntryID, entryID);
        if (!GetTodo(&task, kReadEverything))
            return run.Fail("the task cannot be read");
        writer.Add(task);
        return writer.Write(szPath);
    }
    if (!StartsWith(strClass, _T("IPM.Appointment")))
        return run.Fail("the item is no appointment or task");
    CMAPIScheduleInfo schedule;
    CopySBinary(schedule.sbEntryID, entryID);
    if (!GetSchedule(&schedule, kReadEverything))
        return run.Fail("the appointment cannot be read");
    writer.Add(schedule);
    return writer.Write(szPath);
}

namespace
{
bool IsChangedOccurrence(icalcomponent* component)
{
    return icalcomponent_isa(component) == ICAL_VEVENT_COMPONENT &&
           icalcomponent_get_first_property(component, ICAL_RECURRENCEID_PROPERTY) != nullptr;
}

// Creates the item of one VEVENT or VTODO in the folder; false with the reason when it is not imported.
bool ImportCalendarComponent(CMAPIInterface& host, CMAPIEx& mapi, COutlookFolder* pFolder, icalcomponent* component,
                             CalendarZones& zones, InteropRun& run, SeriesImport& series, std::string& error)
{
    if (icalcomponent_isa(component) == ICAL_VTODO_COMPONENT)
    {
        CMAPITodoInfo task;
        if (!TaskOfTodo(component, zones, task, error))
            return false;
        if (!host.CreateTodo(pFolder, &task))
            return (error = "the task cannot be created", false);
        run.Done(&task);
        return true;
    }
    CMAPIScheduleInfo schedule;
    SeriesChanges changes;
    if (!ScheduleOfEvent(component, zones, schedule, changes.deleted, error))
        return false;
    if (!host.CreateSchedule(pFolder, &schedule))
        return (error = "the appointment cannot be created", false);
    if (!changes.deleted.empty() && !WriteSeriesChanges(mapi, schedule.sbEntryID, changes))
        return (error = "the deleted occurrences cannot be written", false);
    run.Done(&schedule);
    if (schedule.bRecurSet && icalcomponent_get_uid(component))
        series.AddSeries(icalcomponent_get_uid(component), schedule, changes.deleted);
    return true;
}
} // namespace

BOOL CMAPIInterface::ImportICalendar(COutlookFolder* pFolder, LPCWSTR szPath, CInteropReport* pReport)
{
    InteropRun run(m_hMsgWnd, pFolder, pReport, _T("ImportICalendar"), szPath);
    if (!pFolder || !szPath)
        return FALSE;
    std::string text, error;
    if (!ReadWholeFile(szPath, text, error))
        return run.Fail(error);
    CalendarZones zones;
    const CalendarFile file = ReadCalendarFile(text, zones);
    text.clear();
    for (const std::string& failure : file.failures)
        run.Skip(failure);
    // Changed occurrences wait until every series of the file exists: a series may come after its changes.
    SeriesImport series(m_MAPI, GetFirstDayOfWeek());
    std::vector<std::pair<int, ComponentPtr>> changedOccurrences;
    for (const CalendarItem& item : file.items)
    {
        if (run.Cancelled())
            return FALSE;
        error.clear();
        ComponentPtr component(ParseCalendarItem(item, error));
        if (component && IsChangedOccurrence(component.get()))
            changedOccurrences.emplace_back(item.nLine, std::move(component));
        else if (!component ||
                 !ImportCalendarComponent(*this, m_MAPI, pFolder, component.get(), zones, run, series, error))
            run.Skip("line " + std::to_string(item.nLine) + ": " + error);
    }
    for (const auto& [nLine, component] : changedOccurrences)
    {
        if (run.Cancelled())
            return FALSE;
        error.clear();
        if (!series.AddChange(component.get(), nLine, zones, error))
            run.Skip("line " + std::to_string(nLine) + ": " + error);
    }
    series.Write(run);
    return run.Finish();
}
