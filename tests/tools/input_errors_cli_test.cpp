// Exit status and messages for bad input: 2 when the command line is wrong, 1 when what it names does not exist
// or cannot be used, with one line on standard error, and nothing changed in the store.
#include "tools/CliTest.h"

namespace
{
class InputErrorsCliTest : public CliTest
{
protected:
    void ExpectRefused(const std::vector<std::string>& arguments, int status, const std::string& message)
    {
        const clitest::CliResult result = Run(arguments);
        EXPECT_EQ(result.status, status) << result.err;
        EXPECT_EQ(LineCount(result.err), 1) << result.err;
        EXPECT_EQ(result.err.rfind("mapipim: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
};

TEST_F(InputErrorsCliTest, UsageErrorsEndWithStatusTwo)
{
    ExpectRefused({}, 2, "A subcommand is required");
    ExpectRefused({"frobnicate"}, 2, "unknown command 'frobnicate'");
    ExpectRefused({"contacts", "show"}, 2, "id is required");
    ExpectRefused({"contacts", "show", "XYZ"}, 2, "malformed entry identifier 'XYZ'");
    ExpectRefused({"contacts", "show", "ABC"}, 2, "too short to name an item");
    ExpectRefused({"contacts", "add"}, 2, "give at least one field");
    ExpectRefused({"contacts", "add", "--first-name", "A", "--birthday", "2001-02-29"}, 2, "is no date");
    ExpectRefused({"contacts", "add", "--first-name", "A", "--anniversary", "2001-13-01T10:00"}, 2, "is no date");
    ExpectRefused({"contacts", "add", "--first-name", "A", "--sensitivity", "secret"}, 2, "is no sensitivity");
    ExpectRefused({"contacts", "edit", "00", "--picture", "a.png", "--no-picture"}, 2, "excludes");
    ExpectRefused({"tree", "--types", "mail"}, 2, "mail");
    ExpectRefused({"tree", "--types", "inbox", "--mask", "1"}, 2, "excludes");
    EXPECT_EQ(Run({"--help"}).status, 0);
}

TEST_F(InputErrorsCliTest, NamesOfNothingAndUnusableFilesEndWithStatusOneAndChangeNothing)
{
    const std::string id = AddContact({"--first-name", "Anna"});
    std::string stale = id;
    stale[stale.size() - 1] = stale.back() == '0' ? '1' : '0';
    Cli().WriteFile("not-an-image.png", "plain text");

    ExpectRefused({"contacts", "show", stale}, 1, "no item with the entry identifier " + stale);
    ExpectRefused({"contacts", "edit", stale, "--company", "X"}, 1, "no item");
    ExpectRefused({"contacts", "delete", stale}, 1, "no item");
    ExpectRefused({"attachments", "list", stale}, 1, "no item");
    ExpectRefused({"contacts", "list", "Nowhere"}, 1, "no folder 'Nowhere' in the store 'Personal Folders'");
    ExpectRefused({"contacts", "add", "--folder", "Nowhere", "--first-name", "B"}, 1, "no folder");
    ExpectRefused({"--store", "Archive", "contacts", "list"}, 1, "no store named 'Archive'");
    ExpectRefused({"contacts", "add", "--first-name", "B", "--picture", Cli().PathOf("missing.png")}, 1, "cannot read");
    ExpectRefused({"contacts", "add", "--first-name", "B", "--picture", Cli().PathOf("not-an-image.png")}, 1,
                  "not a JPEG or PNG image");
    ExpectRefused({"contacts", "add", "--first-name", "B", "--attach", Cli().PathOf("missing.txt")}, 1, "cannot read");
    ExpectRefused({"contacts", "edit", id, "--first-name", "B", "--attach", Cli().PathOf("")}, 1, "not a regular file");

    const nlohmann::json contacts = ListContacts()["contacts"];
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0]["strFirstName"], "Anna");
    EXPECT_EQ(contacts[0]["strAttachFile"], "");
}

TEST_F(InputErrorsCliTest, AnAttachmentPathTheLibraryWouldSplitIsRefused)
{
    Cli().WriteFile("a,b.txt", "x");
    ExpectRefused({"contacts", "add", "--first-name", "B", "--attach", Cli().PathOf("a,b.txt")}, 1,
                  "separates attachment paths");
    EXPECT_EQ(ListContacts()["contacts"].size(), 0u);
}

TEST_F(InputErrorsCliTest, TheTraceFileReceivesTheLibrarysLinesForAFailure)
{
    const std::string id = AddContact({"--first-name", "Anna"});
    ASSERT_EQ(Run({"contacts", "delete", id}).status, 0);

    const clitest::CliResult result = Run({"--trace", Cli().PathOf("trace.log"), "contacts", "show", id});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(Cli().ReadFile("trace.log").find("[MAPI] GetContact - Open failed a contact : " + id), std::string::npos);
    ExpectRefused({"--trace", Cli().PathOf("no/such/dir/trace.log"), "stores"}, 1, "cannot write the trace file");
}
} // namespace
