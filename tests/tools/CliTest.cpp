#include "tools/CliTest.h"

void CliTest::SetUp()
{
    ServiceTest::SetUp();
    m_sandbox = std::make_unique<clitest::CliSandbox>(Home());
}

void CliTest::TearDown()
{
    m_sandbox.reset();
    ServiceTest::TearDown();
}

nlohmann::json CliTest::RunJson(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "--json");
    const clitest::CliResult result = Run(arguments);
    EXPECT_EQ(result.status, 0) << result.err;
    return result.status == 0 ? nlohmann::json::parse(result.out) : nlohmann::json();
}

std::string CliTest::AddContact(const std::vector<std::string>& options)
{
    std::vector<std::string> arguments = {"--full-ids", "contacts", "add"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const clitest::CliResult result = Run(arguments);
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out.substr(0, result.out.find('\n'));
}

nlohmann::json CliTest::ShowContact(const std::string& id)
{
    return RunJson({"contacts", "show", id});
}

nlohmann::json CliTest::ListContacts(const std::string& folder)
{
    std::vector<std::string> arguments = {"contacts", "list"};
    if (!folder.empty())
        arguments.push_back(folder);
    return RunJson(arguments);
}

int LineCount(const std::string& text)
{
    int lines = 0;
    for (char ch : text)
        lines += ch == '\n';
    return lines;
}
