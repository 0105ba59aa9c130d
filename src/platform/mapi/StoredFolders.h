// Folder rows read together, their properties still in their stored form (for a reader that wants a few of them
// later) one after the other in one string, and arranged a level at a time below the folder they were read for:
// the sub-folders of each folder are one run of rows, in id order, so that a walk finds them without a search.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mapisvc
{
// `count` rows from `first`.
struct FolderRun
{
    size_t first = 0;
    size_t count = 0;
};

struct StoredFolder
{
    int64_t id = 0;
    int64_t parent = 0;
    size_t offset = 0; // where its stored form lies in StoredFolders::props
    size_t size = 0;
    FolderRun children; // its sub-folders; none when only one level was read
};

struct StoredFolders
{
    std::vector<StoredFolder> rows;
    std::string props;
    FolderRun top; // the sub-folders of the folder the rows were read for

    void Append(int64_t id, int64_t parent, std::string_view stored);
};

// Gives each of rows [first, end) the run of its sub-folders among the rows after `end`, which a read of the next
// level appended grouped by parent in the order of those rows. False when they are not in that order.
bool PlaceLevel(StoredFolders& folders, size_t first, size_t end);

// Every folder below `top` among `all` (every folder of a store, in id order), arranged a level at a time as a
// read a level at a time arranges them. `top` met again below itself, where a damaged store's parents run in a
// circle, is listed once and has no sub-folders of its own: every folder has one parent, so nothing else can be
// met twice.
StoredFolders SubtreeOf(StoredFolders all, int64_t top);
} // namespace mapisvc
