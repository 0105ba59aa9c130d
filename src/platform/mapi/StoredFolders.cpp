#include "platform/mapi/StoredFolders.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace mapisvc
{
namespace
{
constexpr size_t kNone = std::numeric_limits<size_t>::max();

// The sub-folders of every folder of a store, each folder's in id order: the rows of folder `slot`'s sub-folders
// are rows[first[slot] .. first[slot + 1]).
struct ChildLists
{
    std::vector<size_t> first;
    std::vector<size_t> rows;

    FolderRun Of(size_t slot) const { return {first[slot], first[slot + 1] - first[slot]}; }
};

// The slot of each row's parent: its row among `rows` (in id order), `topSlot` for `top`, kNone for a parent
// that is no folder of the store.
std::vector<size_t> ParentSlots(const std::vector<StoredFolder>& rows, int64_t top, size_t topSlot)
{
    const auto byId = [](const StoredFolder& folder, int64_t id) { return folder.id < id; };
    std::vector<size_t> slots(rows.size(), kNone);
    for (size_t i = 0; i < rows.size(); ++i)
    {
        const int64_t parent = rows[i].parent;
        if (parent == top)
        {
            slots[i] = topSlot;
            continue;
        }
        const auto found = std::lower_bound(rows.begin(), rows.end(), parent, byId);
        if (found != rows.end() && found->id == parent)
            slots[i] = static_cast<size_t>(found - rows.begin());
    }
    return slots;
}

// Rows in id order, so that each list comes out in id order without a sort.
ChildLists ListChildren(const std::vector<size_t>& parentSlots, size_t slots)
{
    ChildLists lists;
    lists.first.assign(slots + 1, 0);
    for (size_t slot : parentSlots)
        if (slot != kNone)
            ++lists.first[slot + 1];
    std::partial_sum(lists.first.begin(), lists.first.end(), lists.first.begin());
    lists.rows.resize(lists.first.back());
    std::vector<size_t> next(lists.first.begin(), lists.first.end() - 1);
    for (size_t i = 0; i < parentSlots.size(); ++i)
        if (parentSlots[i] != kNone)
            lists.rows[next[parentSlots[i]]++] = i;
    return lists;
}
} // namespace

void StoredFolders::Append(int64_t id, int64_t parent, std::string_view stored)
{
    rows.push_back({id, parent, props.size(), stored.size(), {}});
    props.append(stored);
}

bool PlaceLevel(StoredFolders& folders, size_t first, size_t end)
{
    size_t parent = first;
    for (size_t i = end; i < folders.rows.size(); ++i)
    {
        while (parent < end && folders.rows[parent].id != folders.rows[i].parent)
            ++parent;
        if (parent == end)
            return false;
        FolderRun& children = folders.rows[parent].children;
        if (!children.count)
            children.first = i;
        ++children.count;
    }
    return true;
}

StoredFolders SubtreeOf(StoredFolders all, int64_t top)
{
    // `top` has a slot of its own past the rows: its own row, should it lie below itself, keeps no sub-folders.
    const size_t topSlot = all.rows.size();
    const std::vector<size_t> parentSlots = ParentSlots(all.rows, top, topSlot);
    const ChildLists children = ListChildren(parentSlots, topSlot + 1);

    StoredFolders below;
    below.props = std::move(all.props);
    below.rows.reserve(all.rows.size());
    std::vector<size_t> slots; // the slot of each row of `below` among `all`
    slots.reserve(all.rows.size());
    const auto appendChildren = [&](size_t slot)
    {
        const FolderRun run = children.Of(slot);
        for (size_t i = run.first; i < run.first + run.count; ++i)
        {
            below.rows.push_back(all.rows[children.rows[i]]);
            slots.push_back(children.rows[i]);
        }
        return FolderRun{below.rows.size() - run.count, run.count};
    };
    below.top = appendChildren(topSlot);
    for (size_t row = 0; row < below.rows.size(); ++row)
    {
        const FolderRun run = appendChildren(slots[row]);
        below.rows[row].children = run;
    }
    return below;
}
} // namespace mapisvc
