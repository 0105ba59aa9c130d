// An item or folder is named by the end of its entry identifier (at least 8 hexadecimal digits) wherever a command
// takes an identifier, when no other identifier ends the same way; text output shows that short form, --full-ids
// and JSON the whole identifier.
#include "tools/CliTest.h"

namespace
{
class ShortIdsCliTest : public CliTest
{
};

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The first word of each line of a text listing.
std::vector<std::string> FirstWords(const std::string& text)
{
    std::vector<std::string> words;
    size_t start = 0;
    while (start < text.size())
    {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        words.push_back(line.substr(0, line.find(' ')));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return words;
}

TEST_F(ShortIdsCliTest, TextOutputShowsShortTailsThatNameTheItemsBack)
{
    const std::string anna = AddContact({"--first-name", "Anna"});
    const std::string bert = AddContact({"--first-name", "Bert"});
    const clitest::CliResult listed = Run({"contacts", "list"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    const std::vector<std::string> shown = FirstWords(listed.out);
    ASSERT_EQ(shown.size(), 2u) << listed.out;
    for (const std::string& id : shown)
    {
        EXPECT_GE(id.size(), 8u);
        EXPECT_LT(id.size(), anna.size()) << "a tail, not the whole identifier";
    }
    EXPECT_TRUE(EndsWith(anna, shown[0])) << shown[0];
    EXPECT_TRUE(EndsWith(bert, shown[1])) << shown[1];

    const clitest::CliResult shownContact = Run({"contacts", "show", shown[0]});
    ASSERT_EQ(shownContact.status, 0) << shownContact.err;
    EXPECT_NE(shownContact.out.find("Entry ID:               " + shown[0] + "\n"), std::string::npos)
        << shownContact.out;
    const clitest::CliResult edited = Run({"contacts", "edit", shown[0], "--company", "Contoso"});
    ASSERT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(edited.out, shown[0] + "\n") << "edit prints the short form too";
    EXPECT_EQ(ShowContact(anna)["strCompany"], "Contoso");
    EXPECT_EQ(Run({"contacts", "delete", shown[1]}).status, 0);
    ASSERT_EQ(ListContacts()["contacts"].size(), 1u);

    const clitest::CliResult whole = Run({"--full-ids", "contacts", "list"});
    EXPECT_EQ(whole.out.substr(0, whole.out.find(' ')), anna);
    EXPECT_EQ(ListContacts()["contacts"][0]["strEntryID"], anna) << "JSON keeps the whole identifier";
}

TEST_F(ShortIdsCliTest, AFolderIsNamedByAUniqueTailOfItsIdentifier)
{
    const clitest::CliResult added = Run({"folder", "add", "Contacts/Suppliers"});
    ASSERT_EQ(added.status, 0) << added.err;
    const std::string tail = added.out.substr(0, added.out.find('\n'));
    const nlohmann::json folders = RunJson({"tree", "--types", "contacts"})["stores"][0]["arrFolders"];
    ASSERT_EQ(folders.size(), 2u);
    const std::string whole = folders[1]["sbEntryID"];
    EXPECT_LT(tail.size(), whole.size());
    EXPECT_TRUE(EndsWith(whole, tail)) << tail;

    AddContact({"--folder", tail, "--first-name", "Supplier"});
    const nlohmann::json listed = ListContacts(tail);
    EXPECT_EQ(listed["folder"]["path"], "Contacts/Suppliers");
    ASSERT_EQ(listed["contacts"].size(), 1u);
    EXPECT_EQ(listed["contacts"][0]["strFirstName"], "Supplier");
}

TEST_F(ShortIdsCliTest, AUniqueTailNamesTheItem)
{
    const std::string id = AddContact({"--first-name", "Anna"});
    AddContact({"--first-name", "Bert"});
    const std::string tail = id.substr(id.size() - 10);

    EXPECT_EQ(ShowContact(tail)["strEntryID"], id);
    const clitest::CliResult edited = Run({"contacts", "edit", tail, "--company", "Contoso"});
    EXPECT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(ShowContact(id)["strCompany"], "Contoso");
    EXPECT_EQ(Run({"attachments", "list", tail}).status, 0);
    std::string lower = tail;
    for (char& ch : lower)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(ShowContact(lower)["strEntryID"], id) << "digits in any case";
}

TEST_F(ShortIdsCliTest, ShortAndUnknownTailsAreRefused)
{
    const std::string id = AddContact({"--first-name", "Anna"});
    clitest::CliResult result = Run({"contacts", "show", id.substr(id.size() - 7)});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("at least 8 hexadecimal digits"), std::string::npos) << result.err;

    std::string other = id.substr(id.size() - 12);
    other[0] = other[0] == 'A' ? 'B' : 'A';
    result = Run({"contacts", "show", other});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("no item or folder has an entry identifier ending in"), std::string::npos)
        << result.err;

}
} // namespace
