// import and export of Outlook item files (.msg), run as a user runs them: several files at once, each with its
// identifier or one line why it failed; the item lands in its kind's folder and comes back out as a file.
#include "support/MsgSamples.h"
#include "tools/CliTest.h"

using nlohmann::json;

namespace
{
class MsgCliTest : public CliTest
{
};

TEST_F(MsgCliTest, NoteExportsAndImportsBackIntoTheNotesFolder)
{
    const std::string id = RunJson({"notes", "add", "--text", "Call the plumber\nbefore Friday"})["strEntryID"];
    const std::string file = Cli().PathOf("note.msg");
    const clitest::CliResult exported = Run({"export", id, "--to", file});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const clitest::CliResult imported = Run({"import", file});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(LineCount(imported.out), 1);
    const std::string newId = imported.out.substr(0, imported.out.find('\n'));
    EXPECT_NE(newId, id);
    const json note = RunJson({"notes", "show", newId});
    EXPECT_EQ(note["strContents"], "Call the plumber\r\nbefore Friday");
    EXPECT_EQ(RunJson({"notes", "list"})["notes"].size(), 2u);
}

TEST_F(MsgCliTest, EachFileGetsItsIdentifierOrOneLineWhyAndAnyFailureExitsOne)
{
    const std::string id = RunJson({"tasks", "add", "--subject", "Renew passport"})["strEntryID"];
    const std::string good = Cli().PathOf("task.msg");
    ASSERT_EQ(Run({"export", id, "--to", good}).status, 0);
    Cli().WriteFile("broken.msg", "this is not a compound file");
    const clitest::CliResult result =
        Run({"import", good, Cli().PathOf("broken.msg"), Cli().PathOf("missing.msg"), good});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(LineCount(result.out), 2) << result.out;
    EXPECT_NE(result.err.find("broken.msg': not an Outlook item file"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("missing.msg': no such file"), std::string::npos) << result.err;
    EXPECT_EQ(LineCount(result.err), 2) << "one line for each file that failed, nothing more";
    EXPECT_EQ(RunJson({"tasks", "list"})["tasks"].size(), 3u);
}

TEST_F(MsgCliTest, ImportIntoANamedFolderAndRefusals)
{
    const auto sample = msgtest::Sample("mail_plaintext_fromtext.msg");
    if (!sample)
        GTEST_SKIP() << "no .msg samples on this machine (MAPIPIM_SAMPLES)";
    const clitest::CliResult imported = Run({"import", sample->string(), "--folder", "Drafts"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(RunJson({"mail", "list", "Drafts"})["emails"].size(), 1u);

    const clitest::CliResult unknown = Run({"export", "00", "--to", Cli().PathOf("x.doc")});
    EXPECT_EQ(unknown.status, 2) << unknown.err;
    const clitest::CliResult noItem = Run({"export", "0000AABB", "--to", Cli().PathOf("x.msg")});
    EXPECT_EQ(noItem.status, 1) << noItem.err;
    EXPECT_EQ(LineCount(noItem.err), 1);
}
} // namespace
