// The import and export commands: each file goes to the format its extension names (FileFormats.h). Import
// takes several files and goes on after one that fails, with one line on standard error for each that failed; its
// exit status is 1 when any failed.
#include "CommandSet.h"
#include "DataFileImport.h"
#include "EscapedOutput.h"
#include "Failure.h"
#include "FileFormats.h"
#include "Host.h"

#include <iostream>
#include <memory>

namespace cli
{
namespace
{
std::string KnownExtensions(bool importing)
{
    std::string known;
    auto add = [&known](const char* extensions) { known += (known.empty() ? "" : " ") + std::string(extensions); };
    if (importing)
        for (const ImportFormat& format : ImportFormats())
            add(format.extensions);
    else
        for (const ExportFormat& format : ExportFormats())
            add(format.extensions);
    return known;
}

void Import(Host& host, const ImportRequest& request)
{
    size_t failed = 0;
    for (const std::string& file : request.files)
    {
        try
        {
            const ImportFormat* format = ImportFormatOf(file);
            if (!format)
                throw Failure("not a file to import (known: " + KnownExtensions(true) + ")");
            format->importFile(host, file, request);
        }
        catch (const UsageFailure&)
        {
            throw;
        }
        catch (const Failure& failure)
        {
            if (failure.ExitCode() == kExitCancelled)
                throw;
            std::cerr << "mapipim: cannot import '" << EscapedControls(file) << "': " << EscapedControls(failure.what())
                      << "\n";
            ++failed;
        }
    }
    if (failed)
        throw AlreadyReported();
}

void Export(Host& host, const ExportRequest& request)
{
    if (!request.ics.empty() || !request.vcf.empty())
    {
        if (!request.file.empty())
            throw UsageFailure("give either --to FILE or one of --ics FILE and --vcf FILE");
        return ExportInteropRow(host, request);
    }
    if (request.file.empty())
        throw UsageFailure("give the file to write: --to FILE (or --ics FILE, --vcf FILE)");
    const ExportFormat* format = ExportFormatOf(request.file);
    if (!format)
        throw UsageFailure("cannot export to '" + request.file + "' (known: " + KnownExtensions(false) + ")");
    format->exportTo(host, request);
}
} // namespace

void ImportDataFileRow(Host& host, const std::string& file, const ImportRequest& request)
{
    DataFileRequest chosen;
    chosen.path = file;
    chosen.profile = request.profile;
    chosen.storeName = host.Options().store;
    ImportDataFile(host, chosen);
}

void AddDataFileImportCommand(CommandSet& commands)
{
    auto importing = std::make_shared<ImportRequest>();
    CLI::App& import = commands.Add(commands.App(), "import",
                                    "Import files by their extension: an Outlook data file (.pst, .ost) into a new "
                                    "store, Outlook item files (.msg), iCalendar (.ics) or vCard (.vcf) files into "
                                    "a folder",
                                    Import, importing);
    import.add_option("file", importing->files, "The files")->required();
    import.add_option("--folder", importing->folder, "Folder for items (default: the standard folder of their kind)");
    import.add_option("--profile", importing->profile, "Profile for a data file (default: the default profile)");

    auto exporting = std::make_shared<ExportRequest>();
    CLI::App& exportCommand =
        commands.Add(commands.App(), "export",
                     "Export to a file by its extension: an item as .msg, a calendar or task folder as .ics, "
                     "contacts as .vcf",
                     Export, exporting);
    exportCommand.add_option("id", exporting->id, "Entry identifier of the item (.msg)");
    exportCommand.add_option("--to", exporting->file, "The file to write");
    exportCommand.add_option("--ics", exporting->ics, "Write the folder as iCalendar (appointments, or tasks)");
    exportCommand.add_option("--vcf", exporting->vcf, "Write the folder's contacts as vCard");
    exportCommand.add_option("--folder", exporting->folder,
                             "For .ics and .vcf: folder path or entry identifier (default: the calendar, or the "
                             "contacts)");
}
} // namespace cli
