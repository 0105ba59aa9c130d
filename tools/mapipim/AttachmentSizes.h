// The sizes the store keeps for an item's attachments (PR_ATTACH_SIZE), read from its attachment table, to give
// the bar of "attachments save" its total. The size counts the whole attachment, its names with its content, so a
// bar by it ends a little short of full.
#pragma once

#include <mapipim/platform.h>

#include <cstdint>
#include <vector>

namespace cli
{
// By position in the attachment table, as the library counts them; 0 where the store keeps no size. Empty when the
// item cannot be opened or has no attachment table.
std::vector<std::int64_t> ReadAttachmentSizes(IMAPISession* pSession, const SBinary& entryID);

// The size at the position; 0 (not known) past the end.
std::int64_t AttachmentSizeAt(const std::vector<std::int64_t>& sizes, int index);
} // namespace cli
