// Pictures and attachments: given to contacts add and edit, then listed, saved and deleted with the attachments
// commands.
#include "tools/CliTest.h"

#include <sys/stat.h>

using nlohmann::json;

namespace
{
class AttachmentsCliTest : public CliTest
{
protected:
    // A contact with a picture (position 0) and two attached files (positions 1 and 2).
    std::string AddContactWithFiles()
    {
        Cli().WritePng("face.png", 300, 200);
        Cli().WriteFile("agenda.txt", "Agenda: budget, hiring\n");
        Cli().WriteFile("map.bin", std::string("\x00\x01\x02\xFF", 4));
        return AddContact({"--first-name", "Anna", "--picture", Cli().PathOf("face.png"), "--attach",
                           Cli().PathOf("agenda.txt"), "--attach", Cli().PathOf("map.bin")});
    }

    json Attachments(const std::string& id) { return RunJson({"attachments", "list", id})["attachments"]; }
};

TEST_F(AttachmentsCliTest, ListShowsThePictureAndTheFilesByPosition)
{
    const std::string id = AddContactWithFiles();
    const json attachments = Attachments(id);
    ASSERT_EQ(attachments.size(), 3u);
    EXPECT_EQ(attachments[0]["name"], "ContactPicture.jpg");
    EXPECT_TRUE(attachments[0]["picture"]);
    EXPECT_EQ(attachments[1]["name"], "agenda.txt");
    EXPECT_FALSE(attachments[1]["picture"]);
    EXPECT_EQ(attachments[2]["index"], 2);

    const json contact = ShowContact(id);
    EXPECT_EQ(contact["strPicturePath"], "ContactPicture.jpg");
    EXPECT_EQ(contact["strAttachFile"], "agenda.txt;map.bin");

    const clitest::CliResult text = Run({"attachments", "list", id});
    EXPECT_EQ(text.out, "0  ContactPicture.jpg  (picture)\n1  agenda.txt\n2  map.bin\n");
}

TEST_F(AttachmentsCliTest, SaveWritesTheContentsUnderTheirNamesOrToTheGivenFile)
{
    const std::string id = AddContactWithFiles();
    ASSERT_EQ(mkdir(Cli().PathOf("out").c_str(), 0700), 0);

    const clitest::CliResult all = Run({"attachments", "save", id, "--filter", "files", "--to", Cli().PathOf("out")});
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(Cli().ReadFile("out/agenda.txt"), "Agenda: budget, hiring\n");
    EXPECT_EQ(Cli().ReadFile("out/map.bin"), std::string("\x00\x01\x02\xFF", 4));
    EXPECT_TRUE(Cli().ReadFile("out/ContactPicture.jpg").empty()) << "the filter left the picture out";

    ASSERT_EQ(Run({"attachments", "save", id, "0", "--to", Cli().PathOf("photo.jpg")}).status, 0);
    const std::string jpeg = Cli().ReadFile("photo.jpg");
    ASSERT_GT(jpeg.size(), 2u);
    EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8") << "the picture is stored as a JPEG thumbnail";
}

TEST_F(AttachmentsCliTest, DeleteRemovesOneAttachmentOrAllThatPassTheFilter)
{
    const std::string id = AddContactWithFiles();
    ASSERT_EQ(Run({"attachments", "delete", id, "1"}).status, 0);
    json attachments = Attachments(id);
    ASSERT_EQ(attachments.size(), 2u);
    EXPECT_EQ(attachments[1]["name"], "map.bin");

    ASSERT_EQ(Run({"attachments", "delete", id, "--all", "--filter", "picture"}).status, 0);
    attachments = Attachments(id);
    ASSERT_EQ(attachments.size(), 1u);
    EXPECT_EQ(attachments[0]["name"], "map.bin");
}

TEST_F(AttachmentsCliTest, EditKeepsTheFilesAndPictureUnlessTold)
{
    const std::string id = AddContactWithFiles();
    Cli().WriteFile("minutes.txt", "Minutes\n");

    ASSERT_EQ(Run({"contacts", "edit", id, "--company", "Contoso"}).status, 0);
    EXPECT_EQ(Attachments(id).size(), 3u);

    ASSERT_EQ(Run({"contacts", "edit", id, "--attach", Cli().PathOf("minutes.txt")}).status, 0);
    EXPECT_EQ(ShowContact(id)["strAttachFile"], "agenda.txt;map.bin;minutes.txt");

    ASSERT_EQ(Run({"contacts", "edit", id, "--no-picture"}).status, 0);
    const json contact = ShowContact(id);
    EXPECT_EQ(contact["strPicturePath"], "");
    EXPECT_EQ(contact["strAttachFile"], "agenda.txt;map.bin;minutes.txt");
}

TEST_F(AttachmentsCliTest, AnItemWithoutTheAttachmentAsked)
{
    const std::string plain = AddContact({"--first-name", "Plain"});
    const clitest::CliResult none = Run({"attachments", "save", plain});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "mapipim: the item has no attachments\n");

    const std::string id = AddContactWithFiles();
    const clitest::CliResult beyond = Run({"attachments", "delete", id, "3"});
    EXPECT_EQ(beyond.status, 1);
    EXPECT_EQ(beyond.err, "mapipim: the item has no attachment 3 (it has 3)\n");
    EXPECT_EQ(Run({"attachments", "delete", id}).status, 2) << "neither a position nor --all";
    EXPECT_EQ(Attachments(id).size(), 3u);
}
TEST_F(AttachmentsCliTest, APictureTheLibraryCouldNotAddLeavesNoNewContactAndIsReportedForAnEdit)
{
    Cli().WritePng("face.png", 40, 40);
    const std::string id = AddContact({"--first-name", "Anna"});
    Cli().WriteFile("Documents", "a file where the picture's temporary folder should be");
    const clitest::CliResult added =
        Run({"contacts", "add", "--first-name", "Bert", "--picture", Cli().PathOf("face.png")});
    EXPECT_EQ(added.status, 1);
    EXPECT_EQ(added.err, "mapipim: cannot create the contact: the library could not add its picture (see --trace)\n");
    const json contacts = ListContacts()["contacts"];
    ASSERT_EQ(contacts.size(), 1u) << "the new contact was removed again";
    EXPECT_EQ(contacts[0]["strFirstName"], "Anna");

    const clitest::CliResult edited = Run({"contacts", "edit", id, "--picture", Cli().PathOf("face.png")});
    EXPECT_EQ(edited.status, 1);
    EXPECT_EQ(edited.err, "mapipim: the contact " + id + " was saved, but without its picture (see --trace)\n");
    EXPECT_EQ(ShowContact(id)["strPicturePath"], "");
}
} // namespace
