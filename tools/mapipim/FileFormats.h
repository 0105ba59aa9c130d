// The file formats the import and export commands read and write, one row each, chosen by a file's extension:
// a format adds a row here (and its options, if any) rather than a command of its own.
#pragma once

#include <string>
#include <vector>

namespace cli
{
class Host;

// What "mapipim import FILE… [--folder F] [--profile P]" asked for.
struct ImportRequest
{
    std::vector<std::string> files;
    std::string folder;  // path or entry identifier; empty: the format's own choice
    std::string profile; // for formats that add a store; empty: the default profile
};

struct ImportFormat
{
    const char* extensions; // lower case, separated by spaces: "pst ost"
    const char* what;       // for messages: "Outlook data file"
    // Imports one file; prints what it made (a store, an item identifier) or throws Failure with the reason.
    void (*importFile)(Host& host, const std::string& file, const ImportRequest& request);
};

// What "mapipim export [ID] --to FILE [--folder F]" (or "export --ics FILE|--vcf FILE") asked for.
struct ExportRequest
{
    std::string id;   // the item; some formats export a folder instead
    std::string file; // the file to write
    std::string folder;
    std::string ics; // --ics FILE: the folder as iCalendar, whatever the file's extension
    std::string vcf; // --vcf FILE: the folder as vCard
};

struct ExportFormat
{
    const char* extensions;
    const char* what;
    void (*exportTo)(Host& host, const ExportRequest& request);
};

const std::vector<ImportFormat>& ImportFormats();
const std::vector<ExportFormat>& ExportFormats();
// The row of a file's extension (any case); null when no format has it.
const ImportFormat* ImportFormatOf(const std::string& file);
const ExportFormat* ExportFormatOf(const std::string& file);
std::string FileExtension(const std::string& file);

// The rows' functions, one file each.
void ImportDataFileRow(Host& host, const std::string& file, const ImportRequest& request);
void ImportItemFile(Host& host, const std::string& file, const ImportRequest& request);
void ExportItemFile(Host& host, const ExportRequest& request);
void ImportInteropRow(Host& host, const std::string& file, const ImportRequest& request);
void ExportInteropRow(Host& host, const ExportRequest& request);
} // namespace cli
