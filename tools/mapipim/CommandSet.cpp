#include "CommandSet.h"

namespace cli
{
CLI::App& CommandSet::AddGroup(const std::string& name, const std::string& description)
{
    CLI::App* group = m_app.add_subcommand(name, description);
    group->require_subcommand(1);
    return *group;
}

CLI::App& CommandSet::Add(CLI::App& parent, const std::string& name, const std::string& description,
                          CommandAction action)
{
    CLI::App* command = parent.add_subcommand(name, description);
    command->callback([this, action]() { m_chosen = action; });
    return *command;
}
} // namespace cli
