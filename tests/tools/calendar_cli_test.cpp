// calendar add, show, list, edit and delete, run as a user runs them in a zone with daylight saving: every option
// read back, series expanded into the right days across a change of the clocks, and bad input refused with its
// exit status and nothing written.
#include "tools/CliTest.h"

#include "support/ScopedEnvironment.h"

#include <mapipim/MAPIInterface.h>
#include <mapipim/SBinaryUtils.h>

using nlohmann::json;

namespace
{
class CalendarCliTest : public CliTest
{
protected:
    // calendar add with the options; returns the new entry identifier, whole.
    std::string AddAppointment(const std::vector<std::string>& options)
    {
        std::vector<std::string> arguments = {"--full-ids", "calendar", "add"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const clitest::CliResult result = Run(arguments);
        EXPECT_EQ(result.status, 0) << result.err;
        return result.out.substr(0, result.out.find('\n'));
    }

    json Show(const std::string& id) { return RunJson({"calendar", "show", id}); }

    // The start of each occurrence the view lists.
    std::vector<std::string> Starts(const std::string& from, const std::string& to)
    {
        const json list = RunJson({"calendar", "list", "--from", from, "--to", to});
        std::vector<std::string> starts;
        for (const json& occurrence : list["occurrences"])
            starts.push_back(occurrence["start"].get<std::string>());
        return starts;
    }

    void ExpectRefused(const std::vector<std::string>& arguments, int status, const std::string& message)
    {
        const clitest::CliResult result = Run(arguments);
        EXPECT_EQ(result.status, status) << result.err;
        EXPECT_EQ(LineCount(result.err), 1) << result.err;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }

    ScopedTz m_zone{"Europe/Berlin"};
};

TEST_F(CalendarCliTest, AddWritesEveryOptionAndShowReadsItBack)
{
    Cli().WriteFile("agenda.txt", "1. Budget");
    const std::string id = AddAppointment({"--subject",     "Planung 😀 회의",
                                           "--start",       "2010-07-14T10:00",
                                           "--end",         "2010-07-14T11:30",
                                           "--location",    "Raum Süd",
                                           "--busy",        "tentative",
                                           "--reminder",    "10",
                                           "--zone",        "Tokyo Standard Time",
                                           "--category",    "Work",
                                           "--category",    "Projekt",
                                           "--sensitivity", "private",
                                           "--notes",       "Line one\nLine two",
                                           "--attach",      Cli().PathOf("agenda.txt")});
    ASSERT_GT(id.size(), 8u);

    const json schedule = Show(id);
    EXPECT_EQ(schedule["strEntryID"], id);
    EXPECT_EQ(schedule["strSubject"], "Planung 😀 회의");
    EXPECT_EQ(schedule["tzStartTime"]["tmDateTime"], "2010-07-14T10:00:00");
    EXPECT_EQ(schedule["tzEndTime"]["tmDateTime"], "2010-07-14T11:30:00");
    EXPECT_EQ(schedule["tzStartTime"]["strKeyName"], "Tokyo Standard Time");
    EXPECT_EQ(schedule["tzStartTime"]["nBias"], -540);
    EXPECT_EQ(schedule["tzEndTime"]["strKeyName"], "Tokyo Standard Time");
    EXPECT_EQ(schedule["strLocation"], "Raum Süd");
    EXPECT_EQ(schedule["nSign"], 1);
    EXPECT_EQ(schedule["busy"], "tentative");
    EXPECT_EQ(schedule["bAlarm"], true);
    EXPECT_EQ(schedule["nAlarmMin"], 10);
    EXPECT_EQ(schedule["strLabel"], "Work,;Projekt");
    EXPECT_EQ(schedule["nSensitivity"], 2);
    EXPECT_NE(schedule["strContents"].get<std::string>().find("Line two"), std::string::npos);
    EXPECT_EQ(schedule["nAttachCount"], 1);
    EXPECT_EQ(schedule["strAttachFile"], "agenda.txt");
    EXPECT_EQ(schedule["bAllday"], false);
    EXPECT_EQ(schedule["bRecurSet"], false);
    EXPECT_TRUE(schedule["lprcRecurring"].is_null());

    const clitest::CliResult text = Run({"calendar", "show", id});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("2010-07-14 10:00"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("10 minutes before"), std::string::npos) << text.out;
}

TEST_F(CalendarCliTest, AnyHostReadsTheSeriesTheCommandWrote)
{
    const std::string id = AddAppointment({"--subject", "Jour fixe", "--start", "2010-03-17T10:00", "--repeat",
                                           "weekly", "--on", "wed,fri", "--count", "5"});
    CMAPIInterface mapi;
    CMAPIScheduleInfo schedule;
    ASSERT_TRUE(GetStringToSBinary(schedule.sbEntryID, CString::FromUtf8(id.c_str())));
    ASSERT_TRUE(mapi.GetSchedule(&schedule, 0x7));
    EXPECT_EQ(1, schedule.bRecurSet);
    ASSERT_NE(nullptr, schedule.lprcRecurring);
    EXPECT_EQ(1, schedule.lprcRecurring->nFrequency);
    EXPECT_EQ(0x28u, schedule.lprcRecurring->nDayMask);
    EXPECT_EQ(1, schedule.lprcRecurring->nEndType);
    EXPECT_EQ(5, schedule.lprcRecurring->nOccurrenceCount);
    // Wednesday 17, Friday 19, Wednesday 24, Friday 26, Wednesday 31 March.
    EXPECT_EQ(31, schedule.lprcRecurring->tmEndDate.wDay);
    EXPECT_EQ(CString::FromUtf8("Occurs every week on Wednesday, Friday, 5 times"), schedule.strRecurDisplay);
    EXPECT_EQ(10, schedule.tzEndTime.tmDateTime.wHour);
    EXPECT_EQ(30, schedule.tzEndTime.tmDateTime.wMinute) << "half an hour by default";
}

TEST_F(CalendarCliTest, AWeeklySeriesKeepsItsHourAcrossTheChangeOfTheClocks)
{
    // Berlin moves its clocks on 28 March 2010.
    const std::string id = AddAppointment({"--subject", "Weekly", "--start", "2010-03-17T10:00", "--end",
                                           "2010-03-17T11:00", "--repeat", "weekly", "--until", "2010-04-30"});
    EXPECT_EQ(Starts("2010-03-15", "2010-04-15"),
              (std::vector<std::string>{"2010-03-17T10:00:00", "2010-03-24T10:00:00", "2010-03-31T10:00:00",
                                        "2010-04-07T10:00:00", "2010-04-14T10:00:00"}));
    EXPECT_EQ(Starts("2010-04-20", "2010-05-31"),
              (std::vector<std::string>{"2010-04-21T10:00:00", "2010-04-28T10:00:00"}))
        << "the series ends with April";

    const json list = RunJson({"calendar", "list", "--from", "2010-03-20", "--to", "2010-03-26"});
    ASSERT_EQ(list["occurrences"].size(), 1u);
    const json& occurrence = list["occurrences"][0];
    EXPECT_EQ(occurrence["strEntryID"], id);
    EXPECT_EQ(occurrence["end"], "2010-03-24T11:00:00");
    EXPECT_EQ(occurrence["strSubject"], "Weekly");
    EXPECT_EQ(occurrence["recurring"], true);
    EXPECT_EQ(list["folder"]["path"], "Calendar");

    const clitest::CliResult text =
        Run({"--full-ids", "calendar", "list", "--from", "2010-03-20", "--to", "2010-04-03"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(LineCount(text.out), 2);
    EXPECT_NE(text.out.find("2010-03-31 10:00 - 2010-03-31 11:00  Weekly  [recurring]  " + id), std::string::npos)
        << text.out;
}

TEST_F(CalendarCliTest, ViewsMixSingleAllDayAndMonthlyAppointmentsInOrder)
{
    AddAppointment({"--subject", "Single", "--start", "2010-06-08T09:00"});
    AddAppointment({"--subject", "Holiday", "--start", "2010-06-07", "--end", "2010-06-08", "--all-day"});
    AddAppointment({"--subject", "Second Tuesday", "--start", "2010-01-12T15:00", "--repeat", "monthly", "--nth", "2",
                    "--weekday", "tue"});
    AddAppointment({"--subject", "Every other day", "--start", "2010-06-01T07:00", "--repeat", "daily", "--every", "2",
                    "--forever"});
    const json list = RunJson({"calendar", "list", "--from", "2010-06-07", "--to", "2010-06-09"});
    std::vector<std::string> seen;
    for (const json& occurrence : list["occurrences"])
        seen.push_back(occurrence["start"].get<std::string>() + " " + occurrence["strSubject"].get<std::string>());
    EXPECT_EQ(seen, (std::vector<std::string>{"2010-06-07T00:00:00 Holiday", "2010-06-07T07:00:00 Every other day",
                                              "2010-06-08T09:00:00 Single", "2010-06-08T15:00:00 Second Tuesday",
                                              "2010-06-09T07:00:00 Every other day"}));
    EXPECT_EQ(list["occurrences"][0]["end"], "2010-06-09T00:00:00") << "the all-day event covers two days";
    EXPECT_EQ(list["occurrences"][0]["bAllday"], true);

    const clitest::CliResult text = Run({"calendar", "list", "--from", "2010-06-07", "--to", "2010-06-07"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("2010-06-07 - 2010-06-08  Holiday  [all day]"), std::string::npos)
        << "an all-day event shows its last day: " << text.out;

    // Without a view every appointment is listed once.
    const json all = RunJson({"calendar", "list"});
    EXPECT_EQ(all["appointments"].size(), 4u);
}

TEST_F(CalendarCliTest, ViewsLeaveOutDeletedOccurrencesAndShowChangedOnesWhereTheyMoved)
{
    // Four Monday meetings: the second deleted, the third moved to the Wednesday afternoon and renamed.
    Cli().WriteFile("series.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                                  "BEGIN:VEVENT\r\nUID:standup-1\r\nDTSTART:20260302T090000Z\r\n"
                                  "DTEND:20260302T100000Z\r\nRRULE:FREQ=WEEKLY;COUNT=4\r\n"
                                  "EXDATE:20260309T090000Z\r\nSUMMARY:Standup\r\nEND:VEVENT\r\n"
                                  "BEGIN:VEVENT\r\nUID:standup-1\r\nRECURRENCE-ID:20260316T090000Z\r\n"
                                  "DTSTART:20260318T140000Z\r\nDTEND:20260318T150000Z\r\n"
                                  "SUMMARY:Standup moved\r\nLOCATION:Room 2\r\nEND:VEVENT\r\n"
                                  "END:VCALENDAR\r\n");
    const clitest::CliResult imported = Run({"import", Cli().PathOf("series.ics")});
    ASSERT_EQ(imported.status, 0) << imported.err;

    const json month = RunJson({"calendar", "list", "--from", "2026-03-01", "--to", "2026-03-31"});
    std::vector<std::string> seen;
    for (const json& occurrence : month["occurrences"])
        seen.push_back(occurrence["start"].get<std::string>().substr(0, 10) + " " +
                       occurrence["strSubject"].get<std::string>() + (occurrence["changed"] ? " (changed)" : ""));
    EXPECT_EQ(seen, (std::vector<std::string>{"2026-03-02 Standup", "2026-03-18 Standup moved (changed)",
                                              "2026-03-23 Standup"}));

    // The moved occurrence shows in a view of its new day only, though its original Monday lies outside it.
    const json wednesday = RunJson({"calendar", "list", "--from", "2026-03-18", "--to", "2026-03-18"});
    ASSERT_EQ(wednesday["occurrences"].size(), 1u) << wednesday.dump();
    EXPECT_EQ(wednesday["occurrences"][0]["strLocation"], "Room 2");
    EXPECT_EQ(wednesday["occurrences"][0]["start"], "2026-03-18T15:00:00") << "14:00 UTC is 15:00 in Berlin";
    EXPECT_TRUE(RunJson({"calendar", "list", "--from", "2026-03-16", "--to", "2026-03-16"})["occurrences"].empty());

    const clitest::CliResult text = Run({"calendar", "list", "--from", "2026-03-18", "--to", "2026-03-18"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("2026-03-18 15:00 - 2026-03-18 16:00  Standup moved @ Room 2  [recurring]"),
              std::string::npos)
        << text.out;
}

TEST_F(CalendarCliTest, EditChangesWhatIsGivenAndDeleteRemovesOrMoves)
{
    const std::string id = AddAppointment(
        {"--subject", "Before", "--start", "2010-07-14T10:00", "--end", "2010-07-14T12:00", "--repeat", "daily"});
    ASSERT_EQ(Run({"calendar", "edit", id, "--subject", "After", "--start", "2010-07-15T09:00", "--no-repeat",
                   "--no-reminder"})
                  .status,
              0);
    json schedule = Show(id);
    EXPECT_EQ(schedule["strSubject"], "After");
    EXPECT_EQ(schedule["tzStartTime"]["tmDateTime"], "2010-07-15T09:00:00");
    EXPECT_EQ(schedule["tzEndTime"]["tmDateTime"], "2010-07-15T11:00:00") << "the end moves with the start";
    EXPECT_EQ(schedule["bRecurSet"], false);
    EXPECT_TRUE(schedule["lprcRecurring"].is_null());
    EXPECT_EQ(schedule["bAlarm"], false);

    ASSERT_EQ(Run({"calendar", "edit", id, "--repeat", "yearly"}).status, 0);
    schedule = Show(id);
    EXPECT_EQ(schedule["lprcRecurring"]["nFrequency"], 3);
    EXPECT_EQ(schedule["strRecurDisplay"], "Occurs on July 15, every year");

    const std::string other = AddAppointment({"--subject", "Other", "--start", "2010-07-16T09:00"});
    ASSERT_EQ(Run({"calendar", "delete", id, "--to-deleted-items"}).status, 0);
    ASSERT_EQ(Run({"calendar", "delete", other}).status, 0);
    EXPECT_TRUE(RunJson({"calendar", "list"})["appointments"].empty());
    EXPECT_EQ(Run({"calendar", "show", other}).status, 1);
    const json deleted = RunJson({"calendar", "list", "--folder", "Deleted Items"})["appointments"];
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0]["strSubject"], "After");
}

TEST_F(CalendarCliTest, BadInputIsRefusedWithItsStatusAndWritesNothing)
{
    ExpectRefused({"calendar", "add", "--start", "2010-07-14T10:00", "--end", "2010-07-14T09:00"}, 2,
                  "the end 2010-07-14T09:00:00 lies before the start 2010-07-14T10:00:00");
    ExpectRefused({"calendar", "add", "--start", "2010-07-14T10:00", "--zone", "Mars Standard Time"}, 2,
                  "unknown time zone 'Mars Standard Time'");
    ExpectRefused({"calendar", "add", "--start", "2010-07-14T10:00", "--repeat", "weekly", "--count", "0"}, 2,
                  "--count takes a whole number from 1");
    ExpectRefused({"calendar", "add", "--start", "2010-07-14T10:00", "--repeat", "daily", "--on", "mon"}, 2,
                  "--on goes with --repeat weekly");
    ExpectRefused({"calendar", "add", "--start", "2010-07-14T10:00", "--repeat", "weekly", "--until", "2010-07-01"}, 2,
                  "lies before the start");
    ExpectRefused({"calendar", "add", "--start", "2010-07-14T10:00", "--repeat", "weekly", "--count", "3", "--forever"},
                  2, "give one end of the series");
    ExpectRefused({"calendar", "add", "--start", "2010-07-14T10:00", "--count", "3"}, 2, "give --repeat");
    ExpectRefused({"calendar", "add", "--start", "2010-07-14T10:00", "--repeat", "monthly", "--nth", "2"}, 2,
                  "--nth and --weekday go together");
    ExpectRefused({"calendar", "add", "--start", "2010-07-14T10:00", "--repeat", "weekly", "--on", "mon,xyz"}, 2,
                  "'xyz' is no day of the week");
    ExpectRefused({"calendar", "add", "--start", "2010-07-14T10:00", "--repeat", "hourly"}, 2, "hourly");
    ExpectRefused({"calendar", "add", "--subject", "No start"}, 2, "give the start");
    ExpectRefused({"calendar", "add", "--start", "2010-02-30"}, 2, "is no date");
    ExpectRefused({"calendar", "add", "--start", "2010-07-14T10:00", "--reminder", "-5"}, 2, "--reminder");
    ExpectRefused({"calendar", "list", "--from", "2010-07-14", "--to", "2010-07-01"}, 2, "lies before --from");
    EXPECT_TRUE(RunJson({"calendar", "list"})["appointments"].empty());
}
} // namespace
