// A set of property ids that answers whether it holds one in a single bit test, for the questions asked of
// every property a read names (is it one the object computes?).
#pragma once

#include "platform/platform.h"

#include <bitset>
#include <vector>

namespace mapisvc
{
class PropIdSet
{
public:
    explicit PropIdSet(const std::vector<ULONG>& ids)
    {
        for (ULONG id : ids)
            m_ids.set(id & 0xFFFF);
    }

    bool Has(ULONG propId) const { return m_ids.test(propId & 0xFFFF); }

private:
    std::bitset<0x10000> m_ids;
};
} // namespace mapisvc
