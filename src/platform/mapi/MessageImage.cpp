#include "platform/mapi/MessageImage.h"

#include <cstring>

namespace mapisvc
{
namespace
{
constexpr char kMagic[] = {'M', 'I', 'M', 'G'};

void AppendU32(std::string& out, uint32_t value)
{
    char bytes[4];
    std::memcpy(bytes, &value, 4);
    out.append(bytes, 4);
}

void AppendProps(std::string& out, const PropertyBag& props)
{
    AppendU32(out, static_cast<uint32_t>(props.Size()));
    for (const Prop& prop : props.Props())
    {
        AppendU32(out, prop.tag);
        AppendU32(out, static_cast<uint32_t>(prop.data.size()));
        out += prop.data;
    }
}

void AppendRecords(std::string& out, const std::vector<SubRecord>& records)
{
    AppendU32(out, static_cast<uint32_t>(records.size()));
    for (const SubRecord& record : records)
    {
        AppendU32(out, record.key);
        AppendProps(out, record.props);
    }
}

// Reads forward through the bytes; every read fails once one has run past the end.
class Reader
{
public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}

    bool U32(uint32_t& value)
    {
        if (m_bytes.size() < 4)
            return false;
        std::memcpy(&value, m_bytes.data(), 4);
        m_bytes.remove_prefix(4);
        return true;
    }
    bool Bytes(size_t size, std::string_view& bytes)
    {
        if (m_bytes.size() < size)
            return false;
        bytes = m_bytes.substr(0, size);
        m_bytes.remove_prefix(size);
        return true;
    }
    // A count of records each at least `minimumSize` bytes long: no more than the bytes left can hold.
    bool Count(uint32_t& count, size_t minimumSize) { return U32(count) && count <= m_bytes.size() / minimumSize; }
    bool AtEnd() const { return m_bytes.empty(); }

private:
    std::string_view m_bytes;
};

bool ReadProps(Reader& reader, PropertyBag& props)
{
    uint32_t count = 0;
    if (!reader.Count(count, 8))
        return false;
    for (uint32_t i = 0; i < count; ++i)
    {
        uint32_t tag = 0, size = 0;
        std::string_view data;
        if (!reader.U32(tag) || !reader.U32(size) || !reader.Bytes(size, data))
            return false;
        props.Set(tag, std::string(data));
    }
    return true;
}

bool ReadRecords(Reader& reader, std::vector<SubRecord>& records)
{
    uint32_t count = 0;
    if (!reader.Count(count, 8))
        return false;
    records.resize(count);
    for (SubRecord& record : records)
        if (!reader.U32(record.key) || !ReadProps(reader, record.props))
            return false;
    return true;
}
} // namespace

std::string SerializeMessageImage(const MessageImage& image)
{
    std::string out(kMagic, sizeof(kMagic));
    AppendProps(out, image.props);
    AppendRecords(out, image.recipients);
    AppendRecords(out, image.attachments);
    return out;
}

bool ParseMessageImage(std::string_view bytes, MessageImage& image)
{
    if (bytes.size() < sizeof(kMagic) || std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) != 0)
        return false;
    Reader reader(bytes.substr(sizeof(kMagic)));
    MessageImage parsed;
    if (!ReadProps(reader, parsed.props) || !ReadRecords(reader, parsed.recipients) ||
        !ReadRecords(reader, parsed.attachments) || !reader.AtEnd())
        return false;
    image = std::move(parsed);
    return true;
}
} // namespace mapisvc
