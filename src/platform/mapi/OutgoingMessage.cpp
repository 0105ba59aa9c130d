#include "platform/mapi/OutgoingMessage.h"

#include "platform/mapi/CompressedRtf.h"
#include "platform/mapi/RtfBody.h"
#include "platform/mapi/Text.h"

namespace mapisvc
{
namespace
{
const Prop* FindProp(const PropertyBag& props, ULONG tag)
{
    const Prop* prop = props.Find(PROP_ID(tag));
    return prop && PROP_TYPE(prop->tag) != PT_ERROR ? prop : nullptr;
}

std::string Utf8Of(const Prop& prop)
{
    return ToUtf8(BytesToUtf16(DataAs(prop, PT_UNICODE)));
}

std::string TextOf(const PropertyBag& props, ULONG tag)
{
    const Prop* prop = FindProp(props, tag);
    return prop && IsStringType(PROP_TYPE(prop->tag)) && !(prop->tag & MV_FLAG) ? Utf8Of(*prop) : std::string();
}

LONG LongOf(const PropertyBag& props, ULONG tag, LONG fallback)
{
    const Prop* prop = FindProp(props, tag);
    return prop && PROP_TYPE(prop->tag) == PT_LONG ? DecodeLong(prop->data) : fallback;
}

// 8-bit text in a Windows code page (an HTML body) as UTF-8.
std::string CodePageToUtf8(const std::string& bytes, UINT codePage)
{
    if (bytes.empty() || codePage == CP_UTF8)
        return bytes;
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0)
        return bytes;
    std::u16string wide(static_cast<size_t>(length), u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, reinterpret_cast<LPWSTR>(&wide[0]), length);
    return ToUtf8(wide);
}

MailAddress AddressOf(const std::string& name, const std::string& address)
{
    return MailAddress{name == address ? std::string() : name, address};
}

// The sender as the message names it: the represented sender first, as Outlook shows it.
MailAddress SenderOf(const PropertyBag& props)
{
    std::string address = TextOf(props, PR_SENT_REPRESENTING_EMAIL_ADDRESS);
    std::string name = TextOf(props, PR_SENT_REPRESENTING_NAME);
    if (address.empty())
    {
        address = TextOf(props, PR_SENDER_EMAIL_ADDRESS);
        name = TextOf(props, PR_SENDER_NAME);
    }
    return address.empty() ? MailAddress{} : AddressOf(name, address);
}

void ReadRecipients(const std::vector<SubRecord>& recipients, OutgoingMessage& out)
{
    for (const SubRecord& recipient : recipients)
    {
        std::string address = TextOf(recipient.props, PR_SMTP_ADDRESS);
        if (address.empty())
            address = TextOf(recipient.props, PR_EMAIL_ADDRESS);
        if (address.empty())
            continue;
        const MailAddress entry = AddressOf(TextOf(recipient.props, PR_DISPLAY_NAME), address);
        switch (LongOf(recipient.props, PR_RECIPIENT_TYPE, MAPI_TO) & ~MAPI_SUBMITTED)
        {
        case MAPI_CC:
            out.cc.push_back(entry);
            break;
        case MAPI_BCC:
            out.bcc.push_back(entry);
            break;
        default:
            out.to.push_back(entry);
            break;
        }
    }
}

// A message written only in RTF (as Outlook's RTF editor saves it) still has a body a recipient must see: the
// HTML it encapsulates, else its text. A damaged stream delivers what could be decoded before the damage.
void ReadRtfBody(const PropertyBag& props, OutgoingMessage& out)
{
    const Prop* rtf = FindProp(props, PR_RTF_COMPRESSED);
    if (!rtf || PROP_TYPE(rtf->tag) != PT_BINARY)
        return;
    std::string decoded;
    DecompressRtf(rtf->data, decoded);
    if (decoded.empty())
        return;
    const std::string body = ToUtf8(RtfBodyText(decoded));
    if (EncapsulatedKind(decoded) == RtfBodyKind::Html)
    {
        out.hasHtml = true;
        out.html = body;
    }
    else
    {
        out.hasText = true;
        out.text = body;
    }
}

void ReadBodies(const PropertyBag& props, OutgoingMessage& out)
{
    if (const Prop* text = FindProp(props, PR_BODY); text && IsStringType(PROP_TYPE(text->tag)))
    {
        out.hasText = true;
        out.text = Utf8Of(*text);
    }
    const Prop* html = FindProp(props, PR_HTML);
    if (html && PROP_TYPE(html->tag) == PT_BINARY)
    {
        out.hasHtml = true;
        const LONG codePage = LongOf(props, PR_INTERNET_CPID, 0);
        out.html = CodePageToUtf8(html->data, codePage > 0 ? static_cast<UINT>(codePage) : CP_ACP);
    }
    else if (html && IsStringType(PROP_TYPE(html->tag)) && !(html->tag & MV_FLAG)) // written as PR_BODY_HTML
    {
        out.hasHtml = true;
        out.html = Utf8Of(*html);
    }
    if (!out.hasText && !out.hasHtml)
        ReadRtfBody(props, out);
}

void ReadCategories(const PropertyBag& props, StoreDatabase& store, OutgoingMessage& out)
{
    NamedProperty keywords;
    keywords.propertySet = PS_PUBLIC_STRINGS;
    keywords.kind = MNID_STRING;
    keywords.name = u"Keywords";
    ULONG propId = 0;
    if (store.Names().IdOfName(keywords, false, propId) != S_OK)
        return;
    const Prop* prop = props.Find(propId);
    if (!prop || !(prop->tag & MV_FLAG) || !IsStringType(PROP_TYPE(prop->tag)))
        return;
    const ULONG wide = MV_FLAG | PT_UNICODE;
    const std::string data = DataAs(*prop, wide);
    for (std::string_view element : SplitMultiValue(data, wide))
        out.categories.push_back(ToUtf8(BytesToUtf16(element)));
}

void ReadAttachments(const std::vector<SubRecord>& attachments, OutgoingMessage& out)
{
    for (const SubRecord& attachment : attachments)
    {
        const Prop* data = FindProp(attachment.props, PR_ATTACH_DATA_BIN);
        if (!data || PROP_TYPE(data->tag) != PT_BINARY)
            continue; // embedded messages and references have no bytes of their own to send
        OutgoingAttachment entry;
        entry.fileName = TextOf(attachment.props, PR_ATTACH_LONG_FILENAME);
        if (entry.fileName.empty())
            entry.fileName = TextOf(attachment.props, PR_ATTACH_FILENAME);
        if (entry.fileName.empty())
            entry.fileName = TextOf(attachment.props, PR_DISPLAY_NAME);
        entry.mimeType = TextOf(attachment.props, PR_ATTACH_MIME_TAG);
        entry.contentId = TextOf(attachment.props, PR_ATTACH_CONTENT_ID);
        entry.bytes = data->data;
        out.attachments.push_back(std::move(entry));
    }
}
} // namespace

MailAddress AddressOfEntry(const PropertyBag& props)
{
    std::string address = TextOf(props, PR_SMTP_ADDRESS);
    if (address.empty())
        address = TextOf(props, PR_EMAIL_ADDRESS);
    return AddressOf(TextOf(props, PR_DISPLAY_NAME), address);
}

OutgoingMessage ReadOutgoingMessage(const WholeMessage& message, StoreDatabase& store)
{
    const PropertyBag& props = message.record.props;
    OutgoingMessage out;
    out.subject = TextOf(props, PR_SUBJECT);
    out.from = SenderOf(props);
    ReadRecipients(message.recipients, out);
    if (const Prop* time = FindProp(props, PR_CLIENT_SUBMIT_TIME); time && PROP_TYPE(time->tag) == PT_SYSTIME)
        out.submitTime = DecodeInt64(time->data);
    out.importance = LongOf(props, PR_IMPORTANCE, IMPORTANCE_NORMAL);
    out.sensitivity = LongOf(props, PR_SENSITIVITY, 0);
    ReadBodies(props, out);
    ReadCategories(props, store, out);
    ReadAttachments(message.attachments, out);
    return out;
}
} // namespace mapisvc
