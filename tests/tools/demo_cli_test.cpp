// demo on a fresh profile root: the default profile is made, the sample contacts are added once, and the tree and
// the contact list are read back.
#include "tools/CliTest.h"

using nlohmann::json;

namespace
{
class DemoCliTest : public CliTest
{
};

TEST_F(DemoCliTest, FillsAnEmptyContactsFolderAndShowsTreeAndContacts)
{
    const clitest::CliResult demo = Run({"demo"});
    ASSERT_EQ(demo.status, 0) << demo.err;
    EXPECT_EQ(demo.out.rfind("Added 5 sample contacts to Contacts.\n", 0), 0u) << demo.out;
    EXPECT_NE(demo.out.find("  Contacts  [contacts]  5\n"), std::string::npos);
    EXPECT_NE(demo.out.find("Contacts (5):\n"), std::string::npos);
    EXPECT_NE(demo.out.find("  Anna Berg <anna.berg@contoso.example>, Contoso Ltd.\n"), std::string::npos);
    EXPECT_NE(demo.out.find("  Dr. Grace O'Neill <grace.oneill@litware.example>"), std::string::npos);
    EXPECT_TRUE(Cli().ReadFile("Documents/ContactPicture0.jpg").empty()) << "the picture's temporary file is gone";

    const json contacts = ListContacts()["contacts"];
    ASSERT_EQ(contacts.size(), 5u);
    EXPECT_EQ(contacts[0]["strPicturePath"], "ContactPicture.jpg");
    EXPECT_EQ(contacts[1]["strAttachFile"], "Directions to the Madrid office.txt");
    EXPECT_EQ(contacts[3]["strFullName"], "健二 佐藤");
    EXPECT_EQ(contacts[4]["tmBirthday"], "1972-02-29");
}

TEST_F(DemoCliTest, LeavesAContactsFolderThatHoldsItemsAlone)
{
    AddContact({"--first-name", "Only"});
    const json demo = RunJson({"demo"});
    EXPECT_EQ(demo["added"], 0);
    ASSERT_EQ(demo["contacts"].size(), 1u);
    EXPECT_EQ(demo["contacts"][0]["strFirstName"], "Only");
    EXPECT_EQ(demo["stores"][0]["arrFolders"][6]["nCount"], 1);

    const clitest::CliResult text = Run({"demo"});
    EXPECT_EQ(text.out.rfind("Contacts already holds 1 item; no samples added.\n", 0), 0u) << text.out;
}
} // namespace
