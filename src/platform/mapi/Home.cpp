#include "platform/mapi/Home.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mapisvc
{
namespace
{
std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string UserHome()
{
    std::string home = Environment("HOME");
    if (!home.empty())
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "/tmp";
}
} // namespace

std::string HomeDirectory()
{
    std::string home = Environment("MAPIPIM_HOME");
    if (!home.empty())
        return home;
    const std::string data = Environment("XDG_DATA_HOME");
    if (!data.empty())
        return data + "/mapipim";
    return UserHome() + "/.local/share/mapipim";
}

HRESULT EnsureDirectory(const std::string& path)
{
    if (path.empty())
        return MAPI_E_INVALID_PARAMETER;
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1))
    {
        const std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return MAPI_E_DISK_ERROR;
        if (slash == std::string::npos)
            break;
    }
    return S_OK;
}

std::string StoreFilePath(const std::string& home, const std::string& fileName)
{
    return home + "/stores/" + fileName;
}

std::string PathToRecord(const std::string& home, const std::string& path)
{
    const std::string prefix = home + "/";
    if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0)
        return path.substr(prefix.size());
    return path;
}

std::string RecordedPath(const std::string& home, const std::string& recorded)
{
    if (recorded.empty() || recorded[0] != '/')
        return home + "/" + recorded;
    const std::string own = StoreFilePath(home, recorded.substr(recorded.find_last_of('/') + 1));
    return access(own.c_str(), F_OK) == 0 ? own : recorded;
}
} // namespace mapisvc
