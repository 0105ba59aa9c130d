// Long attachment work (attaching a file, saving an attachment) shows a bar by bytes on a terminal, erased when done,
// and nothing at all when standard error is no terminal; standard output is the same either way.
#include "tools/CliTest.h"

#include <filesystem>
#include <string>

namespace
{
const size_t kFileBytes = 1500000; // with 1 ms pauses per 1 KiB, well over the time before a bar shows

class AttachmentProgressCliTest : public CliTest
{
protected:
    void SetUp() override
    {
        CliTest::SetUp();
        std::string content(kFileBytes, '\0');
        for (size_t i = 0; i < content.size(); ++i)
            content[i] = static_cast<char>((i * 7919) >> 3);
        m_content = content;
        Cli().WriteFile("big.bin", m_content);
        std::filesystem::create_directory(Cli().PathOf("out"));
    }

    // mapipim --yield 1 ..., standard error on a terminal or a pipe.
    clitest::CliResult RunSlowly(const std::vector<std::string>& arguments, clitest::CliProcess::ErrorOutput error)
    {
        std::vector<std::string> slow = {"--yield", "1", "--full-ids"};
        slow.insert(slow.end(), arguments.begin(), arguments.end());
        clitest::CliProcess process(Cli().WithHome(slow), Cli().PathOf(""), clitest::CliProcess::kCapture,
                                    std::string(), error);
        return process.Wait();
    }

    // Adds a contact with the big file and saves it back into out/, checking what standard output says of both;
    // returns standard error of the two runs.
    std::string AttachAndSave(clitest::CliProcess::ErrorOutput error)
    {
        const clitest::CliResult added =
            RunSlowly({"contacts", "add", "--first-name", "Big", "--attach", Cli().PathOf("big.bin")}, error);
        EXPECT_EQ(added.status, 0) << added.err;
        const std::string id = added.out.substr(0, added.out.find('\n'));
        EXPECT_EQ(added.out, id + "\n") << "the new identifier alone";
        EXPECT_EQ(id.find_first_not_of("0123456789ABCDEF"), std::string::npos) << id;

        const clitest::CliResult saved = RunSlowly({"attachments", "save", id, "--to", Cli().PathOf("out")}, error);
        EXPECT_EQ(saved.status, 0) << saved.err;
        EXPECT_EQ(saved.out, Cli().PathOf("out/big.bin") + "\n") << "the path written alone";
        EXPECT_TRUE(Cli().ReadFile("out/big.bin") == m_content) << "the saved file differs from the one attached";
        return added.err + saved.err;
    }

    std::string m_content;
};

TEST_F(AttachmentProgressCliTest, StandardErrorThatIsNoTerminalGetsNoBar)
{
    const std::string err = AttachAndSave(clitest::CliProcess::kErrorPipe);
    EXPECT_EQ(err.find('\r'), std::string::npos) << err;
    EXPECT_EQ(err.find('\033'), std::string::npos) << err;
    EXPECT_EQ(err.find("MB"), std::string::npos) << err;
}

TEST_F(AttachmentProgressCliTest, ATerminalShowsTheBytesDoneOfTheTotalAndTheLineIsErasedAtTheEnd)
{
    const clitest::CliResult added =
        RunSlowly({"contacts", "add", "--first-name", "Big", "--attach", Cli().PathOf("big.bin")},
                  clitest::CliProcess::kErrorTerminal);
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_NE(added.err.find("\rAttaching big.bin ["), std::string::npos) << added.err;
    EXPECT_NE(added.err.find(" MB / 1.5 MB"), std::string::npos) << added.err;
    ASSERT_GE(added.err.size(), 4u);
    EXPECT_EQ(added.err.substr(added.err.size() - 4), "\r\033[K") << "the bar is erased when done";

    const std::string id = added.out.substr(0, added.out.find('\n'));
    const clitest::CliResult saved =
        RunSlowly({"attachments", "save", id, "--to", Cli().PathOf("out")}, clitest::CliProcess::kErrorTerminal);
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.out, Cli().PathOf("out/big.bin") + "\n");
    // The store's size of the attachment counts its names too: still 1.5 MB.
    EXPECT_NE(saved.err.find("\rSaving big.bin ["), std::string::npos) << saved.err;
    EXPECT_NE(saved.err.find(" / 1.5 MB"), std::string::npos) << saved.err;
    ASSERT_GE(saved.err.size(), 4u);
    EXPECT_EQ(saved.err.substr(saved.err.size() - 4), "\r\033[K");
}

TEST_F(AttachmentProgressCliTest, ShortWorkShowsNoBarEvenOnATerminal)
{
    Cli().WriteFile("small.txt", "a few bytes");
    const clitest::CliResult added =
        RunSlowly({"contacts", "add", "--first-name", "Small", "--attach", Cli().PathOf("small.txt")},
                  clitest::CliProcess::kErrorTerminal);
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.err.find("Attaching"), std::string::npos) << added.err;
}

TEST_F(AttachmentProgressCliTest, CtrlCWhileAttachingErasesTheBarAndAddsNothing)
{
    clitest::CliProcess add(
        Cli().WithHome({"--yield", "1", "contacts", "add", "--first-name", "Big", "--attach", Cli().PathOf("big.bin")}),
        Cli().PathOf(""), clitest::CliProcess::kCapture, std::string(), clitest::CliProcess::kErrorTerminal);
    ASSERT_TRUE(add.AwaitError("Attaching big.bin [")) << "the bar never showed";
    ASSERT_TRUE(add.HandlesInterrupt());
    add.Interrupt();

    const clitest::CliResult result = add.Wait();
    EXPECT_EQ(result.status, 130) << result.err;
    const size_t cleared = result.err.rfind("\r\033[K");
    ASSERT_NE(cleared, std::string::npos) << result.err;
    EXPECT_EQ(result.err.substr(cleared), "\r\033[Kmapipim: cancelled\n");
    EXPECT_TRUE(result.out.empty());
    EXPECT_TRUE(ListContacts()["contacts"].empty());
}
TEST_F(AttachmentProgressCliTest, TracingToStandardErrorDrawsNoBarIntoTheTraceLines)
{
    const clitest::CliResult added =
        RunSlowly({"--trace", "-", "contacts", "add", "--first-name", "Big", "--attach", Cli().PathOf("big.bin")},
                  clitest::CliProcess::kErrorTerminal);
    ASSERT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.err.find("Attaching"), std::string::npos) << added.err;
    EXPECT_EQ(added.err.find('\r'), std::string::npos) << added.err;
}

// Every command that attaches files draws the bar while the library reads them.
class AttachingCommandCliTest : public AttachmentProgressCliTest,
                                public ::testing::WithParamInterface<std::vector<std::string>>
{
};

TEST_P(AttachingCommandCliTest, ShowsTheBarOnATerminal)
{
    std::vector<std::string> arguments = GetParam();
    arguments.insert(arguments.end(), {"--attach", Cli().PathOf("big.bin")});
    const clitest::CliResult result = RunSlowly(arguments, clitest::CliProcess::kErrorTerminal);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("\rAttaching big.bin ["), std::string::npos) << result.err;
    ASSERT_GE(result.err.size(), 4u);
    EXPECT_EQ(result.err.substr(result.err.size() - 4), "\r\033[K");
}

INSTANTIATE_TEST_SUITE_P(Kinds, AttachingCommandCliTest,
                         ::testing::Values(std::vector<std::string>{"tasks", "add", "--subject", "Task"},
                                           std::vector<std::string>{"mail", "add", "--subject", "Mail"},
                                           std::vector<std::string>{"calendar", "add", "--subject", "Meeting",
                                                                    "--start", "2026-06-01T10:00"}));

TEST_F(AttachmentProgressCliTest, EditingAContactShowsTheBarOfTheFilesAdded)
{
    Cli().WriteFile("small.txt", "a few bytes");
    const std::string id = AddContact({"--first-name", "Anna", "--attach", Cli().PathOf("small.txt")});
    const clitest::CliResult edited =
        RunSlowly({"contacts", "edit", id, "--attach", Cli().PathOf("big.bin")}, clitest::CliProcess::kErrorTerminal);
    ASSERT_EQ(edited.status, 0) << edited.err;
    EXPECT_NE(edited.err.find("\rAttaching big.bin ["), std::string::npos) << edited.err;
    EXPECT_NE(edited.err.find(" / 1.5 MB"), std::string::npos)
        << "the file already attached is no work: " << edited.err;
}
} // namespace
