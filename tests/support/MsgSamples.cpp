#include "support/MsgSamples.h"

#include <algorithm>
#include <cstdlib>

namespace msgtest
{
std::optional<fs::path> SampleFolder()
{
    const char* configured = std::getenv("MAPIPIM_SAMPLES");
    const fs::path folder = fs::path(configured && *configured ? configured : "/work/shared/samples") / "msg";
    std::error_code error;
    if (!fs::is_directory(folder, error))
        return std::nullopt;
    return folder;
}

std::vector<std::string> SampleNames()
{
    std::vector<std::string> names;
    if (const auto folder = SampleFolder())
        for (const auto& entry : fs::directory_iterator(*folder))
            if (entry.path().extension() == ".msg")
                names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<fs::path> Sample(const std::string& name)
{
    const auto folder = SampleFolder();
    if (!folder || !fs::exists(*folder / name))
        return std::nullopt;
    return *folder / name;
}

std::u16string WidePath(const fs::path& path)
{
    return path.u16string();
}
} // namespace msgtest
