#include "CommandLine.h"

#include "Failure.h"

namespace cli
{
CommandLine::CommandLine()
    : m_app("mapipim: contacts, appointments, tasks, notes, stores and profiles of the MAPI message stores, "
            "through the mapipim library"),
      m_commands(m_app)
{
    m_app.name("mapipim");
    m_app.require_subcommand(1);
    m_app.failure_message([](const CLI::App*, const CLI::Error& error)
                          { return "mapipim: " + std::string(error.what()) + " (see --help)\n"; });
    m_app.fallthrough(); // global options may follow the command's name
    m_app.add_option("--home", m_options.home, "Profile root (default: $MAPIPIM_HOME, else ~/.local/share/mapipim)");
    m_app.add_option("--store", m_options.store, "The store whose folders are meant (default: the default store)");
    m_app.add_flag("--json", m_options.bJson, "Write one JSON document with every field of the records");
    m_app.add_option("--trace", m_options.trace, "Append the library's trace lines to this file");
    m_app.add_flag("--no-yield", m_options.bNoYield, "Run without the library's pause after each item");

    AddStoreCommands(m_commands);
    AddContactCommands(m_commands);
    AddCalendarCommands(m_commands);
    AddTaskCommands(m_commands);
    AddNoteCommands(m_commands);
    AddMailCommands(m_commands);
    AddAttachmentCommands(m_commands);
    AddProfileCommands(m_commands);
    AddStoreAdminCommands(m_commands);
    AddDemoCommand(m_commands);
    AddDataFileImportCommand(m_commands);
    AddExportCommand(m_commands);
}

int CommandLine::Parse(int argc, char** argv)
{
    try
    {
        m_app.parse(argc, argv);
    }
    catch (const CLI::ParseError& error)
    {
        const int status = m_app.exit(error);
        return status == 0 ? kExitSuccess : kExitUsage;
    }
    return m_commands.Chosen() ? -1 : kExitUsage;
}
} // namespace cli
