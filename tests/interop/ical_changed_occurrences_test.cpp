// Changed occurrences of a series through .ics files and back into the store: a weekly series with one occurrence
// moved, one retitled and one deleted, in zones east and west of Greenwich; an all-day series with a changed day;
// ical.js expands the exported series with its changes and agrees with the library's own occurrences; and
// changes the file cannot attach to a series fail one by one with their lines.
#include "ICalendarStoreTest.h"

#include "interop/SeriesChanges.h"
#include "items/MAPIScheduleItem.h"
#include "items/RecurrencePatternBlob.h"
#include "items/ScheduleProperties.h"

#include <algorithm>

using namespace interoptest;
using namespace itemtest;
using namespace mapipim;

namespace
{
constexpr DWORD kDay = kMinutesPerDay;

std::string Lines(const std::string& text, const std::string& start)
{
    std::string found;
    for (size_t pos = text.find("\r\n" + start); pos != std::string::npos; pos = text.find("\r\n" + start, pos + 2))
        found += text.substr(pos + 2, text.find("\r\n", pos + 2) - pos - 2) + "|";
    return found;
}

class ChangedOccurrencesTest : public ICalendarStoreTest
{
protected:
    // A weekly series of ten Mondays from 2026-01-05 at the machine's local times; the pattern as stored.
    CMAPIScheduleInfo CreateWeeklySeries(LPCWSTR szZone, const SYSTEMTIME& start, const SYSTEMTIME& end, bool bAllDay)
    {
        CMAPIScheduleInfo schedule = MakeSchedule("Weekly", start, end, szZone);
        schedule.strLocation = Utf8("Room 1");
        schedule.strContents = Utf8("The agenda");
        schedule.bAllday = bAllDay;
        schedule.bRecurSet = 1;
        schedule.lprcRecurring = new CMAPIRecurring;
        CMAPIRecurring& p = *schedule.lprcRecurring;
        p.nFrequency = 1;
        p.nPatternType = 1;
        p.nPeriod = 1;
        p.nDayMask = 1u << WeekdayOf(DayOf(start));
        p.nEndType = 1;
        p.nOccurrenceCount = 10;
        p.tmStartDate = MakeSystemTime(start.wYear, start.wMonth, start.wDay);
        EXPECT_TRUE(Host().CreateSchedule(&Calendar(), &schedule));
        return schedule;
    }

    static DayNumber DayOf(const SYSTEMTIME& tm) { return DayNumberOf(CivilDate{tm.wYear, tm.wMonth, tm.wDay}); }

    // The blob's own start and end of each occurrence, minutes after its midnight in the series' zone.
    std::pair<DWORD, DWORD> StoredOffsets(SBinary& entryID)
    {
        CMAPIScheduleItem item;
        BlobReader stream;
        EXPECT_TRUE(item.Open(&Session(), entryID));
        EXPECT_TRUE(item.GetPropertyBinary(PidLidAppointmentRecur, stream, MAPIPIM_SET_APPOINTMENT));
        const RecurrencePatternBlob blob = ReadRecurrencePattern(stream);
        return {blob.dwStartTimeOffset, blob.dwEndTimeOffset};
    }

    std::string ExportToText(const char* szName, int nItems)
    {
        CInteropReport report;
        EXPECT_TRUE(Host().ExportICalendar(&Calendar(), Wide(FilePath(szName)), &report));
        EXPECT_EQ(nItems, report.nDone);
        return ReadText(FilePath(szName));
    }

    static void ExpectSameChanges(const interop::SeriesChanges& expected, const interop::SeriesChanges& actual)
    {
        EXPECT_EQ(expected.deleted, actual.deleted);
        ASSERT_EQ(expected.changed.size(), actual.changed.size());
        for (size_t i = 0; i < expected.changed.size(); ++i)
        {
            const RecurrenceException& e = expected.changed[i];
            const RecurrenceException& a = actual.changed[i];
            EXPECT_EQ(e.dwOriginalStartTime, a.dwOriginalStartTime) << i;
            EXPECT_EQ(e.dwStartDateTime, a.dwStartDateTime) << i;
            EXPECT_EQ(e.dwEndDateTime, a.dwEndDateTime) << i;
            EXPECT_EQ(e.wOverrideFlags, a.wOverrideFlags) << i;
            if (e.wOverrideFlags & kOverrideSubject)
                EXPECT_EQ(e.strSubject, a.strSubject) << i;
            if (e.wOverrideFlags & kOverrideLocation)
                EXPECT_EQ(e.strLocation, a.strLocation) << i;
        }
    }
};

struct ZoneCase
{
    const char* name;
    LPCWSTR szKey;
    const char* tzid; // as the file names the zone
};

const ZoneCase kZones[] = {
    {"Machine", _T(""), "W. Europe Standard Time"},
    {"Tokyo", _T("Tokyo Standard Time"), "Tokyo Standard Time"},
    {"LosAngeles", _T("Pacific Standard Time"), "Pacific Standard Time"},
};

class WeeklyChangesTest : public ChangedOccurrencesTest, public ::testing::WithParamInterface<ZoneCase>
{
};

TEST_P(WeeklyChangesTest, MovedRetitledAndDeletedOccurrencesRoundTripAndIcalJsAgrees)
{
    // Noon in Berlin is 20:00 in Tokyo and 03:00 in Los Angeles: the same day everywhere.
    CMAPIScheduleInfo series = CreateWeeklySeries(GetParam().szKey, MakeSystemTime(2026, 1, 5, 12, 0),
                                                  MakeSystemTime(2026, 1, 5, 13, 0), false);
    const auto [dwStartOffset, dwEndOffset] = StoredOffsets(series.sbEntryID);
    const DWORD dwFirstDay = static_cast<DWORD>(DayOf(MakeSystemTime(2026, 1, 5))) * kDay;
    interop::SeriesChanges changes;
    RecurrenceException moved; // the third Monday, to the Tuesday two hours later
    moved.dwOriginalStartTime = dwFirstDay + 14 * kDay + dwStartOffset;
    moved.dwStartDateTime = dwFirstDay + 15 * kDay + dwStartOffset + 120;
    moved.dwEndDateTime = dwFirstDay + 15 * kDay + dwEndOffset + 120;
    RecurrenceException retitled; // the fifth Monday, at its time
    retitled.dwOriginalStartTime = dwFirstDay + 28 * kDay + dwStartOffset;
    retitled.dwStartDateTime = retitled.dwOriginalStartTime;
    retitled.dwEndDateTime = dwFirstDay + 28 * kDay + dwEndOffset;
    retitled.wOverrideFlags = kOverrideSubject | kOverrideLocation | kOverrideBusyStatus;
    retitled.strSubject = Utf8("Retitled \xC3\xBC\xE6\x97\xA5");
    retitled.strLocation = Utf8("Room 2");
    retitled.dwBusyStatus = 3;
    changes.changed = {moved, retitled};
    changes.deleted = {dwFirstDay + 42 * kDay}; // the seventh Monday
    ASSERT_TRUE(interop::WriteSeriesChanges(Session(), series.sbEntryID, changes));
    const interop::SeriesChanges before = interop::ReadSeriesChanges(Session(), series.sbEntryID);
    ExpectSameChanges(changes, before);

    const std::string text = ExportToText("changes.ics", 1);
    const std::string tzid = GetParam().tzid;
    char szOriginal[32];
    const CivilDate third = CivilDateOf(static_cast<DayNumber>(moved.dwOriginalStartTime / kDay));
    snprintf(szOriginal, sizeof szOriginal, "%04d%02d%02dT%02u%02u00", third.year, third.month, third.day,
             dwStartOffset / 60, dwStartOffset % 60);
    EXPECT_NE(std::string::npos, text.find("RECURRENCE-ID;TZID=" + tzid + ":" + szOriginal)) << text;
    const std::string recurrenceIDs = Lines(text, "RECURRENCE-ID");
    const std::string exdates = Lines(text, "EXDATE");
    const std::string uids = Lines(text, "UID:");
    EXPECT_EQ(2, std::count(recurrenceIDs.begin(), recurrenceIDs.end(), '|')) << recurrenceIDs;
    EXPECT_EQ(1, std::count(exdates.begin(), exdates.end(), '|')) << "only the deleted one is excluded: " << exdates;
    const std::string uid = uids.substr(0, uids.find('|') + 1);
    EXPECT_EQ(uid + uid + uid, uids) << "the changes carry the series' UID";
    EXPECT_NE(std::string::npos, Lines(text, "SUMMARY").find("SUMMARY:Retitled"));

    const nlohmann::json oracle = OracleAvailable() ? OracleRead(FilePath("changes.ics")) : nlohmann::json();
    DeleteAll();
    CInteropReport report;
    ASSERT_TRUE(Host().ImportICalendar(&Calendar(), Wide(FilePath("changes.ics")), &report));
    EXPECT_EQ(3, report.nDone); // the series and its two changed occurrences
    const auto after = Schedules();
    ASSERT_EQ(1u, after.size());
    ASSERT_NE(nullptr, after[0]->lprcRecurring);
    ExpectSamePattern(*series.lprcRecurring, *after[0]->lprcRecurring);
    ExpectSameChanges(before, interop::ReadSeriesChanges(Session(), after[0]->sbEntryID));

    if (!oracle.is_array())
        GTEST_SKIP() << "ical.js is not installed (./dev deps)";
    ASSERT_EQ(3u, oracle.size());
    const nlohmann::json& expanded = oracle[0]["occurrences"];
    const DayNumber third_day = static_cast<DayNumber>(moved.dwOriginalStartTime / kDay);
    const std::vector<std::string> library =
        LibraryOccurrences(*after[0]->lprcRecurring, changes.deleted, {{third_day, third_day + 1}});
    ASSERT_EQ(9u, library.size());
    std::vector<std::string> dates;
    for (const auto& occurrence : expanded)
        dates.push_back(occurrence["date"].get<std::string>());
    EXPECT_EQ(library, dates);
    EXPECT_EQ("Weekly", expanded[0]["summary"].get<std::string>());
    EXPECT_EQ("Retitled \xC3\xBC\xE6\x97\xA5", expanded[4]["summary"].get<std::string>());
    EXPECT_EQ(oracle[1]["uid"], oracle[0]["uid"]);
}

INSTANTIATE_TEST_SUITE_P(EastAndWest, WeeklyChangesTest, ::testing::ValuesIn(kZones),
                         [](const ::testing::TestParamInfo<ZoneCase>& info) { return info.param.name; });
TEST_F(ChangedOccurrencesTest, AnAllDaySeriesKeepsAChangedDayAsDates)
{
    CMAPIScheduleInfo series = CreateWeeklySeries(_T(""), MakeSystemTime(2026, 1, 7), MakeSystemTime(2026, 1, 8), true);
    const DWORD dwSecond = static_cast<DWORD>(DayOf(MakeSystemTime(2026, 1, 14))) * kDay;
    interop::SeriesChanges changes;
    RecurrenceException moved; // Wednesday the 14th to Thursday the 15th
    moved.dwOriginalStartTime = dwSecond;
    moved.dwStartDateTime = dwSecond + kDay;
    moved.dwEndDateTime = dwSecond + 2 * kDay;
    changes.changed = {moved};
    ASSERT_TRUE(interop::WriteSeriesChanges(Session(), series.sbEntryID, changes));

    const std::string text = ExportToText("allday.ics", 1);
    EXPECT_NE(std::string::npos, text.find("RECURRENCE-ID;VALUE=DATE:20260114\r\n")) << text;
    EXPECT_NE(std::string::npos, text.find("DTSTART;VALUE=DATE:20260115\r\nDTEND;VALUE=DATE:20260116\r\n")) << text;
    EXPECT_EQ("", Lines(text, "EXDATE"));
    const nlohmann::json oracle = OracleAvailable() ? OracleRead(FilePath("allday.ics")) : nlohmann::json();
    DeleteAll();
    CInteropReport report;
    ASSERT_TRUE(Host().ImportICalendar(&Calendar(), Wide(FilePath("allday.ics")), &report));
    EXPECT_EQ(2, report.nDone);
    const auto after = Schedules();
    ASSERT_EQ(1u, after.size());
    EXPECT_EQ(1, after[0]->bAllday);
    const interop::SeriesChanges read = interop::ReadSeriesChanges(Session(), after[0]->sbEntryID);
    ASSERT_EQ(1u, read.changed.size());
    EXPECT_EQ(moved.dwOriginalStartTime, read.changed[0].dwOriginalStartTime);
    EXPECT_EQ(moved.dwStartDateTime, read.changed[0].dwStartDateTime);
    EXPECT_EQ(moved.dwEndDateTime, read.changed[0].dwEndDateTime);
    EXPECT_TRUE(read.deleted.empty());

    if (!oracle.is_array())
        GTEST_SKIP() << "ical.js is not installed (./dev deps)";
    ASSERT_EQ(2u, oracle.size());
    EXPECT_EQ("2026-01-14", oracle[1]["recurrenceId"].get<std::string>());
    const DayNumber second = static_cast<DayNumber>(dwSecond / kDay);
    std::vector<std::string> dates;
    for (const auto& occurrence : oracle[0]["occurrences"])
        dates.push_back(occurrence["date"].get<std::string>());
    EXPECT_EQ(LibraryOccurrences(*after[0]->lprcRecurring, {}, {{second, second + 1}}), dates);
}

TEST_F(ChangedOccurrencesTest, AChangedBodyIsLeftOutAndADamagedChangeIsSkippedWithItsSeriesKept)
{
    CMAPIScheduleInfo series =
        CreateWeeklySeries(_T(""), MakeSystemTime(2026, 1, 5, 12, 0), MakeSystemTime(2026, 1, 5, 13, 0), false);
    const auto [dwStartOffset, dwEndOffset] = StoredOffsets(series.sbEntryID);
    const DWORD dwFirst = static_cast<DWORD>(DayOf(MakeSystemTime(2026, 1, 5))) * kDay + dwStartOffset;
    RecurrenceException newBody; // the second Monday: its body is in an attachment
    newBody.dwOriginalStartTime = newBody.dwStartDateTime = dwFirst + 7 * kDay;
    newBody.dwEndDateTime = newBody.dwStartDateTime + (dwEndOffset - dwStartOffset);
    newBody.wOverrideFlags = kOverrideExceptionalBody;
    RecurrenceException backwards; // the third Monday, ending before it starts
    backwards.dwOriginalStartTime = backwards.dwStartDateTime = dwFirst + 14 * kDay;
    backwards.dwEndDateTime = backwards.dwStartDateTime - 60;
    ASSERT_TRUE(interop::WriteSeriesChanges(Session(), series.sbEntryID, {{}, {newBody, backwards}}));

    CInteropReport report;
    EXPECT_FALSE(Host().ExportICalendar(&Calendar(), Wide(FilePath("damaged.ics")), &report));
    EXPECT_EQ(1, report.nDone);
    EXPECT_EQ(1, report.nSkipped);
    EXPECT_TRUE(TracedStart("[MAPI] ExportICalendar - " + FilePath("damaged.ics") + " skipped : item " +
                            series.strEntryID.ToUtf8() + ", a changed occurrence: it ends before it starts"));
    const std::string text = ReadText(FilePath("damaged.ics"));
    const std::string descriptions = Lines(text, "DESCRIPTION:The agenda");
    EXPECT_EQ(1, std::count(descriptions.begin(), descriptions.end(), '|')) << "only the series has its body";
    const std::string recurrenceIDs = Lines(text, "RECURRENCE-ID");
    EXPECT_EQ(1, std::count(recurrenceIDs.begin(), recurrenceIDs.end(), '|')) << recurrenceIDs;
}

std::string Change(const std::string& uid, const std::string& recurrenceID, const std::string& summary,
                   const std::string& day = "20260113")
{
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nRECURRENCE-ID:" + recurrenceID + "\r\nDTSTART:" + day +
           "T080000Z\r\nDTEND:" + day + "T090000Z\r\nSUMMARY:" + summary + "\r\nEND:VEVENT\r\n";
}

TEST_F(ChangedOccurrencesTest, ChangesWithoutTheirOccurrenceOrSeriesFailOneByOneWithTheirLines)
{
    const std::string series = "BEGIN:VEVENT\r\nUID:s1\r\nDTSTART:20260105T080000Z\r\nDTEND:20260105T090000Z\r\n"
                               "RRULE:FREQ=WEEKLY;COUNT=5\r\nSUMMARY:series\r\nEND:VEVENT\r\n";
    const std::vector<std::pair<std::string, const char*>> items = {
        {Change("s1", "20260112T080000Z", "moved"), nullptr}, // before its series: still applies
        {series, nullptr},
        {Change("s1", "20260106T080000Z", "a Tuesday"), "RECURRENCE-ID 20260106T080000Z names no occurrence"},
        {Change("s1", "20260209T080000Z", "the sixth"), "RECURRENCE-ID 20260209T080000Z names no occurrence"},
        {Change("s1", "20260119T090000Z", "another hour"), "RECURRENCE-ID 20260119T090000Z names no occurrence"},
        {Change("nothere", "20260112T080000Z", "orphan"),
         "RECURRENCE-ID without a recurring VEVENT of UID \"nothere\""},
        {Change("s1", "20260112T080000Z", "again"), "a second change of the same occurrence"},
        {Change("s1", "20260126T080000Z", "far", "45001229"), "DTSTART names no date"},
    };
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    std::vector<int> lines;
    for (const auto& item : items)
    {
        lines.push_back(static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1);
        text += item.first;
    }
    text += "END:VCALENDAR\r\n";
    const std::string path = FilePath("orphans.ics");
    WriteText(path, text);
    CInteropReport report;
    EXPECT_FALSE(Host().ImportICalendar(&Calendar(), Wide(path), &report));
    EXPECT_EQ(2, report.nDone);
    EXPECT_EQ(6, report.nSkipped);
    for (size_t i = 0; i < items.size(); ++i)
    {
        if (!items[i].second)
            continue;
        const std::string reason = "line " + std::to_string(lines[i]) + ": " + items[i].second;
        EXPECT_TRUE(TracedStart("[MAPI] ImportICalendar - " + path + " skipped : " + reason)) << reason;
    }
    const auto after = Schedules();
    ASSERT_EQ(1u, after.size());
    const interop::SeriesChanges changes = interop::ReadSeriesChanges(Session(), after[0]->sbEntryID);
    ASSERT_EQ(1u, changes.changed.size());
    EXPECT_EQ(CString(_T("moved")), changes.changed[0].strSubject);
    EXPECT_EQ(static_cast<DWORD>(kOverrideSubject), changes.changed[0].wOverrideFlags);
}
} // namespace
