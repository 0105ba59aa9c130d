// The row source of a folder's contents table: its messages, paged from the database by id.
#pragma once

#include "platform/mapi/RowSource.h"
#include "platform/mapi/StoreDatabase.h"

namespace mapisvc
{
std::unique_ptr<RowSource> MakeContentsRows(std::shared_ptr<StoreDatabase> store, int64_t folder);
} // namespace mapisvc
