// A message kept whole inside one value: how the service stores a message attached to another (an attachment
// whose PR_ATTACH_METHOD is ATTACH_EMBEDDED_MSG keeps the attached message as its PR_ATTACH_DATA_OBJ value, of
// type PT_OBJECT). The image holds the message's properties, recipients and attachments; an attachment that is
// itself an embedded message holds the next image in its own PR_ATTACH_DATA_OBJ, so nesting costs nothing
// until a level is opened, and the attached message is saved, copied and deleted with the attachment.
//
// Layout, little-endian: "MIMG", then the properties, the recipients and the attachments. Properties are a
// 32-bit count and per property its tag, a 32-bit length and the value in the stored form (PropValue.h);
// recipients and attachments are a 32-bit count and per record its key (row id or attachment number) and
// its properties.
#pragma once

#include "platform/mapi/StoreDatabase.h"

#include <string>
#include <string_view>
#include <vector>

namespace mapisvc
{
struct MessageImage
{
    PropertyBag props;
    std::vector<SubRecord> recipients;
    std::vector<SubRecord> attachments;
};

// PR_ATTACH_DATA_OBJ as the service stores it.
constexpr ULONG kEmbeddedMessageTag = PROP_TAG(PT_OBJECT, PROP_ID(PR_ATTACH_DATA_OBJ));

// Every value of the image must be loaded.
std::string SerializeMessageImage(const MessageImage& image);
// False when the bytes are not a whole image (wrong magic, counts or lengths beyond the bytes, bytes left over).
bool ParseMessageImage(std::string_view bytes, MessageImage& image);
} // namespace mapisvc
