#include "session/BatchTags.h"

namespace mapipim
{
namespace
{
// The table's size as a power of two: at least twice its entries.
unsigned SlotBitsFor(size_t nEntries)
{
    unsigned nBits = 3;
    while ((size_t(1) << nBits) < 2 * nEntries)
        ++nBits;
    return nBits;
}
} // namespace

BatchTags::BatchTags(std::vector<ULONG> tags, const std::vector<ResolvedName>& names)
    : m_nSlotBits(SlotBitsFor(tags.size() + names.size())), m_slots(size_t(1) << m_nSlotBits)
{
    m_words.reserve(tags.size() + 1);
    m_words.push_back(static_cast<ULONG>(tags.size()));
    m_words.insert(m_words.end(), tags.begin(), tags.end());
    for (size_t i = 0; i < tags.size(); ++i)
        Insert(KeyOfId(PROP_ID(tags[i])), static_cast<uint32_t>(i));
    for (const ResolvedName& name : names)
        if (name.first.nSet != 0)
            Insert(KeyOfName(name.first), name.second);
}

LPSPropTagArray BatchTags::Array() const
{
    return reinterpret_cast<LPSPropTagArray>(const_cast<ULONG*>(m_words.data()));
}

int BatchTags::PositionOf(ULONG ulPropId) const
{
    const Slot* pSlot = Lookup(KeyOfId(ulPropId));
    return pSlot ? static_cast<int>(pSlot->nValue) : -1;
}

bool BatchTags::TagOfName(const PropertyName& name, ULONG& ulTag) const
{
    const Slot* pSlot = name.nSet != 0 ? Lookup(KeyOfName(name)) : nullptr;
    if (pSlot)
        ulTag = pSlot->nValue;
    return pSlot != nullptr;
}

// The first entry of a key stays: a property asked for twice has one value.
void BatchTags::Insert(uint64_t nKey, uint32_t nValue)
{
    Slot& slot = m_slots[SlotOf(nKey)];
    if (slot.nKey == 0)
    {
        slot.nKey = nKey;
        slot.nValue = nValue;
    }
}

const BatchTags::Slot* BatchTags::Lookup(uint64_t nKey) const
{
    const Slot& slot = m_slots[SlotOf(nKey)];
    return slot.nKey == 0 ? nullptr : &slot;
}

// The slot holding the key, or the empty slot where it would go.
size_t BatchTags::SlotOf(uint64_t nKey) const
{
    const size_t nMask = m_slots.size() - 1;
    // Fibonacci hashing spreads the runs of neighbouring ids a kind reads over the table.
    size_t nSlot = static_cast<size_t>((nKey * 0x9E3779B97F4A7C15ull) >> (64 - m_nSlotBits));
    while (m_slots[nSlot].nKey != 0 && m_slots[nSlot].nKey != nKey)
        nSlot = (nSlot + 1) & nMask;
    return nSlot;
}
} // namespace mapipim
