// mapipim import FILE.ics|FILE.vcf and mapipim export --ics|--vcf FILE: calendars, task lists and address books
// moved between the stores and the files every other calendar and address book reads.
#pragma once

#include <string>

namespace cli
{
class Host;

// Imports the file into the folder (by default the calendar, the task folder for a file of tasks only, or the
// contacts) and prints what was imported and what was skipped, with each reason.
void ImportInteropFile(Host& host, const std::string& path, const std::string& folder);

struct InteropExportRequest
{
    std::string ics;    // write the folder's appointments or tasks here
    std::string vcf;    // write the folder's contacts here
    std::string folder; // empty: the calendar for --ics, the contacts for --vcf
};

void ExportInteropFile(Host& host, const InteropExportRequest& request);
} // namespace cli
