#include "session/BatchTags.h"

namespace mapipim
{
namespace
{
// The table's size as a power of two: at least twice the tags.
unsigned SlotBitsFor(size_t nTags)
{
    unsigned nBits = 3;
    while ((size_t(1) << nBits) < 2 * nTags)
        ++nBits;
    return nBits;
}
} // namespace

BatchTags::BatchTags(std::vector<ULONG> tags) : m_nSlotBits(SlotBitsFor(tags.size())), m_slots(size_t(1) << m_nSlotBits)
{
    m_words.reserve(tags.size() + 1);
    m_words.push_back(static_cast<ULONG>(tags.size()));
    m_words.insert(m_words.end(), tags.begin(), tags.end());
    for (size_t i = 0; i < tags.size(); ++i)
    {
        const uint32_t nKey = PROP_ID(tags[i]) + 1;
        Slot& slot = m_slots[SlotOf(nKey)];
        if (slot.nKey == 0)
            slot = {nKey, static_cast<uint32_t>(i)};
    }
}

LPSPropTagArray BatchTags::Array() const
{
    return reinterpret_cast<LPSPropTagArray>(const_cast<ULONG*>(m_words.data()));
}

int BatchTags::PositionOf(ULONG ulPropId) const
{
    const Slot& slot = m_slots[SlotOf(ulPropId + 1)];
    return slot.nKey == 0 ? -1 : static_cast<int>(slot.nPosition);
}

// The slot holding the key, or the empty slot where it would go.
size_t BatchTags::SlotOf(uint32_t nKey) const
{
    const size_t nMask = m_slots.size() - 1;
    // Fibonacci hashing spreads the runs of neighbouring ids a kind reads over the table.
    size_t nSlot = static_cast<uint32_t>(nKey * 2654435769u) >> (32 - m_nSlotBits);
    while (m_slots[nSlot].nKey != 0 && m_slots[nSlot].nKey != nKey)
        nSlot = (nSlot + 1) & nMask;
    return nSlot;
}
} // namespace mapipim
