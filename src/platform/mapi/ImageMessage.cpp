#include "platform/mapi/ImageMessage.h"

#include "platform/mapi/ImageAttach.h"
#include "platform/mapi/MessageCopy.h"
#include "platform/mapi/Table.h"

namespace mapisvc
{
ImageMessage::ImageMessage(MessageImage image, PropertyNames* names, std::shared_ptr<void> keepAlive, Sink sink,
                           bool writable)
    : m_image(std::move(image)), m_names(names), m_keepAlive(std::move(keepAlive)), m_sink(std::move(sink))
{
    m_access = writable ? Access::ReadWrite : Access::ReadOnly;
    m_recipients.rows = std::move(m_image.recipients);
    for (const SubRecord& recipient : m_recipients.rows)
        m_recipients.nextRowId = std::max(m_recipients.nextRowId, recipient.key + 1);
    for (SubRecord& attachment : m_image.attachments)
    {
        m_nextAttachment = std::max(m_nextAttachment, attachment.key + 1);
        m_attachments[attachment.key] = std::move(attachment.props);
    }
    m_image.attachments.clear();
}

ImageMessage::~ImageMessage()
{
    if (m_onRelease)
        m_onRelease(this);
}

bool ImageMessage::Implements(REFIID riid) const
{
    return IsOneOf(riid, {&IID_IMAPIProp, &IID_IMessage});
}

HRESULT ImageMessage::CommitAttachment(ULONG num, const PropertyBag& props)
{
    if (HRESULT hr = CheckWritable())
        return hr;
    PropertyBag& held = m_attachments[num];
    held = props;
    held.Set(PR_ATTACH_SIZE, EncodeLong(static_cast<LONG>(props.ValueBytes())));
    return S_OK;
}

HRESULT ImageMessage::GetAttachmentTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    ServiceCall call(*this, "IMessage", "GetAttachmentTable");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    std::vector<TableRow> rows;
    for (const auto& entry : m_attachments)
    {
        TableRow row{entry.first, entry.second};
        row.props.Remove(PROP_ID(kEmbeddedMessageTag));
        row.props.Set(PR_ATTACH_NUM, EncodeLong(static_cast<LONG>(entry.first)));
        row.props.Set(PR_INSTANCE_KEY, EncodeLong(static_cast<LONG>(entry.first)));
        row.props.Set(PR_OBJECT_TYPE, EncodeLong(MAPI_ATTACH));
        rows.push_back(std::move(row));
    }
    return call.Done(NewTable(std::move(rows),
                              {PR_ATTACH_NUM, PR_INSTANCE_KEY, PR_RENDERING_POSITION, PR_ATTACH_METHOD,
                               PR_ATTACH_FILENAME, PR_ATTACH_LONG_FILENAME, PR_DISPLAY_NAME, PR_ATTACH_SIZE},
                              ulFlags, lppTable));
}

HRESULT ImageMessage::OpenAttach(ULONG ulAttachmentNum, LPCIID lpInterface, ULONG ulFlags, LPATTACH* lppAttach)
{
    ServiceCall call(*this, "IMessage", "OpenAttach");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = PrepareOpen(lppAttach, lpInterface, IID_IAttachment))
        return call.Done(hr);
    auto it = m_attachments.find(ulAttachmentNum);
    if (it == m_attachments.end())
        return call.Done(MAPI_E_NOT_FOUND);
    const bool writable = (ulFlags & (MAPI_MODIFY | MAPI_BEST_ACCESS)) && m_access == Access::ReadWrite;
    *lppAttach = new ImageAttach(ComPtr<ImageMessage>::AddRefed(this), ulAttachmentNum, it->second, writable);
    return call.Done(S_OK);
}

HRESULT ImageMessage::CreateAttach(LPCIID lpInterface, ULONG ulFlags, ULONG* lpulAttachmentNum, LPATTACH* lppAttach)
{
    ServiceCall call(*this, "IMessage", "CreateAttach");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lpulAttachmentNum)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (HRESULT hr = PrepareOpen(lppAttach, lpInterface, IID_IAttachment))
        return call.Done(hr);
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    const ULONG num = m_nextAttachment++;
    *lpulAttachmentNum = num;
    *lppAttach = new ImageAttach(ComPtr<ImageMessage>::AddRefed(this), num, PropertyBag(), true);
    return call.Done(S_OK);
}

HRESULT ImageMessage::DeleteAttach(ULONG ulAttachmentNum, ULONG, LPMAPIPROGRESS, ULONG ulFlags)
{
    ServiceCall call(*this, "IMessage", "DeleteAttach");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    return call.Done(m_attachments.erase(ulAttachmentNum) ? S_OK : MAPI_E_NOT_FOUND);
}

HRESULT ImageMessage::GetRecipientTable(ULONG ulFlags, LPMAPITABLE* lppTable)
{
    ServiceCall call(*this, "IMessage", "GetRecipientTable");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    return call.Done(NewTable(m_recipients.TableRows(std::string()), RecipientColumns(), ulFlags, lppTable));
}

HRESULT ImageMessage::ModifyRecipients(ULONG ulFlags, LPADRLIST lpMods)
{
    ServiceCall call(*this, "IMessage", "ModifyRecipients");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lpMods)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (HRESULT hr = CheckWritable())
        return call.Done(hr);
    return call.Done(m_recipients.Modify(ulFlags, *lpMods, StoresUnicode()));
}

HRESULT ImageMessage::SubmitMessage(ULONG ulFlags)
{
    // A message outside a store cannot be sent.
    return Unsupported("SubmitMessage", ulFlags);
}

HRESULT ImageMessage::SetReadFlag(ULONG ulFlags)
{
    ServiceCall call(*this, "IMessage", "SetReadFlag");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (ulFlags & GENERATE_RECEIPT_ONLY)
        return call.Done(S_OK);
    const Prop* flags = m_image.props.Find(PROP_ID(PR_MESSAGE_FLAGS));
    const LONG bits = flags && PROP_TYPE(flags->tag) == PT_LONG ? DecodeLong(flags->data) : 0;
    m_image.props.Set(PR_MESSAGE_FLAGS, EncodeLong(ulFlags & CLEAR_READ_FLAG ? bits & ~MSGFLAG_READ : bits | MSGFLAG_READ));
    return call.Done(S_OK);
}

HRESULT ImageMessage::CopyTo(ULONG ciidExclude, LPCIID rgiidExclude, LPSPropTagArray lpExcludeProps, ULONG,
                             LPMAPIPROGRESS, LPCIID lpInterface, LPVOID lpDestObj, ULONG ulFlags,
                             LPSPropProblemArray* lppProblems)
{
    ServiceCall call(*this, "IMAPIProp", "CopyTo");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    return call.Done(CopyMessageTo(this, ciidExclude, rgiidExclude, lpExcludeProps, lpInterface, lpDestObj, ulFlags,
                                   lppProblems));
}

HRESULT ImageMessage::Save(ULONG)
{
    MessageImage image;
    image.props = m_image.props;
    image.recipients = m_recipients.rows;
    for (const auto& entry : m_attachments)
        image.attachments.push_back(SubRecord{entry.first, entry.second});
    const bool hasAttach = !image.attachments.empty();
    image.props.Set(PR_HASATTACH, EncodeBool(hasAttach));
    return m_sink ? m_sink(image) : S_OK;
}

HRESULT OpenImageMessage(PropertyBag& props, IUnknown* attachment, PropertyNames* names,
                         std::shared_ptr<void> keepAlive, bool create, bool writable, LPUNKNOWN* lppUnk)
{
    MessageImage image;
    const Prop* value = props.Find(PROP_ID(kEmbeddedMessageTag));
    if (!create)
    {
        if (!value || value->tag != kEmbeddedMessageTag)
            return MAPI_E_NOT_FOUND;
        if (!ParseMessageImage(value->data, image))
            return MAPI_E_CORRUPT_DATA;
    }
    // The message writes itself into the attachment's properties; the attachment stays alive while it does.
    ComPtr<IUnknown> holder = ComPtr<IUnknown>::AddRefed(attachment);
    ImageMessage::Sink sink = [&props, holder](const MessageImage& saved) {
        props.Set(kEmbeddedMessageTag, SerializeMessageImage(saved));
        props.Set(PR_ATTACH_METHOD, EncodeLong(ATTACH_EMBEDDED_MSG));
        return S_OK;
    };
    auto* message = new ImageMessage(std::move(image), names, std::move(keepAlive), std::move(sink), writable);
    *lppUnk = static_cast<IMessage*>(message);
    return S_OK;
}
} // namespace mapisvc
