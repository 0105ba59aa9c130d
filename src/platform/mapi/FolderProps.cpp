#include "platform/mapi/FolderProps.h"

#include <algorithm>

namespace mapisvc
{
namespace
{
const ULONG kStatIds[] = {PROP_ID(PR_FOLDER_TYPE), PROP_ID(PR_CONTENT_COUNT), PROP_ID(PR_CONTENT_UNREAD),
                          PROP_ID(PR_SUBFOLDERS)};

// Reads only the counts the property is made of.
HRESULT ReadCounts(StoreDatabase& store, int64_t folder, ULONG propId, FolderCounts& counts)
{
    if (propId == PROP_ID(PR_CONTENT_COUNT))
        return store.CountMessages(folder, counts.messages.count);
    if (propId == PROP_ID(PR_CONTENT_UNREAD))
        return store.CountMessages(folder, counts.messages.count, counts.messages.unread);
    if (!IsSubfolderProp(propId))
        return S_OK;
    bool has = false;
    HRESULT hr = store.HasSubfolders(folder, has);
    counts.subfolders = has ? 1 : 0;
    return hr;
}
} // namespace

bool IsFolderStatProp(ULONG propId)
{
    return std::find(std::begin(kStatIds), std::end(kStatIds), propId) != std::end(kStatIds);
}

void FolderStatPropIds(std::vector<ULONG>& ids)
{
    ids.insert(ids.end(), std::begin(kStatIds), std::end(kStatIds));
}

bool IsMessageCountProp(ULONG propId)
{
    return propId == PROP_ID(PR_CONTENT_COUNT) || propId == PROP_ID(PR_CONTENT_UNREAD);
}

bool IsSubfolderProp(ULONG propId)
{
    return propId == PROP_ID(PR_SUBFOLDERS);
}

bool FolderStatValue(ULONG propId, bool isRoot, const FolderCounts& counts, Prop& prop)
{
    switch (propId)
    {
    case PROP_ID(PR_FOLDER_TYPE):
        prop = MakeProp(PR_FOLDER_TYPE, EncodeLong(isRoot ? FOLDER_ROOT : FOLDER_GENERIC));
        return true;
    case PROP_ID(PR_CONTENT_COUNT):
        prop = MakeProp(PR_CONTENT_COUNT, EncodeLong(static_cast<LONG>(counts.messages.count)));
        return true;
    case PROP_ID(PR_CONTENT_UNREAD):
        prop = MakeProp(PR_CONTENT_UNREAD, EncodeLong(static_cast<LONG>(counts.messages.unread)));
        return true;
    case PROP_ID(PR_SUBFOLDERS):
        prop = MakeProp(PR_SUBFOLDERS, EncodeBool(counts.subfolders != 0));
        return true;
    default:
        return false;
    }
}

bool FolderStatProp(StoreDatabase& store, int64_t folder, ULONG propId, Prop& prop)
{
    FolderCounts counts;
    if (!IsFolderStatProp(propId) || ReadCounts(store, folder, propId, counts))
        return false;
    return FolderStatValue(propId, folder == store.RoleFolder(FolderRole::Root), counts, prop);
}
} // namespace mapisvc
