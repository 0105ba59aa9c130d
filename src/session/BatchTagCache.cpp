#include "session/BatchTagCache.h"

#include <algorithm>

namespace mapipim
{
BatchTagCache::TagArray BatchTagCache::Find(const std::vector<PropertyName>& properties, unsigned nGeneration,
                                            bool bIdentifying) const
{
    for (const Entry& entry : m_entries)
        if (entry.properties == properties)
        {
            if (entry.nGeneration != nGeneration)
                return nullptr;
            return bIdentifying ? entry.tags.identifying : entry.tags.plain;
        }
    return nullptr;
}

void BatchTagCache::Keep(const std::vector<PropertyName>& properties, unsigned nGeneration, Tags tags)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [&](const Entry& entry) { return entry.properties == properties; });
    if (it == m_entries.end())
        m_entries.push_back({properties, nGeneration, std::move(tags)});
    else
    {
        it->nGeneration = nGeneration;
        it->tags = std::move(tags);
    }
}
} // namespace mapipim
