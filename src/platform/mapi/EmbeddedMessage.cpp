// Messages attached to messages: opening an attachment's PR_ATTACH_DATA_OBJ as an IMessage. The attached
// message lives in the attachment's value (MessageImage.h), so it is read whole from there. Opened to read, it
// is a message of the store without identity; opened to write (a copy into the store), it is a message held
// in memory that writes itself back into the attachment, saved with the attachment.
#include "platform/mapi/Attach.h"
#include "platform/mapi/ImageMessage.h"

namespace mapisvc
{
ComPtr<Message> Message::Embedded(ComPtr<MsgStore> store, MessageImage image)
{
    ObjectRecord record;
    record.type = MAPI_MESSAGE;
    record.props = std::move(image.props);
    for (const SubRecord& attachment : image.attachments)
        record.attachSeq = std::max(record.attachSeq, attachment.key + 1);
    for (const SubRecord& recipient : image.recipients)
        record.recipSeq = std::max(record.recipSeq, recipient.key + 1);
    ComPtr<Message> message(new Message(std::move(store), std::move(record), false, false));
    for (SubRecord& attachment : image.attachments)
    {
        const ULONG num = attachment.key;
        message->m_attachments[num] = Attachment{std::move(attachment), true, false};
    }
    message->m_attachmentsLoaded = true;
    message->m_recipients.rows = std::move(image.recipients);
    message->m_recipientsLoaded = true;
    return message;
}

HRESULT Attach::OpenProperty(ULONG ulPropTag, LPCIID lpiid, ULONG ulInterfaceOptions, ULONG ulFlags, LPUNKNOWN* lppUnk)
{
    if (PROP_ID(ulPropTag) != PROP_ID(PR_ATTACH_DATA_OBJ) || !lpiid || !IsEqualGUID(*lpiid, IID_IMessage))
        return MAPIProp<IAttach>::OpenProperty(ulPropTag, lpiid, ulInterfaceOptions, ulFlags, lppUnk);
    ServiceCall call(*this, "IMAPIProp", "OpenProperty");
    if (HRESULT hr = call.Flags(ulFlags).Tag(ulPropTag).Fault())
        return hr;
    return call.Done(OpenEmbeddedMessage(ulFlags, lppUnk));
}

HRESULT Attach::OpenEmbeddedMessage(ULONG ulFlags, LPUNKNOWN* lppUnk)
{
    if (!lppUnk)
        return MAPI_E_INVALID_PARAMETER;
    *lppUnk = nullptr;
    Prop scratch;
    if (ulFlags & (MAPI_CREATE | MAPI_MODIFY))
    {
        if (HRESULT hr = CheckWritable())
            return hr;
        FindProp(PROP_ID(PR_ATTACH_DATA_OBJ), scratch);
        return OpenImageMessage(m_props, static_cast<IAttach*>(this), Names(), nullptr, (ulFlags & MAPI_CREATE) != 0,
                                true, lppUnk);
    }
    const Prop* value = FindProp(PROP_ID(PR_ATTACH_DATA_OBJ), scratch);
    if (!value || value->tag != kEmbeddedMessageTag)
        return MAPI_E_NOT_FOUND;
    MessageImage image;
    if (!ParseMessageImage(value->data, image))
        return MAPI_E_CORRUPT_DATA;
    ComPtr<Message> message = Message::Embedded(ComPtr<MsgStore>::AddRefed(&m_message->Store()), std::move(image));
    *lppUnk = static_cast<IMessage*>(message.Detach());
    return S_OK;
}
} // namespace mapisvc
