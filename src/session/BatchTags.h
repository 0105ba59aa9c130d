// The tags one batch read asks for, in the form MAPI takes them, with where each property lies among them and
// what each named property of the read resolved to: an item's getters look their values up field by field, so
// finding a property must cost a step or two, not a search through every tag of the read or the store's map.
#pragma once

#include "platform/platform.h"
#include "session/PropertyName.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace mapipim
{
class BatchTags
{
public:
    // A named property of the read and the tag it resolved to, PR_NULL when the store has no mapping for it.
    using ResolvedName = std::pair<PropertyName, ULONG>;

    // The tags, each property id once, and the named properties whose resolution is known.
    explicit BatchTags(std::vector<ULONG> tags, const std::vector<ResolvedName>& names = {});

    ULONG Count() const { return m_words[0]; }
    // The tag array to hand to GetProps, which reads it only (MAPI's signature lacks the const).
    LPSPropTagArray Array() const;
    // The position among the tags of the tag with this property id; -1 when the read does not ask for it.
    int PositionOf(ULONG ulPropId) const;
    // Whether the read knows what the named property resolved to, and then the tag (PR_NULL: not mapped).
    bool TagOfName(const PropertyName& name, ULONG& ulTag) const;

private:
    struct Slot
    {
        uint64_t nKey = 0; // 0 marks an empty slot
        uint32_t nValue = 0;
    };
    // Property ids and named properties share the table: an id's key is the id plus one, a name's key carries
    // its set index (never 0) in the upper half.
    static uint64_t KeyOfId(ULONG ulPropId) { return uint64_t(ulPropId) + 1; }
    static uint64_t KeyOfName(const PropertyName& name) { return uint64_t(uint32_t(name.nSet)) << 32 | name.ulTag; }
    void Insert(uint64_t nKey, uint32_t nValue);
    const Slot* Lookup(uint64_t nKey) const;
    size_t SlotOf(uint64_t nKey) const;

    std::vector<ULONG> m_words; // the count, then the tags
    unsigned m_nSlotBits;
    std::vector<Slot> m_slots; // open addressing, at most half full, so that a probe ends at an empty slot soon
};
} // namespace mapipim
