#include "platform/mapi/msg/MessageLayout.h"

#include "platform/mapi/Text.h"
#include "platform/mapi/pst/LocaleCodePage.h"
#include "platform/mapi/pst/PstValue.h"

#include <cstdio>
#include <cstring>

namespace mapisvc::msg
{
namespace
{
constexpr char16_t kPropertiesStream[] = u"__properties_version1.0";
constexpr ULONG kMessageCodePage = PROP_TAG(PT_LONG, 0x3FFD);
constexpr ULONG kInternetCodePage = PROP_TAG(PT_LONG, 0x3FDE);
constexpr ULONG kMessageLocale = PROP_TAG(PT_LONG, 0x3FF1);
constexpr ULONG kAttachNum = PROP_TAG(PT_LONG, 0x0E21);
constexpr ULONG kAttachDataObject = PROP_TAG(PT_OBJECT, 0x3701);
constexpr uint32_t kEntrySize = 16;
constexpr ULONG kReadWrite = 0x6; // PROPATTR_READABLE | PROPATTR_WRITEABLE

enum class Level
{
    Top,
    Embedded,
    Part, // a recipient or an attachment
};

size_t HeaderSize(Level level)
{
    return level == Level::Top ? 32 : level == Level::Embedded ? 24 : 8;
}

uint32_t ReadU32(std::string_view bytes, size_t offset)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

void AppendU32(std::string& out, uint32_t value)
{
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    out.append(bytes, 4);
}

std::u16string ElementName(const char* format, uint32_t a, uint32_t b = 0)
{
    char name[40];
    std::snprintf(name, sizeof(name), format, unsigned(a), unsigned(b));
    return FromUtf8(name);
}

std::u16string ValueName(ULONG tag)
{
    return ElementName("__substg1.0_%08X", tag);
}

std::shared_ptr<StorageNode> NewElement(std::u16string name, bool storage, std::string data = std::string())
{
    auto element = std::make_shared<StorageNode>();
    element->name = std::move(name);
    element->storage = storage;
    element->data = std::move(data);
    return element;
}

bool IsVariableType(ULONG single)
{
    return single == PT_STRING8 || single == PT_UNICODE || single == PT_BINARY;
}

// ---- reading

class MessageReader
{
public:
    explicit MessageReader(std::string& why) : m_why(why) {}

    bool Message(const StorageNode& storage, Level level, UINT codePage, int depth, MessageImage& image)
    {
        if (depth > kMaxMessageNesting)
            return Fail("attached messages nested too deep");
        if (!Properties(storage, level, codePage, image.props))
            return false;
        ULONG recipient = 0, attachment = 0;
        for (const auto& child : storage.children)
        {
            if (!child->storage)
                continue;
            if (StartsWith(child->name, u"__recip_version1.0_#"))
            {
                SubRecord record;
                record.key = recipient++;
                UINT recipientCodePage = codePage;
                if (!Properties(*child, Level::Part, recipientCodePage, record.props))
                    return false;
                image.recipients.push_back(std::move(record));
            }
            else if (StartsWith(child->name, u"__attach_version1.0_#"))
            {
                SubRecord record;
                record.key = attachment++;
                if (!Attachment(*child, codePage, depth, record))
                    return false;
                image.attachments.push_back(std::move(record));
            }
        }
        return true;
    }

private:
    bool Attachment(const StorageNode& storage, UINT codePage, int depth, SubRecord& record)
    {
        if (!Properties(storage, Level::Part, codePage, record.props))
            return false;
        std::shared_ptr<StorageNode> object = storage.Child(ValueName(kAttachDataObject));
        const Prop* method = record.props.Find(PROP_ID(PR_ATTACH_METHOD));
        const bool embedded = method && PROP_TYPE(method->tag) == PT_LONG && DecodeLong(method->data) == ATTACH_EMBEDDED_MSG;
        if (!object || !object->storage || !embedded)
            return true; // an OLE object's storage has no place in a message of the service
        MessageImage inner;
        if (!Message(*object, Level::Embedded, codePage, depth + 1, inner))
            return false;
        record.props.Set(kEmbeddedMessageTag, SerializeMessageImage(inner));
        return true;
    }

    // Reads the object's properties; `codePage` becomes the code page of its 8-bit text, which its recipients
    // and attachments inherit: its own, else its locale's, else that of its Internet form.
    bool Properties(const StorageNode& storage, Level level, UINT& codePage, PropertyBag& props)
    {
        std::shared_ptr<StorageNode> stream = storage.Child(kPropertiesStream);
        if (!stream || stream->storage || stream->data.size() < HeaderSize(level))
            return Fail("a property stream is missing or too short");
        const std::string& bytes = stream->data;
        std::vector<std::pair<ULONG, std::string_view>> entries;
        for (size_t offset = HeaderSize(level); offset + kEntrySize <= bytes.size(); offset += kEntrySize)
            entries.emplace_back(ReadU32(bytes, offset), std::string_view(bytes).substr(offset + 8, 8));
        codePage = CodePageOf(entries, codePage);
        for (const auto& entry : entries)
            Property(storage, entry.first, entry.second, codePage, props);
        return true;
    }

    static UINT CodePageOf(const std::vector<std::pair<ULONG, std::string_view>>& entries, UINT inherited)
    {
        // The Internet code page comes last: it is that of the body's Internet form (ISO-2022-JP for Japanese
        // mail), not the ANSI code page the 8-bit properties are written in.
        for (ULONG tag : {kMessageCodePage, kMessageLocale, kInternetCodePage})
            for (const auto& entry : entries)
            {
                const uint32_t value = entry.first == tag ? ReadU32(entry.second, 0) : 0;
                if (value && tag != kMessageLocale && value < 65536)
                    return UINT(value);
                if (value && tag == kMessageLocale)
                    if (const UINT codePage = pst::AnsiCodePageOfLocale(value))
                        return codePage;
            }
        return inherited;
    }

    // One entry; values that cannot be read are left out, as a reader skips a property it does not know.
    void Property(const StorageNode& storage, ULONG tag, std::string_view value, UINT codePage, PropertyBag& props)
    {
        const ULONG type = PROP_TYPE(tag);
        const ULONG single = type & ~MV_FLAG;
        if (type == PT_OBJECT || type == PT_ERROR || type == PT_NULL || !IsKnownType(type))
            return;
        Prop prop;
        if (!(type & MV_FLAG) && !IsVariableType(single) && type != PT_CLSID)
        {
            if (pst::DecodeFileValue(tag, value.substr(0, FixedElementSize(type)), codePage, prop))
                props.Set(std::move(prop));
            return;
        }
        std::shared_ptr<StorageNode> stream = storage.Child(ValueName(tag));
        if (!stream || stream->storage)
            return;
        if (!(type & MV_FLAG) || !IsVariableType(single))
        {
            if (pst::DecodeFileValue(tag, stream->data, codePage, prop))
                props.Set(std::move(prop));
            return;
        }
        if (VariableElements(storage, tag, stream->data, codePage, prop))
            props.Set(std::move(prop));
    }

    // A multi-valued string or binary: its stream holds the lengths, one stream per element the bytes.
    bool VariableElements(const StorageNode& storage, ULONG tag, const std::string& lengths, UINT codePage, Prop& prop)
    {
        const ULONG single = PROP_TYPE(tag) & ~MV_FLAG;
        const size_t stride = single == PT_BINARY ? 8 : 4;
        const size_t count = lengths.size() / stride;
        std::vector<std::string> elements;
        for (size_t i = 0; i < count; ++i)
        {
            std::shared_ptr<StorageNode> element = storage.Child(ElementName("__substg1.0_%08X-%08X", tag, uint32_t(i)));
            if (!element || element->storage)
                return false;
            if (single == PT_BINARY)
                elements.push_back(element->data);
            else if (single == PT_UNICODE)
                elements.push_back(Utf16ToBytes(BytesToUtf16(TrimZeros(element->data, 2))));
            else
                elements.push_back(Utf16ToBytes(pst::TextFromCodePage(element->data, codePage)));
        }
        const ULONG storedType = single == PT_BINARY ? PT_MV_BINARY : PT_MV_UNICODE;
        prop = MakeProp(CHANGE_PROP_TYPE(tag, storedType), JoinMultiValue(elements, storedType));
        return true;
    }

    static std::string_view TrimZeros(std::string_view bytes, size_t unit)
    {
        bytes = bytes.substr(0, bytes.size() - bytes.size() % unit);
        while (bytes.size() >= unit && bytes.substr(bytes.size() - unit).find_first_not_of('\0') == std::string_view::npos)
            bytes.remove_suffix(unit);
        return bytes;
    }

    static bool StartsWith(const std::u16string& name, std::u16string_view prefix)
    {
        return name.size() >= prefix.size() && EqualIgnoreCase(std::u16string_view(name).substr(0, prefix.size()), prefix);
    }

    bool Fail(const char* reason)
    {
        m_why = reason;
        return false;
    }

    std::string& m_why;
};

// ---- writing

class MessageWriter
{
public:
    explicit MessageWriter(std::string& why) : m_why(why) {}

    bool Message(const MessageImage& image, Level level, int depth, StorageNode& storage)
    {
        if (depth > kMaxMessageNesting)
            return Fail("attached messages nested too deep");
        std::string header(8, '\0');
        if (level != Level::Part)
        {
            AppendU32(header, uint32_t(image.recipients.size()));
            AppendU32(header, uint32_t(image.attachments.size()));
            AppendU32(header, uint32_t(image.recipients.size()));
            AppendU32(header, uint32_t(image.attachments.size()));
            if (level == Level::Top)
                header.append(8, '\0');
        }
        PropertyBag props = image.props;
        if (level == Level::Top)
        {
            const Prop* mask = props.Find(PROP_ID(PR_STORE_SUPPORT_MASK));
            const LONG bits = mask && PROP_TYPE(mask->tag) == PT_LONG ? DecodeLong(mask->data) : 0;
            props.Set(PR_STORE_SUPPORT_MASK, EncodeLong(bits | LONG(STORE_UNICODE_OK)));
        }
        if (!Properties(props, std::move(header), storage))
            return false;
        for (size_t i = 0; i < image.recipients.size(); ++i)
        {
            auto child = NewElement(ElementName("__recip_version1.0_#%08X", uint32_t(i)), true);
            PropertyBag recipient = image.recipients[i].props;
            recipient.Set(PR_ROWID, EncodeLong(LONG(i)));
            if (!Properties(recipient, std::string(8, '\0'), *child))
                return false;
            storage.children.push_back(std::move(child));
        }
        for (size_t i = 0; i < image.attachments.size(); ++i)
        {
            auto child = NewElement(ElementName("__attach_version1.0_#%08X", uint32_t(i)), true);
            if (!Attachment(image.attachments[i].props, uint32_t(i), depth, *child))
                return false;
            storage.children.push_back(std::move(child));
        }
        return true;
    }

private:
    bool Attachment(PropertyBag props, uint32_t num, int depth, StorageNode& storage)
    {
        props.Set(kAttachNum, EncodeLong(LONG(num)));
        const Prop* object = props.Find(PROP_ID(kEmbeddedMessageTag));
        if (object && object->tag == kEmbeddedMessageTag)
        {
            MessageImage inner;
            if (!ParseMessageImage(object->data, inner))
                return Fail("an attached message cannot be read");
            auto innerStorage = NewElement(ValueName(kAttachDataObject), true);
            if (!Message(inner, Level::Embedded, depth + 1, *innerStorage))
                return false;
            storage.children.push_back(std::move(innerStorage));
        }
        return Properties(props, std::string(8, '\0'), storage);
    }

    bool Properties(const PropertyBag& props, std::string entries, StorageNode& storage)
    {
        for (const Prop& prop : props.Props())
        {
            if (!prop.loaded)
                return Fail("a value was not loaded");
            const ULONG type = PROP_TYPE(prop.tag);
            std::string value(8, '\0');
            if (prop.tag == kEmbeddedMessageTag)
                std::memset(&value[0], 0xFF, 4);
            else if (type == PT_ERROR || type == PT_NULL || type == PT_OBJECT)
                continue;
            else if (!(type & MV_FLAG) && FixedElementSize(type) && type != PT_CLSID)
                std::memcpy(&value[0], prop.data.data(), std::min<size_t>(8, prop.data.size()));
            else
                AppendValueStreams(prop, value, storage);
            AppendU32(entries, prop.tag);
            AppendU32(entries, kReadWrite);
            entries += value;
        }
        storage.children.push_back(NewElement(kPropertiesStream, false, std::move(entries)));
        return true;
    }

    // The streams of a variable-size or multi-valued value; `value` gets the size its entry gives.
    void AppendValueStreams(const Prop& prop, std::string& value, StorageNode& storage)
    {
        const ULONG type = PROP_TYPE(prop.tag);
        const ULONG single = type & ~MV_FLAG;
        std::string bytes;
        if (!(type & MV_FLAG))
        {
            bytes = prop.data;
            if (single == PT_UNICODE)
                bytes.append(2, '\0');
            else if (single == PT_STRING8)
                bytes.append(1, '\0');
        }
        else if (!IsVariableType(single))
            bytes = JoinFixed(prop);
        else
        {
            const std::vector<std::string_view> elements = SplitMultiValue(prop.data, type);
            for (size_t i = 0; i < elements.size(); ++i)
            {
                std::string element(elements[i]);
                element.append(single == PT_UNICODE ? 2 : single == PT_STRING8 ? 1 : 0, '\0');
                AppendU32(bytes, uint32_t(element.size()));
                if (single == PT_BINARY)
                    AppendU32(bytes, 0);
                storage.children.push_back(
                    NewElement(ElementName("__substg1.0_%08X-%08X", prop.tag, uint32_t(i)), false, std::move(element)));
            }
        }
        const uint32_t size = uint32_t(bytes.size());
        std::memcpy(&value[0], &size, 4);
        storage.children.push_back(NewElement(ValueName(prop.tag), false, std::move(bytes)));
    }

    static std::string JoinFixed(const Prop& prop)
    {
        std::string bytes;
        for (std::string_view element : SplitMultiValue(prop.data, PROP_TYPE(prop.tag)))
            bytes += element;
        return bytes;
    }

    bool Fail(const char* reason)
    {
        m_why = reason;
        return false;
    }

    std::string& m_why;
};
} // namespace

bool ReadMessage(const StorageNode& storage, MessageImage& image, std::string& why)
{
    MessageImage read;
    MessageReader reader(why);
    if (!reader.Message(storage, Level::Top, CP_ACP, 0, read))
        return false;
    image = std::move(read);
    return true;
}

bool WriteMessage(const MessageImage& image, StorageNode& storage, std::string& why)
{
    StorageNode written;
    written.name = storage.name;
    written.storage = true;
    written.clsid = storage.clsid;
    MessageWriter writer(why);
    if (!writer.Message(image, Level::Top, 0, written))
        return false;
    storage = std::move(written);
    return true;
}
} // namespace mapisvc::msg
