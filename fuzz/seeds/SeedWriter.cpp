#include "seeds/SeedWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

void SeedWriter::Fail(const std::string& target, const std::string& why)
{
    std::fprintf(stderr, "cannot make a seed of %s: %s\n", target.c_str(), why.c_str());
    m_succeeded = false;
}

void SeedWriter::Write(const std::string& target, const std::string& name, std::string_view bytes)
{
    const std::filesystem::path directory = std::filesystem::path(m_root) / target;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    std::ofstream file(directory / name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (error || !file)
    {
        std::fprintf(stderr, "cannot write seed %s/%s\n", target.c_str(), name.c_str());
        m_succeeded = false;
    }
}
