#include "platform/mapi/OutgoingFiles.h"

#include "platform/mapi/ProfileDatabase.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mapisvc
{
namespace
{
std::string DirectoryName(const std::string& key)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string name;
    for (unsigned char c : key)
    {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                           c == '_' || (c == '.' && !name.empty());
        if (plain)
            name += static_cast<char>(c);
        else
        {
            name += '%';
            name += kHex[c >> 4];
            name += kHex[c & 0xF];
        }
    }
    return name;
}

bool WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size())
    {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool WriteSynced(const std::string& path, const std::string& bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
    return close(fd) == 0 && ok;
}
} // namespace

std::string OutgoingDirectory(const std::string& home, const std::u16string& profile)
{
    return home + "/outgoing/" + DirectoryName(ProfileKey(profile));
}

std::string WriteNewFile(const std::string& directory, const std::string& stem, const std::string& bytes)
{
    const std::string temporary = directory + "/." + stem + ".tmp";
    if (!WriteSynced(temporary, bytes))
    {
        unlink(temporary.c_str());
        return std::string();
    }
    for (int n = 1; n < 1000; ++n)
    {
        const std::string path = directory + "/" + stem + (n > 1 ? "-" + std::to_string(n) : std::string()) + ".eml";
        // link() never replaces a file that is there, unlike rename().
        if (link(temporary.c_str(), path.c_str()) == 0)
        {
            unlink(temporary.c_str());
            return path;
        }
        if (errno != EEXIST)
            break;
    }
    unlink(temporary.c_str());
    return std::string();
}
} // namespace mapisvc
