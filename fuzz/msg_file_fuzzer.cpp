// Outlook item files (.msg) as OpenIMsgOnIStg reads them: the compound file through libgsf (within its bounds),
// the message's property streams, recipients, attachments and attached messages, and the named-property
// mapping. Any bytes must give a message or a refusal, without a read outside a buffer, a hang or unbounded
// memory; a message that reads writes back into a layout that reads the same.
// Seeds: a message as our writer lays it out (seeds/MsgSeeds.cpp), and Outlook's samples, given as a directory at run
// time (MAPIPIM_SAMPLES/msg) and never kept in the tree.
#include "FuzzSupport.h"

#include "platform/mapi/msg/CompoundFile.h"
#include "platform/mapi/msg/FileNames.h"
#include "platform/mapi/msg/MessageLayout.h"

#include <cstdlib>

using namespace mapisvc;
using namespace mapisvc::msg;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    StorageNode root;
    std::string why;
    CompoundLimits limits;
    limits.maxBytes = 64u << 20;
    if (LoadCompoundBytes(std::string_view(reinterpret_cast<const char*>(data), size), root, why, limits) != S_OK)
        return 0;
    FileNames names;
    names.Load(root, why);
    MessageImage image;
    if (!ReadMessage(root, image, why))
        return 0;
    StorageNode written;
    if (!WriteMessage(image, written, why))
        std::abort(); // whatever was read must write
    names.Save(written);
    MessageImage again;
    if (!ReadMessage(written, again, why) || again.props.Size() > image.props.Size() + 2 ||
        again.recipients.size() != image.recipients.size() || again.attachments.size() != image.attachments.size())
        std::abort();
    return 0;
}
