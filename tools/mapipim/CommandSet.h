// The commands of the program as CLI11 subcommands. Parsing only records which command was chosen; its action
// runs afterwards, once the options are known and the host is set up, so that failures are reported uniformly.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <string>

namespace cli
{
class Host;
typedef std::function<void(Host&)> CommandAction;

class CommandSet
{
public:
    explicit CommandSet(CLI::App& app) : m_app(app) {}

    CLI::App& App() { return m_app; }

    // A group of commands ("contacts", "profile"): it takes exactly one of its commands.
    CLI::App& AddGroup(const std::string& name, const std::string& description);
    CLI::App& Add(CLI::App& parent, const std::string& name, const std::string& description, CommandAction action);
    // A command whose options fill a request that its function then runs with.
    template <class Request>
    CLI::App& Add(CLI::App& parent, const std::string& name, const std::string& description,
                  void (*run)(Host&, const Request&), const std::shared_ptr<Request>& request)
    {
        return Add(parent, name, description, [run, request](Host& host) { run(host, *request); });
    }

    // The action of the command given on the command line; empty before parsing.
    const CommandAction& Chosen() const { return m_chosen; }
    // Whether the chosen command only reads (lists, shows, saves to files): such a command never creates a
    // profile root.
    bool ChosenReadsOnly() const { return m_bChosenReadsOnly; }

private:
    CLI::App& m_app;
    CommandAction m_chosen;
    bool m_bChosenReadsOnly = false;
};

// Each group of commands registers itself.
void AddStoreCommands(CommandSet& commands);         // stores, tree
void AddContactCommands(CommandSet& commands);       // contacts list|show|add|edit|delete
void AddCalendarCommands(CommandSet& commands);      // calendar list|show|add|edit|delete
void AddTaskCommands(CommandSet& commands);          // tasks list|show|add|edit|delete
void AddNoteCommands(CommandSet& commands);          // notes list|show|add|edit|delete
void AddMailCommands(CommandSet& commands);          // mail list|show|add|edit|delete|send
void AddAttachmentCommands(CommandSet& commands);    // attachments list|save|delete
void AddProfileCommands(CommandSet& commands);       // profile list|create|delete|default
void AddStoreAdminCommands(CommandSet& commands);    // store list|add, folder add
void AddDemoCommand(CommandSet& commands);           // demo
void AddDataFileImportCommand(CommandSet& commands); // import FILE… and export, by file extension
void AddShowCommand(CommandSet& commands);           // show ID, of any kind
} // namespace cli
