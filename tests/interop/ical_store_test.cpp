// Appointments and tasks through .ics files and back into the store, through the interface object: every field,
// every kind of recurrence with deleted occurrences, zones east and west of Greenwich and one whose rules changed,
// all-day events across a change of the clocks, files ical.js writes, and files that must fail item by item.
// ical.js (tests/oracles) reads every exported file and must agree on the instants and the occurrences.
#include "ICalendarStoreTest.h"

#include "interop/SeriesChanges.h"

#include <set>

using namespace interoptest;
using namespace itemtest;
using namespace mapipim;

namespace
{
TEST_F(ICalendarStoreTest, EveryFieldOfAnAppointmentRoundTrips)
{
    CMAPIScheduleInfo schedule = MakeSchedule("Planning \xED\x9A\x8C\xEC\x9D\x98; with, commas",
                                              MakeSystemTime(2026, 7, 14, 10, 0), MakeSystemTime(2026, 7, 14, 11, 30),
                                              _T("Tokyo Standard Time"));
    schedule.strLocation = Utf8("Room \xE2\x84\x96 7");
    schedule.strContents = Utf8("Agenda:\r\n1. \xF0\x9F\x98\x80 first\r\n2. second; third");
    schedule.nSign = 3;
    schedule.bAlarm = 1;
    schedule.nAlarmMin = 25;
    schedule.nSensitivity = 2;
    schedule.nPriority = 2;
    schedule.strLabel = _T("Work;Blue");
    ASSERT_TRUE(Host().CreateSchedule(&Calendar(), &schedule));
    const std::vector<std::unique_ptr<CMAPIScheduleInfo>> before = Schedules();
    ASSERT_EQ(1u, before.size());

    const nlohmann::json oracle = ExportAndReimport(Calendar(), "one.ics", 1);
    const std::vector<std::unique_ptr<CMAPIScheduleInfo>> after = Schedules();
    ASSERT_EQ(1u, after.size());
    const CMAPIScheduleInfo& a = *before[0];
    const CMAPIScheduleInfo& b = *after[0];
    EXPECT_EQ(a.strSubject, b.strSubject);
    EXPECT_EQ(a.strLocation, b.strLocation);
    EXPECT_EQ(a.strContents, b.strContents);
    EXPECT_TRUE(SameTime(a.tzStartTime.tmDateTime, b.tzStartTime.tmDateTime)) << TimeText(b.tzStartTime.tmDateTime);
    EXPECT_TRUE(SameTime(a.tzEndTime.tmDateTime, b.tzEndTime.tmDateTime)) << TimeText(b.tzEndTime.tmDateTime);
    EXPECT_EQ(CString(_T("Tokyo Standard Time")), b.tzStartTime.strKeyName);
    EXPECT_EQ(CString(_T("Tokyo Standard Time")), b.tzEndTime.strKeyName);
    EXPECT_EQ(a.nSign, b.nSign);
    EXPECT_EQ(1, b.bAlarm);
    EXPECT_EQ(25, b.nAlarmMin);
    EXPECT_EQ(2, b.nSensitivity);
    EXPECT_EQ(2, b.nPriority);
    EXPECT_EQ(a.strLabel, b.strLabel);
    EXPECT_EQ(0, b.bAllday);
    EXPECT_EQ(0, b.bRecurSet);
    if (!oracle.is_array())
        GTEST_SKIP() << "ical.js is not installed (./dev deps)";
    ASSERT_EQ(1u, oracle.size());
    EXPECT_EQ("Tokyo Standard Time", oracle[0]["zone"]);
    EXPECT_EQ(UnixOfLocal(a.tzStartTime.tmDateTime), oracle[0]["startUnix"].get<long long>());
    EXPECT_EQ("2026-07-14T17:00:00", oracle[0]["start"]); // 10:00 in Berlin's summer is 17:00 in Tokyo
}

TEST_F(ICalendarStoreTest, TheFileIsFoldedUtf8WithTheZonesItUses)
{
    CMAPIScheduleInfo schedule = MakeSchedule("x", MakeSystemTime(2026, 1, 8, 9, 0), MakeSystemTime(2026, 1, 8, 10, 0),
                                              _T("Pacific Standard Time"));
    std::string longText;
    for (int i = 0; i < 60; ++i)
        longText += "\xC3\xA9\xE6\x97\xA5"; // é日
    schedule.strContents = Utf8(longText.c_str());
    ASSERT_TRUE(Host().CreateSchedule(&Calendar(), &schedule));
    const std::string path = FilePath("folded.ics");
    ASSERT_TRUE(Host().ExportICalendar(&Calendar(), Wide(path)));
    const std::string text = ReadText(path);
    EXPECT_NE(std::string::npos, text.find("BEGIN:VTIMEZONE\r\nTZID:Pacific Standard Time\r\n"
                                           "X-LIC-LOCATION:America/Los_Angeles\r\n"));
    EXPECT_NE(std::string::npos, text.find("DTSTART;TZID=Pacific Standard Time:20260108T000000"));
    size_t pos = 0;
    while (pos < text.size())
    {
        const size_t end = text.find("\r\n", pos);
        ASSERT_NE(std::string::npos, end);
        const std::string line = text.substr(pos, end - pos);
        EXPECT_LE(line.size(), 75u) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos);
        pos = end + 2;
    }
    // Unfolded, the text is the description again; folding cut no character.
    std::string unfolded;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text.compare(i, 3, "\r\n ") == 0)
            i += 2;
        else
            unfolded += text[i];
    }
    EXPECT_NE(std::string::npos, unfolded.find("DESCRIPTION:" + longText + "\r\n"));
}

struct RecurrenceCase
{
    const char* name;
    WORD nFrequency;
    WORD nPatternType;
    DWORD nPeriod;
    DWORD nDayMask;
    LONG nWeekNumber;
    LONG nEndType;
    LONG nCount;
    SYSTEMTIME start;
    SYSTEMTIME end; // end by date
    bool bOracleReadsIt; // ical.js applies BYSETPOS only with BYDAY
};

const RecurrenceCase kRecurrenceCases[] = {
    {"EveryTwoDaysTenTimes", 0, 0, 2880, 0, 0, 1, 10, MakeSystemTime(2026, 1, 5), {}, true},
    {"EveryWeekdayUntilMarch", 0, 1, 1, 0x3E, 0, 0, 0, MakeSystemTime(2026, 1, 5), MakeSystemTime(2026, 3, 31), true},
    {"EveryOtherWeekMonWedFriForever", 1, 1, 2, 0x2A, 0, 2, 0, MakeSystemTime(2026, 1, 5), {}, true},
    {"MonthlyOnThe15th", 2, 2, 1, 15, 0, 1, 12, MakeSystemTime(2026, 1, 15), {}, true},
    {"MonthlyOnThe31st", 2, 2, 1, 31, 0, 1, 6, MakeSystemTime(2026, 1, 31), {}, false},
    {"MonthlyOnTheLastDay", 2, 4, 1, 0, 0, 1, 5, MakeSystemTime(2026, 1, 31), {}, true},
    {"MonthlySecondTuesday", 2, 3, 1, 0x04, 2, 1, 8, MakeSystemTime(2026, 1, 13), {}, true},
    {"EveryOtherMonthLastFridayForever", 2, 3, 2, 0x20, 5, 2, 0, MakeSystemTime(2026, 1, 30), {}, true},
    {"YearlyOnMarch10thUntil2035", 3, 2, 12, 10, 0, 0, 0, MakeSystemTime(2026, 3, 10), MakeSystemTime(2035, 3, 10),
     true},
    {"YearlyFourthThursdayOfNovember", 3, 3, 12, 0x10, 4, 1, 5, MakeSystemTime(2026, 11, 26), {}, true},
};

class RecurrenceRoundTripTest : public ICalendarStoreTest, public ::testing::WithParamInterface<RecurrenceCase>
{
};

TEST_P(RecurrenceRoundTripTest, PatternAndDeletedOccurrencesRoundTripAndIcalJsAgrees)
{
    const RecurrenceCase& c = GetParam();
    SYSTEMTIME start = c.start;
    start.wHour = 9;
    SYSTEMTIME end = start;
    end.wHour = 10;
    end.wMinute = 15;
    CMAPIScheduleInfo schedule = MakeSchedule(c.name, start, end, _T(""));
    schedule.bRecurSet = 1;
    schedule.lprcRecurring = new CMAPIRecurring;
    CMAPIRecurring& p = *schedule.lprcRecurring;
    p.nFrequency = c.nFrequency;
    p.nPatternType = c.nPatternType;
    p.nPeriod = c.nPeriod;
    p.nDayMask = c.nDayMask;
    p.nWeekNumber = c.nWeekNumber;
    p.nEndType = c.nEndType;
    p.nOccurrenceCount = c.nCount;
    p.tmStartDate = c.start;
    p.tmEndDate = c.end;
    ASSERT_TRUE(Host().CreateSchedule(&Calendar(), &schedule));
    // The second and the fourth occurrences were deleted.
    std::vector<DWORD> deleted;
    {
        RecurrenceRule rule;
        ASSERT_TRUE(RecurrenceRuleOf(p, GetFirstDayOfWeek(), rule));
        OccurrenceEnumerator dates(rule);
        DayNumber day;
        for (int n = 1; n <= 4 && dates.Next(day); ++n)
            if (n == 2 || n == 4)
                deleted.push_back(static_cast<DWORD>(day) * kMinutesPerDay);
        ASSERT_EQ(2u, deleted.size());
    }
    ASSERT_TRUE(interop::WriteSeriesChanges(Session(), schedule.sbEntryID, {deleted, {}}));
    const std::vector<std::unique_ptr<CMAPIScheduleInfo>> before = Schedules();
    ASSERT_EQ(1u, before.size());
    ASSERT_NE(nullptr, before[0]->lprcRecurring);

    const nlohmann::json oracle = ExportAndReimport(Calendar(), "series.ics", 1);
    const std::vector<std::unique_ptr<CMAPIScheduleInfo>> after = Schedules();
    ASSERT_EQ(1u, after.size());
    ASSERT_EQ(1, after[0]->bRecurSet);
    ASSERT_NE(nullptr, after[0]->lprcRecurring);
    ExpectSamePattern(*before[0]->lprcRecurring, *after[0]->lprcRecurring);
    EXPECT_TRUE(SameTime(before[0]->tzStartTime.tmDateTime, after[0]->tzStartTime.tmDateTime));
    EXPECT_EQ(deleted, interop::ReadSeriesChanges(Session(), after[0]->sbEntryID).deleted);

    if (!oracle.is_array())
        GTEST_SKIP() << "ical.js is not installed (./dev deps)";
    ASSERT_EQ(1u, oracle.size());
    EXPECT_EQ(2u, oracle[0]["exdates"].size());
    const std::vector<std::string> library = LibraryOccurrences(*after[0]->lprcRecurring, deleted);
    ASSERT_FALSE(library.empty());
    if (c.bOracleReadsIt)
        EXPECT_EQ(library, Strings(oracle[0]["dates"])) << oracle[0]["rrule"];
    else
        EXPECT_NE(library, Strings(oracle[0]["dates"])) << "ical.js learnt BYSETPOS with BYMONTHDAY: compare it too";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, RecurrenceRoundTripTest, ::testing::ValuesIn(kRecurrenceCases),
                         [](const ::testing::TestParamInfo<RecurrenceCase>& info) { return info.param.name; });

struct ZoneCase
{
    const char* name;
    LPCWSTR szKey;
    SYSTEMTIME start;   // machine-local (Berlin)
    const char* local;  // the same instant in the appointment's zone, as the file must give it
};

const ZoneCase kZoneCases[] = {
    {"TokyoInWinter", _T("Tokyo Standard Time"), MakeSystemTime(2026, 1, 20, 9, 0), "2026-01-20T17:00:00"},
    {"LosAngelesInSummer", _T("Pacific Standard Time"), MakeSystemTime(2026, 7, 1, 18, 0), "2026-07-01T09:00:00"},
    {"LosAngelesBetweenTheChanges", _T("Pacific Standard Time"), MakeSystemTime(2026, 3, 20, 18, 0),
     "2026-03-20T10:00:00"},
    {"MoscowWithSummerTime2010", _T("Russian Standard Time"), MakeSystemTime(2010, 7, 1, 10, 0),
     "2010-07-01T12:00:00"},
    {"MoscowOnPermanentSummerTime2013", _T("Russian Standard Time"), MakeSystemTime(2013, 1, 10, 10, 0),
     "2013-01-10T13:00:00"},
    {"MoscowAfter2014", _T("Russian Standard Time"), MakeSystemTime(2016, 1, 10, 10, 0), "2016-01-10T12:00:00"},
};

class ZoneRoundTripTest : public ICalendarStoreTest, public ::testing::WithParamInterface<ZoneCase>
{
};

TEST_P(ZoneRoundTripTest, TheInstantSurvivesAndIcalJsReadsTheSameInstant)
{
    const ZoneCase& c = GetParam();
    SYSTEMTIME end = c.start;
    end.wHour += 1;
    CMAPIScheduleInfo schedule = MakeSchedule(c.name, c.start, end, c.szKey);
    ASSERT_TRUE(Host().CreateSchedule(&Calendar(), &schedule));
    const nlohmann::json oracle = ExportAndReimport(Calendar(), "zone.ics", 1);
    const std::vector<std::unique_ptr<CMAPIScheduleInfo>> after = Schedules();
    ASSERT_EQ(1u, after.size());
    EXPECT_TRUE(SameTime(c.start, after[0]->tzStartTime.tmDateTime)) << TimeText(after[0]->tzStartTime.tmDateTime);
    EXPECT_EQ(CString(c.szKey), after[0]->tzStartTime.strKeyName);
    if (!oracle.is_array())
        GTEST_SKIP() << "ical.js is not installed (./dev deps)";
    EXPECT_EQ(c.local, oracle[0]["start"].get<std::string>());
    EXPECT_EQ(UnixOfLocal(c.start), oracle[0]["startUnix"].get<long long>());
}

INSTANTIATE_TEST_SUITE_P(EastWestAndChangedRules, ZoneRoundTripTest, ::testing::ValuesIn(kZoneCases),
                         [](const ::testing::TestParamInfo<ZoneCase>& info) { return info.param.name; });

TEST_F(ICalendarStoreTest, AllDayEventsAcrossTheChangeOfTheClocksKeepTheirDates)
{
    // 2026-03-29 is the spring change in Berlin: the event spans it, and a second one lies on the autumn change.
    CMAPIScheduleInfo spring = MakeSchedule("spring", MakeSystemTime(2026, 3, 28), MakeSystemTime(2026, 3, 31), _T(""));
    spring.bAllday = 1;
    CMAPIScheduleInfo autumn = MakeSchedule("autumn", MakeSystemTime(2026, 10, 25), MakeSystemTime(2026, 10, 26), _T(""));
    autumn.bAllday = 1;
    ASSERT_TRUE(Host().CreateSchedule(&Calendar(), &spring));
    ASSERT_TRUE(Host().CreateSchedule(&Calendar(), &autumn));
    const std::string path = FilePath("allday.ics");
    ASSERT_TRUE(Host().ExportICalendar(&Calendar(), Wide(path)));
    const std::string text = ReadText(path);
    EXPECT_NE(std::string::npos, text.find("DTSTART;VALUE=DATE:20260328\r\nDTEND;VALUE=DATE:20260331\r\n"));
    EXPECT_NE(std::string::npos, text.find("DTSTART;VALUE=DATE:20261025\r\nDTEND;VALUE=DATE:20261026\r\n"));
    DeleteAll();
    ASSERT_TRUE(Host().ImportICalendar(&Calendar(), Wide(path)));
    for (const auto& s : Schedules())
    {
        EXPECT_EQ(1, s->bAllday);
        const bool bSpring = s->strSubject == _T("spring");
        EXPECT_TRUE(SameTime(bSpring ? spring.tzStartTime.tmDateTime : autumn.tzStartTime.tmDateTime,
                             s->tzStartTime.tmDateTime))
            << TimeText(s->tzStartTime.tmDateTime);
        EXPECT_TRUE(SameTime(bSpring ? spring.tzEndTime.tmDateTime : autumn.tzEndTime.tmDateTime,
                             s->tzEndTime.tmDateTime))
            << TimeText(s->tzEndTime.tmDateTime);
    }
    if (!OracleAvailable())
        GTEST_SKIP() << "ical.js is not installed (./dev deps)";
    const nlohmann::json oracle = OracleRead(path);
    ASSERT_EQ(2u, oracle.size());
    EXPECT_TRUE(oracle[0]["allDay"].get<bool>());
}

TEST_F(ICalendarStoreTest, EveryFieldOfATaskRoundTrips)
{
    CMAPITodoInfo task;
    task.strSubject = Utf8("Write the report \xE2\x80\x94 draft");
    task.strContents = Utf8("Notes\r\nline two");
    task.nStatus = 1;
    task.nPriority = 0;
    task.dCompleteRate = 40.0;
    task.tmStartTime = MakeSystemTime(2026, 2, 2);
    task.tmEndTime = MakeSystemTime(2026, 2, 20);
    task.bAlarmSet = 1;
    task.tmAlarmTime = MakeSystemTime(2026, 2, 19, 8, 30);
    task.nSensitivity = 3;
    task.strLabel = _T("Home");
    task.bRecurSet = 1;
    task.lprcRecurring = new CMAPIRecurring; // weekly on Monday and Tuesday, never ending
    task.lprcRecurring->tmStartDate = MakeSystemTime(2026, 2, 2);
    ASSERT_TRUE(Host().CreateTodo(&Tasks(), &task));
    CMAPITodoInfo done;
    done.strSubject = _T("Finished");
    done.dCompleteRate = 100.0;
    done.nStatus = 2;
    done.tmCompleteTime = MakeSystemTime(2026, 1, 30, 16, 45);
    ASSERT_TRUE(Host().CreateTodo(&Tasks(), &done));
    CMAPITodoInfo waiting;
    waiting.strSubject = _T("Waiting on someone else");
    waiting.nStatus = 3;
    ASSERT_TRUE(Host().CreateTodo(&Tasks(), &waiting));
    const auto before = Todos();
    ASSERT_EQ(3u, before.size());

    const nlohmann::json oracle = ExportAndReimport(Tasks(), "tasks.ics", 3);
    const auto after = Todos();
    ASSERT_EQ(3u, after.size());
    for (const auto& a : before)
    {
        const CMAPITodoInfo* b = nullptr;
        for (const auto& candidate : after)
            if (candidate->strSubject == a->strSubject)
                b = candidate.get();
        ASSERT_NE(nullptr, b) << a->strSubject;
        EXPECT_EQ(a->strContents, b->strContents);
        EXPECT_EQ(a->nStatus, b->nStatus);
        EXPECT_EQ(a->nPriority, b->nPriority);
        EXPECT_EQ(a->dCompleteRate, b->dCompleteRate);
        EXPECT_EQ(a->tmStartTime.wYear, b->tmStartTime.wYear);
        EXPECT_TRUE(a->tmStartTime.wYear == 0 || SameTime(a->tmStartTime, b->tmStartTime));
        EXPECT_TRUE(a->tmEndTime.wYear == 0 || SameTime(a->tmEndTime, b->tmEndTime));
        EXPECT_EQ(a->bAlarmSet, b->bAlarmSet);
        if (a->bAlarmSet)
            EXPECT_TRUE(SameTime(a->tmAlarmTime, b->tmAlarmTime)) << TimeText(b->tmAlarmTime);
        if (a->dCompleteRate == 100.0)
            EXPECT_TRUE(SameTime(a->tmCompleteTime, b->tmCompleteTime)) << TimeText(b->tmCompleteTime);
        EXPECT_EQ(a->nSensitivity, b->nSensitivity);
        EXPECT_EQ(a->strLabel, b->strLabel);
        EXPECT_EQ(a->bRecurSet, b->bRecurSet);
        if (a->bRecurSet)
        {
            ASSERT_NE(nullptr, b->lprcRecurring);
            ExpectSamePattern(*a->lprcRecurring, *b->lprcRecurring);
        }
    }
    if (!oracle.is_array())
        GTEST_SKIP() << "ical.js is not installed (./dev deps)";
    ASSERT_EQ(3u, oracle.size());
    for (const auto& item : oracle)
        if (!item["rrule"].is_null())
        {
            const std::vector<std::string> dates = Strings(item["dates"]);
            ASSERT_EQ(50u, dates.size());
            EXPECT_EQ("2026-02-02", dates[0]);
            EXPECT_EQ("2026-02-03", dates[1]);
            EXPECT_EQ("2026-02-09", dates[2]);
        }
}

TEST_F(ICalendarStoreTest, OneItemExportsByItsEntryIdentifier)
{
    CMAPIScheduleInfo schedule = MakeSchedule("alone", MakeSystemTime(2026, 5, 5, 9, 0), MakeSystemTime(2026, 5, 5, 9, 30),
                                              _T(""));
    ASSERT_TRUE(Host().CreateSchedule(&Calendar(), &schedule));
    CMAPIScheduleInfo other = MakeSchedule("other", MakeSystemTime(2026, 5, 6, 9, 0), MakeSystemTime(2026, 5, 6, 9, 30),
                                           _T(""));
    ASSERT_TRUE(Host().CreateSchedule(&Calendar(), &other));
    const std::string path = FilePath("alone.ics");
    ASSERT_TRUE(Host().ExportICalendar(schedule.sbEntryID, Wide(path)));
    std::string text = ReadText(path);
    for (size_t at; (at = text.find("\r\n ")) != std::string::npos;)
        text.erase(at, 3);
    EXPECT_NE(std::string::npos, text.find("SUMMARY:alone"));
    EXPECT_EQ(std::string::npos, text.find("SUMMARY:other"));
    EXPECT_NE(std::string::npos, text.find("UID:" + schedule.strEntryID.ToUtf8() + "@mapipim")) << text;

    CMAPIContactInfo contact;
    contact.strFirstName = _T("Not");
    contact.strLastName = _T("Calendar");
    ASSERT_TRUE(Host().CreateContact(&Contacts(), &contact));
    EXPECT_FALSE(Host().ExportICalendar(contact.sbEntryID, Wide(FilePath("contact.ics"))));
    EXPECT_TRUE(Traced(Wide("[MAPI] ExportICalendar failed : " + FilePath("contact.ics") +
                            " - the item is no appointment or task")));
}

TEST_F(ICalendarStoreTest, ImportsWhatIcalJsWrites)
{
    if (!OracleAvailable())
        GTEST_SKIP() << "ical.js is not installed (./dev deps)";
    const std::string path = FilePath("from-icaljs.ics");
    RunOracle("--write-ics '" + path + "'");
    CInteropReport report;
    ASSERT_TRUE(Host().ImportICalendar(&Calendar(), Wide(path), &report));
    EXPECT_EQ(3, report.nDone); // the series, its moved occurrence and the task
    auto schedules = Schedules(); // the folder's task lists as an appointment too
    schedules.erase(std::remove_if(schedules.begin(), schedules.end(),
                                   [](const auto& s) { return s->strSubject == _T("A task from ical.js"); }),
                    schedules.end());
    ASSERT_EQ(1u, schedules.size());
    EXPECT_EQ(Utf8("Written by ical.js; with, punctuation"), schedules[0]->strSubject);
    SYSTEMTIME expected = MakeSystemTime(2026, 3, 2, 10, 30); // 09:30 UTC in Berlin's winter
    EXPECT_TRUE(SameTime(expected, schedules[0]->tzStartTime.tmDateTime)) << TimeText(schedules[0]->tzStartTime.tmDateTime);
    ASSERT_NE(nullptr, schedules[0]->lprcRecurring);
    EXPECT_EQ(1, schedules[0]->lprcRecurring->nFrequency);
    EXPECT_EQ(0x0Au, schedules[0]->lprcRecurring->nDayMask); // Monday and Wednesday
    EXPECT_EQ(6, schedules[0]->lprcRecurring->nOccurrenceCount);
    // The Wednesday 2026-03-04 10:30 (Berlin) moved to Thursday 15:00, retitled.
    const interop::SeriesChanges changes = interop::ReadSeriesChanges(Session(), schedules[0]->sbEntryID);
    ASSERT_EQ(1u, changes.changed.size());
    const DWORD dwWednesday = static_cast<DWORD>(DayNumberOf(CivilDate{2026, 3, 4})) * kMinutesPerDay;
    EXPECT_EQ(dwWednesday + 10 * 60 + 30, changes.changed[0].dwOriginalStartTime);
    EXPECT_EQ(dwWednesday + kMinutesPerDay + 15 * 60, changes.changed[0].dwStartDateTime);
    EXPECT_EQ(Utf8("Moved by ical.js"), changes.changed[0].strSubject);
    EXPECT_TRUE(changes.deleted.empty());
    // The task went into the calendar folder the host named.
    CArray<CMAPITodoInfo*, CMAPITodoInfo*> tasks;
    ASSERT_TRUE(Host().GetTodo(&Calendar(), tasks, 0x7));
    bool bFound = false;
    for (INT_PTR i = 0; i < tasks.GetSize(); ++i)
    {
        if (tasks[i]->strSubject == _T("A task from ical.js"))
        {
            bFound = true;
            EXPECT_EQ(40.0, tasks[i]->dCompleteRate);
            EXPECT_EQ(1, tasks[i]->nStatus);
            EXPECT_EQ(2026, tasks[i]->tmEndTime.wYear);
            EXPECT_EQ(4, tasks[i]->tmEndTime.wMonth);
        }
        delete tasks[i];
    }
    EXPECT_TRUE(bFound);
}

std::string Event(const std::string& summary, const std::string& extra = "")
{
    return "BEGIN:VEVENT\r\nUID:" + summary + "\r\nDTSTART:20260601T080000Z\r\nDTEND:20260601T090000Z\r\nSUMMARY:" +
           summary + "\r\n" + extra + "END:VEVENT\r\n";
}

TEST_F(ICalendarStoreTest, HostileItemsFailOneByOneWithTheirLines)
{
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"; // lines 1-2
    text += Event("first");                                  // 3-8
    text += "BEGIN:VEVENT\r\nSUMMARY:unterminated\r\n";       // 9-10, never closed
    text += Event("huge", "DESCRIPTION:" + std::string(10u << 20, 'x') + "\r\n"); // 11-17
    text += Event("count", "RRULE:FREQ=DAILY;COUNT=2147483648\r\n");            // 18-24
    std::string days = "RRULE:FREQ=WEEKLY;BYDAY=MO";
    for (int i = 1; i < 1000; ++i)
        days += ",MO";
    text += Event("byday", days + "\r\n");                                     // 25-31
    text += "BEGIN:VEVENT\r\nDTSTART;TZID=Nowhere/Atlantis:20260601T080000\r\nSUMMARY:zone\r\nEND:VEVENT\r\n"; // 32-35
    text += Event("utf8", "LOCATION:\xC3\x28\xFF\r\n");                        // 36-42
    text += Event("last");                                                     // 43-48
    text += "END:VCALENDAR\r\n";
    const std::string path = FilePath("hostile.ics");
    WriteText(path, text);
    CInteropReport report;
    EXPECT_FALSE(Host().ImportICalendar(&Calendar(), Wide(path), &report));
    EXPECT_EQ(2, report.nDone);
    EXPECT_EQ(6, report.nSkipped);
    const auto schedules = Schedules();
    std::set<std::string> subjects;
    for (const auto& s : schedules)
        subjects.insert(s->strSubject.ToUtf8());
    EXPECT_EQ((std::set<std::string>{"first", "last"}), subjects);
    for (int nLine : {9, 11, 18, 25, 32, 36})
    {
        bool bFound = false;
        for (INT_PTR i = 0; i < report.arrReasons.GetSize(); ++i)
            bFound |= report.arrReasons[i].Find(Wide("line " + std::to_string(nLine) + ":")) == 0;
        EXPECT_TRUE(bFound) << "no reason for the item at line " << nLine;
        EXPECT_TRUE(TracedStart("[MAPI] ImportICalendar - " + path + " skipped : line " + std::to_string(nLine) + ":"))
            << nLine;
    }
}

TEST_F(ICalendarStoreTest, TimesBeyondTheYearsARecordHoldsFailTheirItemOnly)
{
    auto task = [](const std::string& summary, const std::string& extra)
    { return "BEGIN:VTODO\r\nSUMMARY:" + summary + "\r\nDUE;VALUE=DATE:20260220\r\n" + extra + "END:VTODO\r\n"; };
    const std::string text =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" +                                                      // 1-2
        task("far", "BEGIN:VALARM\r\nTRIGGER;VALUE=DATE-TIME:20269210T073000Z\r\nEND:VALARM\r\n") + // 3-9
        task("late", "COMPLETED:99991231T000000Z\r\nBEGIN:VALARM\r\nTRIGGER;VALUE=DATE-TIME:99991231T000000Z\r\n"
                     "END:VALARM\r\n") + // 10-17
        "END:VCALENDAR\r\n";
    const std::string path = FilePath("far.ics");
    WriteText(path, text);
    CInteropReport report;
    EXPECT_FALSE(Host().ImportICalendar(&Tasks(), Wide(path), &report));
    EXPECT_EQ(1, report.nDone);
    EXPECT_EQ(1, report.nSkipped);
    ASSERT_EQ(1, report.arrReasons.GetSize());
    EXPECT_EQ(0, report.arrReasons[0].Find(Wide("line 3:"))) << report.arrReasons[0].ToUtf8();
    EXPECT_NE(-1, report.arrReasons[0].Find(Wide("outside the years"))) << report.arrReasons[0].ToUtf8();
    const auto todos = Todos();
    ASSERT_EQ(1u, todos.size());
    EXPECT_EQ("late", todos[0]->strSubject.ToUtf8());
    EXPECT_EQ(9999, todos[0]->tmAlarmTime.wYear) << "a far time that a record holds is kept";
}

TEST_F(ICalendarStoreTest, AHugeCountIsCutAtTheLastDayOutlookShows)
{
    const std::string path = FilePath("count.ics");
    WriteText(path, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + Event("many", "RRULE:FREQ=DAILY;COUNT=2147483647\r\n") +
                        "END:VCALENDAR\r\n");
    ASSERT_TRUE(Host().ImportICalendar(&Calendar(), Wide(path)));
    const auto schedules = Schedules();
    ASSERT_EQ(1u, schedules.size());
    ASSERT_NE(nullptr, schedules[0]->lprcRecurring);
    EXPECT_LE(schedules[0]->lprcRecurring->tmEndDate.wYear, 4500);
}

TEST_F(ICalendarStoreTest, AFileThatCannotBeReadFailsWhole)
{
    CInteropReport report;
    EXPECT_FALSE(Host().ImportICalendar(&Calendar(), Wide(FilePath("missing.ics")), &report));
    EXPECT_TRUE(Traced(Wide("[MAPI] ImportICalendar failed : " + FilePath("missing.ics") +
                            " - the file cannot be opened")));
    EXPECT_FALSE(Host().ImportICalendar(nullptr, Wide(FilePath("missing.ics"))));
}

TEST_F(ICalendarStoreTest, ProgressIsCancelledBetweenItems)
{
    const std::string path = FilePath("two.ics");
    WriteText(path, "BEGIN:VCALENDAR\r\n" + Event("a") + Event("b") + "END:VCALENDAR\r\n");
    CMAPIInterface::SetCancel(1);
    EXPECT_FALSE(Host().ImportICalendar(&Calendar(), Wide(path)));
    CMAPIInterface::SetCancel(0);
    EXPECT_TRUE(Schedules().empty());
}
} // namespace
