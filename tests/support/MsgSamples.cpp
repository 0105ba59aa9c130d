#include "support/MsgSamples.h"
#include "support/SampleFiles.h"

namespace msgtest
{
std::optional<fs::path> SampleFolder()
{
    return sampletest::SampleFolderOf("msg");
}

std::vector<std::string> SampleNames()
{
    return sampletest::SampleNamesOf("msg", {".msg"});
}

std::optional<fs::path> Sample(const std::string& name)
{
    return sampletest::SampleOf("msg", name);
}

std::u16string WidePath(const fs::path& path)
{
    return path.u16string();
}
} // namespace msgtest
