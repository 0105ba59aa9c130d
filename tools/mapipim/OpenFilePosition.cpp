#include "OpenFilePosition.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>

namespace cli
{
namespace
{
const char kDescriptors[] = "/proc/self/fd";

bool IsSameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The "pos:" line of the descriptor's fdinfo.
std::optional<std::int64_t> DescriptorPosition(const std::string& descriptor)
{
    std::ifstream info("/proc/self/fdinfo/" + descriptor);
    std::string key;
    std::int64_t value = 0;
    while (info >> key)
    {
        if (key == "pos:" && info >> value)
            return value;
        info.ignore(1 << 16, '\n');
    }
    return std::nullopt;
}

bool IsDescriptorName(const char* name)
{
    char* end = nullptr;
    std::strtol(name, &end, 10);
    return end != name && *end == '\0';
}
} // namespace

std::optional<std::int64_t> OpenFilePosition(const std::string& path)
{
    struct stat file;
    if (stat(path.c_str(), &file) != 0)
        return std::nullopt;
    DIR* descriptors = opendir(kDescriptors);
    if (!descriptors)
        return std::nullopt;
    std::optional<std::int64_t> position;
    while (const dirent* entry = readdir(descriptors))
    {
        struct stat target;
        const std::string link = std::string(kDescriptors) + "/" + entry->d_name;
        if (!IsDescriptorName(entry->d_name) || stat(link.c_str(), &target) != 0 || !IsSameFile(file, target))
            continue;
        position = DescriptorPosition(entry->d_name);
        if (position)
            break;
    }
    closedir(descriptors);
    return position;
}
} // namespace cli
