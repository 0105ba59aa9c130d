// Where the service keeps its data: $MAPIPIM_HOME, else $XDG_DATA_HOME/mapipim, else ~/.local/share/mapipim.
// Read afresh at every use, so that a process (a test) can move it between logons.
#pragma once

#include "platform/platform.h"

#include <string>

namespace mapisvc
{
std::string HomeDirectory();
// Creates the directory and its parents when missing.
HRESULT EnsureDirectory(const std::string& path);
std::string StoreFilePath(const std::string& home, const std::string& fileName);
} // namespace mapisvc
