#include "EntryIdTail.h"

#include "EntryId.h"
#include "Failure.h"
#include "FolderTypes.h"
#include "Host.h"
#include "MapiTable.h"
#include "SessionEntry.h"
#include "StoreList.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <vector>

namespace cli
{
namespace
{
bool IsHexText(const std::string& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](char ch) { return std::isxdigit(static_cast<unsigned char>(ch)) != 0; });
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char ch) { return static_cast<char>(std::toupper(static_cast<unsigned char>(ch))); });
    return text;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The identifiers of the items in a folder; none when it cannot be read.
std::vector<std::string> ItemIdsOf(IMAPISession* pSession, const SBinary& folderID)
{
    std::vector<std::string> ids;
    const MapiObject<IMAPIFolder> folder = OpenEntryAs<IMAPIFolder>(pSession, folderID, MAPI_FOLDER);
    LPMAPITABLE table = nullptr;
    if (!folder || folder->GetContentsTable(0, &table) != S_OK)
        return ids;
    try
    {
        const RowSet rows = ReadAllRows(table, {PR_ENTRYID}, "contents");
        for (ULONG i = 0; i < rows->cRows; ++i)
        {
            const SPropValue& value = rows->aRow[i].lpProps[0];
            if (PROP_TYPE(value.ulPropTag) == PT_BINARY)
                ids.push_back(EntryIdText(value.Value.bin));
        }
    }
    catch (const std::exception&)
    {
    }
    return ids;
}
} // namespace

bool IsEntryIdTail(const std::string& text)
{
    return text.size() < kLongestTail && IsHexText(text);
}

std::vector<std::string> ProfileEntryIds(Host& host)
{
    StoreList stores;
    stores.Discover(host, kDiscoverEverything, std::string());
    std::vector<std::string> ids;
    for (INT_PTR s = 0; s < stores.GetSize(); ++s)
    {
        const COutlookStore& store = stores[s];
        for (INT_PTR f = 0; f < store.arrFolders.GetSize(); ++f)
        {
            const COutlookFolder& folder = *store.arrFolders.GetAt(f);
            ids.push_back(EntryIdText(folder.sbEntryID));
            for (const std::string& id : ItemIdsOf(host.Session(), folder.sbEntryID))
                ids.push_back(id);
            Host::CheckCancel();
        }
    }
    return ids;
}

std::string ExpandEntryIdTail(Host& host, const std::string& text)
{
    if (!IsEntryIdTail(text))
        return text;
    if (text.size() < kShortestTail)
        throw UsageFailure("'" + text + "' is too short to name an item: give at least " +
                           std::to_string(kShortestTail) + " hexadecimal digits of its entry identifier");
    const std::string tail = Upper(text);
    std::vector<std::string> found;
    for (const std::string& id : ProfileEntryIds(host))
    {
        if (EndsWith(id, tail) && std::find(found.begin(), found.end(), id) == found.end())
            found.push_back(id);
    }
    if (found.empty())
        throw Failure("no item or folder has an entry identifier ending in " + tail);
    if (found.size() > 1)
        throw Failure("the entry identifiers of " + std::to_string(found.size()) + " items end in " + tail +
                      ": give more digits");
    return found.front();
}
} // namespace cli
