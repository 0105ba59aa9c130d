// The recipients of a message held in memory and what IMessage::ModifyRecipients does to them: add, replace,
// modify by PR_ROWID, remove by PR_ROWID. Shared by the store's messages and the messages kept in a value or
// a file; a failed change leaves the list as it was.
#pragma once

#include "platform/mapi/StoreDatabase.h"

#include <vector>

namespace mapisvc
{
struct RecipientList
{
    std::vector<SubRecord> rows;
    ULONG nextRowId = 0;

    HRESULT Modify(ULONG ulFlags, const ADRLIST& mods, bool unicode);
    // Rows for GetRecipientTable, each with PR_ROWID and PR_INSTANCE_KEY (`owner` then row id).
    std::vector<struct TableRow> TableRows(const std::string& owner) const;

private:
    HRESULT Add(const ADRLIST& list, bool keepRowIds, bool unicode);
};

// The columns GetRecipientTable starts with.
std::vector<ULONG> RecipientColumns();
} // namespace mapisvc
