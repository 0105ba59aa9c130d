#include "platform/mapi/PropertyBag.h"

#include <algorithm>
#include <cstdint>
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
// The first element that `match` accepts, or null.
template <class T, class Match> const T* FirstOf(const std::vector<T>& elements, Match match)
{
    auto it = std::find_if(elements.begin(), elements.end(), match);
    return it != elements.end() ? &*it : nullptr;
}

// Whether each id of a stored form, met in ascending order, is among the wanted ones (sorted): one walk over
// both lists instead of a search per id. An id lower than the one before (a damaged blob) starts the walk again.
class WantedWalk
{
public:
    explicit WantedWalk(const std::vector<ULONG>& wanted) : m_wanted(wanted), m_next(wanted.begin()) {}

    bool operator()(ULONG propId)
    {
        if (propId < m_last)
            m_next = m_wanted.begin();
        m_last = propId;
        while (m_next != m_wanted.end() && *m_next < propId)
            ++m_next;
        return m_next != m_wanted.end() && *m_next == propId;
    }

private:
    const std::vector<ULONG>& m_wanted;
    std::vector<ULONG>::const_iterator m_next;
    ULONG m_last = 0;
};
} // namespace

PropertyBag::PropertyBag(const PropertyBag& other) : m_props(other.m_props)
{
    // A materialised bag's blob only keeps old views valid: a copy has none to keep.
    if (!other.m_slots.empty())
    {
        m_blob = other.m_blob;
        m_slots = other.m_slots;
        m_ordered = other.m_ordered;
    }
}

PropertyBag& PropertyBag::operator=(const PropertyBag& other)
{
    if (this != &other)
        *this = PropertyBag(other);
    return *this;
}

const Prop* PropertyBag::Find(ULONG propId) const
{
    Materialize();
    auto it = std::partition_point(m_props.begin(), m_props.end(), ById(propId));
    return it != m_props.end() && PROP_ID(it->tag) == propId ? &*it : nullptr;
}

Prop* PropertyBag::Find(ULONG propId)
{
    return const_cast<Prop*>(static_cast<const PropertyBag&>(*this).Find(propId));
}

// A read of many properties asks for them in id order, the order they are stored in: the slot after the one
// found last is looked at first.
inline const PropertyBag::Slot* PropertyBag::FindSlot(ULONG propId) const
{
    if (m_ordered && m_nextSlot < m_slots.size() && PROP_ID(m_slots[m_nextSlot].tag) == propId)
        return &m_slots[m_nextSlot++];
    return SearchSlot(propId);
}

bool PropertyBag::Peek(ULONG propId, PropView& view) const
{
    // A bag just read from its stored form has no values of its own: the index is all there is to look at.
    if (!m_props.empty())
    {
        auto it = std::partition_point(m_props.begin(), m_props.end(), ById(propId));
        if (it != m_props.end() && PROP_ID(it->tag) == propId)
        {
            view = PropView(*it);
            return true;
        }
    }
    const Slot* slot = FindSlot(propId);
    if (!slot)
        return false;
    view.tag = slot->tag;
    view.size = slot->size;
    view.loaded = !slot->outOfLine;
    // Index checked that every inline value lies within the blob.
    view.data = slot->outOfLine ? std::string_view() : std::string_view(m_blob.data() + slot->offset, slot->size);
    return true;
}

bool PropertyBag::Has(ULONG propId) const
{
    PropView view;
    return Peek(propId, view);
}

void PropertyBag::Set(Prop prop)
{
    if (FindSlot(PROP_ID(prop.tag)))
        Materialize();
    auto it = std::partition_point(m_props.begin(), m_props.end(), ById(PROP_ID(prop.tag)));
    if (it != m_props.end() && PROP_ID(it->tag) == PROP_ID(prop.tag))
        *it = std::move(prop);
    else
        m_props.insert(it, std::move(prop));
}

bool PropertyBag::Remove(ULONG propId)
{
    Materialize();
    auto it = std::partition_point(m_props.begin(), m_props.end(), ById(propId));
    if (it == m_props.end() || PROP_ID(it->tag) != propId)
        return false;
    m_props.erase(it);
    return true;
}

void PropertyBag::Clear()
{
    m_props.clear();
    m_viewed.clear();
    m_blob.clear();
    m_slots.clear();
    m_nextSlot = 0;
    m_ordered = true;
}

const std::vector<Prop>& PropertyBag::Props() const
{
    Materialize();
    return m_props;
}

std::vector<Prop>& PropertyBag::Props()
{
    Materialize();
    return m_props;
}

const PropertyBag::Slot* PropertyBag::SearchSlot(ULONG propId) const
{
    auto idOf = [](const Slot& slot) { return PROP_ID(slot.tag); };
    if (!m_ordered) // a damaged blob: looked through whole
        return FirstOf(m_slots, [&](const Slot& slot) { return idOf(slot) == propId; });
    // An id between the one found last and the slot after it is not there.
    const size_t next = std::min(m_nextSlot, m_slots.size());
    if ((next == 0 || idOf(m_slots[next - 1]) < propId) && (next == m_slots.size() || idOf(m_slots[next]) > propId))
        return nullptr;
    auto it =
        std::partition_point(m_slots.begin(), m_slots.end(), [&](const Slot& slot) { return idOf(slot) < propId; });
    if (it == m_slots.end() || idOf(*it) != propId)
        return nullptr;
    m_nextSlot = static_cast<size_t>(it - m_slots.begin()) + 1;
    return &*it;
}

Prop PropertyBag::ValueOf(const Slot& slot) const
{
    Prop prop;
    prop.tag = slot.tag;
    if (slot.outOfLine)
    {
        prop.loaded = false;
        prop.outOfLineSize = slot.size;
    }
    else
        prop.data.assign(m_blob, slot.offset, slot.size);
    return prop;
}

void PropertyBag::Materialize() const
{
    if (m_slots.empty())
        return;
    // The values set since the bag was read are copied, not moved: views of them stay valid, the originals
    // kept aside where they are.
    std::vector<Prop> merged;
    merged.reserve(m_slots.size() + m_props.size());
    auto set = m_props.begin();
    for (const Slot& slot : m_slots)
    {
        for (; set != m_props.end() && PROP_ID(set->tag) < PROP_ID(slot.tag); ++set)
            merged.push_back(*set);
        merged.push_back(ValueOf(slot));
    }
    merged.insert(merged.end(), set, m_props.end());
    m_viewed = std::move(m_props);
    m_props = std::move(merged);
    m_slots.clear();
    m_nextSlot = 0;
    m_ordered = true;
}

size_t PropertyBag::ValueBytes() const
{
    size_t total = 0;
    for (const Prop& prop : Props())
        total += prop.Size();
    return total;
}

std::string PropertyBag::Serialize() const
{
    Materialize();
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
    bag.Index(blob, wanted);
    if (wanted)
        bag.KeepIndexed(blob);
    else if (!bag.m_slots.empty())
        bag.m_blob.assign(blob);
    return bag;
}

PropertyBag PropertyBag::Parse(std::string&& blob, const std::vector<ULONG>* wanted)
{
    if (wanted)
        return Parse(std::string_view(blob), wanted);
    PropertyBag bag;
    bag.Index(blob, nullptr);
    if (!bag.m_slots.empty())
        bag.m_blob = std::move(blob);
    return bag;
}

void PropertyBag::Index(std::string_view blob, const std::vector<ULONG>* wanted)
{
    size_t offset = 0;
    uint32_t count = 0;
    // Offsets are kept in 32 bits; no stored form comes near that (SQLite's values stop at 2 GB).
    if (blob.size() > UINT32_MAX || !Read(blob, offset, count))
        return;
    // The count is only a claim of the stored bytes: no more headers are read than the blob has room for.
    const size_t headers = std::min<size_t>(count, (blob.size() - offset) / kHeaderSize);
    if (wanted)
    {
        m_slots.reserve(std::min(headers, wanted->size()));
        IndexValues(blob, headers, WantedWalk(*wanted));
    }
    else
    {
        m_slots.reserve(headers);
        IndexValues(blob, headers, [](ULONG) { return true; });
    }
    // Stored blobs are written in id order, which lets FindSlot search; a damaged one is looked through whole.
    m_ordered = std::adjacent_find(m_slots.begin(), m_slots.end(),
                                   [](const Slot& slot, const Slot& next)
                                   { return PROP_ID(slot.tag) >= PROP_ID(next.tag); }) == m_slots.end();
}

template <class Wants> void PropertyBag::IndexValues(std::string_view blob, size_t headers, Wants wants)
{
    const char* const data = blob.data();
    const size_t end = blob.size();
    size_t offset = sizeof(uint32_t); // past the count
    for (size_t i = 0; i < headers && end - offset >= kHeaderSize; ++i)
    {
        uint32_t tag = 0, flags = 0, size = 0;
        std::memcpy(&tag, data + offset, 4);
        std::memcpy(&flags, data + offset + 4, 4);
        std::memcpy(&size, data + offset + 8, 4);
        offset += kHeaderSize;
        const bool outOfLine = (flags & kOutOfLine) != 0;
        if (!outOfLine && size > end - offset)
            break;
        if (wants(PROP_ID(tag)))
        {
            // Filled where it lies: a slot built apart and copied in makes the processor wait for the parts it
            // has just written, once per value.
            Slot& slot = m_slots.emplace_back();
            slot.tag = tag;
            slot.offset = static_cast<uint32_t>(offset);
            slot.size = size;
            slot.outOfLine = outOfLine;
        }
        if (!outOfLine)
            offset += size;
    }
}

void PropertyBag::KeepIndexed(std::string_view blob)
{
    size_t total = 0;
    for (const Slot& slot : m_slots)
        total += slot.outOfLine ? 0 : slot.size;
    m_blob.reserve(total);
    for (Slot& slot : m_slots)
        if (!slot.outOfLine)
        {
            m_blob.append(blob.substr(slot.offset, slot.size));
            slot.offset = static_cast<uint32_t>(m_blob.size() - slot.size);
        }
}
} // namespace mapisvc
