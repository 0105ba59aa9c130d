#include "InteropFiles.h"
#include "FileFormats.h"

#include "Failure.h"
#include "FolderLocator.h"
#include "FolderTypes.h"
#include "Host.h"
#include "Text.h"

#include <mapipim/Interop.h>

#include <fstream>
#include <iostream>
#include <sstream>

namespace cli
{
namespace
{
// A calendar file that holds tasks and no appointments goes to the task folder by default.
unsigned DefaultCalendarFolder(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    const bool bTasks = content.find("BEGIN:VTODO") != std::string::npos;
    const bool bEvents = content.find("BEGIN:VEVENT") != std::string::npos;
    return bTasks && !bEvents ? kFolderTypeTasks : kFolderTypeCalendar;
}

void PrintReport(Host& host, const char* verb, const std::string& path, const std::string& folder,
                 const CInteropReport& report)
{
    if (host.Json())
    {
        Json reasons = Json::array();
        for (INT_PTR i = 0; i < report.arrReasons.GetSize(); ++i)
            reasons.push_back(Utf8(report.arrReasons[i]));
        Host::Print(Json{{"file", path}, {"folder", folder}, {verb, report.nDone}, {"skipped", report.nSkipped},
                         {"reasons", reasons}});
        return;
    }
    std::cout << verb << ' ' << report.nDone << " items " << (verb[0] == 'i' ? "into " : "from ") << folder
              << ", skipped " << report.nSkipped << '\n';
    for (INT_PTR i = 0; i < report.arrReasons.GetSize(); ++i)
        std::cout << "skipped: " << Utf8(report.arrReasons[i]) << '\n';
}

// The library's answer: cancelled, failed before any item, or a report to print.
void Conclude(Host& host, BOOL bResult, const char* verb, const std::string& path, const std::string& folder,
              const CInteropReport& report)
{
    Host::CheckCancel();
    if (!bResult && report.nDone == 0 && report.nSkipped == 0)
        throw Failure(verb[0] == 'i' ? std::string("nothing could be read from it (the trace log has the reason)")
                                     : "cannot export to '" + path + "' (the trace log has the reason)");
    PrintReport(host, verb, path, folder, report);
}
} // namespace

void ImportInteropFile(Host& host, const std::string& path, const std::string& folder)
{
    const bool bCards = FileExtension(path) == "vcf";
    if (!std::ifstream(path, std::ios::binary))
        throw Failure("cannot read the file");
    FolderLocator locator(host);
    COutlookFolder& target = locator.Find(folder, bCards ? kFolderTypeContacts : DefaultCalendarFolder(path));
    CInteropReport report;
    const CString strPath = WideText(path);
    const BOOL bResult = bCards ? host.Mapi().ImportVCard(&target, strPath, &report)
                                : host.Mapi().ImportICalendar(&target, strPath, &report);
    Conclude(host, bResult, "imported", path, locator.PathOf(target), report);
}

void ImportInteropRow(Host& host, const std::string& file, const ImportRequest& request)
{
    ImportInteropFile(host, file, request.folder);
}

void ExportInteropRow(Host& host, const ExportRequest& request)
{
    if (!request.id.empty())
        throw UsageFailure("iCalendar and vCard files hold a folder: give --folder F, not an item identifier");
    InteropExportRequest chosen;
    chosen.ics = request.ics;
    chosen.vcf = request.vcf;
    if (chosen.ics.empty() && chosen.vcf.empty())
        (FileExtension(request.file) == "vcf" ? chosen.vcf : chosen.ics) = request.file;
    chosen.folder = request.folder;
    ExportInteropFile(host, chosen);
}

void ExportInteropFile(Host& host, const InteropExportRequest& request)
{
    if (request.ics.empty() == request.vcf.empty())
        throw UsageFailure("give exactly one of --ics FILE and --vcf FILE");
    const bool bCards = !request.vcf.empty();
    const std::string& path = bCards ? request.vcf : request.ics;
    FolderLocator locator(host);
    COutlookFolder& source = locator.Find(request.folder, bCards ? kFolderTypeContacts : kFolderTypeCalendar);
    CInteropReport report;
    const CString strPath = WideText(path);
    const BOOL bResult = bCards ? host.Mapi().ExportVCard(&source, strPath, &report)
                                : host.Mapi().ExportICalendar(&source, strPath, &report);
    Conclude(host, bResult, "exported", path, locator.PathOf(source), report);
}
} // namespace cli
