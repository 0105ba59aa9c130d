#include "ScratchDirectory.h"

#include "Failure.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace cli
{
ScratchDirectory::ScratchDirectory()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/mapipim-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        throw Failure("cannot make a temporary directory in " + pattern.substr(0, pattern.rfind('/')));
    m_path = buffer.data();
}

ScratchDirectory::~ScratchDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
} // namespace cli
