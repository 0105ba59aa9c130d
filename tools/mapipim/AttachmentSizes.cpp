#include "AttachmentSizes.h"

#include "MapiTable.h"
#include "SessionEntry.h"

#include <exception>

namespace cli
{
namespace
{
// The item's attachment table; null when the entry names no message.
LPMAPITABLE OpenAttachmentTable(IMAPISession* pSession, const SBinary& entryID)
{
    const MapiObject<IMessage> message = OpenEntryAs<IMessage>(pSession, entryID, MAPI_MESSAGE);
    LPMAPITABLE table = nullptr;
    if (!message || message->GetAttachmentTable(0, &table) != S_OK)
        return nullptr;
    return table;
}
} // namespace

std::vector<std::int64_t> ReadAttachmentSizes(IMAPISession* pSession, const SBinary& entryID)
{
    std::vector<std::int64_t> sizes;
    LPMAPITABLE table = OpenAttachmentTable(pSession, entryID);
    if (!table)
        return sizes;
    try
    {
        const RowSet rows = ReadAllRows(table, {PR_ATTACH_SIZE}, "attachments");
        for (ULONG i = 0; i < rows->cRows; ++i)
        {
            const SPropValue& value = rows->aRow[i].lpProps[0];
            sizes.push_back(value.ulPropTag == PR_ATTACH_SIZE && value.Value.l > 0 ? value.Value.l : 0);
        }
    }
    catch (const std::exception&)
    {
        sizes.clear();
    }
    return sizes;
}

std::int64_t AttachmentSizeAt(const std::vector<std::int64_t>& sizes, int index)
{
    return index >= 0 && static_cast<size_t>(index) < sizes.size() ? sizes[index] : 0;
}
} // namespace cli
