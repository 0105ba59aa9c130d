// The import command for Outlook data files. Item files (.msg) are imported by a command of their own; the two
// become one command that picks by the file's extension.
#include "CommandSet.h"
#include "DataFileImport.h"
#include "Host.h"
#include "InteropFiles.h"

#include <memory>

namespace cli
{
void AddDataFileImportCommand(CommandSet& commands)
{
    auto request = std::make_shared<DataFileRequest>();
    auto folder = std::make_shared<std::string>();
    CLI::App& import =
        commands.Add(commands.App(), "import",
                     "Import an Outlook data file (.pst, .ost) into a new store of a profile, or an iCalendar (.ics) "
                     "or vCard (.vcf) file into a folder",
                     [request, folder](Host& host)
                     {
                         if (IsInteropFile(request->path))
                             return ImportInteropFile(host, request->path, *folder);
                         DataFileRequest chosen = *request;
                         chosen.storeName = host.Options().store;
                         ImportDataFile(host, chosen);
                     });
    import.add_option("file", request->path, "The .pst, .ost, .ics or .vcf file")->required();
    import.add_option("--folder", *folder, "For .ics and .vcf: folder path or entry identifier (default: the "
                                           "calendar, the tasks for a file of tasks only, or the contacts)");
    import.add_option("--profile", request->profile, "Profile (default: the default profile)");
}
} // namespace cli
