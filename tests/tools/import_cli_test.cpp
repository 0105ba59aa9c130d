// mapipim import FILE.pst, run as a user runs it, then the imported appointments, contacts, tasks, e-mails and notes
// listed and shown with the program's own commands. Expected values are what pffexport shows for the files.
#include "tools/CliTest.h"

#include "support/DataFileSamples.h"
#include "support/ScopedEnvironment.h"

#include <algorithm>

using nlohmann::json;

namespace
{
class ImportCliTest : public CliTest
{
protected:
    // The path of a sample; empty when it is absent.
    std::string SamplePath(const std::string& name)
    {
        const auto file = datafiletest::Sample(name);
        return file ? file->string() : std::string();
    }

    size_t StoreCount() { return RunJson({"stores"})["stores"].size(); }

    // Lists a kind in the imported store and shows its first record; the list must hold `count` records.
    json ShowFirst(const std::string& store, const std::string& kind, const std::string& key, size_t count,
                   const std::string& folder = std::string())
    {
        std::vector<std::string> arguments{"--no-yield", "--store", store, kind, "list"};
        if (!folder.empty())
            arguments.push_back(folder);
        const json list = RunJson(arguments)[key];
        EXPECT_EQ(list.size(), count) << kind;
        if (list.empty())
            return json();
        return RunJson({"--no-yield", "--store", store, kind, "show", list[0]["strEntryID"]});
    }
};

TEST_F(ImportCliTest, ImportsAFileThenListsAndShowsEveryKind)
{
    ScopedTz zone("UTC");
    const std::string file = SamplePath("pim_all_types_unicode.pst");
    if (file.empty())
        GTEST_SKIP() << "sample absent";
    // pypff: 7 items (an appointment, a contact, a distribution list, a journal entry, a task, a draft and free/busy
    // data) in 27 folders, of which the store has the root and the IPM subtree of its own.
    const clitest::CliResult imported = Run({"--no-yield", "import", file});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "imported 7 items in 25 folders, skipped 0\n");
    const std::string store = "pim_all_types_unicode";

    // pffexport: "Appointment", Feb 04, 2021 11:00 to 11:30 UTC, busy.
    const json appointment = ShowFirst(store, "calendar", "appointments", 1);
    EXPECT_EQ(appointment["strSubject"], "Appointment");
    EXPECT_EQ(appointment["tzStartTime"]["tmDateTime"], "2021-02-04T11:00:00");
    EXPECT_EQ(appointment["tzEndTime"]["tmDateTime"], "2021-02-04T11:30:00");
    EXPECT_EQ(appointment["nSign"], 2);
    // pffexport: given name "Distribution", surname "Member", e-mail 1 "email@gmail.com" (the list sorts first).
    const json contacts = RunJson({"--no-yield", "--store", store, "contacts", "list"})["contacts"];
    ASSERT_EQ(contacts.size(), 2u);
    const json member = RunJson({"--no-yield", "--store", store, "contacts", "show", contacts[1]["strEntryID"]});
    EXPECT_EQ(member["strFirstName"], "Distribution");
    EXPECT_EQ(member["strLastName"], "Member");
    EXPECT_EQ(member["strEmail1"], "email@gmail.com");
    // pffexport: "Task", status 2, 100 per cent complete.
    const json task = ShowFirst(store, "tasks", "tasks", 1);
    EXPECT_EQ(task["strSubject"], "Task");
    EXPECT_EQ(task["nStatus"], 2);
    EXPECT_EQ(task["dCompleteRate"], 100.0);
    // pffexport: one draft in Drafts, without a subject, unsent.
    const json draft = ShowFirst(store, "mail", "emails", 1, "Drafts");
    EXPECT_EQ(draft["strSubject"], "");
    EXPECT_EQ(draft["nMsgState"], 5);
}

TEST_F(ImportCliTest, ImportedNotesAndMailWithAnAttachmentReadAsInTheFile)
{
    const std::string notes = SamplePath("notes_aspose_unicode.pst");
    const std::string mail = SamplePath("mail_test_folders_unicode.pst");
    if (notes.empty() || mail.empty())
        GTEST_SKIP() << "samples absent";
    ASSERT_EQ(Run({"--no-yield", "import", notes}).status, 0);
    ASSERT_EQ(Run({"--no-yield", "import", mail}).status, 0);
    // pypff: "This is a blue color note", colour 2 (pink), 500 by 500 pixels.
    const json note = ShowFirst("notes_aspose_unicode", "notes", "notes", 3);
    EXPECT_EQ(note["strContents"], "This is a blue color note");
    EXPECT_EQ(note["color"], "pink");
    EXPECT_EQ(note["nNoteWidth"], 500);
    // pffexport: "TestWithTextFileAttachment" from user1 carries TextFile.txt; the Inbox of the file is empty.
    const json inbox = RunJson({"--no-yield", "--store", "mail_test_folders_unicode", "mail", "list"})["emails"];
    EXPECT_TRUE(inbox.empty());
    const json message =
        ShowFirst("mail_test_folders_unicode", "mail", "emails", 2, "FolderWithMessagesWithAttachments");
    EXPECT_EQ(message["strSubject"], "TestWithTextFileAttachment");
    EXPECT_EQ(message["strAttachFile"], "TextFile.txt");
    const clitest::CliResult saved = Run({"attachments", "save", message["strEntryID"], "--to", Cli().PathOf("")});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(Cli().ReadFile("TextFile.txt"), "Test"); // pffexport's 1_TextFile.txt
}

TEST_F(ImportCliTest, ItemsAtTheTopOfAFileAreListedAsSlash)
{
    const std::string file = SamplePath("mail_200_recipients_unicode.pst");
    if (file.empty())
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(Run({"import", file}).status, 0);
    // pffexport: the one message lies in the file's top folder ("Outlook データ ファイルのトップ"), to 200 people.
    const json list = RunJson({"--store", "mail_200_recipients_unicode", "mail", "list", "/"});
    EXPECT_EQ(list["folder"]["path"], "/");
    ASSERT_EQ(list["emails"].size(), 1u);
    const json message = RunJson({"mail", "show", list["emails"][0]["strEntryID"]});
    EXPECT_EQ(message["strSubject"], "200 recipients");
    const std::string to = message["strTo"];
    EXPECT_EQ(std::count(to.begin(), to.end(), ';'), 199);
    // The default store has no items at its top.
    EXPECT_TRUE(RunJson({"mail", "list", "/"})["emails"].empty());
}

TEST_F(ImportCliTest, ASecondImportNeedsAnotherName)
{
    const std::string file = SamplePath("notes_aspose_unicode.pst");
    if (file.empty())
        GTEST_SKIP() << "sample absent";
    ASSERT_EQ(Run({"import", file}).status, 0);
    const clitest::CliResult again = Run({"import", file});
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, "mapipim: cannot import '" + file + "': the profile has a store named notes_aspose_unicode\n");
    const json renamed = RunJson({"--store", "Notes 2016", "import", file});
    EXPECT_EQ(renamed["items"], 3);
    EXPECT_EQ(renamed["skipped"], 0);
    EXPECT_EQ(StoreCount(), 3u);
    EXPECT_EQ(RunJson({"--store", "Notes 2016", "notes", "list"})["notes"].size(), 3u);
}

TEST_F(ImportCliTest, ADamagedFileFailsInOneLineAndLeavesNoStore)
{
    Cli().WriteFile("archive.pst", "!BDN" + std::string(20000, '\x11'));
    const size_t stores = StoreCount();
    const clitest::CliResult result = Run({"import", Cli().PathOf("archive.pst")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(LineCount(result.err), 1) << result.err;
    EXPECT_EQ(result.err.rfind("mapipim: cannot import '" + Cli().PathOf("archive.pst") + "': ", 0), 0u);
    EXPECT_TRUE(result.out.empty());
    EXPECT_EQ(StoreCount(), stores);
}
} // namespace
