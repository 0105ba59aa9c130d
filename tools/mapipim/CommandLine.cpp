#include "CommandLine.h"

#include "Failure.h"
#include "Host.h"

namespace cli
{
namespace
{
// The help of a command lists its own options only; the global ones, which it takes too, follow in a footer.
std::string GlobalOptionsText(const CLI::App& app)
{
    std::string text = "Global options (before or after the command):";
    for (const CLI::Option* option : app.get_options())
    {
        if (option->get_name() == "--help" || option->get_name().empty())
            continue;
        const std::string type = option->get_type_size() != 0 ? " " + option->get_type_name() : std::string();
        text += "\n  " + option->get_name() + type + "  " + option->get_description();
    }
    return text;
}

void SetFooter(CLI::App& app, const std::string& footer)
{
    for (CLI::App* command : app.get_subcommands({}))
    {
        command->footer(footer);
        SetFooter(*command, footer);
    }
}

void ShowGlobalOptionsInHelp(CLI::App& app)
{
    SetFooter(app, GlobalOptionsText(app));
}
} // namespace

CommandLine::CommandLine()
    : m_app("mapipim: contacts, appointments, tasks, notes, stores and profiles of the MAPI message stores, "
            "through the mapipim library"),
      m_commands(m_app)
{
    m_app.name("mapipim");
    m_app.require_subcommand(1);
    m_app.failure_message(
        [](const CLI::App* app, const CLI::Error& error)
        {
            // A word that names no command is left over, and the group then misses its command.
            const std::vector<std::string> rest = app->remaining(true);
            if (!rest.empty() && dynamic_cast<const CLI::RequiredError*>(&error))
                return "mapipim: unknown command '" + rest.front() + "' (see --help)\n";
            return "mapipim: " + std::string(error.what()) + " (see --help)\n";
        });
    m_app.set_version_flag("--version", std::string("mapipim ") + MAPIPIM_VERSION);
    m_app.fallthrough(); // global options may follow the command's name
    m_app.add_option("--home", m_options.home, "Profile root (default: $MAPIPIM_HOME, else ~/.local/share/mapipim)");
    m_app.add_option("--store", m_options.store, "The store whose folders are meant (default: the default store)");
    m_app.add_flag("--json", m_options.bJson, "Write one JSON document with every field of the records");
    m_app.add_flag("--full-ids", m_bFullIds,
                   "Whole entry identifiers in text output (default: the shortest unique tail)");
    m_app.add_option("--trace", m_options.trace, "Append the library's trace lines to this file");
    // A host with a user-interface thread lets the library pause to keep it responsive; this one has none.
    CLI::Option* yield = m_app.add_option("--yield", m_options.yield,
                                          "Pause MS milliseconds after each item and stream chunk (default: 0)")
                             ->type_name("MS")
                             ->check(CLI::Range(0, 1000));
    m_app.add_flag("--no-yield", m_options.bNoYield, "No pauses (the default)")->excludes(yield);

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
    AddShowCommand(m_commands);
    ShowGlobalOptionsInHelp(m_app);
}

void CommandLine::Run(Host& host) const
{
    if (m_commands.ChosenReadsOnly())
        host.RequireProfileRoot();
    m_commands.Chosen()(host);
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
