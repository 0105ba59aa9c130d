#include "FolderPaths.h"

#include "Text.h"

namespace cli
{
std::vector<std::string> FolderPaths(const COutlookStore& store)
{
    std::vector<std::string> paths;
    std::vector<std::string> ancestors; // ancestors[d - 1]: the path of the latest folder at depth d
    for (INT_PTR i = 0; i < store.arrFolders.GetSize(); ++i)
    {
        const COutlookFolder& folder = *store.arrFolders.GetAt(i);
        const size_t depth = folder.nDepth > 0 ? static_cast<size_t>(folder.nDepth) : 1;
        ancestors.resize(depth);
        const std::string& parent = depth > 1 ? ancestors[depth - 2] : std::string();
        ancestors[depth - 1] = (parent.empty() ? "" : parent + "/") + Utf8(folder.strName);
        paths.push_back(ancestors[depth - 1]);
    }
    return paths;
}
} // namespace cli
