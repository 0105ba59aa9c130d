#include "platform/mapi/MimeWriter.h"

#include <gmime/gmime.h>

#include <mutex>

namespace mapisvc
{
namespace
{
void InitialiseGMime()
{
    // GMime's type system lives for the process; it is never shut down, as other users of GMime in the same
    // process may hold on to it.
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

// An owned GObject reference.
template <class T> class GRef
{
public:
    explicit GRef(T* object = nullptr) : m_object(object) {}
    ~GRef()
    {
        if (m_object)
            g_object_unref(m_object);
    }
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
    T* Get() const { return m_object; }

private:
    T* m_object;
};

void AddAddresses(GMimeMessage* message, GMimeAddressType type, const std::vector<MailAddress>& addresses)
{
    for (const MailAddress& address : addresses)
        g_mime_message_add_mailbox(message, type, address.name.empty() ? nullptr : address.name.c_str(),
                                   address.address.c_str());
}

const char* ImportanceText(LONG importance)
{
    switch (importance)
    {
    case IMPORTANCE_LOW:
        return "low";
    case IMPORTANCE_HIGH:
        return "high";
    default:
        return nullptr;
    }
}

// RFC 2156's values, as Outlook writes them.
const char* SensitivityText(LONG sensitivity)
{
    switch (sensitivity)
    {
    case 1:
        return "Personal";
    case 2:
        return "Private";
    case 3:
        return "Company-Confidential";
    default:
        return nullptr;
    }
}

void SetHeaders(GMimeMessage* message, const OutgoingMessage& source, const std::string& domain)
{
    if (!source.from.address.empty())
        AddAddresses(message, GMIME_ADDRESS_TYPE_FROM, {source.from});
    AddAddresses(message, GMIME_ADDRESS_TYPE_TO, source.to);
    AddAddresses(message, GMIME_ADDRESS_TYPE_CC, source.cc);
    AddAddresses(message, GMIME_ADDRESS_TYPE_BCC, source.bcc);
    g_mime_message_set_subject(message, source.subject.c_str(), "utf-8");
    constexpr int64_t kUnixEpoch = 116444736000000000LL; // 1970-01-01 in 100-ns intervals since 1601
    GDateTime* date = source.submitTime > kUnixEpoch
                          ? g_date_time_new_from_unix_utc((source.submitTime - kUnixEpoch) / 10000000)
                          : g_date_time_new_now_utc();
    g_mime_message_set_date(message, date);
    g_date_time_unref(date);
    char* id = g_mime_utils_generate_message_id(domain.c_str());
    g_mime_message_set_message_id(message, id);
    g_free(id);
    GMimeObject* object = GMIME_OBJECT(message);
    if (const char* importance = ImportanceText(source.importance))
        g_mime_object_set_header(object, "Importance", importance, nullptr);
    if (const char* sensitivity = SensitivityText(source.sensitivity))
        g_mime_object_set_header(object, "Sensitivity", sensitivity, nullptr);
    if (!source.categories.empty())
    {
        std::string keywords;
        for (const std::string& category : source.categories)
            keywords += (keywords.empty() ? "" : ", ") + category;
        g_mime_object_set_header(object, "Keywords", keywords.c_str(), "utf-8");
    }
}

// A text part; GMime chooses the charset and the transfer encoding the text needs.
GMimeObject* TextPart(const char* subtype, const std::string& text)
{
    GMimeTextPart* part = g_mime_text_part_new_with_subtype(subtype);
    g_mime_text_part_set_text(part, text.c_str());
    return GMIME_OBJECT(part);
}

GMimeObject* BodyPart(const OutgoingMessage& source)
{
    if (source.hasText && source.hasHtml)
    {
        GMimeMultipart* alternative = g_mime_multipart_new_with_subtype("alternative");
        GRef<GMimeObject> text(TextPart("plain", source.text));
        GRef<GMimeObject> html(TextPart("html", source.html));
        g_mime_multipart_add(alternative, text.Get());
        g_mime_multipart_add(alternative, html.Get());
        return GMIME_OBJECT(alternative);
    }
    if (source.hasHtml)
        return TextPart("html", source.html);
    return TextPart("plain", source.text);
}

GMimeObject* AttachmentPart(const OutgoingAttachment& attachment)
{
    GMimeContentType* type = g_mime_content_type_parse(
        nullptr, attachment.mimeType.empty() ? "application/octet-stream" : attachment.mimeType.c_str());
    GMimePart* part = g_mime_part_new_with_type(g_mime_content_type_get_media_type(type),
                                                g_mime_content_type_get_media_subtype(type));
    g_object_unref(type);
    GRef<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(attachment.bytes.data(), attachment.bytes.size()));
    GRef<GMimeDataWrapper> content(g_mime_data_wrapper_new_with_stream(stream.Get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part, content.Get());
    g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
    g_mime_object_set_disposition(GMIME_OBJECT(part), GMIME_DISPOSITION_ATTACHMENT);
    if (!attachment.fileName.empty())
        g_mime_part_set_filename(part, attachment.fileName.c_str());
    if (!attachment.contentId.empty())
        g_mime_part_set_content_id(part, attachment.contentId.c_str());
    return GMIME_OBJECT(part);
}

GMimeObject* MessageBody(const OutgoingMessage& source)
{
    GMimeObject* body = BodyPart(source);
    if (source.attachments.empty())
        return body;
    GMimeMultipart* mixed = g_mime_multipart_new_with_subtype("mixed");
    g_mime_multipart_add(mixed, body);
    g_object_unref(body);
    for (const OutgoingAttachment& attachment : source.attachments)
    {
        GRef<GMimeObject> part(AttachmentPart(attachment));
        g_mime_multipart_add(mixed, part.Get());
    }
    return GMIME_OBJECT(mixed);
}
} // namespace

bool FormatMimeMessage(const OutgoingMessage& source, const std::string& messageIdDomain, std::string& bytes)
{
    InitialiseGMime();
    GRef<GMimeMessage> message(g_mime_message_new(TRUE));
    SetHeaders(message.Get(), source, messageIdDomain);
    GRef<GMimeObject> body(MessageBody(source));
    g_mime_message_set_mime_part(message.Get(), body.Get());

    GMimeFormatOptions* options = g_mime_format_options_new();
    g_mime_format_options_set_newline_format(options, GMIME_NEWLINE_FORMAT_DOS);
    GByteArray* array = g_byte_array_new();
    GRef<GMimeStream> stream(g_mime_stream_mem_new_with_byte_array(array));
    g_mime_stream_mem_set_owner(GMIME_STREAM_MEM(stream.Get()), FALSE);
    const ssize_t written = g_mime_object_write_to_stream(GMIME_OBJECT(message.Get()), options, stream.Get());
    g_mime_format_options_free(options);
    const bool ok = written >= 0 && g_mime_stream_flush(stream.Get()) == 0;
    if (ok)
        bytes.assign(reinterpret_cast<const char*>(array->data), array->len);
    g_byte_array_free(array, TRUE);
    return ok;
}
} // namespace mapisvc
