// attachments save never replaces a file unless told, gives attachments of one name files of their own, and says
// which files it wrote.
#include "tools/CliTest.h"

#include <filesystem>
#include <sys/stat.h>

using nlohmann::json;

namespace
{
class AttachmentSaveCliTest : public CliTest
{
protected:
    // A contact with two attachments both named notes.txt, and a third one.
    std::string AddContactWithTwoNotes()
    {
        std::filesystem::create_directory(Cli().PathOf("a"));
        std::filesystem::create_directory(Cli().PathOf("b"));
        std::filesystem::create_directory(Cli().PathOf("out"));
        Cli().WriteFile("a/notes.txt", "first");
        Cli().WriteFile("b/notes.txt", "second");
        Cli().WriteFile("plan", "third");
        return AddContact({"--first-name", "Anna", "--attach", Cli().PathOf("a/notes.txt"),
                           Cli().PathOf("b/notes.txt"), Cli().PathOf("plan")});
    }

    std::vector<std::string> FilesIn(const std::string& directory)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Cli().PathOf(directory)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(AttachmentSaveCliTest, AttachmentsOfOneNameGetFilesOfTheirOwnAndTheFilesWrittenAreReported)
{
    const std::string id = AddContactWithTwoNotes();
    const json saved = RunJson({"attachments", "save", id, "--to", Cli().PathOf("out")});
    EXPECT_EQ(Cli().ReadFile("out/notes.txt"), "first");
    EXPECT_EQ(Cli().ReadFile("out/notes (2).txt"), "second");
    EXPECT_EQ(Cli().ReadFile("out/plan"), "third");
    EXPECT_EQ(FilesIn("out"), (std::vector<std::string>{"notes (2).txt", "notes.txt", "plan"}));
    ASSERT_EQ(saved["files"].size(), 3u);
    EXPECT_EQ(saved["files"][1]["index"], 1);
    EXPECT_EQ(saved["files"][1]["name"], "notes.txt");
    EXPECT_EQ(saved["files"][1]["path"], Cli().PathOf("out/notes (2).txt"));

    const clitest::CliResult text = Run({"attachments", "save", id, "2", "--to", Cli().PathOf("out")});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, Cli().PathOf("out/plan (2)") + "\n");
}

TEST_F(AttachmentSaveCliTest, AnExistingFileIsKeptUnlessOverwriteIsGiven)
{
    const std::string id = AddContactWithTwoNotes();
    Cli().WriteFile("out/plan", "mine");
    Cli().WriteFile("keep.txt", "mine");

    ASSERT_EQ(Run({"attachments", "save", id, "2", "--to", Cli().PathOf("out")}).status, 0);
    EXPECT_EQ(Cli().ReadFile("out/plan"), "mine");
    EXPECT_EQ(Cli().ReadFile("out/plan (2)"), "third");

    const clitest::CliResult refused = Run({"attachments", "save", id, "0", "--to", Cli().PathOf("keep.txt")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "mapipim: '" + Cli().PathOf("keep.txt") + "' exists: give --overwrite to replace it\n");
    EXPECT_EQ(Cli().ReadFile("keep.txt"), "mine");

    ASSERT_EQ(Run({"attachments", "save", id, "0", "--to", Cli().PathOf("keep.txt"), "--overwrite"}).status, 0);
    EXPECT_EQ(Cli().ReadFile("keep.txt"), "first");
    ASSERT_EQ(Run({"attachments", "save", id, "2", "--to", Cli().PathOf("out"), "--overwrite"}).status, 0);
    EXPECT_EQ(Cli().ReadFile("out/plan"), "third");
}

TEST_F(AttachmentSaveCliTest, SeveralAttachmentsAreNeverSavedToOneFile)
{
    const std::string id = AddContactWithTwoNotes();
    const clitest::CliResult all = Run({"attachments", "save", id, "--all", "--to", Cli().PathOf("one.txt")});
    EXPECT_EQ(all.status, 2);
    EXPECT_NE(all.err.find("is no directory"), std::string::npos) << all.err;
    EXPECT_EQ(Run({"attachments", "save", id, "--to", Cli().PathOf("one.txt")}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(Cli().PathOf("one.txt")));
    EXPECT_EQ(Run({"attachments", "save", id, "--to", Cli().PathOf("nowhere/one.txt"), "0"}).status, 1);
    EXPECT_TRUE(FilesIn("out").empty());
}
} // namespace
