// Inputs that once made a target fail are kept in the repository as hexadecimal text (<target>/<name>.hex, "#"
// starting a comment line), so that the tree holds no binary files; here they become the bytes the targets read.
#include "seeds/SeedWriter.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{
int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// The bytes of one .hex file; false when it holds anything but comments, blanks and pairs of hex digits.
bool DecodeHexFile(const std::filesystem::path& path, std::string& bytes)
{
    std::ifstream file(path);
    std::string line, digits;
    while (std::getline(file, line))
    {
        if (!line.empty() && line[0] == '#')
            continue;
        for (char c : line)
        {
            if (std::isspace(static_cast<unsigned char>(c)))
                continue;
            if (HexDigit(c) < 0)
                return false;
            digits += c;
        }
    }
    if (digits.size() % 2 != 0)
        return false;
    bytes.clear();
    for (size_t i = 0; i < digits.size(); i += 2)
        bytes += static_cast<char>(HexDigit(digits[i]) * 16 + HexDigit(digits[i + 1]));
    return true;
}
} // namespace

bool WriteRegressionInputs(const std::string& sourceDirectory, SeedWriter& writer)
{
    std::error_code error;
    bool succeeded = true;
    for (const auto& target : std::filesystem::directory_iterator(sourceDirectory, error))
    {
        if (!target.is_directory())
            continue;
        for (const auto& input : std::filesystem::directory_iterator(target.path(), error))
        {
            if (input.path().extension() != ".hex")
                continue;
            std::string bytes;
            if (!DecodeHexFile(input.path(), bytes))
            {
                std::fprintf(stderr, "not hexadecimal text: %s\n", input.path().c_str());
                succeeded = false;
                continue;
            }
            writer.Write(target.path().filename().string(), input.path().stem().string(), bytes);
        }
    }
    return succeeded && !error;
}
