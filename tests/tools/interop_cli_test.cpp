// export --ics/--vcf and import FILE.ics|FILE.vcf, run as a user runs them: a calendar, a task list and an address
// book out and in again, the summary of what was imported and skipped (text and JSON), and refused command lines.
#include "tools/CliTest.h"

using nlohmann::json;

namespace
{
class InteropCliTest : public CliTest
{
protected:
    std::string Count(const std::string& text, const std::string& what)
    {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return std::to_string(n);
    }
};

TEST_F(InteropCliTest, ACalendarGoesOutAndComesBackIn)
{
    ASSERT_EQ(0, Run({"calendar", "add", "--subject", "Jour fixe 😀", "--start", "2026-03-17T10:00", "--end",
                      "2026-03-17T11:00", "--repeat", "weekly"})
                     .status);
    const clitest::CliResult exported = Run({"export", "--ics", Cli().PathOf("cal.ics")});
    ASSERT_EQ(0, exported.status) << exported.err;
    EXPECT_EQ("exported 1 items from Calendar, skipped 0\n", exported.out);
    const std::string file = Cli().ReadFile("cal.ics");
    EXPECT_NE(std::string::npos, file.find("SUMMARY:Jour fixe 😀")) << file;
    EXPECT_NE(std::string::npos, file.find("RRULE:FREQ=WEEKLY")) << file;

    const clitest::CliResult imported = Run({"import", Cli().PathOf("cal.ics")});
    ASSERT_EQ(0, imported.status) << imported.err;
    EXPECT_EQ("imported 1 items into Calendar, skipped 0\n", imported.out);
    ASSERT_EQ(0, Run({"export", "--ics", Cli().PathOf("twice.ics")}).status);
    EXPECT_EQ("2", Count(Cli().ReadFile("twice.ics"), "SUMMARY:Jour fixe"));
}

TEST_F(InteropCliTest, AnAddressBookGoesOutAndComesBackIn)
{
    AddContact({"--first-name", "José", "--last-name", "García", "--email1", "jose@example.org"});
    const json exported = RunJson({"export", "--vcf", Cli().PathOf("book.vcf")});
    EXPECT_EQ(1, exported["exported"]);
    EXPECT_EQ("Contacts", exported["folder"]);
    EXPECT_NE(std::string::npos, Cli().ReadFile("book.vcf").find("N:García;José;;;"));
    const json imported = RunJson({"import", Cli().PathOf("book.vcf")});
    EXPECT_EQ(1, imported["imported"]);
    EXPECT_EQ(0, imported["skipped"]);
    EXPECT_EQ(2u, ListContacts()["contacts"].size());
}

TEST_F(InteropCliTest, AFileOfTasksGoesToTheTaskFolder)
{
    Cli().WriteFile("todo.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nSUMMARY:Buy milk\r\n"
                                "DUE;VALUE=DATE:20260401\r\nEND:VTODO\r\nEND:VCALENDAR\r\n");
    const json imported = RunJson({"import", Cli().PathOf("todo.ics")});
    EXPECT_EQ("Tasks", imported["folder"]);
    EXPECT_EQ(1, imported["imported"]);
    const clitest::CliResult exported = Run({"export", "--ics", Cli().PathOf("tasks.ics"), "--folder", "Tasks"});
    ASSERT_EQ(0, exported.status) << exported.err;
    EXPECT_NE(std::string::npos, Cli().ReadFile("tasks.ics").find("BEGIN:VTODO"));
}

TEST_F(InteropCliTest, SkippedItemsAreListedWithTheirReasons)
{
    Cli().WriteFile("mixed.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"
                                 "BEGIN:VEVENT\r\nDTSTART:20260601T080000Z\r\nSUMMARY:good\r\nEND:VEVENT\r\n"
                                 "BEGIN:VEVENT\r\nDTSTART;TZID=Nowhere:20260601T080000\r\nSUMMARY:bad\r\nEND:VEVENT\r\n"
                                 "END:VCALENDAR\r\n");
    const clitest::CliResult result = Run({"import", Cli().PathOf("mixed.ics")});
    ASSERT_EQ(0, result.status) << result.err;
    EXPECT_EQ("imported 1 items into Calendar, skipped 1\nskipped: line 7: unknown TZID \"Nowhere\"\n", result.out);
}

TEST_F(InteropCliTest, WrongCommandLinesAreRefused)
{
    const clitest::CliResult both = Run({"export", "--ics", Cli().PathOf("a.ics"), "--vcf", Cli().PathOf("a.vcf")});
    EXPECT_EQ(2, both.status);
    EXPECT_NE(std::string::npos, both.err.find("exactly one of --ics FILE and --vcf FILE")) << both.err;
    const clitest::CliResult missing = Run({"import", Cli().PathOf("missing.vcf")});
    EXPECT_EQ(1, missing.status);
    EXPECT_NE(std::string::npos, missing.err.find("cannot read")) << missing.err;
    const clitest::CliResult folder = Run({"export", "--vcf", Cli().PathOf("x.vcf"), "--folder", "No such"});
    EXPECT_EQ(1, folder.status);
    EXPECT_TRUE(folder.out.empty());
}
} // namespace
