// The independent reader the interop tests compare with: ical.js under node (installed by ./dev deps into
// tests/oracles). Tests skip themselves when node or the module is missing.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace interoptest
{
inline std::filesystem::path OracleDir()
{
    const char* source = std::getenv("MAPIPIM_TEST_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "tests" / "oracles";
}

inline bool OracleAvailable()
{
    return std::filesystem::exists(OracleDir() / "node_modules" / "ical.js" / "package.json") &&
           std::system("node --version >/dev/null 2>&1") == 0;
}

// Runs the oracle script with the arguments; its standard output, empty when it failed.
inline std::string RunOracle(const std::string& arguments)
{
    const std::string command = "node '" + (OracleDir() / "ical_oracle.mjs").string() + "' " + arguments + " 2>&1";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        if (pclose(pipe) != 0)
            output = "oracle failed: " + output;
    }
    return output;
}

// The oracle's reading of a file; a json null, with the oracle's complaint in the test's log, when it failed.
inline nlohmann::json OracleRead(const std::string& path)
{
    const std::string output = RunOracle("'" + path + "'");
    const nlohmann::json parsed = nlohmann::json::parse(output, nullptr, false);
    if (parsed.is_discarded())
    {
        ADD_FAILURE() << "ical.js could not read " << path << ": " << output.substr(0, 2000);
        return nlohmann::json();
    }
    return parsed;
}
} // namespace interoptest
