// Folder paths below a store's root, such as "Inbox/Projects", rebuilt from the depth-first order in which
// discovery lists a store's folders (each folder followed by the folders below it).
#pragma once

#include <mapipim/OutlookStore.h>

#include <string>
#include <vector>

namespace cli
{
// One path per record of store.arrFolders, in the same order.
std::vector<std::string> FolderPaths(const COutlookStore& store);
} // namespace cli
