#include "support/SampleFiles.h"

#include <algorithm>
#include <cstdlib>

namespace sampletest
{
std::optional<fs::path> SampleFolderOf(const char* szKind)
{
    const char* configured = std::getenv("MAPIPIM_SAMPLES");
    const fs::path folder = fs::path(configured && *configured ? configured : "/work/shared/samples") / szKind;
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return std::nullopt;
    return folder;
}

std::vector<std::string> SampleNamesOf(const char* szKind, std::initializer_list<const char*> extensions)
{
    std::vector<std::string> names;
    if (const auto folder = SampleFolderOf(szKind))
        for (const auto& entry : fs::directory_iterator(*folder))
        {
            const std::string extension = entry.path().extension().string();
            if (std::find(extensions.begin(), extensions.end(), extension) != extensions.end())
                names.push_back(entry.path().filename().string());
        }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<fs::path> SampleOf(const char* szKind, const std::string& name)
{
    const auto folder = SampleFolderOf(szKind);
    if (!folder || !fs::exists(*folder / name))
        return std::nullopt;
    return *folder / name;
}
} // namespace sampletest
