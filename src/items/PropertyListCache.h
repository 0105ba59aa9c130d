// A kind's list of properties to read depends only on the read groups asked for (times 0x1, the second group 0x2,
// every other field 0x4) and on whether the body may come in the batch (pauses off, so no chunk's pause is owed):
// each combination's list is built once rather than for every item read.
#pragma once

#include "platform/Pause.h"
#include "session/PropertyName.h"

#include <vector>

namespace mapipim
{
typedef std::vector<PropertyName> (*PropertyListBuilder)(ULONG ulGroups, bool bBodyInBatch);

// The list Build makes for the groups of ulFlags and the current pause; each kind's builder has lists of its own.
template <PropertyListBuilder Build> const std::vector<PropertyName>& CachedPropertyList(ULONG ulFlags)
{
    constexpr ULONG kGroups = 0x7;
    constexpr ULONG kBodyInBatch = kGroups + 1;
    static const std::vector<std::vector<PropertyName>> lists = []
    {
        std::vector<std::vector<PropertyName>> all;
        for (ULONG ulKey = 0; ulKey < 2 * kBodyInBatch; ++ulKey)
            all.push_back(Build(ulKey & kGroups, (ulKey & kBodyInBatch) != 0));
        return all;
    }();
    return lists[(ulFlags & kGroups) | (GetPauseMilliseconds() == 0 ? kBodyInBatch : 0)];
}
} // namespace mapipim
