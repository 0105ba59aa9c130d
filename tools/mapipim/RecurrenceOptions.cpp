#include "RecurrenceOptions.h"

#include "DateText.h"
#include "Failure.h"

#include "items/RecurrenceCalendar.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace cli
{
namespace
{
// The pattern's terms, as the recurrence blob counts them.
enum : WORD
{
    kDaily = 0,
    kWeekly = 1,
    kMonthly = 2,
    kYearly = 3,
};

enum : WORD
{
    kDayPattern = 0,
    kWeekPattern = 1,
    kMonthPattern = 2,
    kMonthNthPattern = 3,
};

enum : LONG
{
    kEndByDate = 0,
    kEndAfterCount = 1,
    kNeverEnd = 2,
};

const DWORD kMondayToFriday = 0x3E;
const int kLastWeek = 5; // --nth 5: the last of the month
const long kLongestInterval = 999;

const std::vector<std::string> kRepeats = {"daily", "weekdays", "weekly", "monthly", "yearly"};
const char* const kWeekdayNames[] = {"sunday", "monday", "tuesday", "wednesday", "thursday", "friday", "saturday"};
const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const kOrdinals[] = {"first", "second", "third", "fourth", "last"};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Capitalised(const char* name)
{
    std::string text = name;
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

// 0 Sunday to 6 Saturday from "mon", "Monday", ...; -1 for anything else.
int WeekdayOf(const std::string& text)
{
    const std::string name = Lower(text);
    for (int day = 0; day < 7; ++day)
    {
        const std::string full = kWeekdayNames[day];
        if (name.size() >= 3 && full.compare(0, name.size(), name) == 0)
            return day;
    }
    return -1;
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    size_t begin = 0;
    for (;;)
    {
        const size_t end = text.find(separator, begin);
        parts.push_back(text.substr(begin, end - begin));
        if (end == std::string::npos)
            return parts;
        begin = end + 1;
    }
}

// A whole number in [lowest, highest]; throws UsageFailure naming the option otherwise.
long NumberOf(const std::string& text, const char* option, long lowest, long highest)
{
    size_t used = 0;
    long value = 0;
    try
    {
        value = std::stol(text, &used);
    }
    catch (const std::exception&)
    {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < lowest || value > highest)
        throw UsageFailure(std::string(option) + " takes a whole number from " + std::to_string(lowest) + " to " +
                           std::to_string(highest) + ", not '" + text + "'");
    return value;
}

DWORD WeekdayMask(const std::string& days)
{
    DWORD mask = 0;
    for (const std::string& day : Split(days, ','))
    {
        const int weekday = WeekdayOf(day);
        if (weekday < 0)
            throw UsageFailure("'" + day + "' is no day of the week: expected mon, tue, wed, thu, fri, sat or sun");
        mask |= 1u << weekday;
    }
    return mask;
}

SYSTEMTIME Midnight(int year, int month, int day)
{
    const mapipim::DayNumber number = mapipim::DayNumberOf(mapipim::CivilDate{year, month, day});
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wDayOfWeek = static_cast<WORD>(mapipim::WeekdayOf(number));
    return time;
}

// The first day on or after the start that is the given day of a month (of every month, or of the start's month
// only): the day the blob records as the pattern's day of the month.
SYSTEMTIME FirstMonthDay(const SYSTEMTIME& tmStart, int day, bool bSameMonthOnly)
{
    int year = tmStart.wYear;
    int month = tmStart.wMonth;
    for (int step = 0; step < 12 * 8; ++step)
    {
        if (day <= mapipim::DaysInMonth(year, month) && (step > 0 || day >= tmStart.wDay))
            return Midnight(year, month, day);
        if (bSameMonthOnly)
            year += 1;
        else if (++month > 12)
        {
            month = 1;
            year += 1;
        }
    }
    return Midnight(tmStart.wYear, tmStart.wMonth, tmStart.wDay);
}

std::string DaysText(DWORD mask)
{
    std::string text;
    for (int day = 0; day < 7; ++day)
        if (mask & (1u << day))
            text += (text.empty() ? "" : ", ") + Capitalised(kWeekdayNames[day]);
    return text;
}

std::string EveryText(DWORD count, const char* unit)
{
    return count <= 1 ? std::string("every ") + unit : "every " + std::to_string(count) + " " + unit + "s";
}

std::string NthWeekdayText(const CMAPIRecurring& pattern)
{
    const int nth = pattern.nWeekNumber >= 1 && pattern.nWeekNumber <= kLastWeek ? pattern.nWeekNumber : kLastWeek;
    return std::string("the ") + kOrdinals[nth - 1] + " " + DaysText(pattern.nDayMask);
}

std::string EndText(const CMAPIRecurring& pattern)
{
    if (pattern.nEndType == kEndByDate)
        return " until " + DateText(pattern.tmEndDate);
    if (pattern.nEndType == kEndAfterCount)
        return ", " + std::to_string(pattern.nOccurrenceCount) + " times";
    return std::string();
}
} // namespace

void RecurrenceOptions::AddTo(CLI::App& command, bool bEditing)
{
    const char* group = "Recurrence";
    m_repeat.option = command.add_option("--repeat", m_repeat.value, "daily, weekdays, weekly, monthly or yearly")
                          ->check(CLI::IsMember(kRepeats))
                          ->group(group);
    m_every.option =
        command.add_option("--every", m_every.value, "Every N days, weeks, months or years (default 1)")->group(group);
    m_on.option = command.add_option("--on", m_on.value, "Weekly: the days, such as mon,wed (default: the start's)")
                      ->group(group);
    m_day.option =
        command.add_option("--day", m_day.value, "Monthly, yearly: on this day of the month (1 to 31)")->group(group);
    m_nth.option =
        command.add_option("--nth", m_nth.value, "Monthly, yearly: on the N-th --weekday (1 to 4, 5 the last)")
            ->group(group);
    m_weekday.option =
        command.add_option("--weekday", m_weekday.value, "The day of the week of --nth, such as tue")->group(group);
    m_until.option = command.add_option("--until", m_until.value, "Last day of the series (YYYY-MM-DD)")->group(group);
    m_count.option = command.add_option("--count", m_count.value, "Number of occurrences")->group(group);
    command.add_flag("--forever", m_bForever, "The series never ends (the default)")->group(group);
    if (bEditing)
        command.add_flag("--no-repeat", m_bNoRepeat, "End the recurrence: a single item again")->group(group);
}

bool RecurrenceOptions::AnyGiven() const
{
    return m_repeat.IsGiven() || m_every.IsGiven() || m_on.IsGiven() || m_day.IsGiven() || m_nth.IsGiven() ||
           m_weekday.IsGiven() || m_until.IsGiven() || m_count.IsGiven() || m_bForever || m_bNoRepeat;
}

void RecurrenceOptions::Check(const SYSTEMTIME& tmStart) const
{
    const bool bDetails = m_every.IsGiven() || m_on.IsGiven() || m_day.IsGiven() || m_nth.IsGiven() ||
                          m_weekday.IsGiven() || m_until.IsGiven() || m_count.IsGiven() || m_bForever;
    if (m_bNoRepeat && (m_repeat.IsGiven() || bDetails))
        throw UsageFailure("--no-repeat takes no other recurrence option");
    if (!m_repeat.IsGiven())
    {
        if (bDetails)
            throw UsageFailure("the recurrence options describe a series: give --repeat with them");
        return;
    }
    const std::string& repeat = m_repeat.value;
    if (m_every.IsGiven())
        NumberOf(m_every.value, "--every", 1, repeat == "weekdays" ? 1 : kLongestInterval);
    if (m_on.IsGiven() && repeat != "weekly")
        throw UsageFailure("--on goes with --repeat weekly");
    if (m_on.IsGiven())
        WeekdayMask(m_on.value);
    const bool bMonthDays = repeat == "monthly" || repeat == "yearly";
    if ((m_day.IsGiven() || m_nth.IsGiven() || m_weekday.IsGiven()) && !bMonthDays)
        throw UsageFailure("--day, --nth and --weekday go with --repeat monthly or yearly");
    if (m_day.IsGiven() && (m_nth.IsGiven() || m_weekday.IsGiven()))
        throw UsageFailure("give either --day or --nth with --weekday, not both");
    if (m_nth.IsGiven() != m_weekday.IsGiven())
        throw UsageFailure("--nth and --weekday go together");
    if (m_day.IsGiven())
        NumberOf(m_day.value, "--day", 1, 31);
    if (m_nth.IsGiven())
        NumberOf(m_nth.value, "--nth", 1, kLastWeek);
    if (m_weekday.IsGiven() && WeekdayOf(m_weekday.value) < 0)
        throw UsageFailure("'" + m_weekday.value + "' is no day of the week: expected mon, tue, ... sun");
    if ((m_until.IsGiven() ? 1 : 0) + (m_count.IsGiven() ? 1 : 0) + (m_bForever ? 1 : 0) > 1)
        throw UsageFailure("give one end of the series: --until, --count or --forever");
    if (m_count.IsGiven())
        NumberOf(m_count.value, "--count", 1, 999);
    if (m_until.IsGiven())
    {
        SYSTEMTIME tmUntil;
        if (!ParseDateText(m_until.value, tmUntil) || m_until.value.empty())
            throw UsageFailure("'" + m_until.value + "' is no date: expected YYYY-MM-DD");
        const SYSTEMTIME tmFirst = Midnight(tmStart.wYear, tmStart.wMonth, tmStart.wDay);
        if (DateTimeText(tmUntil) < DateTimeText(tmFirst))
            throw UsageFailure("--until " + m_until.value + " lies before the start " + DateText(tmFirst));
    }
}

bool RecurrenceOptions::ApplyTo(int& bRecurSet, CMAPIRecurring*& lprcRecurring, const SYSTEMTIME& tmStart,
                                bool bStartMoved) const
{
    Check(tmStart);
    if (StopsRepeating())
    {
        bRecurSet = 0;
        delete lprcRecurring;
        lprcRecurring = nullptr;
        return false;
    }
    if (!Repeats())
    {
        // A series moved to another day starts its range there.
        if (bStartMoved && bRecurSet && lprcRecurring)
            lprcRecurring->tmStartDate = Midnight(tmStart.wYear, tmStart.wMonth, tmStart.wDay);
        return false;
    }
    const CMAPIRecurring pattern = Pattern(tmStart);
    bRecurSet = 1;
    if (!lprcRecurring)
        lprcRecurring = new CMAPIRecurring;
    *lprcRecurring = pattern;
    return true;
}

CMAPIRecurring RecurrenceOptions::Pattern(const SYSTEMTIME& tmStart) const
{
    CMAPIRecurring pattern;
    const std::string& repeat = m_repeat.value;
    const DWORD every = m_every.IsGiven() ? static_cast<DWORD>(std::stol(m_every.value)) : 1;
    pattern.tmStartDate = Midnight(tmStart.wYear, tmStart.wMonth, tmStart.wDay);
    pattern.nDayMask = 1u << pattern.tmStartDate.wDayOfWeek;
    if (repeat == "daily")
    {
        pattern.nFrequency = kDaily;
        pattern.nPatternType = kDayPattern;
        pattern.nPeriod = every * mapipim::kMinutesPerDay;
    }
    else if (repeat == "weekdays")
    {
        pattern.nFrequency = kDaily;
        pattern.nPatternType = kWeekPattern;
        pattern.nPeriod = 1;
        pattern.nDayMask = kMondayToFriday;
    }
    else if (repeat == "weekly")
    {
        pattern.nFrequency = kWeekly;
        pattern.nPatternType = kWeekPattern;
        pattern.nPeriod = every;
        if (m_on.IsGiven())
            pattern.nDayMask = WeekdayMask(m_on.value);
    }
    else
    {
        const bool bYearly = repeat == "yearly";
        pattern.nFrequency = bYearly ? kYearly : kMonthly;
        pattern.nPeriod = bYearly ? every * 12 : every;
        if (m_nth.IsGiven())
        {
            pattern.nPatternType = kMonthNthPattern;
            pattern.nWeekNumber = std::stol(m_nth.value);
            pattern.nDayMask = 1u << WeekdayOf(m_weekday.value);
        }
        else
        {
            const int day = m_day.IsGiven() ? std::stoi(m_day.value) : tmStart.wDay;
            pattern.nPatternType = kMonthPattern;
            pattern.tmStartDate = FirstMonthDay(tmStart, day, bYearly);
            pattern.nDayMask = static_cast<DWORD>(day);
        }
    }
    if (m_until.IsGiven())
    {
        pattern.nEndType = kEndByDate;
        ParseDateText(m_until.value, pattern.tmEndDate);
        pattern.tmEndDate.wHour = pattern.tmEndDate.wMinute = pattern.tmEndDate.wSecond = 0;
    }
    else if (m_count.IsGiven())
    {
        pattern.nEndType = kEndAfterCount;
        pattern.nOccurrenceCount = std::stol(m_count.value);
    }
    else
        pattern.nEndType = kNeverEnd;
    return pattern;
}

std::string RecurrenceOptions::Describe(const CMAPIRecurring& pattern)
{
    std::string text;
    if (pattern.nFrequency == kDaily && pattern.nPatternType == kWeekPattern)
        text = "Occurs every weekday";
    else if (pattern.nFrequency == kDaily)
        text = "Occurs " + EveryText(pattern.nPeriod / mapipim::kMinutesPerDay, "day");
    else if (pattern.nFrequency == kWeekly)
        text = "Occurs " + EveryText(pattern.nPeriod, "week") + " on " + DaysText(pattern.nDayMask);
    else if (pattern.nFrequency == kMonthly)
        text = "Occurs " +
               (pattern.nPatternType == kMonthNthPattern ? NthWeekdayText(pattern)
                                                         : "on day " + std::to_string(pattern.nDayMask)) +
               " of " + EveryText(pattern.nPeriod, "month");
    else
    {
        const int month =
            pattern.tmStartDate.wMonth >= 1 && pattern.tmStartDate.wMonth <= 12 ? pattern.tmStartDate.wMonth : 1;
        text = "Occurs " +
               (pattern.nPatternType == kMonthNthPattern
                    ? NthWeekdayText(pattern) + " of " + kMonthNames[month - 1]
                    : std::string("on ") + kMonthNames[month - 1] + " " + std::to_string(pattern.nDayMask)) +
               ", " + EveryText(pattern.nPeriod / 12, "year");
    }
    return text + EndText(pattern);
}
} // namespace cli
