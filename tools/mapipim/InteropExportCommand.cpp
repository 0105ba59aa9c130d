// The export command for calendars, task lists and address books: a folder as one .ics or .vcf file.
#include "CommandSet.h"
#include "InteropFiles.h"

#include <memory>

namespace cli
{
void AddExportCommand(CommandSet& commands)
{
    auto request = std::make_shared<InteropExportRequest>();
    CLI::App& exportCommand =
        commands.Add(commands.App(), "export", "Write a calendar or task folder as iCalendar, or contacts as vCard",
                     ExportInteropFile, request);
    exportCommand.add_option("--ics", request->ics, "The .ics file to write (appointments, or tasks of a task folder)");
    exportCommand.add_option("--vcf", request->vcf, "The .vcf file to write (contacts)");
    exportCommand.add_option("--folder", request->folder,
                             "Folder path or entry identifier (default: the calendar, or the contacts)");
}
} // namespace cli
