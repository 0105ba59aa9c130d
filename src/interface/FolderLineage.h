// The folders above a row while a depth-first hierarchy table (CONVENIENT_DEPTH) is walked: the row's parent is
// the folder last taken one level above it. A folder left out hides every row below it, as a walk that opened
// folder after folder would never have reached them.
#pragma once

#include "platform/platform.h"

#include <vector>

namespace mapipim
{
class FolderLineage
{
public:
    // top: the identifier of the folder whose table is walked, the parent of its direct sub folders.
    explicit FolderLineage(const SBinary& top) : m_levels{&top} {}

    // Places the next row by its PR_DEPTH, counted from the depth of the table's first row (a direct sub folder,
    // whatever depth a store gives those). False when the row lies below a folder left out, or deeper than a
    // folder above it: the row is then left out too.
    bool Place(LONG nDepth);
    // The row placed last: 1 for a direct sub folder of the top.
    size_t Level() const { return m_nLevel; }
    const SBinary& Parent() const { return *m_levels[m_nLevel - 1]; }
    // The folder of the row placed last, or null when it is left out; it stays valid while rows below it come.
    void Enter(const SBinary* pEntryID);

private:
    std::vector<const SBinary*> m_levels; // [0]: the top; [n]: the folder taken last at level n
    bool m_bStarted = false;
    LONG m_nFirstDepth = 0;
    size_t m_nLevel = 0;
};
} // namespace mapipim
