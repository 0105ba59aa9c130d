// Folder rows arranged a level at a time: picked from every folder of a store, or placed as each level is read.
#include "platform/mapi/StoredFolders.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{
// Every folder of a store, in id order, each folder's stored form its own id as text.
mapisvc::StoredFolders AllFolders(const std::vector<std::pair<int64_t, int64_t>>& idAndParent)
{
    mapisvc::StoredFolders all;
    for (const auto& [id, parent] : idAndParent)
        all.Append(id, parent, "#" + std::to_string(id));
    return all;
}

// The rows as "id:first+count" (the run of their sub-folders), a row without sub-folders as "id".
std::vector<std::string> Describe(const mapisvc::StoredFolders& folders)
{
    std::vector<std::string> described;
    for (const mapisvc::StoredFolder& row : folders.rows)
    {
        std::string text = std::to_string(row.id);
        if (row.children.count)
            text += ":" + std::to_string(row.children.first) + "+" + std::to_string(row.children.count);
        described.push_back(text);
    }
    return described;
}

std::string StoredForm(const mapisvc::StoredFolders& folders, size_t row)
{
    return folders.props.substr(folders.rows[row].offset, folders.rows[row].size);
}

TEST(SubtreeOf, ArrangesTheFoldersBelowALevelAtATimeEachFoldersOwnInIdOrder)
{
    // 2 is the top; 4 was moved below 9, a folder made after it; 7 and 8 lie elsewhere in the store.
    const mapisvc::StoredFolders below =
        mapisvc::SubtreeOf(AllFolders({{1, 0}, {2, 1}, {3, 2}, {4, 9}, {5, 2}, {6, 3}, {7, 1}, {8, 7}, {9, 5}}), 2);
    EXPECT_EQ(below.top.first, 0u);
    EXPECT_EQ(below.top.count, 2u);
    EXPECT_EQ(Describe(below), (std::vector<std::string>{"3:2+1", "5:3+1", "6", "9:4+1", "4"}));
    EXPECT_EQ(StoredForm(below, 0), "#3");
    EXPECT_EQ(StoredForm(below, 4), "#4");
}

TEST(SubtreeOf, ListsTheTopMetAgainBelowItselfOnceWithoutSubFolders)
{
    // 2 lies below 4, which lies below 3, which lies below 2.
    const mapisvc::StoredFolders below = mapisvc::SubtreeOf(AllFolders({{1, 0}, {2, 4}, {3, 2}, {4, 3}}), 2);
    EXPECT_EQ(Describe(below), (std::vector<std::string>{"3:1+1", "4:2+1", "2"}));
}

TEST(SubtreeOf, FindsTheFoldersOfATopThatIsNoFolderOfTheStoreAndNothingForALeaf)
{
    const mapisvc::StoredFolders all = AllFolders({{1, 0}, {3, 20}, {5, 3}});
    const mapisvc::StoredFolders orphans = mapisvc::SubtreeOf(all, 20);
    EXPECT_EQ(Describe(orphans), (std::vector<std::string>{"3:1+1", "5"}));
    const mapisvc::StoredFolders leaf = mapisvc::SubtreeOf(all, 5);
    EXPECT_TRUE(leaf.rows.empty());
    EXPECT_EQ(leaf.top.count, 0u);
}

TEST(PlaceLevel, GivesEachFolderOfALevelTheRunOfItsSubFoldersReadAfterIt)
{
    mapisvc::StoredFolders folders = AllFolders({{3, 2}, {5, 2}, {7, 2}, {8, 3}, {9, 3}, {6, 7}});
    ASSERT_TRUE(mapisvc::PlaceLevel(folders, 0, 3));
    EXPECT_EQ(Describe(folders), (std::vector<std::string>{"3:3+2", "5", "7:5+1", "8", "9", "6"}));
}

TEST(PlaceLevel, RefusesALevelNotGroupedInTheOrderOfItsParents)
{
    mapisvc::StoredFolders folders = AllFolders({{3, 2}, {5, 2}, {8, 5}, {9, 3}});
    EXPECT_FALSE(mapisvc::PlaceLevel(folders, 0, 2));
}
} // namespace
