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
// A store file's path as profiles.db records it: relative to the home when it lies inside it, so that a home can
// be moved or copied whole.
std::string PathToRecord(const std::string& home, const std::string& path);
// The file a recorded path names. A relative path lies in the home. An absolute one (as older homes record them)
// names the home's own store file of that name when the home has one, as a moved or copied home has.
std::string RecordedPath(const std::string& home, const std::string& recorded);
} // namespace mapisvc
