// The recurring series a calendar import creates, by the UID the file gives them, and the changed occurrences the
// file attaches to them (VEVENTs with the same UID and a RECURRENCE-ID, wherever they stand in the file). Changes
// are checked as they come and written into each series' recurrence blob once, after all of them.
#pragma once

#include "interop/CalendarZones.h"
#include "interop/InteropRun.h"
#include "interop/SeriesChanges.h"

#include <mapipim/MAPIScheduleInfo.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace mapipim::interop
{
class SeriesImport
{
public:
    SeriesImport(CMAPIEx& mapi, int nFirstDayOfWeek) : m_mapi(mapi), m_nFirstDay(nFirstDayOfWeek) {}

    // A recurring series the import has created, with the deleted occurrences written with it; the first series of
    // a UID is the one its changes go to.
    void AddSeries(const std::string& uid, const CMAPIScheduleInfo& schedule, const std::vector<DWORD>& deleted);

    // Takes a VEVENT with a RECURRENCE-ID as a change of its series; false with the reason when it is none.
    bool AddChange(icalcomponent* event, int nLine, CalendarZones& zones, std::string& error);

    // Writes every changed series: each change of a series written is done, each of one that could not be written
    // is skipped with its line.
    void Write(InteropRun& run);

private:
    struct Change
    {
        int nLine = 0;
        CMAPIScheduleInfo occurrence; // for the host's progress
    };
    struct Series
    {
        CMAPIScheduleInfo schedule;
        SeriesChanges changes;
        std::set<DWORD> originals; // the original starts already changed
        std::vector<Change> pending;
    };

    CMAPIEx& m_mapi;
    int m_nFirstDay;
    std::map<std::string, Series> m_series;
};
} // namespace mapipim::interop
