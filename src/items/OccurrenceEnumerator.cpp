// Each rule is a sequence of cycles (a day, a week or a month, every interval-th one from the cycle that holds the
// start) with a fixed place for its occurrences in each. The enumerator walks cycle by cycle and skips what lies
// before the start or before the day it was asked to seek to.
#include "items/OccurrenceEnumerator.h"

#include <algorithm>

namespace mapipim
{
namespace
{
constexpr int kLastWeekNumber = 5;

// Weekly cycles hold at most seven occurrences, the others one.
int PositionsPerCycle(RecurrenceRule::Kind kind)
{
    return kind == RecurrenceRule::Kind::Weekly ? kDaysPerWeek : 1;
}

DayNumber FirstDayOfWeekHolding(DayNumber day, int firstDayOfWeek)
{
    return day - static_cast<DayNumber>(FloorMod(WeekdayOf(day) - firstDayOfWeek, kDaysPerWeek));
}

LONG MonthIndexOfDay(DayNumber day)
{
    return MonthIndexOf(CivilDateOf(day));
}
} // namespace

DayNumber LastRecurrenceDay()
{
    static const DayNumber kLast = DayNumberOf(CivilDate{4500, 8, 31});
    return kLast;
}

OccurrenceEnumerator::OccurrenceEnumerator(const RecurrenceRule& rule) : m_rule(rule), m_from(rule.start)
{
    if (m_rule.interval < 1)
        m_rule.interval = 1;
    switch (m_rule.kind)
    {
    case RecurrenceRule::Kind::EveryNDays:
        m_firstCycleStart = m_rule.start;
        break;
    case RecurrenceRule::Kind::Weekly:
        m_firstCycleStart = FirstDayOfWeekHolding(m_rule.start, m_rule.firstDayOfWeek);
        break;
    default:
        m_firstMonth = MonthIndexOfDay(m_rule.start);
        m_firstCycleStart = FirstDayOfMonthIndex(m_firstMonth);
        break;
    }
}

DayNumber OccurrenceEnumerator::CycleStart(LONGLONG cycle) const
{
    switch (m_rule.kind)
    {
    case RecurrenceRule::Kind::EveryNDays:
        return static_cast<DayNumber>(m_firstCycleStart + cycle * m_rule.interval);
    case RecurrenceRule::Kind::Weekly:
        return static_cast<DayNumber>(m_firstCycleStart + cycle * m_rule.interval * kDaysPerWeek);
    default:
        return FirstDayOfMonthIndex(static_cast<LONG>(m_firstMonth + cycle * m_rule.interval));
    }
}

DayNumber OccurrenceEnumerator::NthWeekdayOfMonth(DayNumber firstOfMonth) const
{
    const CivilDate first = CivilDateOf(firstOfMonth);
    const int length = DaysInMonth(first.year, first.month);
    DayNumber found = firstOfMonth;
    int seen = 0;
    for (int offset = 0; offset < length; ++offset)
    {
        const DayNumber day = firstOfMonth + offset;
        if (!(m_rule.dayMask & (1u << WeekdayOf(day))))
            continue;
        found = day;
        if (++seen == m_rule.weekNumber && m_rule.weekNumber < kLastWeekNumber)
            break; // the last ("fifth") keeps the month's last match, however many it has
    }
    return found;
}

bool OccurrenceEnumerator::Candidate(LONGLONG cycle, int position, DayNumber& day) const
{
    const DayNumber cycleStart = CycleStart(cycle);
    switch (m_rule.kind)
    {
    case RecurrenceRule::Kind::EveryNDays:
        day = cycleStart;
        return true;
    case RecurrenceRule::Kind::Weekly:
        day = cycleStart + position;
        return (m_rule.dayMask & (1u << WeekdayOf(day))) != 0;
    case RecurrenceRule::Kind::MonthlyOnDay:
    {
        const CivilDate first = CivilDateOf(cycleStart);
        const int length = DaysInMonth(first.year, first.month);
        day = cycleStart + (m_rule.dayOfMonth < length ? m_rule.dayOfMonth : length) - 1;
        return true;
    }
    case RecurrenceRule::Kind::MonthlyOnNthWeekday:
        day = NthWeekdayOfMonth(cycleStart);
        return true;
    }
    return false;
}

bool OccurrenceEnumerator::Next(DayNumber& day)
{
    const int positions = PositionsPerCycle(m_rule.kind);
    for (;;)
    {
        if (CycleStart(m_cycle) > LastRecurrenceDay())
            return false;
        DayNumber candidate = 0;
        const bool isOccurrence = Candidate(m_cycle, m_position, candidate);
        if (++m_position == positions)
        {
            m_position = 0;
            ++m_cycle;
        }
        if (!isOccurrence || candidate < m_from)
            continue;
        if (candidate > LastRecurrenceDay())
            return false;
        day = candidate;
        return true;
    }
}

LONGLONG OccurrenceEnumerator::CycleHolding(DayNumber day) const
{
    LONGLONG cycle = 0;
    switch (m_rule.kind)
    {
    case RecurrenceRule::Kind::EveryNDays:
        cycle = FloorDiv(static_cast<LONGLONG>(day) - m_firstCycleStart, m_rule.interval);
        break;
    case RecurrenceRule::Kind::Weekly:
        cycle = FloorDiv(static_cast<LONGLONG>(day) - m_firstCycleStart,
                         static_cast<LONGLONG>(m_rule.interval) * kDaysPerWeek);
        break;
    default:
        cycle = FloorDiv(static_cast<LONGLONG>(MonthIndexOfDay(day)) - m_firstMonth, m_rule.interval);
        break;
    }
    return cycle < 0 ? 0 : cycle;
}

int OccurrenceEnumerator::OccurrencesPerCycle() const
{
    if (m_rule.kind != RecurrenceRule::Kind::Weekly)
        return 1;
    int count = 0;
    for (int weekday = 0; weekday < kDaysPerWeek; ++weekday)
        count += (m_rule.dayMask >> weekday) & 1;
    return count;
}

void OccurrenceEnumerator::SeekTo(DayNumber day)
{
    m_from = day > m_rule.start ? day : m_rule.start;
    m_position = 0;
    m_cycle = CycleHolding(m_from);
}

namespace
{
// Walks on while the occurrences lie on or before `last`, taking at most `most` of them; `day` keeps the last.
LONGLONG WalkThrough(OccurrenceEnumerator& dates, DayNumber last, LONGLONG most, DayNumber& day)
{
    LONGLONG count = 0;
    DayNumber next = 0;
    while (count < most && dates.Next(next) && next <= last)
    {
        day = next;
        ++count;
    }
    return count;
}

constexpr LONGLONG kUnbounded = 0x7FFFFFFFFFFFFFFFLL;
} // namespace

LONG CountOccurrencesThrough(const RecurrenceRule& rule, DayNumber last)
{
    OccurrenceEnumerator dates(rule);
    if (last > LastRecurrenceDay())
        last = LastRecurrenceDay();
    if (last < dates.m_rule.start)
        return 0;
    DayNumber day = 0;
    const LONGLONG lastCycle = dates.CycleHolding(last);
    if (lastCycle == 0)
        return static_cast<LONG>(WalkThrough(dates, last, kUnbounded, day));
    // The first cycle from the start, the whole cycles after it, and the last cycle through `last`.
    LONGLONG count = WalkThrough(dates, dates.CycleStart(1) - 1, kUnbounded, day);
    count += (lastCycle - 1) * dates.OccurrencesPerCycle();
    dates.SeekTo(dates.CycleStart(lastCycle));
    count += WalkThrough(dates, last, kUnbounded, day);
    return static_cast<LONG>(count);
}

bool FindNthOccurrence(const RecurrenceRule& rule, LONG n, DayNumber& day, LONG& count)
{
    OccurrenceEnumerator dates(rule);
    count = 0;
    if (n < 1 || rule.start > LastRecurrenceDay())
        return false;
    const LONGLONG limitCycle = dates.CycleHolding(LastRecurrenceDay());
    LONGLONG found = WalkThrough(dates, std::min(dates.CycleStart(1) - 1, LastRecurrenceDay()), n, day);
    const LONGLONG perCycle = dates.OccurrencesPerCycle();
    if (found < n && limitCycle > 0 && perCycle > 0)
    {
        // Skip the whole cycles before the one that holds the n-th occurrence; near the last day a series
        // reaches, walk the last two cycles instead, since the limit may cut the last one short.
        LONGLONG cycle = 1 + (n - found - 1) / perCycle;
        if (cycle > limitCycle - 1)
            cycle = std::max<LONGLONG>(1, limitCycle - 1);
        found += (cycle - 1) * perCycle;
        dates.SeekTo(dates.CycleStart(cycle));
        found += WalkThrough(dates, LastRecurrenceDay(), n - found, day);
    }
    count = static_cast<LONG>(found);
    return found > 0;
}
} // namespace mapipim
