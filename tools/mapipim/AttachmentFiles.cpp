#include "AttachmentFiles.h"

#include "Failure.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace cli
{
std::string NumberedFileName(const std::string& name, int n)
{
    if (n <= 1)
        return name;
    const size_t dot = name.find_last_of('.');
    const bool bExtension = dot != std::string::npos && dot > 0;
    const std::string stem = bExtension ? name.substr(0, dot) : name;
    return stem + " (" + std::to_string(n) + ")" + (bExtension ? name.substr(dot) : std::string());
}

AttachmentFiles::AttachmentFiles(const std::string& directory, bool bOverwrite)
    : m_directory(directory), m_bOverwrite(bOverwrite)
{
    std::string pattern = directory + "/.mapipim-save-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        throw Failure("cannot write into '" + directory + "': " + std::strerror(errno));
    m_staging = buffer.data();
}

AttachmentFiles::~AttachmentFiles()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_staging, ignored);
}

std::int64_t AttachmentFiles::StagedBytes() const
{
    std::int64_t bytes = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_staging, error))
    {
        const std::uintmax_t size = entry.file_size(error);
        if (!error)
            bytes += static_cast<std::int64_t>(size);
    }
    return bytes;
}

std::string AttachmentFiles::StagedFile() const
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_staging, error))
        return entry.path().string();
    throw Failure("the library wrote no file");
}

// link() fails rather than replace an existing file, which rename() would do silently.
bool AttachmentFiles::Move(const std::string& from, const std::string& to) const
{
    if (m_bOverwrite)
    {
        if (std::rename(from.c_str(), to.c_str()) != 0)
            throw Failure("cannot write '" + to + "': " + std::strerror(errno));
        return true;
    }
    if (link(from.c_str(), to.c_str()) != 0)
    {
        if (errno == EEXIST)
            return false;
        throw Failure("cannot write '" + to + "': " + std::strerror(errno));
    }
    unlink(from.c_str());
    return true;
}

std::string AttachmentFiles::Place()
{
    const std::string staged = StagedFile();
    const std::string name = std::filesystem::path(staged).filename().string();
    for (int n = 1;; ++n)
    {
        const std::string path = m_directory + "/" + NumberedFileName(name, n);
        if (m_placed.count(path))
            continue;
        if (Move(staged, path))
        {
            m_placed.insert(path);
            return path;
        }
    }
}

std::string AttachmentFiles::PlaceAs(const std::string& path)
{
    if (!Move(StagedFile(), path))
        throw Failure("'" + path + "' exists: give --overwrite to replace it");
    m_placed.insert(path);
    return path;
}
} // namespace cli
