#include "FileFormats.h"

#include <algorithm>
#include <sstream>

namespace cli
{
const std::vector<ImportFormat>& ImportFormats()
{
    static const std::vector<ImportFormat> formats = {
        {"pst ost", "Outlook data file", ImportDataFileRow},
        {"msg", "Outlook item file", ImportItemFile},
        {"ics vcf", "iCalendar or vCard file", ImportInteropRow},
    };
    return formats;
}

const std::vector<ExportFormat>& ExportFormats()
{
    static const std::vector<ExportFormat> formats = {
        {"msg", "Outlook item file", ExportItemFile},
        {"ics vcf", "iCalendar or vCard file", ExportInteropRow},
    };
    return formats;
}

std::string FileExtension(const std::string& file)
{
    const size_t slash = file.find_last_of('/');
    const size_t dot = file.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    std::string extension = file.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

namespace
{
template <class Format> const Format* FormatOf(const std::vector<Format>& formats, const std::string& file)
{
    const std::string extension = FileExtension(file);
    for (const Format& format : formats)
    {
        std::istringstream names(format.extensions);
        std::string name;
        while (names >> name)
            if (!extension.empty() && name == extension)
                return &format;
    }
    return nullptr;
}
} // namespace

const ImportFormat* ImportFormatOf(const std::string& file)
{
    return FormatOf(ImportFormats(), file);
}

const ExportFormat* ExportFormatOf(const std::string& file)
{
    return FormatOf(ExportFormats(), file);
}
} // namespace cli
