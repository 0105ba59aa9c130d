// contacts add, show, list, edit and delete, run as a user runs them, checked through the program's own JSON and
// text output and, where it matters, through the library on the same profile root.
#include "tools/CliTest.h"

#include <mapipim/MAPIInterface.h>
#include <mapipim/SBinaryUtils.h>

using nlohmann::json;

namespace
{
class ContactsCliTest : public CliTest
{
};

const std::vector<std::string> kAnna = {"--first-name",  "Anna",         "--last-name", "Berg",
                                        "--company",     "Contoso Ltd.", "--email1",    "anna@contoso.example",
                                        "--mobile",      "+46 70 123",   "--birthday",  "1986-04-12",
                                        "--sensitivity", "private",      "--notes",     "Line one\nLine two",
                                        "--home-city",   "Malmö"};

TEST_F(ContactsCliTest, AddPrintsTheNewIdentifierAndShowReadsEveryFieldBack)
{
    const std::string id = AddContact(kAnna);
    ASSERT_GT(id.size(), 8u);

    const json contact = ShowContact(id);
    EXPECT_EQ(contact["strEntryID"], id);
    EXPECT_EQ(contact["sbEntryID"], id);
    EXPECT_EQ(contact["strFullName"], "Anna Berg"); // derived from the name parts
    EXPECT_EQ(contact["strDisplay"], "Anna Berg");
    EXPECT_EQ(contact["strCompany"], "Contoso Ltd.");
    EXPECT_EQ(contact["strEmail1"], "anna@contoso.example");
    EXPECT_EQ(contact["strNumberCellphone"], "+46 70 123");
    EXPECT_EQ(contact["strHomeCity"], "Malmö");
    EXPECT_EQ(contact["tmBirthday"], "1986-04-12");
    EXPECT_TRUE(contact["tmAnniversary"].is_null());
    EXPECT_EQ(contact["nSensitivity"], 2);
    EXPECT_NE(contact["strMemo"].get<std::string>().find("Line two"), std::string::npos);
    EXPECT_FALSE(contact["tmCTime"].is_null());
    EXPECT_EQ(contact["strPicturePath"], "");
}

TEST_F(ContactsCliTest, WhatAddWroteIsInTheStoreForAnyHost)
{
    const std::string id = AddContact(kAnna);
    CMAPIInterface mapi;
    CMAPIContactInfo contact;
    ASSERT_TRUE(GetStringToSBinary(contact.sbEntryID, CString::FromUtf8(id.c_str())));
    ASSERT_TRUE(mapi.GetContact(&contact, 0x7));
    EXPECT_EQ(contact.strLastName.ToUtf8(), "Berg");
    EXPECT_EQ(contact.tmBirthday.wYear, 1986);
    EXPECT_EQ(contact.tmBirthday.wDay, 12);
}

TEST_F(ContactsCliTest, ListGivesEveryContactOfTheFolderAsJsonAndText)
{
    const std::string anna = AddContact(kAnna);
    const std::string jose = AddContact({"--first-name", "José", "--last-name", "García"});

    const json list = ListContacts();
    EXPECT_EQ(list["folder"]["path"], "Contacts");
    EXPECT_EQ(list["folder"]["type"], "contacts");
    ASSERT_EQ(list["contacts"].size(), 2u);
    EXPECT_EQ(list["contacts"][0]["strEntryID"], anna);
    EXPECT_EQ(list["contacts"][1]["strEntryID"], jose);
    EXPECT_EQ(list["contacts"][1]["strFullName"], "José García");
    EXPECT_EQ(ListContacts("contacts"), list) << "folder paths ignore case";

    const clitest::CliResult text = Run({"--full-ids", "contacts", "list"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(LineCount(text.out), 2);
    EXPECT_NE(text.out.find(anna + "  Anna Berg <anna@contoso.example>, Contoso Ltd."), std::string::npos);
}

TEST_F(ContactsCliTest, ShowAsTextLabelsTheFieldsThatHoldValues)
{
    const std::string id = AddContact(kAnna);
    const clitest::CliResult shown = Run({"contacts", "show", id});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("First name:             Anna\n"), std::string::npos);
    EXPECT_NE(shown.out.find("Sensitivity:            private\n"), std::string::npos);
    EXPECT_NE(shown.out.find("Notes:                  Line one\n                        Line two\n"),
              std::string::npos);
    EXPECT_EQ(shown.out.find("Department"), std::string::npos) << "empty fields are left out";
}

TEST_F(ContactsCliTest, BirthdaysAndAnniversariesAreShownAsDaysWhateverTimeWasGiven)
{
    const std::string id =
        AddContact({"--first-name", "Dates", "--birthday", "1990-12-31T23:30", "--anniversary", "2015-06-01 08:15:30"});
    const json contact = ShowContact(id);
    EXPECT_EQ(contact["tmBirthday"], "1990-12-31");
    EXPECT_EQ(contact["tmAnniversary"], "2015-06-01");
    EXPECT_EQ(ListContacts()["contacts"][0]["tmAnniversary"], "2015-06-01");

    const clitest::CliResult shown = Run({"contacts", "show", id});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("Birthday:               1990-12-31\n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("Anniversary:            2015-06-01\n"), std::string::npos) << shown.out;

    ASSERT_EQ(Run({"contacts", "edit", id, "--birthday", "1991-01-02"}).status, 0);
    EXPECT_EQ(ShowContact(id)["tmBirthday"], "1991-01-02");
    EXPECT_EQ(ShowContact(id)["tmAnniversary"], "2015-06-01") << "an edit keeps the other date";
}

TEST_F(ContactsCliTest, EditChangesOnlyTheGivenFields)
{
    const std::string id = AddContact(kAnna);
    const clitest::CliResult edited =
        Run({"--full-ids", "contacts", "edit", id, "--company", "Fabrikam", "--last-name", "Lind", "--birthday", ""});
    ASSERT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(edited.out, id + "\n");

    const json contact = ShowContact(id);
    EXPECT_EQ(contact["strCompany"], "Fabrikam");
    EXPECT_EQ(contact["strFullName"], "Anna Lind");
    EXPECT_TRUE(contact["tmBirthday"].is_null()) << "an empty date removes it";
    EXPECT_EQ(contact["strEmail1"], "anna@contoso.example");
    EXPECT_EQ(contact["strHomeCity"], "Malmö");
    EXPECT_EQ(contact["nSensitivity"], 2);
    EXPECT_EQ(ListContacts()["contacts"].size(), 1u) << "the same item changed, no new one";
}

TEST_F(ContactsCliTest, DeleteRemovesTheContactOrMovesItToDeletedItems)
{
    const std::string kept = AddContact({"--first-name", "Kept"});
    const std::string removed = AddContact({"--first-name", "Removed"});
    const std::string moved = AddContact({"--first-name", "Moved"});

    EXPECT_EQ(Run({"contacts", "delete", removed}).status, 0);
    EXPECT_EQ(Run({"contacts", "delete", moved, "--to-deleted-items"}).status, 0);

    const json contacts = ListContacts()["contacts"];
    ASSERT_EQ(contacts.size(), 1u);
    EXPECT_EQ(contacts[0]["strEntryID"], kept);
    const json deleted = ListContacts("Deleted Items")["contacts"];
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0]["strFirstName"], "Moved");
    EXPECT_EQ(Run({"contacts", "show", removed}).status, 1);
}

TEST_F(ContactsCliTest, ContactsGoIntoTheFolderNamedByPathOrEntryIdentifier)
{
    ASSERT_EQ(Run({"folder", "add", "Contacts/Suppliers"}).status, 0);
    const json tree = RunJson({"tree", "--types", "contacts"});
    const json folders = tree["stores"][0]["arrFolders"];
    ASSERT_EQ(folders.size(), 2u);
    EXPECT_EQ(folders[1]["path"], "Contacts/Suppliers");
    EXPECT_EQ(folders[1]["nDepth"], 2);

    AddContact({"--folder", "Contacts/Suppliers", "--first-name", "Supplier"});
    const json byId = ListContacts(folders[1]["sbEntryID"]);
    ASSERT_EQ(byId["contacts"].size(), 1u);
    EXPECT_EQ(byId["contacts"][0]["strFirstName"], "Supplier");
    EXPECT_EQ(ListContacts()["contacts"].size(), 0u);
}
} // namespace
