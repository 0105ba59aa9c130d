// How a message lies in the storage of an Outlook item file: a "__properties_version1.0" stream of fixed-size
// entries (the value of fixed-size properties, the size of the others), one "__substg1.0_TTTTTTTT" stream per
// variable-size value, one sub-storage per recipient ("__recip_version1.0_#N") and per attachment
// ("__attach_version1.0_#N"), and an attached message as the attachment's "__substg1.0_3701000D" storage laid
// out the same way. In memory the message is the service's MessageImage: strings in UTF-16 (8-bit text of ANSI
// files decoded with the message's code page) and an attached message as its attachment's image value.
#pragma once

#include "platform/mapi/MessageImage.h"
#include "platform/mapi/msg/CompoundFile.h"

namespace mapisvc::msg
{
// Attached messages deeper than this are refused: nothing a person writes nests so far, and it bounds the
// work a hostile file can ask for.
constexpr int kMaxMessageNesting = 64;

// False (with `why`) for a storage that is not a message: a missing or short property stream, entries that
// contradict their streams, messages nested beyond kMaxMessageNesting.
bool ReadMessage(const StorageNode& storage, MessageImage& image, std::string& why);
// Replaces what `storage` holds by the message (as a top-level message of a Unicode file).
bool WriteMessage(const MessageImage& image, StorageNode& storage, std::string& why);
} // namespace mapisvc::msg
