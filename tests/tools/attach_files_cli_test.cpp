// Files given with --attach: several after one option, and a file the library could not take is refused before
// anything is written, so a command that fails has changed nothing.
#include "tools/CliTest.h"

#include <filesystem>

using nlohmann::json;

namespace
{
class AttachFilesCliTest : public CliTest
{
};

TEST_F(AttachFilesCliTest, OneAttachOptionTakesSeveralFiles)
{
    Cli().WriteFile("one.txt", "1");
    Cli().WriteFile("two.txt", "22");
    Cli().WriteFile("three.txt", "333");
    const std::string id = AddContact({"--first-name", "Anna", "--attach", Cli().PathOf("one.txt"),
                                       Cli().PathOf("two.txt"), "--attach", Cli().PathOf("three.txt")});
    EXPECT_EQ(ShowContact(id)["strAttachFile"], "one.txt;two.txt;three.txt");

    const json task = RunJson({"tasks", "add", "--subject", "Read", "--attach", Cli().PathOf("one.txt"),
                               Cli().PathOf("two.txt")});
    EXPECT_EQ(task["strAttachFile"], "one.txt;two.txt");
}

TEST_F(AttachFilesCliTest, AFileWithABackslashInItsNameIsRefusedBeforeTheItemIsWritten)
{
    Cli().WriteFile("a\\b.txt", "x");
    Cli().WriteFile("fine.txt", "y");
    const clitest::CliResult result =
        Run({"contacts", "add", "--first-name", "B", "--attach", Cli().PathOf("fine.txt"), Cli().PathOf("a\\b.txt")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot attach '" + Cli().PathOf("a\\b.txt") + "'"), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_EQ(ListContacts()["contacts"].size(), 0u);

    const std::string id = AddContact({"--first-name", "C"});
    EXPECT_EQ(Run({"contacts", "edit", id, "--company", "X", "--attach", Cli().PathOf("a\\b.txt")}).status, 1);
    const json contact = ShowContact(id);
    EXPECT_EQ(contact["strCompany"], "");
    EXPECT_EQ(contact["strAttachFile"], "");
}

TEST_F(AttachFilesCliTest, APictureInAFolderWithABackslashIsRefusedBeforeTheItemIsWritten)
{
    const std::string folder = "odd\\folder";
    std::filesystem::create_directory(Cli().PathOf(folder));
    Cli().WritePng(folder + "/face.png", 20, 20);
    const clitest::CliResult result =
        Run({"contacts", "add", "--first-name", "B", "--picture", Cli().PathOf(folder + "/face.png")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("folder separator"), std::string::npos) << result.err;
    EXPECT_EQ(ListContacts()["contacts"].size(), 0u);
}
} // namespace
