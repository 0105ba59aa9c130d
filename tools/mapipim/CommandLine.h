// The whole command line: global options and every command. Owns the parser, whose options stay bound to the
// values the chosen command reads when it runs.
#pragma once

#include "CommandSet.h"
#include "GlobalOptions.h"

namespace cli
{
class CommandLine
{
public:
    CommandLine();

    // -1 when a command was chosen and should run; otherwise the exit status to end with now: 0 after --help,
    // kExitUsage after a usage error (reported on standard error).
    int Parse(int argc, char** argv);

    const GlobalOptions& Options() const { return m_options; }
    // --full-ids: whole entry identifiers in text output. Only the output reads it, never a command.
    bool FullIds() const { return m_bFullIds; }
    void Run(Host& host) const;

private:
    CLI::App m_app;
    GlobalOptions m_options;
    bool m_bFullIds = false;
    CommandSet m_commands;
};
} // namespace cli
