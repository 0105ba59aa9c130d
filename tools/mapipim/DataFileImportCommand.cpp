// The import command for Outlook data files. Item files (.msg) are imported by a command of their own; the two
// become one command that picks by the file's extension.
#include "CommandSet.h"
#include "DataFileImport.h"
#include "Host.h"

#include <memory>

namespace cli
{
void AddDataFileImportCommand(CommandSet& commands)
{
    auto request = std::make_shared<DataFileRequest>();
    CLI::App& import =
        commands.Add(commands.App(), "import", "Import an Outlook data file (.pst, .ost) into a new store of a profile",
                     [request](Host& host)
                     {
                         DataFileRequest chosen = *request;
                         chosen.storeName = host.Options().store;
                         ImportDataFile(host, chosen);
                     });
    import.add_option("file", request->path, "The .pst or .ost file")->required();
    import.add_option("--profile", request->profile, "Profile (default: the default profile)");
}
} // namespace cli
