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
    const std::string group = &parent == &m_app ? std::string() : parent.get_name();
    const bool bReadsOnly = name == "list" || name == "show" || name == "stores" || name == "tree" ||
                            (group == "attachments" && name == "save");
    command->callback(
        [this, action, bReadsOnly]()
        {
            m_chosen = action;
            m_bChosenReadsOnly = bReadsOnly;
        });
    return *command;
}
} // namespace cli
