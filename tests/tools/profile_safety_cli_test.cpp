// Actions that would surprise: deleting the default profile needs --force, a read-only command never makes a
// profile root, and a default profile is made only where none exists, with a word on standard error.
#include "tools/CliTest.h"

#include <filesystem>

namespace
{
class ProfileSafetyCliTest : public CliTest
{
protected:
    // The program on another profile root than the fixture's.
    clitest::CliResult RunIn(const std::string& root, std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), {"--home", root});
        return clitest::CliProcess(arguments, Cli().PathOf("")).Wait();
    }
};

TEST_F(ProfileSafetyCliTest, TheDefaultProfileIsDeletedOnlyWithForce)
{
    ASSERT_EQ(Run({"stores"}).status, 0);
    const nlohmann::json before = RunJson({"profile", "list"});
    ASSERT_EQ(before["profiles"].size(), 1u);
    const std::string name = before["profiles"][0]["name"];

    clitest::CliResult result = Run({"profile", "delete", name});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("is the default profile"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("--force"), std::string::npos) << result.err;
    EXPECT_EQ(RunJson({"profile", "list"})["profiles"].size(), 1u);

    ASSERT_EQ(Run({"profile", "create", "Spare"}).status, 0);
    EXPECT_EQ(Run({"profile", "delete", "Spare"}).status, 0) << "not the default: no --force needed";
    result = Run({"profile", "delete", name, "--force"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(RunJson({"profile", "list"})["profiles"].size(), 0u);
}

TEST_F(ProfileSafetyCliTest, AReadOnlyCommandOnAMissingRootCreatesNothing)
{
    const std::string missing = Cli().PathOf("typo");
    for (const std::vector<std::string>& command : {std::vector<std::string>{"stores"}, {"contacts", "list"},
                                                    {"profile", "list"}, {"store", "list"}})
    {
        const clitest::CliResult result = RunIn(missing, command);
        EXPECT_EQ(result.status, 1) << command[0];
        EXPECT_EQ(result.err.rfind("mapipim: no profile root at '" + missing + "'", 0), 0u) << result.err;
        EXPECT_FALSE(std::filesystem::exists(missing)) << command[0];
    }
    const clitest::CliResult created = RunIn(missing, {"contacts", "add", "--first-name", "Anna"});
    EXPECT_EQ(created.status, 0) << created.err;
    EXPECT_TRUE(std::filesystem::is_directory(missing));
}

TEST_F(ProfileSafetyCliTest, ADefaultProfileIsMadeOnlyWhereThereIsNone)
{
    clitest::CliResult result = Run({"stores"});
    ASSERT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "") << "the word on a new default profile is for a terminal only";

    const std::string other = Cli().PathOf("other");
    std::filesystem::create_directory(other);
    ASSERT_EQ(RunIn(other, {"profile", "create", "Work"}).status, 0);
    result = RunIn(other, {"contacts", "list"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("profile default NAME"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("'Work'"), std::string::npos) << result.err;
    result = RunIn(other, {"profile", "list"});
    EXPECT_EQ(result.out, "Work\n") << "no default profile was made beside it";

    result = RunIn(other, {"--json", "profile", "create", "Home", "--default"});
    ASSERT_EQ(result.status, 0) << result.err;
    const nlohmann::json created = nlohmann::json::parse(result.out);
    EXPECT_EQ(created["name"], "Home");
    EXPECT_EQ(created["default"], true);
}
} // namespace
