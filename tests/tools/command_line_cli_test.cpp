// What the command line itself answers: the version, an unknown command or filter in words, the global options in
// each command's help, and values that cannot be right refused before anything is written.
#include "tools/CliTest.h"

namespace
{
class CommandLineCliTest : public CliTest
{
};

TEST_F(CommandLineCliTest, VersionUnknownCommandsAndFilters)
{
    const clitest::CliResult version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("mapipim ", 0), 0u) << version.out;
    EXPECT_EQ(LineCount(version.out), 1);

    clitest::CliResult result = Run({"frobnicate"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "mapipim: unknown command 'frobnicate' (see --help)\n");
    result = Run({"contacts", "lsit"});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "mapipim: unknown command 'lsit' (see --help)\n");

    result = Run({"attachments", "save", "00", "--filter", "photos"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("'photos' is no filter: expected all, picture or files"), std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find("->"), std::string::npos) << "no parser internals: " << result.err;
}

TEST_F(CommandLineCliTest, EachCommandsHelpListsTheGlobalOptions)
{
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"contacts", "add", "--help"}, {"stores", "--help"}, {"attachments", "save", "--help"}})
    {
        const clitest::CliResult help = Run(command);
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("Global options"), std::string::npos) << command[0];
        EXPECT_NE(help.out.find("--home"), std::string::npos) << command[0];
        EXPECT_NE(help.out.find("--json"), std::string::npos) << command[0];
    }
}

TEST_F(CommandLineCliTest, EmptyAndInvalidValuesAreRefusedAndChangeNothing)
{
    ASSERT_EQ(Run({"stores"}).status, 0);
    clitest::CliResult result = Run({"store", "add", ""});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("a name cannot be empty"), std::string::npos) << result.err;
    EXPECT_EQ(Run({"store", "add", "  "}).status, 2);
    EXPECT_EQ(Run({"profile", "create", ""}).status, 2);

    result = Run({"folder", "add", "Projects", "--class", "NotAClass"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("begin with 'IPF.'"), std::string::npos) << result.err;

    result = Run({"contacts", "add", "--first-name", "", "--company", " "});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("every field given is empty"), std::string::npos) << result.err;

    EXPECT_EQ(LineCount(Run({"store", "list"}).out), 1) << "no store was added";
    EXPECT_EQ(Run({"contacts", "list", "Projects"}).status, 1) << "no folder was added";
    EXPECT_EQ(ListContacts()["contacts"].size(), 0u);
}
} // namespace
