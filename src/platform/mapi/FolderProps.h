// The properties a folder computes from its store: its type, whether it has sub-folders, and how many messages
// (and unread messages) it holds. Folders and hierarchy tables answer them alike.
#pragma once

#include "platform/mapi/StoreDatabase.h"

namespace mapisvc
{
bool IsFolderStatProp(ULONG propId);
void FolderStatPropIds(std::vector<ULONG>& ids);
bool FolderStatProp(StoreDatabase& store, int64_t folder, ULONG propId, Prop& prop);
} // namespace mapisvc
