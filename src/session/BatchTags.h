// The tags one batch read asks for, in the form MAPI takes them, with where each property lies among them: an
// item's getters look their values up field by field, so finding a property must cost a step or two, not a
// search through every tag of the read.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <vector>

namespace mapipim
{
class BatchTags
{
public:
    // The tags, each property id once.
    explicit BatchTags(std::vector<ULONG> tags);

    ULONG Count() const { return m_words[0]; }
    // The tag array to hand to GetProps, which reads it only (MAPI's signature lacks the const).
    LPSPropTagArray Array() const;
    // The position among the tags of the tag with this property id; -1 when the read does not ask for it.
    int PositionOf(ULONG ulPropId) const;

private:
    struct Slot
    {
        uint32_t nKey = 0; // the property id plus one; 0 marks an empty slot
        uint32_t nPosition = 0;
    };
    size_t SlotOf(uint32_t nKey) const;

    std::vector<ULONG> m_words; // the count, then the tags
    unsigned m_nSlotBits;
    std::vector<Slot> m_slots; // open addressing, at most half full, so that a probe ends at an empty slot soon
};
} // namespace mapipim
