#include "interop/SeriesImport.h"

#include "interop/ChangedOccurrences.h"

namespace mapipim::interop
{
namespace
{
// The blob counts its exceptions in 16 bits.
constexpr size_t kMaxChanges = 0xFFFF;

std::string UidOf(icalcomponent* event)
{
    const char* uid = icalcomponent_get_uid(event);
    return uid ? uid : "";
}
} // namespace

void SeriesImport::AddSeries(const std::string& uid, const CMAPIScheduleInfo& schedule,
                             const std::vector<DWORD>& deleted)
{
    if (uid.empty() || m_series.count(uid))
        return;
    Series& series = m_series[uid];
    series.schedule = schedule;
    series.changes.deleted = deleted;
}

bool SeriesImport::AddChange(icalcomponent* event, int nLine, CalendarZones& zones, std::string& error)
{
    const auto found = m_series.find(UidOf(event));
    if (found == m_series.end())
    {
        error = "RECURRENCE-ID without a recurring VEVENT of UID \"" + UidOf(event) + "\" in the file";
        return false;
    }
    Series& series = found->second;
    Change change;
    change.nLine = nLine;
    RecurrenceException changed;
    if (!ChangedOccurrenceOfEvent(event, series.schedule, zones, m_nFirstDay, change.occurrence, changed, error))
        return false;
    if (series.changes.changed.size() >= kMaxChanges)
        return (error = "more changed occurrences than a series holds", false);
    if (!series.originals.insert(changed.dwOriginalStartTime).second)
        return (error = "a second change of the same occurrence", false);
    series.changes.changed.push_back(changed);
    series.pending.push_back(std::move(change));
    return true;
}

void SeriesImport::Write(InteropRun& run)
{
    for (auto& entry : m_series)
    {
        Series& series = entry.second;
        if (series.pending.empty())
            continue;
        const bool bWritten = WriteSeriesChanges(m_mapi, series.schedule.sbEntryID, series.changes);
        for (const Change& change : series.pending)
        {
            if (bWritten)
                run.Done(&change.occurrence);
            else
                run.Skip("line " + std::to_string(change.nLine) + ": the changed occurrence cannot be written");
        }
        series.pending.clear();
    }
}
} // namespace mapipim::interop
