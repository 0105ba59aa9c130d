#include "platform/mapi/pst/MessageWriter.h"

#include <algorithm>

namespace mapisvc::pst
{
namespace
{
LONG FlagsOf(const PropertyBag& props, bool hasAttachments)
{
    const Prop* flags = props.Find(PROP_ID(PR_MESSAGE_FLAGS));
    LONG value = flags && PROP_TYPE(flags->tag) == PT_LONG ? DecodeLong(flags->data) : MSGFLAG_READ;
    return hasAttachments ? value | MSGFLAG_HASATTACH : value & ~MSGFLAG_HASATTACH;
}

ULONG NextKey(const std::vector<SubRecord>& records)
{
    ULONG next = 0;
    for (const SubRecord& record : records)
        next = std::max(next, record.key + 1);
    return next;
}

// What the store keeps for a message it saves (as a message's own save does): its flags, whether it has
// attachments, its size, and each attachment's size.
void SetMaintainedProps(MessageImage& image, LONG flags)
{
    size_t size = 0;
    for (SubRecord& attachment : image.attachments)
    {
        attachment.props.Set(PR_ATTACH_SIZE, EncodeLong(static_cast<LONG>(attachment.props.ValueBytes())));
        size += attachment.props.ValueBytes();
    }
    for (const SubRecord& recipient : image.recipients)
        size += recipient.props.ValueBytes();
    image.props.Set(PR_MESSAGE_FLAGS, EncodeLong(flags));
    image.props.Set(PR_HASATTACH, EncodeBool(!image.attachments.empty()));
    image.props.Set(PR_MESSAGE_SIZE, EncodeLong(0));
    size += image.props.ValueBytes();
    image.props.Set(PR_MESSAGE_SIZE, EncodeLong(static_cast<LONG>(std::min<size_t>(size, 0x7FFFFFFF))));
}
} // namespace

HRESULT WriteMessage(StoreDatabase& store, int64_t folder, MessageImage& image)
{
    const LONG flags = FlagsOf(image.props, !image.attachments.empty());
    SetMaintainedProps(image, flags);
    int64_t id = 0;
    if (HRESULT hr = store.ReserveMessageId(id))
        return hr;
    MessageSave save;
    save.id = id;
    save.folder = folder;
    save.isNew = true;
    save.flags = flags;
    save.attachSeq = NextKey(image.attachments);
    save.recipSeq = NextKey(image.recipients);
    save.props = &image.props;
    for (const SubRecord& attachment : image.attachments)
        save.savedAttachments.push_back(&attachment);
    save.recipients = &image.recipients;
    save.publish = false; // the store is not listed yet: nobody can be watching it
    if (HRESULT hr = store.SaveMessage(save))
    {
        store.ReleaseMessageId(id);
        return hr;
    }
    return S_OK;
}
} // namespace mapisvc::pst
