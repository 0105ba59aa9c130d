// mail add, list, show, edit, delete and send, run as a user runs them on a fresh profile root, checked through the
// program's own JSON and text output and the .eml files it writes; bad input with its exit status.
#include "support/MimeReading.h"
#include "tools/CliTest.h"

using nlohmann::json;

namespace
{
class MailCliTest : public CliTest
{
protected:
    std::string AddMail(std::vector<std::string> options)
    {
        options.insert(options.begin(), {"mail", "add"});
        const json mail = RunJson(options);
        return mail.value("strEntryID", std::string());
    }
    json ShowMail(const std::string& id, std::vector<std::string> options = {})
    {
        options.insert(options.begin(), {"mail", "show", id});
        return RunJson(options);
    }
    json ListMail(const std::string& folder = std::string())
    {
        std::vector<std::string> arguments = {"mail", "list"};
        if (!folder.empty())
            arguments.push_back(folder);
        return RunJson(arguments);
    }
};

TEST_F(MailCliTest, ADraftIsAddedShownListedEditedAndDeleted)
{
    Cli().WriteFile("report.txt", "the report\n");
    const std::string id = AddMail({"--to", "Lopez, Maria <maria@example.com>", "--cc", "cc@example.com", "--from",
                                    "Me <me@example.org>", "--subject", "Grüße", "--text", "Hallo", "--attach",
                                    Cli().PathOf("report.txt"), "--importance", "high", "--sensitivity", "private",
                                    "--category", "Work"});
    ASSERT_GT(id.size(), 8u);

    const json mail = ShowMail(id);
    EXPECT_EQ(mail["strSubject"], "Grüße");
    EXPECT_EQ(mail["strTo"], "Lopez, Maria <maria@example.com>");
    EXPECT_EQ(mail["strCC"], "cc@example.com");
    EXPECT_EQ(mail["strSenderName"], "Me <me@example.org>");
    EXPECT_EQ(mail["strContents"], "Hallo");
    EXPECT_EQ(mail["state"], "draft");
    EXPECT_EQ(mail["nImportance"], 2);
    EXPECT_EQ(mail["nSensitivity"], 2);
    EXPECT_EQ(mail["nAttachCount"], 1);
    EXPECT_EQ(mail["strAttachFile"], "report.txt");

    const json drafts = ListMail("Drafts");
    ASSERT_EQ(drafts["emails"].size(), 1u);
    EXPECT_EQ(drafts["emails"][0]["strEntryID"], id);
    EXPECT_EQ(ListMail()["emails"].size(), 0u) << "the inbox is the default folder";
    const clitest::CliResult text = Run({"mail", "list", "Drafts"});
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("Grüße"), std::string::npos);
    EXPECT_NE(text.out.find("draft"), std::string::npos);

    const json edited = RunJson({"mail", "edit", id, "--subject", "Neu"});
    EXPECT_EQ(edited["strSubject"], "Neu");
    EXPECT_EQ(edited["strTo"], "Lopez, Maria <maria@example.com>") << "names with commas survive an edit";
    EXPECT_EQ(edited["nAttachCount"], 1);

    const json deleted = RunJson({"mail", "delete", id});
    EXPECT_EQ(deleted["strEntryID"], id);
    EXPECT_EQ(ListMail("Drafts")["emails"].size(), 0u);
    EXPECT_EQ(Run({"mail", "show", id}).status, 1);
}

TEST_F(MailCliTest, QueuedMailIsSentAsAnEmlFileAndFiledInSentItems)
{
    Cli().WriteFile("page.html", "<html><body><p>Hi</p></body></html>");
    Cli().WriteFile("data.bin", std::string("\x00\x01\x02\xff", 4));
    const std::string id = AddMail({"--send", "--to", "Ng, Al <al@example.com>", "--bcc", "boss@example.com", "--from",
                                    "me@example.org", "--subject", "Zahlen", "--html", Cli().PathOf("page.html"),
                                    "--attach", Cli().PathOf("data.bin")});
    EXPECT_EQ(ShowMail(id)["state"], "queued");
    EXPECT_EQ(ListMail("Outbox")["emails"].size(), 1u);

    const json sent = RunJson({"mail", "send"});
    ASSERT_EQ(sent["delivered"].size(), 1u);
    EXPECT_TRUE(sent["failed"].empty());
    const std::string file = sent["delivered"][0]["file"];
    const ParsedMail parsed = ParseMailFile(file);
    ASSERT_TRUE(parsed.parsed);
    EXPECT_EQ(parsed.subject, "Zahlen");
    ASSERT_EQ(parsed.to.size(), 1u);
    EXPECT_EQ(parsed.to[0].address, "al@example.com");
    ASSERT_EQ(parsed.bcc.size(), 1u);
    EXPECT_EQ(parsed.html, "<html><body><p>Hi</p></body></html>");
    ASSERT_EQ(parsed.attachments.size(), 1u);
    EXPECT_EQ(parsed.attachments[0].bytes, std::string("\x00\x01\x02\xff", 4));

    EXPECT_EQ(ListMail("Outbox")["emails"].size(), 0u);
    const json filed = ListMail("Sent Items");
    ASSERT_EQ(filed["emails"].size(), 1u);
    EXPECT_EQ(filed["emails"][0]["strSubject"], "Zahlen");

    // Nothing is left to send; the text form prints one file per line.
    const clitest::CliResult again = Run({"mail", "send"});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(again.out, "");
}

TEST_F(MailCliTest, ADraftEditedWithSendIsQueuedAndDeletingItFromTheOutboxAbortsIt)
{
    const std::string id = AddMail({"--to", "x@example.com", "--subject", "later"});
    EXPECT_EQ(RunJson({"mail", "edit", id, "--send"})["state"], "queued");
    EXPECT_EQ(RunJson({"mail", "delete", id})["strEntryID"], id);
    EXPECT_EQ(RunJson({"mail", "send"})["delivered"].size(), 0u);
}

TEST_F(MailCliTest, BadInputFailsWithItsExitStatus)
{
    const clitest::CliResult noRecipients = Run({"mail", "add", "--send", "--subject", "to nobody"});
    EXPECT_EQ(noRecipients.status, 2);
    EXPECT_NE(noRecipients.err.find("no recipients"), std::string::npos);

    const clitest::CliResult unreadable = Run({"mail", "add", "--to", "a@example.com", "--html", "/no/such/file.html"});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_NE(unreadable.err.find("/no/such/file.html"), std::string::npos);

    const clitest::CliResult unknownFolder = Run({"mail", "list", "No Such Folder"});
    EXPECT_EQ(unknownFolder.status, 1);
    EXPECT_NE(unknownFolder.err.find("No Such Folder"), std::string::npos);

    EXPECT_EQ(Run({"mail", "add"}).status, 2);
    EXPECT_EQ(Run({"mail", "show", "not-hex"}).status, 2);
    EXPECT_EQ(Run({"mail", "add", "--to", "a@x", "--text", "t", "--html", "f"}).status, 2);
    EXPECT_EQ(Run({"mail", "add", "--to", "a@x", "--importance", "urgent"}).status, 2);
    EXPECT_EQ(Run({"mail", "show", "00", "--body", "pdf"}).status, 2);
    EXPECT_TRUE(ListMail("Drafts")["emails"].empty()) << "nothing was written by the failed commands";
}

TEST_F(MailCliTest, ShowCanAskForAnotherBodyFormat)
{
    Cli().WriteFile("page.html", "<html><body>rich</body></html>");
    const std::string id = AddMail({"--to", "a@example.com", "--html", Cli().PathOf("page.html")});
    const json html = ShowMail(id, {"--body", "html"});
    EXPECT_EQ(html["strContents"], "<html><body>rich</body></html>");
    EXPECT_EQ(html["form"], "html");
    const clitest::CliResult text = Run({"mail", "show", id});
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("Body format:  html"), std::string::npos);
}
} // namespace
