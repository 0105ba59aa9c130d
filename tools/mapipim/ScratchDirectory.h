// A private temporary directory for files made on the fly, removed with everything in it when it goes.
#pragma once

#include <string>

namespace cli
{
class ScratchDirectory
{
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string PathOf(const std::string& fileName) const { return m_path + "/" + fileName; }

private:
    std::string m_path;
};
} // namespace cli
