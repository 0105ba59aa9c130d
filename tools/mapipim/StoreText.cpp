#include "StoreText.h"

#include "EntryId.h"
#include "FolderTypes.h"
#include "Text.h"

#include <algorithm>

namespace cli
{
namespace
{
std::string StoreTitle(const COutlookStore& store)
{
    return Utf8(store.strName) + (store.bDefault ? " (default)" : "");
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : " ") + name;
    return text.empty() ? "(none)" : text;
}
} // namespace

void WriteStore(std::ostream& out, const COutlookStore& store)
{
    out << StoreTitle(store) << '\n'
        << "  provider: " << Utf8(store.strProvider) << '\n'
        << "  strings:  " << ((store.nSupportMask & STORE_UNICODE_OK) ? "Unicode" : "ANSI only") << '\n'
        << "  folders:  " << Joined(FolderTypeNames(store.nFolderTypes)) << '\n'
        << "  entry id: " << EntryIdText(store.sbEntryID) << '\n';
}

void WriteFolderTree(std::ostream& out, const COutlookStore& store, bool bCounts)
{
    out << StoreTitle(store) << '\n';
    for (INT_PTR i = 0; i < store.arrFolders.GetSize(); ++i)
    {
        const COutlookFolder& folder = *store.arrFolders.GetAt(i);
        out << std::string(static_cast<size_t>(2 * std::max(folder.nDepth, 1)), ' ') << Utf8(folder.strName) << "  ["
            << FolderTypeName(folder.nFolderType) << ']';
        if (bCounts)
            out << "  " << folder.nCount;
        out << '\n';
    }
}
} // namespace cli
