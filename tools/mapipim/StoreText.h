// Stores and folder trees as text for people.
#pragma once

#include <mapipim/OutlookStore.h>

#include <ostream>

namespace cli
{
// Name, provider, default, Unicode or ANSI-only, the folder types met, and the entry identifier.
void WriteStore(std::ostream& out, const COutlookStore& store);

// The store's name, then its folders indented by depth with their types and, with bCounts, their item counts.
void WriteFolderTree(std::ostream& out, const COutlookStore& store, bool bCounts);
} // namespace cli
