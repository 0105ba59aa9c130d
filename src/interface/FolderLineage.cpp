#include "interface/FolderLineage.h"

namespace mapipim
{
bool FolderLineage::Place(LONG nDepth)
{
    if (!m_bStarted)
        m_nFirstDepth = nDepth;
    m_bStarted = true;
    const LONG nLevel = nDepth - m_nFirstDepth + 1;
    // Nothing can be entered for a row that fits nowhere; rows below it then fit nowhere either.
    m_nLevel = 0;
    if (nLevel < 1 || static_cast<size_t>(nLevel) > m_levels.size())
        return false;
    m_nLevel = static_cast<size_t>(nLevel);
    if (m_levels[m_nLevel - 1])
        return true;
    Enter(nullptr);
    return false;
}

void FolderLineage::Enter(const SBinary* pEntryID)
{
    if (m_nLevel == 0)
        return;
    m_levels.resize(m_nLevel);
    m_levels.push_back(pEntryID);
}
} // namespace mapipim
