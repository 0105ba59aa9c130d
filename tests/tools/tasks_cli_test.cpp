// tasks add, show, list, edit and delete, run as a user runs them: every option, status and percentage kept in
// step, the dates as given in any zone, and bad input refused with clear messages.
#include "tools/CliTest.h"

#include "support/ScopedEnvironment.h"

using nlohmann::json;

namespace
{
class TasksCliTest : public CliTest
{
protected:
    std::string AddTask(const std::vector<std::string>& options)
    {
        std::vector<std::string> arguments = {"tasks", "add"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return RunJson(arguments)["strEntryID"];
    }
    json ShowTask(const std::string& id) { return RunJson({"tasks", "show", id}); }
    json EditTask(const std::string& id, const std::vector<std::string>& options)
    {
        std::vector<std::string> arguments = {"tasks", "edit", id};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return RunJson(arguments);
    }

    void ExpectRefused(const std::vector<std::string>& arguments, int status, const std::string& message)
    {
        const clitest::CliResult result = Run(arguments);
        EXPECT_EQ(result.status, status) << result.err;
        EXPECT_EQ(LineCount(result.err), 1) << result.err;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
};

TEST_F(TasksCliTest, AddThenShowGivesEveryOptionBack)
{
    Cli().WriteFile("plan.txt", "the plan");
    const std::string id = AddTask({"--subject",     "Angebot prüfen ✓",
                                    "--notes",       "Zeile 1\nZeile 2",
                                    "--owner",       "Zoë",
                                    "--start",       "2026-03-02",
                                    "--due",         "2026-03-06",
                                    "--percent",     "40",
                                    "--priority",    "high",
                                    "--sensitivity", "private",
                                    "--reminder",    "2026-03-05T09:30",
                                    "--category",    "Arbeit",
                                    "--attach",      Cli().PathOf("plan.txt")});
    const json task = ShowTask(id);
    EXPECT_EQ(task["strSubject"], "Angebot prüfen ✓");
    EXPECT_EQ(task["strContents"], "Zeile 1\r\nZeile 2");
    EXPECT_EQ(task["strOwner"], "Zoë");
    EXPECT_EQ(task["tmStartTime"], "2026-03-02T00:00:00");
    EXPECT_EQ(task["tmEndTime"], "2026-03-06T00:00:00");
    EXPECT_EQ(task["dCompleteRate"], 40.0);
    EXPECT_EQ(task["status"], "in-progress") << "a percentage starts the task";
    EXPECT_EQ(task["nPriority"], 2);
    EXPECT_EQ(task["nSensitivity"], 2);
    EXPECT_EQ(task["bAlarmSet"], 1);
    EXPECT_EQ(task["tmAlarmTime"], "2026-03-05T09:30:00");
    EXPECT_EQ(task["strLabel"], "Arbeit");
    EXPECT_EQ(task["nAttachCount"], 1);
    EXPECT_EQ(task["strAttachFile"], "plan.txt");
    EXPECT_TRUE(task["tmCompleteTime"].is_null());
    EXPECT_EQ(task["bRecurSet"], 0);
    EXPECT_TRUE(task["lprcRecurring"].is_null());

    const clitest::CliResult shown = Run({"tasks", "show", id});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("Due:                    2026-03-06\n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("Status:                 in-progress\n"), std::string::npos);
    EXPECT_NE(shown.out.find("Percent complete:       40\n"), std::string::npos);
    EXPECT_NE(shown.out.find("Reminder:               2026-03-05T09:30:00\n"), std::string::npos);
}

TEST_F(TasksCliTest, DatesReadBackAsGivenEastAndWestOfGreenwich)
{
    for (const char* zone : {"Asia/Tokyo", "America/Los_Angeles", "Europe/Berlin"})
    {
        SCOPED_TRACE(zone);
        ScopedEnv tz("TZ", zone); // the program inherits the zone
        const std::string id = AddTask({"--subject", zone, "--start", "2026-07-01", "--due", "2026-07-03"});
        json task = ShowTask(id);
        EXPECT_EQ(task["tmStartTime"], "2026-07-01T00:00:00");
        EXPECT_EQ(task["tmEndTime"], "2026-07-03T00:00:00");
        task = EditTask(id, {"--owner", "again"});
        EXPECT_EQ(task["tmStartTime"], "2026-07-01T00:00:00") << "unchanged after a second write";
    }
}

TEST_F(TasksCliTest, StatusAndPercentageStayInStep)
{
    const std::string id = AddTask({"--subject", "Step"});
    json task = ShowTask(id);
    EXPECT_EQ(task["status"], "not-started");
    EXPECT_EQ(task["dCompleteRate"], 0.0);

    task = EditTask(id, {"--percent", "100"});
    EXPECT_EQ(task["status"], "complete");
    EXPECT_FALSE(task["tmCompleteTime"].is_null()) << "completed now";

    task = EditTask(id, {"--status", "in-progress"});
    EXPECT_EQ(task["status"], "in-progress");
    EXPECT_EQ(task["dCompleteRate"], 0.0) << "no longer complete";
    EXPECT_TRUE(task["tmCompleteTime"].is_null());

    task = EditTask(id, {"--status", "complete"});
    EXPECT_EQ(task["dCompleteRate"], 100.0);

    task = EditTask(id, {"--percent", "25.5"});
    EXPECT_EQ(task["status"], "in-progress");
    EXPECT_EQ(task["dCompleteRate"], 25.5);

    task = EditTask(id, {"--status", "waiting"});
    EXPECT_EQ(task["status"], "waiting");
    EXPECT_EQ(task["dCompleteRate"], 25.5);

    task = EditTask(id, {"--status", "not-started"});
    EXPECT_EQ(task["dCompleteRate"], 0.0);

    task = EditTask(id, {"--status", "deferred", "--percent", "60"});
    EXPECT_EQ(task["status"], "deferred");
    EXPECT_EQ(task["dCompleteRate"], 60.0);
}

TEST_F(TasksCliTest, AnEmptyReminderOrDateRemovesIt)
{
    const std::string id = AddTask({"--subject", "R", "--reminder", "2026-01-10T08:00", "--due", "2026-01-12"});
    const json task = EditTask(id, {"--reminder", "", "--due", ""});
    EXPECT_EQ(task["bAlarmSet"], 0);
    EXPECT_TRUE(task["tmAlarmTime"].is_null());
    EXPECT_TRUE(task["tmEndTime"].is_null());
    EXPECT_EQ(task["strSubject"], "R");
}

TEST_F(TasksCliTest, ListAndDelete)
{
    const std::string first = AddTask({"--subject", "First", "--due", "2026-05-01", "--percent", "50"});
    const std::string second = AddTask({"--subject", "Second", "--status", "complete"});
    const json list = RunJson({"tasks", "list"});
    EXPECT_EQ(list["folder"]["path"], "Tasks");
    EXPECT_EQ(list["folder"]["type"], "tasks");
    ASSERT_EQ(list["tasks"].size(), 2u);
    EXPECT_EQ(list["tasks"][1]["strEntryID"], second);

    const clitest::CliResult text = Run({"--full-ids", "tasks", "list"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, first + "  [in-progress] First, due 2026-05-01, 50%\n" + second + "  [complete] Second\n");

    ASSERT_EQ(Run({"tasks", "delete", first, "--to-deleted-items"}).status, 0);
    ASSERT_EQ(Run({"tasks", "delete", second}).status, 0);
    EXPECT_EQ(RunJson({"tasks", "list"})["tasks"].size(), 0u);
    EXPECT_EQ(RunJson({"tasks", "list", "Deleted Items"})["tasks"].size(), 1u);
}

TEST_F(TasksCliTest, BadInputIsRefusedWithAClearMessageAndChangesNothing)
{
    ExpectRefused({"tasks", "add"}, 2, "give at least one field of the new task");
    ExpectRefused({"tasks", "add", "--subject", "x", "--due", "2026-02-30"}, 2, "'2026-02-30' is no date");
    ExpectRefused({"tasks", "add", "--subject", "x", "--reminder", "tomorrow"}, 2, "is no date");
    ExpectRefused({"tasks", "add", "--subject", "x", "--percent", "101"}, 2, "'101' is no percentage");
    ExpectRefused({"tasks", "add", "--subject", "x", "--percent", "half"}, 2, "is no percentage");
    ExpectRefused({"tasks", "add", "--subject", "x", "--status", "done"}, 2, "'done' is no task status");
    ExpectRefused({"tasks", "add", "--subject", "x", "--priority", "urgent"}, 2, "is no priority");
    ExpectRefused({"tasks", "add", "--subject", "x", "--status", "complete", "--percent", "50"}, 2,
                  "contradict each other");
    ExpectRefused({"tasks", "add", "--subject", "x", "--status", "in-progress", "--percent", "100"}, 2,
                  "contradict each other");
    ExpectRefused({"tasks", "add", "--subject", "x", "--start", "2026-03-05", "--due", "2026-03-01"}, 2,
                  "the due date 2026-03-01 lies before the start date 2026-03-05");
    ExpectRefused({"tasks", "add", "--subject", "x", "--attach", Cli().PathOf("missing.txt")}, 1, "cannot read");
    ExpectRefused({"tasks", "show", "XYZ"}, 2, "malformed entry identifier");
    ExpectRefused({"tasks", "add", "--folder", "Nowhere", "--subject", "x"}, 1, "no folder 'Nowhere'");
    EXPECT_EQ(RunJson({"tasks", "list"})["tasks"].size(), 0u) << "nothing was written";

    const std::string id = AddTask({"--subject", "Kept"});
    ExpectRefused({"tasks", "edit", id, "--status", "complete", "--percent", "10"}, 2, "contradict each other");
    ASSERT_EQ(Run({"tasks", "edit", id, "--start", "2026-04-10"}).status, 0);
    ExpectRefused({"tasks", "edit", id, "--due", "2026-04-09T23:59"}, 2, "lies before the start date 2026-04-10");
    EXPECT_EQ(ShowTask(id)["status"], "not-started");
}

TEST_F(TasksCliTest, ARepeatingTaskRecursFromItsStartOrDueDateUntilTold)
{
    const std::string id =
        AddTask({"--subject", "Report", "--due", "2026-03-02", "--repeat", "weekly", "--on", "mon", "--count", "4"});
    json task = ShowTask(id);
    ASSERT_EQ(task["bRecurSet"], 1);
    EXPECT_EQ(task["lprcRecurring"]["nFrequency"], 1) << "weekly";
    EXPECT_EQ(task["lprcRecurring"]["nDayMask"], 0x02) << "Monday";
    EXPECT_EQ(task["lprcRecurring"]["nOccurrenceCount"], 4);
    EXPECT_EQ(task["lprcRecurring"]["tmStartDate"], "2026-03-02T00:00:00") << "the due date starts the series";
    EXPECT_EQ(task["lprcRecurring"]["tmEndDate"], "2026-03-23T00:00:00") << "the fourth Monday";

    const clitest::CliResult shown = Run({"tasks", "show", id});
    EXPECT_NE(shown.out.find("Occurs every week on Monday"), std::string::npos) << shown.out;

    task = EditTask(id, {"--no-repeat"});
    EXPECT_EQ(task["bRecurSet"], 0);
    EXPECT_TRUE(task["lprcRecurring"].is_null());

    ExpectRefused({"tasks", "add", "--subject", "x", "--repeat", "daily"}, 2, "a repeating task needs --start or --due");
    ExpectRefused({"tasks", "add", "--subject", "x", "--due", "2026-03-02", "--repeat", "daily", "--count", "0"}, 2,
                  "--count");
    ExpectRefused({"tasks", "add", "--subject", "x", "--due", "2026-03-02", "--count", "3"}, 2, "--repeat");
    EXPECT_EQ(RunJson({"tasks", "list"})["tasks"].size(), 1u) << "nothing was written by the refused ones";
}
} // namespace
