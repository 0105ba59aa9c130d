#include "AttachingProgress.h"

#include "OpenFilePosition.h"
#include "Text.h"

#include <algorithm>
#include <sys/stat.h>

namespace cli
{
namespace
{
std::vector<std::string> SplitList(const std::string& list)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;)
    {
        const size_t end = list.find_first_of(",;", start);
        parts.push_back(list.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}
} // namespace

AttachedFileBytes::AttachedFileBytes(const CString& strAttachFile)
{
    for (const std::string& path : SplitList(Utf8(strAttachFile)))
    {
        struct stat status;
        if (path.empty() || path[0] != '/' || stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
            continue;
        m_files.push_back(File{path, status.st_size});
        m_total += status.st_size;
    }
}

std::string AttachedFileBytes::Label() const
{
    if (m_files.size() == 1)
        return "Attaching " + m_files[0].path.substr(m_files[0].path.find_last_of('/') + 1);
    return "Attaching " + std::to_string(m_files.size()) + " files";
}

// Between two files none is open: the answer stays what it was.
std::int64_t AttachedFileBytes::BytesDone()
{
    for (size_t i = m_current; i < m_files.size(); ++i)
    {
        const std::optional<std::int64_t> position = OpenFilePosition(m_files[i].path);
        if (!position)
            continue;
        for (; m_current < i; ++m_current)
            m_doneBefore += m_files[m_current].size;
        m_done = std::max(m_done, m_doneBefore + std::min(*position, m_files[i].size));
        break;
    }
    return m_done;
}

AttachingProgress::AttachingProgress(const CString& strAttachFile) : m_files(strAttachFile)
{
    if (!m_files.IsEmpty())
        m_watch.emplace(m_files.Label(), m_files.Total(), [this] { return m_files.BytesDone(); });
}
} // namespace cli
