#include "platform/mapi/pst/ItemReader.h"

#include "platform/mapi/pst/LocaleCodePage.h"
#include "platform/mapi/pst/PstValue.h"

#include <algorithm>

namespace mapisvc::pst
{
namespace
{
constexpr ULONG kMessageCodePage = 0x3FFD; // PR_MESSAGE_CODEPAGE
constexpr ULONG kMessageLocale = 0x3FF1;   // PR_MESSAGE_LOCALE_ID
constexpr ULONG kLocale = 0x66A1;          // PR_LOCALE_ID

// Properties the store keeps for itself, or that name objects of the file rather than of the store: they are
// not copied. PR_MESSAGE_FLAGS is copied (the store takes its flags from it).
bool IsStoreMaintained(ULONG propId)
{
    switch (propId)
    {
    case PROP_ID(PR_ENTRYID):
    case PROP_ID(PR_RECORD_KEY):
    case PROP_ID(PR_INSTANCE_KEY):
    case PROP_ID(PR_STORE_ENTRYID):
    case PROP_ID(PR_STORE_RECORD_KEY):
    case PROP_ID(PR_PARENT_ENTRYID):
    case PROP_ID(PR_OBJECT_TYPE):
    case PROP_ID(PR_MESSAGE_SIZE):
    case PROP_ID(PR_HASATTACH):
    case PROP_ID(PR_ACCESS):
    case PROP_ID(PR_ACCESS_LEVEL):
    case PROP_ID(PR_ATTACH_NUM):
    case PROP_ID(PR_ATTACH_SIZE):
    case PROP_ID(PR_ROWID):
    case PROP_ID(PR_CONTENT_COUNT):
    case PROP_ID(PR_CONTENT_UNREAD):
    case PROP_ID(PR_SUBFOLDERS):
    case PROP_ID(PR_FOLDER_TYPE):
        return true;
    default:
        // The data file's own bookkeeping (row ids and versions of its tables, its password).
        return propId >= 0x67F0 && propId <= 0x67FF;
    }
}

std::string PffReason(const PffError& error, const char* fallback)
{
    std::string text = error.Text();
    return text.empty() ? fallback : text;
}

// A data file writes a subject that has a prefix ("RE: ") as U+0001, the prefix's length, and the subject.
std::string StripSubjectMarker(const std::string& data)
{
    return data.size() >= 4 && data[0] == '\x01' && data[1] == '\0' ? data.substr(4) : data;
}

LONG LongValue(const std::string& bytes)
{
    return bytes.size() == 4 ? DecodeLong(bytes) : 0;
}
} // namespace

bool ItemReader::ReadEntry(libpff_record_entry_t* entry, std::vector<RawValue>& values, std::string& reason)
{
    uint32_t id = 0, type = 0;
    if (libpff_record_entry_get_entry_type(entry, &id, nullptr) != 1 ||
        libpff_record_entry_get_value_type(entry, &type, nullptr) != 1 || id > 0xFFFF || type > 0xFFFF)
        return true; // an entry without a property tag is not a property
    ULONG propId = id;
    if (propId >= 0x8000 && !m_names.StoreId(entry, id, propId))
        return true; // a named property the file does not name cannot be given a name in the store
    if (IsStoreMaintained(propId))
        return true;
    size_t size = 0;
    PffError error;
    if (libpff_record_entry_get_data_size(entry, &size, error.Out()) != 1)
        return true; // no value (libpff reports some empty values so)
    if (size > m_limits.largestValue)
    {
        reason = "a value larger than the file";
        return false;
    }
    std::string bytes(size, '\0');
    if (size > 0 && libpff_record_entry_get_data(entry, reinterpret_cast<uint8_t*>(&bytes[0]), size, error.Out()) != 1)
    {
        reason = PffReason(error, "an unreadable value");
        return false;
    }
    values.push_back({PROP_TAG(type, propId), std::move(bytes)});
    return true;
}

bool ItemReader::ReadRawValues(libpff_item_t* item, int set, std::vector<RawValue>& values, std::string& reason)
{
    PffError error;
    libpff_record_set_t* rawSet = nullptr;
    if (libpff_item_get_record_set_by_index(item, set, &rawSet, error.Out()) != 1)
    {
        reason = PffReason(error, "unreadable properties");
        return false;
    }
    RecordSetHandle recordSet(rawSet);
    int count = 0;
    if (libpff_record_set_get_number_of_entries(rawSet, &count, error.Out()) != 1 || count < 0)
    {
        reason = PffReason(error, "unreadable properties");
        return false;
    }
    for (int i = 0; i < count; ++i)
    {
        libpff_record_entry_t* rawEntry = nullptr;
        if (libpff_record_set_get_entry_by_index(rawSet, i, &rawEntry, error.Out()) != 1)
        {
            reason = PffReason(error, "an unreadable property");
            return false;
        }
        RecordEntryHandle entry(rawEntry);
        if (!ReadEntry(rawEntry, values, reason))
            return false;
    }
    return true;
}

void ItemReader::Decode(const std::vector<RawValue>& values, UINT codePage, PropertyBag& props) const
{
    for (const RawValue& value : values)
    {
        Prop prop;
        if (!DecodeFileValue(value.tag, value.bytes, codePage, prop))
            continue;
        if (PROP_ID(prop.tag) == PROP_ID(PR_SUBJECT))
            prop.data = StripSubjectMarker(prop.data);
        props.Set(std::move(prop));
    }
}

UINT ItemReader::CodePageOf(const std::vector<RawValue>& values)
{
    LONG codePage = 0, locale = 0;
    for (const RawValue& value : values)
    {
        if (value.tag == PROP_TAG(PT_LONG, kMessageCodePage))
            codePage = LongValue(value.bytes);
        else if (value.tag == PROP_TAG(PT_LONG, kMessageLocale) || (value.tag == PROP_TAG(PT_LONG, kLocale) && !locale))
            locale = LongValue(value.bytes);
    }
    if (codePage > 0 && codePage < 65536)
        return static_cast<UINT>(codePage);
    return AnsiCodePageOfLocale(static_cast<ULONG>(locale));
}

UINT ItemReader::CodePageOfItem(libpff_item_t* item)
{
    NameMap none([](const NamedProperty&, ULONG&) { return MAPI_E_NOT_FOUND; });
    ItemReader reader(none, 0, ReadLimits{UINT64_MAX});
    std::vector<RawValue> values;
    std::string reason;
    return reader.ReadRawValues(item, 0, values, reason) ? CodePageOf(values) : 0;
}

bool ItemReader::ReadProps(libpff_item_t* item, PropertyBag& props, std::string& reason)
{
    std::vector<RawValue> values;
    if (!ReadRawValues(item, 0, values, reason))
        return false;
    Decode(values, m_fileCodePage, props);
    return true;
}

bool ItemReader::ReadMessage(libpff_item_t* message, MessageImage& image, std::string& reason)
{
    return ReadMessageAt(message, 0, m_fileCodePage, image, reason);
}

bool ItemReader::ReadMessageAt(libpff_item_t* message, int depth, UINT inheritedCodePage, MessageImage& image,
                               std::string& reason)
{
    std::vector<RawValue> values;
    if (!ReadRawValues(message, 0, values, reason))
        return false;
    UINT codePage = CodePageOf(values);
    if (codePage == 0)
        codePage = inheritedCodePage;
    Decode(values, codePage, image.props);
    return ReadRecipients(message, codePage, image.recipients, reason) &&
           ReadAttachments(message, depth, codePage, image.attachments, reason);
}

bool ItemReader::ReadRecipients(libpff_item_t* message, UINT codePage, std::vector<SubRecord>& recipients,
                                std::string& reason)
{
    PffError error;
    libpff_item_t* rawRecipients = nullptr;
    const int found = libpff_message_get_recipients(message, &rawRecipients, error.Out());
    if (found == 0)
        return true;
    if (found != 1)
    {
        reason = PffReason(error, "unreadable recipients");
        return false;
    }
    ItemHandle list(rawRecipients);
    int count = 0;
    if (libpff_item_get_number_of_record_sets(rawRecipients, &count, error.Out()) != 1 || count < 0)
    {
        reason = PffReason(error, "unreadable recipients");
        return false;
    }
    for (int i = 0; i < count; ++i)
    {
        std::vector<RawValue> values;
        if (!ReadRawValues(rawRecipients, i, values, reason))
            return false;
        SubRecord recipient;
        recipient.key = static_cast<ULONG>(i);
        Decode(values, codePage, recipient.props);
        recipients.push_back(std::move(recipient));
    }
    return true;
}

bool ItemReader::ReadAttachments(libpff_item_t* message, int depth, UINT codePage, std::vector<SubRecord>& attachments,
                                 std::string& reason)
{
    PffError error;
    int count = 0;
    if (libpff_message_get_number_of_attachments(message, &count, error.Out()) != 1 || count < 0)
    {
        reason = PffReason(error, "unreadable attachments");
        return false;
    }
    for (int i = 0; i < count; ++i)
    {
        libpff_item_t* rawAttachment = nullptr;
        if (libpff_message_get_attachment(message, i, &rawAttachment, error.Out()) != 1)
        {
            reason = PffReason(error, "an unreadable attachment");
            return false;
        }
        ItemHandle attachment(rawAttachment);
        std::vector<RawValue> values;
        if (!ReadRawValues(rawAttachment, 0, values, reason))
            return false;
        SubRecord record;
        record.key = static_cast<ULONG>(i);
        Decode(values, codePage, record.props);
        int type = 0;
        if (libpff_attachment_get_type(rawAttachment, &type, nullptr) == 1 && type == LIBPFF_ATTACHMENT_TYPE_ITEM)
            if (!ReadAttachedMessage(rawAttachment, depth + 1, codePage, record.props, reason))
                return false;
        attachments.push_back(std::move(record));
    }
    return true;
}

bool ItemReader::ReadAttachedMessage(libpff_item_t* attachment, int depth, UINT codePage, PropertyBag& props,
                                     std::string& reason)
{
    if (depth > m_limits.deepestAttachment)
    {
        reason = "attached messages nested too deep";
        return false;
    }
    PffError error;
    libpff_item_t* rawMessage = nullptr;
    if (libpff_attachment_get_item(attachment, &rawMessage, error.Out()) != 1)
    {
        reason = PffReason(error, "an unreadable attached message");
        return false;
    }
    ItemHandle message(rawMessage);
    MessageImage image;
    if (!ReadMessageAt(rawMessage, depth, codePage, image, reason))
        return false;
    props.Set(kEmbeddedMessageTag, SerializeMessageImage(image));
    return true;
}
} // namespace mapisvc::pst
