// The properties a folder computes from its store: its type, whether it has sub-folders, and how many messages
// (and unread messages) it holds. Folders and hierarchy tables answer them alike: a folder asks its store for
// the counts of one folder, a hierarchy table for the counts of all its rows at once.
#pragma once

#include "platform/mapi/StoreDatabase.h"

namespace mapisvc
{
// What the computed properties of one folder are made of.
struct FolderCounts
{
    ChildCounts messages;
    ULONG subfolders = 0;
};

bool IsFolderStatProp(ULONG propId);
void FolderStatPropIds(std::vector<ULONG>& ids);
// Whether the property is made from the folder's messages (else from its sub-folders, or from nothing stored).
bool IsMessageCountProp(ULONG propId);
bool IsSubfolderProp(ULONG propId);
// The value of a computed property from the counts it is made of; false for other properties.
bool FolderStatValue(ULONG propId, bool isRoot, const FolderCounts& counts, Prop& prop);
// The same for one folder, its counts read from the store.
bool FolderStatProp(StoreDatabase& store, int64_t folder, ULONG propId, Prop& prop);
} // namespace mapisvc
