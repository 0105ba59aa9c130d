#include "Occurrences.h"

#include "items/FirstDayOfWeek.h"
#include "items/OccurrenceEnumerator.h"
#include "items/RecurrenceRule.h"

#include <algorithm>

namespace cli
{
namespace
{
using mapipim::DayNumber;

// Minutes since 1601 as a signed count, for comparisons.
LONGLONG Minutes(const SYSTEMTIME& time)
{
    return static_cast<LONGLONG>(mapipim::MinutesOf(time));
}

SYSTEMTIME TimeOfMinutes(LONGLONG minutes)
{
    return mapipim::SystemTimeOfMinutes(static_cast<DWORD>(minutes));
}

// The view: from the first minute of its first day to the end of its last.
struct View
{
    LONGLONG first;
    LONGLONG end;

    bool Overlaps(LONGLONG start, LONGLONG finish) const
    {
        return start < end && (finish > first || (finish == start && start >= first));
    }
};

void AddIfInView(const View& view, const CMAPIScheduleInfo& schedule, LONGLONG start, LONGLONG length, bool recurring,
                 std::vector<Occurrence>& occurrences, const mapipim::RecurrenceException* changed = nullptr)
{
    if (view.Overlaps(start, start + length))
        occurrences.push_back({&schedule, TimeOfMinutes(start), TimeOfMinutes(start + length), recurring, changed});
}

// A changed occurrence may have moved into the view from a day outside it, so each is looked at by its own times.
void AddChanged(const View& view, const CMAPIScheduleInfo& schedule, const SeriesEdits& edits,
                std::vector<Occurrence>& occurrences)
{
    for (const mapipim::RecurrenceException& changed : edits.changed)
    {
        const LONGLONG start = changed.dwStartDateTime;
        const LONGLONG length = std::max<LONGLONG>(0, static_cast<LONGLONG>(changed.dwEndDateTime) - start);
        AddIfInView(view, schedule, start, length, true, occurrences, &changed);
    }
}

// The occurrences of a series in the view, bounded by the series' own end (a last day, or a count); a day whose
// occurrence was deleted or changed still counts towards the count.
void AddSeries(const View& view, const CMAPIScheduleInfo& schedule, const mapipim::RecurrenceRule& rule,
               const SeriesEdits& edits, std::vector<Occurrence>& occurrences)
{
    const CMAPIRecurring& pattern = *schedule.lprcRecurring;
    const LONGLONG start = Minutes(schedule.tzStartTime.tmDateTime);
    const LONGLONG length = std::max<LONGLONG>(0, Minutes(schedule.tzEndTime.tmDateTime) - start);
    const LONGLONG timeOfDay = start % mapipim::kMinutesPerDay;
    DayNumber lastDay = mapipim::LastRecurrenceDay();
    if (pattern.nEndType == 0 && !mapipim::DayNumberOfSystemTime(pattern.tmEndDate, lastDay))
        lastDay = rule.start;
    const DayNumber seek = static_cast<DayNumber>((view.first - length) / mapipim::kMinutesPerDay) - 1;
    const DayNumber lastViewDay = static_cast<DayNumber>((view.end - 1) / mapipim::kMinutesPerDay);

    mapipim::OccurrenceEnumerator dates(rule);
    LONG index = seek > rule.start ? mapipim::CountOccurrencesThrough(rule, seek - 1) : 0;
    dates.SeekTo(seek);
    DayNumber day = 0;
    while (dates.Next(day) && day <= lastViewDay && day <= lastDay)
    {
        if (pattern.nEndType == 1 && ++index > pattern.nOccurrenceCount)
            break;
        if (edits.Misses(day))
            continue;
        AddIfInView(view, schedule, static_cast<LONGLONG>(day) * mapipim::kMinutesPerDay + timeOfDay, length, true,
                    occurrences);
    }
}
} // namespace

CString SubjectOf(const Occurrence& occurrence)
{
    const mapipim::RecurrenceException* changed = occurrence.changed;
    return changed && (changed->wOverrideFlags & mapipim::kOverrideSubject) ? changed->strSubject
                                                                            : occurrence.schedule->strSubject;
}

CString LocationOf(const Occurrence& occurrence)
{
    const mapipim::RecurrenceException* changed = occurrence.changed;
    return changed && (changed->wOverrideFlags & mapipim::kOverrideLocation) ? changed->strLocation
                                                                             : occurrence.schedule->strLocation;
}

bool IsAllDay(const Occurrence& occurrence)
{
    const mapipim::RecurrenceException* changed = occurrence.changed;
    if (changed && (changed->wOverrideFlags & mapipim::kOverrideSubType))
        return changed->dwSubType != 0;
    return occurrence.schedule->bAllday != 0;
}

std::vector<Occurrence> OccurrencesBetween(const RecordArray<CMAPIScheduleInfo>& schedules,
                                           const std::vector<SeriesEdits>& edits, const SYSTEMTIME& firstDay,
                                           const SYSTEMTIME& lastDay)
{
    static const SeriesEdits kNone;
    const View view = {Minutes(firstDay) / mapipim::kMinutesPerDay * mapipim::kMinutesPerDay,
                       (Minutes(lastDay) / mapipim::kMinutesPerDay + 1) * mapipim::kMinutesPerDay};
    const int firstDayOfWeek = GetFirstDayOfWeek();
    std::vector<Occurrence> occurrences;
    for (INT_PTR i = 0; i < schedules.GetSize(); ++i)
    {
        const CMAPIScheduleInfo& schedule = schedules[i];
        mapipim::RecurrenceRule rule;
        if (schedule.bRecurSet && schedule.lprcRecurring &&
            mapipim::CheckPattern(*schedule.lprcRecurring).shape == mapipim::PatternShape::Walkable &&
            mapipim::RecurrenceRuleOf(*schedule.lprcRecurring, firstDayOfWeek, rule))
        {
            const SeriesEdits& changes = static_cast<size_t>(i) < edits.size() ? edits[i] : kNone;
            AddSeries(view, schedule, rule, changes, occurrences);
            AddChanged(view, schedule, changes, occurrences);
            continue;
        }
        const LONGLONG start = Minutes(schedule.tzStartTime.tmDateTime);
        AddIfInView(view, schedule, start, std::max<LONGLONG>(0, Minutes(schedule.tzEndTime.tmDateTime) - start),
                    schedule.bRecurSet != 0, occurrences);
    }
    std::stable_sort(occurrences.begin(), occurrences.end(),
                     [](const Occurrence& a, const Occurrence& b) { return Minutes(a.start) < Minutes(b.start); });
    return occurrences;
}
} // namespace cli
