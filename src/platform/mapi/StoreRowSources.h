// Row sources over a store's folders: the contents table of a folder (its messages, paged from the database by
// id) and the hierarchy table (its sub-folders, with their counts; all levels below for CONVENIENT_DEPTH).
#pragma once

#include "platform/mapi/RowSource.h"
#include "platform/mapi/StoreDatabase.h"

namespace mapisvc
{
std::unique_ptr<RowSource> MakeContentsRows(std::shared_ptr<StoreDatabase> store, int64_t folder);
HRESULT MakeHierarchyRows(StoreDatabase& store, int64_t folder, bool allLevels, std::unique_ptr<RowSource>& rows);
} // namespace mapisvc
