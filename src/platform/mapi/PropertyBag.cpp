#include "platform/mapi/PropertyBag.h"

#include <algorithm>
#include <cstring>

namespace mapisvc
{
namespace
{
constexpr uint32_t kOutOfLine = 1;
constexpr size_t kHeaderSize = 12; // tag, flags and size of one property

auto ById(ULONG propId)
{
    return [propId](const Prop& prop) { return PROP_ID(prop.tag) < propId; };
}

void Append(std::string& out, uint32_t value)
{
    out.append(reinterpret_cast<const char*>(&value), 4);
}

bool Read(std::string_view blob, size_t& offset, uint32_t& value)
{
    if (offset + 4 > blob.size())
        return false;
    std::memcpy(&value, blob.data() + offset, 4);
    offset += 4;
    return true;
}
} // namespace

const Prop* PropertyBag::Find(ULONG propId) const
{
    auto it = std::partition_point(m_props.begin(), m_props.end(), ById(propId));
    return it != m_props.end() && PROP_ID(it->tag) == propId ? &*it : nullptr;
}

Prop* PropertyBag::Find(ULONG propId)
{
    auto it = std::partition_point(m_props.begin(), m_props.end(), ById(propId));
    return it != m_props.end() && PROP_ID(it->tag) == propId ? &*it : nullptr;
}

void PropertyBag::Set(Prop prop)
{
    auto it = std::partition_point(m_props.begin(), m_props.end(), ById(PROP_ID(prop.tag)));
    if (it != m_props.end() && PROP_ID(it->tag) == PROP_ID(prop.tag))
        *it = std::move(prop);
    else
        m_props.insert(it, std::move(prop));
}

bool PropertyBag::Remove(ULONG propId)
{
    auto it = std::partition_point(m_props.begin(), m_props.end(), ById(propId));
    if (it == m_props.end() || PROP_ID(it->tag) != propId)
        return false;
    m_props.erase(it);
    return true;
}

size_t PropertyBag::ValueBytes() const
{
    size_t total = 0;
    for (const Prop& prop : m_props)
        total += prop.Size();
    return total;
}

std::string PropertyBag::Serialize() const
{
    std::string blob;
    Append(blob, static_cast<uint32_t>(m_props.size()));
    for (const Prop& prop : m_props)
    {
        const bool outOfLine = IsLargeValue(prop);
        Append(blob, prop.tag);
        Append(blob, outOfLine ? kOutOfLine : 0);
        Append(blob, static_cast<uint32_t>(prop.Size()));
        if (!outOfLine)
            blob += prop.data;
    }
    return blob;
}

PropertyBag PropertyBag::Parse(std::string_view blob, const std::vector<ULONG>* wanted)
{
    PropertyBag bag;
    size_t offset = 0;
    uint32_t count = 0;
    if (!Read(blob, offset, count))
        return bag;
    // The count is only a claim of the stored bytes: no more properties are reserved than the blob has room for.
    size_t room = std::min<size_t>(count, (blob.size() - offset) / kHeaderSize);
    if (wanted)
        room = std::min(room, wanted->size());
    bag.m_props.reserve(room);
    for (uint32_t i = 0; i < count; ++i)
    {
        uint32_t tag = 0, flags = 0, size = 0;
        if (!Read(blob, offset, tag) || !Read(blob, offset, flags) || !Read(blob, offset, size))
            break;
        const bool outOfLine = (flags & kOutOfLine) != 0;
        if (!outOfLine && offset + size > blob.size())
            break;
        if (!wanted || std::binary_search(wanted->begin(), wanted->end(), PROP_ID(tag)))
        {
            // Stored blobs are written in id order; appending keeps the bag ordered.
            Prop& prop = bag.m_props.emplace_back();
            prop.tag = tag;
            if (outOfLine)
            {
                prop.loaded = false;
                prop.outOfLineSize = size;
            }
            else
                prop.data.assign(blob.data() + offset, size);
        }
        if (!outOfLine)
            offset += size;
    }
    return bag;
}
} // namespace mapisvc
