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

    // The tags kept for these properties at this generation of the store's map; null when there are none.
    TagArray Find(const std::vector<PropertyName>& properties, unsigned nGeneration) const;
    // Keeps the tags for these properties, replacing what was kept for them before.
    void Keep(const std::vector<PropertyName>& properties, unsigned nGeneration, TagArray tags);

private:
    struct Entry
    {
        std::vector<PropertyName> properties;
        unsigned nGeneration;
        TagArray tags;
    };
    // A handful: one per item kind and combination of read groups that a session reads.
    std::vector<Entry> m_entries;
};
} // namespace mapipim
