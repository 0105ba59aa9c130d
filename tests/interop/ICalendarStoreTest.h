// What the iCalendar store tests share: records made in the test's calendar, the library's own occurrences of a
// stored pattern to compare with ical.js's, and a fixture that exports a calendar, lets ical.js read the file,
// empties the store and imports the file again.
#pragma once

#include "InteropStoreTest.h"
#include "Oracle.h"

#include "items/FirstDayOfWeek.h"
#include "items/OccurrenceEnumerator.h"
#include "items/RecurrenceRule.h"

#include <map>
#include <set>

namespace interoptest
{
using namespace itemtest;
using namespace mapipim;

inline constexpr LONGLONG kUnixEpochTicks = 116'444'736'000'000'000LL;

// The Unix time of a machine-local time, by the platform's own conversion.
inline long long UnixOfLocal(const SYSTEMTIME& local)
{
    SYSTEMTIME utc;
    FILETIME ft;
    EXPECT_TRUE(TzSpecificLocalTimeToSystemTime(NULL, &local, &utc));
    EXPECT_TRUE(SystemTimeToFileTime(&utc, &ft));
    return (static_cast<long long>(FileTimeTicks(ft)) - kUnixEpochTicks) / 10'000'000;
}

inline std::string DateText(DayNumber day)
{
    const CivilDate date = CivilDateOf(day);
    char text[16];
    snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

inline CMAPIScheduleInfo MakeSchedule(const char* szSubject, const SYSTEMTIME& start, const SYSTEMTIME& end,
                                      LPCWSTR szZone)
{
    CMAPIScheduleInfo schedule;
    schedule.strSubject = Utf8(szSubject);
    schedule.tzStartTime.tmDateTime = start;
    schedule.tzEndTime.tmDateTime = end;
    schedule.tzStartTime.strKeyName = szZone;
    schedule.tzEndTime.strKeyName = szZone;
    return schedule;
}

inline void ExpectSamePattern(const CMAPIRecurring& expected, const CMAPIRecurring& actual)
{
    EXPECT_EQ(expected.nFrequency, actual.nFrequency);
    EXPECT_EQ(expected.nPatternType, actual.nPatternType);
    EXPECT_EQ(expected.nPeriod, actual.nPeriod);
    if (expected.nPatternType != 0 && !(expected.nFrequency == 0 && expected.nPatternType == 1))
        EXPECT_EQ(expected.nDayMask, actual.nDayMask);
    if (expected.nPatternType == 3)
        EXPECT_EQ(expected.nWeekNumber, actual.nWeekNumber);
    EXPECT_EQ(expected.nEndType, actual.nEndType);
    if (expected.nEndType == 1)
        EXPECT_EQ(expected.nOccurrenceCount, actual.nOccurrenceCount);
    EXPECT_TRUE(SameTime(expected.tmStartDate, actual.tmStartDate)) << TimeText(actual.tmStartDate);
    EXPECT_EQ(expected.tmEndDate.wYear, actual.tmEndDate.wYear);
    EXPECT_EQ(expected.tmEndDate.wMonth, actual.tmEndDate.wMonth);
    EXPECT_EQ(expected.tmEndDate.wDay, actual.tmEndDate.wDay);
}

// The first occurrences (at most 50) of a stored pattern by the library's own enumerator, deleted ones left out and
// moved ones (original day to new day) on their new days.
inline std::vector<std::string> LibraryOccurrences(const CMAPIRecurring& pattern, const std::vector<DWORD>& deleted,
                                                   const std::map<DayNumber, DayNumber>& moved = {})
{
    RecurrenceRule rule;
    EXPECT_TRUE(RecurrenceRuleOf(pattern, GetFirstDayOfWeek(), rule));
    std::set<DayNumber> excluded;
    for (DWORD minutes : deleted)
        excluded.insert(static_cast<DayNumber>(minutes / kMinutesPerDay));
    DayNumber last = LastRecurrenceDay();
    if (pattern.nEndType == 0)
        EXPECT_TRUE(DayNumberOfSystemTime(pattern.tmEndDate, last));
    OccurrenceEnumerator dates(rule);
    std::vector<std::string> result;
    DayNumber day;
    for (LONG n = 0; result.size() < 50 && dates.Next(day) && day <= last; ++n)
    {
        if (pattern.nEndType == 1 && n >= pattern.nOccurrenceCount)
            break;
        const auto move = moved.find(day);
        if (!excluded.count(day))
            result.push_back(DateText(move == moved.end() ? day : move->second));
    }
    return result;
}

inline std::vector<std::string> Strings(const nlohmann::json& list)
{
    std::vector<std::string> result;
    for (const auto& item : list)
        result.push_back(item.get<std::string>());
    return result;
}

class ICalendarStoreTest : public InteropStoreTest
{
protected:
    // Exports the calendar, checks ical.js reads it, empties the store and imports the file again. The file holds
    // nImported items when it is not nItems (a changed occurrence is an item of the file, not of the store).
    nlohmann::json ExportAndReimport(COutlookFolder& folder, const char* szName, int nItems, int nImported = -1)
    {
        const std::string path = FilePath(szName);
        CInteropReport report;
        EXPECT_TRUE(Host().ExportICalendar(&folder, Wide(path), &report));
        EXPECT_EQ(nItems, report.nDone);
        nlohmann::json oracle;
        if (OracleAvailable())
            oracle = OracleRead(path);
        DeleteAll();
        EXPECT_TRUE(Host().ImportICalendar(&folder, Wide(path), &report));
        EXPECT_EQ(nImported < 0 ? nItems : nImported, report.nDone);
        EXPECT_EQ(0, report.nSkipped);
        return oracle;
    }
};
} // namespace interoptest
