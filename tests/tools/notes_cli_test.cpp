// notes add, show, list, edit and delete, run as a user runs them, checked through the program's own JSON and text
// output; bad colours, positions and sizes refused with status 2.
#include "tools/CliTest.h"

using nlohmann::json;

namespace
{
class NotesCliTest : public CliTest
{
protected:
    std::string AddNote(const std::vector<std::string>& options)
    {
        std::vector<std::string> arguments = {"notes", "add"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return RunJson(arguments)["strEntryID"];
    }

    void ExpectRefused(const std::vector<std::string>& arguments, int status, const std::string& message)
    {
        const clitest::CliResult result = Run(arguments);
        EXPECT_EQ(result.status, status) << result.err;
        EXPECT_EQ(LineCount(result.err), 1) << result.err;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
};

TEST_F(NotesCliTest, AddThenShowGivesEveryFieldBackWithTheFirstLineAsSubject)
{
    const std::string id = AddNote({"--text", "Einkaufen 🛒\nMilch\nБрот", "--color", "green", "--at", "40,-20",
                                    "--size", "320,180", "--category", "Haushalt"});
    ASSERT_GT(id.size(), 8u);
    const json note = RunJson({"notes", "show", id});
    EXPECT_EQ(note["strEntryID"], id);
    EXPECT_EQ(note["strSubject"], "Einkaufen 🛒");
    EXPECT_EQ(note["strContents"], "Einkaufen 🛒\r\nMilch\r\nБрот") << "line breaks as the store keeps them";
    EXPECT_EQ(note["nNoteColor"], 1);
    EXPECT_EQ(note["color"], "green");
    EXPECT_EQ(note["nNoteX"], 40);
    EXPECT_EQ(note["nNoteY"], -20);
    EXPECT_EQ(note["nNoteWidth"], 320);
    EXPECT_EQ(note["nNoteHeight"], 180);
    EXPECT_EQ(note["strLabel"], "Haushalt");
    EXPECT_FALSE(note["tmCTime"].is_null());

    const clitest::CliResult shown = Run({"notes", "show", id});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_NE(shown.out.find("Subject:                Einkaufen 🛒\n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("Text:                   Einkaufen 🛒\n                        Milch\n"),
              std::string::npos);
    EXPECT_NE(shown.out.find("Colour:                 green\n"), std::string::npos);
    EXPECT_NE(shown.out.find("Position:               40,-20\n"), std::string::npos);
    EXPECT_NE(shown.out.find("Size:                   320x180\n"), std::string::npos);
}

TEST_F(NotesCliTest, ANewNoteIsYellowAndTwoHundredPixelsSquareByDefault)
{
    const std::string id = AddNote({"--text", "Plain"});
    const json note = RunJson({"notes", "show", id});
    EXPECT_EQ(note["color"], "yellow");
    EXPECT_EQ(note["nNoteX"], 0);
    EXPECT_EQ(note["nNoteWidth"], 200);
    EXPECT_EQ(note["nNoteHeight"], 200);
}

TEST_F(NotesCliTest, ListEditAndDelete)
{
    const std::string first = AddNote({"--text", "First\nbody"});
    const std::string second = AddNote({"--text", "Second", "--color", "pink"});

    const json list = RunJson({"notes", "list"});
    EXPECT_EQ(list["folder"]["path"], "Notes");
    EXPECT_EQ(list["folder"]["type"], "notes");
    ASSERT_EQ(list["notes"].size(), 2u);
    EXPECT_EQ(list["notes"][0]["strEntryID"], first);
    EXPECT_EQ(list["notes"][1]["color"], "pink");
    const clitest::CliResult text = Run({"--full-ids", "notes", "list"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, first + "  [yellow] First\n" + second + "  [pink] Second\n");

    const clitest::CliResult edited =
        Run({"--full-ids", "notes", "edit", first, "--color", "white", "--size", "100,50"});
    ASSERT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(edited.out, first + "\n");
    const json note = RunJson({"notes", "show", first});
    EXPECT_EQ(note["color"], "white");
    EXPECT_EQ(note["nNoteWidth"], 100);
    EXPECT_EQ(note["strContents"], "First\r\nbody") << "what was not given stays";
    EXPECT_EQ(note["strSubject"], "First");

    ASSERT_EQ(Run({"notes", "delete", second, "--to-deleted-items"}).status, 0);
    ASSERT_EQ(Run({"notes", "delete", first}).status, 0);
    EXPECT_EQ(RunJson({"notes", "list"})["notes"].size(), 0u);
    EXPECT_EQ(RunJson({"notes", "list", "Deleted Items"})["notes"].size(), 1u);
    EXPECT_EQ(Run({"notes", "show", first}).status, 1);
}

TEST_F(NotesCliTest, BadInputIsRefusedWithAClearMessage)
{
    ExpectRefused({"notes", "add"}, 2, "give at least one field of the new note");
    ExpectRefused({"notes", "add", "--text", "x", "--color", "purple"}, 2, "'purple' is no note colour");
    ExpectRefused({"notes", "add", "--text", "x", "--color", "3"}, 2, "is no note colour");
    ExpectRefused({"notes", "add", "--text", "x", "--at", "10"}, 2, "'10' is no position");
    ExpectRefused({"notes", "add", "--text", "x", "--at", "1,2,3"}, 2, "is no position");
    ExpectRefused({"notes", "add", "--text", "x", "--at", "99999999999,0"}, 2, "is no position");
    ExpectRefused({"notes", "add", "--text", "x", "--size", "0,10"}, 2, "'0,10' is no size");
    ExpectRefused({"notes", "add", "--text", "x", "--size", "-5,10"}, 2, "is no size");
    ExpectRefused({"notes", "edit", "00"}, 2, "give at least one field to change");
    ExpectRefused({"notes", "list", "Nowhere"}, 1, "no folder 'Nowhere'");
    EXPECT_EQ(RunJson({"notes", "list"})["notes"].size(), 0u) << "nothing was written";
}
} // namespace
