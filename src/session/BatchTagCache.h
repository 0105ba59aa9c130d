// The tags a batch read asks one store for, kept per list of properties (an item kind and the read groups a host
// asked for), so that reading many items of a kind resolves, converts and sorts its tags once rather than per
// item. An entry holds only while the store's named-property map answers as it did when the entry was made.
#pragma once

#include "session/BatchTags.h"
#include "session/PropertyName.h"

#include <memory>
#include <vector>

namespace mapipim
{
class BatchTagCache
{
public:
    using TagArray = std::shared_ptr<const BatchTags>;

    // The tags of one list of properties: alone, and with the object's identity (PR_ENTRYID and
    // PR_STORE_RECORD_KEY) for the first read of an object whose identity is still to be read.
    struct Tags
    {
        TagArray plain;
        TagArray identifying;
    };

    // The tags kept for these properties at this generation of the store's map; null when there are none.
    TagArray Find(const std::vector<PropertyName>& properties, unsigned nGeneration, bool bIdentifying = false) const;
    // Keeps the tags for these properties, replacing what was kept for them before.
    void Keep(const std::vector<PropertyName>& properties, unsigned nGeneration, Tags tags);

private:
    struct Entry
    {
        std::vector<PropertyName> properties;
        unsigned nGeneration;
        Tags tags;
    };
    // A handful: one per item kind and combination of read groups that a session reads.
    std::vector<Entry> m_entries;
};
} // namespace mapipim
