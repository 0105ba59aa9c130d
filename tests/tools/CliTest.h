// The fixture of the command-line host's tests: a fresh profile root (the service fixture's MAPIPIM_HOME, so a
// test may also look into the store through the library) and a sandbox to run the program in, with helpers for
// the steps many tests take.
#pragma once

#include "support/ServiceFixture.h"
#include "tools/CliSandbox.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

class CliTest : public ServiceTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    clitest::CliSandbox& Cli() { return *m_sandbox; }
    clitest::CliResult Run(const std::vector<std::string>& arguments) { return m_sandbox->Run(arguments); }

    // Runs a command that must succeed and returns its JSON document (--json is added).
    nlohmann::json RunJson(std::vector<std::string> arguments);
    // contacts add with the options; returns the new entry identifier, whole.
    std::string AddContact(const std::vector<std::string>& options);
    nlohmann::json ShowContact(const std::string& id);
    nlohmann::json ListContacts(const std::string& folder = std::string());

private:
    std::unique_ptr<clitest::CliSandbox> m_sandbox;
};

// The number of lines of a text.
int LineCount(const std::string& text);
