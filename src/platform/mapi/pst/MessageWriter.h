// Writes a message read from a data file into a folder of a store, as one save: its properties with the values
// the store keeps itself (flags, size, whether it has attachments), its recipients and its attachments.
#pragma once

#include "platform/mapi/MessageImage.h"
#include "platform/mapi/StoreDatabase.h"

namespace mapisvc::pst
{
HRESULT WriteMessage(StoreDatabase& store, int64_t folder, MessageImage& image);
} // namespace mapisvc::pst
