// The rows of a hierarchy table: the sub-folders of a folder, or every folder below it (CONVENIENT_DEPTH), in
// depth-first order, read when the table is made (a level at a time, or picked from all the store's folders) and kept
// in their stored form, each row parsed for the columns asked for when it is handed out. The columns a folder computes
// from its store (message counts, PR_SUBFOLDERS) cost a query over every row of the table, so they are computed only
// when a scan or fetch asks for them, in one grouped query per kind, once for the table's life: a table opened later
// sees later counts.
#pragma once

#include "platform/mapi/RowSource.h"
#include "platform/mapi/StoreDatabase.h"

namespace mapisvc
{
HRESULT MakeHierarchyRows(std::shared_ptr<StoreDatabase> store, int64_t folder, bool allLevels,
                          std::unique_ptr<RowSource>& rows);
} // namespace mapisvc
