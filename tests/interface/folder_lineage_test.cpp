// FolderLineage: the parent of each row of a depth-first hierarchy table, and the rows hidden below a folder left
// out, whatever depth the store gives the direct sub folders.
#include "interface/FolderLineage.h"

#include <gtest/gtest.h>

#include <deque>

namespace
{
SBinary Id(BYTE& byte)
{
    return SBinary{1, &byte};
}

class FolderLineageTest : public ::testing::Test
{
protected:
    // Places a row and, when it fits, enters it (left out when bTake is false); its parent's byte, or 0 when it
    // did not fit.
    BYTE Row(LONG nDepth, BYTE& self, bool bTake = true)
    {
        if (!m_lineage.Place(nDepth))
            return 0;
        const BYTE parent = *m_lineage.Parent().lpb;
        m_ids.push_back(Id(self));
        m_lineage.Enter(bTake ? &m_ids.back() : nullptr);
        return parent;
    }

    BYTE m_bytes[8] = {'T', 'a', 'b', 'c', 'd', 'e', 'f', 'g'};
    SBinary m_top = Id(m_bytes[0]);
    mapipim::FolderLineage m_lineage{m_top};
    std::deque<SBinary> m_ids; // stable addresses, as records give
};
} // namespace

TEST_F(FolderLineageTest, EachRowHangsBelowTheLastFolderOneLevelUp)
{
    EXPECT_EQ(Row(1, m_bytes[1]), 'T');
    EXPECT_EQ(m_lineage.Level(), 1u);
    EXPECT_EQ(Row(2, m_bytes[2]), 'a');
    EXPECT_EQ(Row(3, m_bytes[3]), 'b');
    EXPECT_EQ(m_lineage.Level(), 3u);
    // Back up two levels, then down again below the new folder, not the old one.
    EXPECT_EQ(Row(1, m_bytes[4]), 'T');
    EXPECT_EQ(Row(2, m_bytes[5]), 'd');
    EXPECT_EQ(Row(2, m_bytes[6]), 'd');
    EXPECT_EQ(Row(3, m_bytes[7]), 'f');
}

TEST_F(FolderLineageTest, DepthsCountFromTheFirstRow)
{
    // A store that numbers direct sub folders from 0.
    EXPECT_EQ(Row(0, m_bytes[1]), 'T');
    EXPECT_EQ(Row(1, m_bytes[2]), 'a');
    EXPECT_EQ(m_lineage.Level(), 2u);
    EXPECT_EQ(Row(0, m_bytes[3]), 'T');
    // Shallower than any direct sub folder: it fits nowhere.
    EXPECT_EQ(Row(-1, m_bytes[4]), 0);
}

TEST_F(FolderLineageTest, AFolderLeftOutHidesTheRowsBelowIt)
{
    EXPECT_EQ(Row(1, m_bytes[1], false), 'T');
    EXPECT_EQ(Row(2, m_bytes[2]), 0);
    EXPECT_EQ(Row(3, m_bytes[3]), 0);
    // Its next sibling is placed again, and so are the rows below that.
    EXPECT_EQ(Row(1, m_bytes[4]), 'T');
    EXPECT_EQ(Row(2, m_bytes[5]), 'd');
}

TEST_F(FolderLineageTest, ARowDeeperThanItsParentFitsNowhere)
{
    EXPECT_EQ(Row(1, m_bytes[1]), 'T');
    EXPECT_EQ(Row(3, m_bytes[2]), 0);
    EXPECT_EQ(Row(4, m_bytes[3]), 0);
    EXPECT_EQ(Row(2, m_bytes[4]), 'a');
}
