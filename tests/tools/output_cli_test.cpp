// Standard output: a write that fails is a failure, a reader that went away ends the program quietly, and control
// characters from the store reach the terminal only as visible escapes.
#include "tools/CliTest.h"

#include <csignal>

namespace
{
class OutputCliTest : public CliTest
{
};

TEST_F(OutputCliTest, AFullDeviceIsAFailure)
{
    AddContact({"--first-name", "Anna"});
    const clitest::CliResult result =
        Cli().RunWithOutput({"contacts", "list"}, clitest::CliProcess::kFile, "/dev/full");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "mapipim: cannot write to standard output: No space left on device\n");
}

TEST_F(OutputCliTest, AClosedPipeEndsTheProgramQuietly)
{
    AddContact({"--first-name", "Anna"});
    const clitest::CliResult result = Cli().RunWithOutput({"contacts", "list"}, clitest::CliProcess::kClosedPipe);
    EXPECT_EQ(result.status, 128 + SIGPIPE);
    EXPECT_EQ(result.err, "");
}

TEST_F(OutputCliTest, ControlCharactersAreEscapedInTextButKeptInJson)
{
    const std::string name = "\x1b]0;owned\x07Red\rX";
    const std::string id = AddContact({"--first-name", name, "--notes", "one\ntwo"});
    Cli().WriteFile("\x1b[2Jnotes.txt", "x");
    ASSERT_EQ(Run({"contacts", "edit", id, "--attach", Cli().PathOf("\x1b[2Jnotes.txt")}).status, 0);

    const clitest::CliResult list = Run({"contacts", "list"});
    EXPECT_NE(list.out.find("\\x1B]0;owned\\x07Red\\x0DX"), std::string::npos) << list.out;
    const clitest::CliResult attachments = Run({"attachments", "list", id});
    EXPECT_EQ(attachments.out, "0  \\x1B[2Jnotes.txt\n");
    const clitest::CliResult show = Run({"contacts", "show", id});
    EXPECT_EQ(show.out.find('\x1b'), std::string::npos);
    EXPECT_NE(show.out.find("one\n"), std::string::npos) << "line ends pass: " << show.out;

    EXPECT_EQ(ShowContact(id)["strFirstName"], name);
}
} // namespace
