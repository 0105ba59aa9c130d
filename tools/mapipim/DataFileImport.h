// mapipim import FILE.pst|FILE.ost: an Outlook data file copied into a new store of a profile.
#pragma once

#include <string>

namespace cli
{
class Host;

struct DataFileRequest
{
    std::string path;
    std::string profile;   // empty: the default profile
    std::string storeName; // empty: the file's name without its extension
};

// True for the files this command imports (.pst and .ost, any case).
bool IsDataFile(const std::string& path);
// Imports the file with a progress bar by item count; Ctrl-C cancels and leaves no store behind.
void ImportDataFile(Host& host, const DataFileRequest& request);
} // namespace cli
