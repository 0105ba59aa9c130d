#include "support/MimeReading.h"

#include <gmime/gmime.h>

#include <fstream>
#include <mutex>
#include <sstream>

namespace
{
void Init()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

std::vector<ParsedMailbox> Mailboxes(InternetAddressList* list)
{
    std::vector<ParsedMailbox> result;
    for (int i = 0; list && i < internet_address_list_length(list); ++i)
    {
        InternetAddress* address = internet_address_list_get_address(list, i);
        if (!INTERNET_ADDRESS_IS_MAILBOX(address))
            continue;
        const char* name = internet_address_get_name(address);
        result.push_back({name ? name : "", internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address))});
    }
    return result;
}

std::string Header(GMimeObject* object, const char* name)
{
    const char* value = g_mime_object_get_header(object, name);
    return value ? value : "";
}

std::string DecodedContent(GMimePart* part)
{
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (!content)
        return std::string();
    GByteArray* array = g_byte_array_new();
    GMimeStream* stream = g_mime_stream_mem_new_with_byte_array(array);
    g_mime_stream_mem_set_owner(GMIME_STREAM_MEM(stream), FALSE);
    g_mime_data_wrapper_write_to_stream(content, stream);
    g_object_unref(stream);
    std::string bytes(reinterpret_cast<const char*>(array->data), array->len);
    g_byte_array_free(array, TRUE);
    return bytes;
}

void Visit(GMimeObject* parent, GMimeObject* part, gpointer data)
{
    auto* mail = static_cast<ParsedMail*>(data);
    if (!GMIME_IS_PART(part))
        return;
    GMimeContentType* type = g_mime_object_get_content_type(part);
    char* mime = g_mime_content_type_get_mime_type(type);
    const std::string mimeType = mime;
    g_free(mime);
    GMimeContentDisposition* disposition = g_mime_object_get_content_disposition(part);
    const bool attachment = disposition && g_mime_content_disposition_is_attachment(disposition);
    if (!attachment && GMIME_IS_TEXT_PART(part) && (mimeType == "text/plain" || mimeType == "text/html"))
    {
        char* text = g_mime_text_part_get_text(GMIME_TEXT_PART(part));
        (mimeType == "text/plain" ? mail->text : mail->html) = text ? text : "";
        (mimeType == "text/plain" ? mail->hasText : mail->hasHtml) = true;
        g_free(text);
        return;
    }
    ParsedAttachment entry;
    const char* name = g_mime_part_get_filename(GMIME_PART(part));
    entry.fileName = name ? name : "";
    entry.mimeType = mimeType;
    const char* encoding = g_mime_content_encoding_to_string(g_mime_part_get_content_encoding(GMIME_PART(part)));
    entry.transferEncoding = encoding ? encoding : "";
    entry.bytes = DecodedContent(GMIME_PART(part));
    mail->attachments.push_back(std::move(entry));
}
} // namespace

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

ParsedMail ParseMailFile(const std::string& path)
{
    Init();
    ParsedMail mail;
    const std::string bytes = ReadWholeFile(path);
    if (bytes.empty())
        return mail;
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size());
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
    g_object_unref(parser);
    g_object_unref(stream);
    if (!message)
        return mail;
    mail.parsed = true;
    const char* subject = g_mime_message_get_subject(message);
    mail.subject = subject ? subject : "";
    GMimeObject* object = GMIME_OBJECT(message);
    if (GMimeHeader* header = g_mime_header_list_get_header(g_mime_object_get_header_list(object), "Subject"))
        mail.rawSubject = g_mime_header_get_raw_value(header);
    mail.from = Mailboxes(g_mime_message_get_from(message));
    mail.to = Mailboxes(g_mime_message_get_to(message));
    mail.cc = Mailboxes(g_mime_message_get_cc(message));
    mail.bcc = Mailboxes(g_mime_message_get_bcc(message));
    mail.date = Header(object, "Date");
    mail.importance = Header(object, "Importance");
    mail.sensitivity = Header(object, "Sensitivity");
    mail.keywords = Header(object, "Keywords");
    if (GMimeObject* body = g_mime_message_get_mime_part(message))
    {
        char* type = g_mime_content_type_get_mime_type(g_mime_object_get_content_type(body));
        mail.contentType = type;
        g_free(type);
        if (GMIME_IS_MULTIPART(body))
            g_mime_multipart_foreach(GMIME_MULTIPART(body), Visit, &mail);
        else
            Visit(object, body, &mail);
    }
    g_object_unref(message);
    return mail;
}
