#include "platform/mapi/FolderProps.h"

#include <algorithm>

namespace mapisvc
{
namespace
{
const ULONG kStatIds[] = {PROP_ID(PR_FOLDER_TYPE), PROP_ID(PR_CONTENT_COUNT), PROP_ID(PR_CONTENT_UNREAD),
                          PROP_ID(PR_SUBFOLDERS)};
} // namespace

bool IsFolderStatProp(ULONG propId)
{
    return std::find(std::begin(kStatIds), std::end(kStatIds), propId) != std::end(kStatIds);
}

void FolderStatPropIds(std::vector<ULONG>& ids)
{
    ids.insert(ids.end(), std::begin(kStatIds), std::end(kStatIds));
}

bool FolderStatProp(StoreDatabase& store, int64_t folder, ULONG propId, Prop& prop)
{
    switch (propId)
    {
    case PROP_ID(PR_FOLDER_TYPE):
        prop = MakeProp(PR_FOLDER_TYPE,
                        EncodeLong(folder == store.RoleFolder(FolderRole::Root) ? FOLDER_ROOT : FOLDER_GENERIC));
        return true;
    case PROP_ID(PR_CONTENT_COUNT):
    case PROP_ID(PR_CONTENT_UNREAD):
    {
        ULONG count = 0, unread = 0;
        if (store.CountMessages(folder, count, unread))
            return false;
        prop = MakeProp(PROP_TAG(PT_LONG, propId),
                        EncodeLong(static_cast<LONG>(propId == PROP_ID(PR_CONTENT_COUNT) ? count : unread)));
        return true;
    }
    case PROP_ID(PR_SUBFOLDERS):
    {
        bool has = false;
        if (store.HasSubfolders(folder, has))
            return false;
        prop = MakeProp(PR_SUBFOLDERS, EncodeBool(has));
        return true;
    }
    default:
        return false;
    }
}
} // namespace mapisvc
