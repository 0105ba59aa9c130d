#include "platform/mapi/HierarchyRows.h"

#include "platform/mapi/FolderProps.h"
#include "platform/mapi/ObjectIdentity.h"
#include "platform/mapi/Text.h"
#include "platform/trace/Trace.h"

#include <algorithm>
#include <optional>

namespace mapisvc
{
namespace
{
// A row of the table: a folder whose stored form is parsed for the columns asked for when the row is handed out.
struct FolderEntry
{
    StoredFolder folder;
    ULONG depth;
};

using CountsByFolder = std::map<int64_t, ChildCounts>;

bool IsWanted(const std::vector<ULONG>* wanted, ULONG propId)
{
    return !wanted || std::binary_search(wanted->begin(), wanted->end(), propId);
}

bool WantsAny(const std::vector<ULONG>* wanted, bool (*kind)(ULONG))
{
    if (!wanted)
        return true;
    return std::any_of(wanted->begin(), wanted->end(), kind);
}

ChildCounts CountsOf(const std::optional<CountsByFolder>& counts, int64_t folder)
{
    if (!counts)
        return {};
    auto found = counts->find(folder);
    return found == counts->end() ? ChildCounts() : found->second;
}

// The folders below `top` in depth-first order, siblings in id order. Only `top` itself can be met twice (see
// SubtreeOf): it is left out where a damaged store's parents run in a circle through it.
std::vector<FolderEntry> DepthFirst(const StoreDatabase& store, int64_t top, const StoredFolders& below)
{
    std::vector<FolderEntry> folders;
    folders.reserve(below.rows.size());
    std::vector<FolderRun> levels{below.top}; // what is left of each level's run on the way down
    while (!levels.empty())
    {
        FolderRun& level = levels.back();
        if (!level.count)
        {
            levels.pop_back();
            continue;
        }
        const StoredFolder& child = below.rows[level.first++];
        --level.count;
        if (child.id == top)
        {
            LOGTRACE(_T("[MAPI] GetHierarchyTable - folder %lld lies below itself in %s"),
                     static_cast<long long>(child.id), FromUtf8(store.Path()).c_str());
            continue;
        }
        folders.push_back({child, static_cast<ULONG>(levels.size())});
        if (child.children.count)
            levels.push_back(child.children);
    }
    return folders;
}

class HierarchyRows : public RowSource
{
public:
    HierarchyRows(std::shared_ptr<StoreDatabase> store, std::vector<FolderEntry> folders, std::string props)
        : m_store(std::move(store)), m_entryIds(m_store->Uid(), MAPI_FOLDER), m_folders(std::move(folders)),
          m_props(std::move(props))
    {
    }

    HRESULT Scan(int64_t afterKey, size_t limit, const std::vector<ULONG>* wanted, std::vector<TableRow>& rows) override
    {
        if (HRESULT hr = CountWhatIsWanted(wanted))
            return hr;
        const size_t first = afterKey < 0 ? 0 : static_cast<size_t>(afterKey) + 1;
        for (size_t key = first; key < m_folders.size() && limit; ++key, --limit)
            AppendRowOf(key, wanted, rows);
        return S_OK;
    }

    HRESULT Fetch(const std::vector<int64_t>& keys, const std::vector<ULONG>* wanted,
                  std::vector<TableRow>& rows) override
    {
        if (HRESULT hr = CountWhatIsWanted(wanted))
            return hr;
        for (int64_t key : keys)
            if (key >= 0 && static_cast<size_t>(key) < m_folders.size())
                AppendRowOf(static_cast<size_t>(key), wanted, rows);
        return S_OK;
    }

    HRESULT Count(ULONG& count) override
    {
        count = static_cast<ULONG>(m_folders.size());
        return S_OK;
    }

    std::vector<ULONG> DefaultColumns() const override
    {
        return {PR_INSTANCE_KEY, PR_ENTRYID,       PR_DISPLAY_NAME,   PR_DEPTH,
                PR_SUBFOLDERS,   PR_CONTENT_COUNT, PR_CONTAINER_CLASS};
    }

private:
    // Runs the grouped queries the wanted columns need and that have not run yet, in one snapshot. The rows are
    // held in memory: these queries are all a fetch may read from the store, so a fetch takes no snapshot else.
    HRESULT CountWhatIsWanted(const std::vector<ULONG>* wanted)
    {
        const bool messages = !m_messages && WantsAny(wanted, IsMessageCountProp);
        const bool subfolders = !m_subfolders && WantsAny(wanted, IsSubfolderProp);
        if (!messages && !subfolders)
            return S_OK;
        StoreDatabase::ReadBatch batch(*m_store);
        if (messages)
            if (HRESULT hr = CountBelow(MAPI_MESSAGE, m_messages))
                return hr;
        if (subfolders)
            if (HRESULT hr = CountBelow(MAPI_FOLDER, m_subfolders))
                return hr;
        return S_OK;
    }

    // A table of most of the store's folders has every folder counted, which costs less than a seek of each.
    HRESULT CountBelow(ULONG childType, std::optional<CountsByFolder>& counts)
    {
        int64_t objects = 0;
        if (HRESULT hr = m_store->ObjectsAtMost(objects))
            return hr;
        CountsByFolder counted;
        if (static_cast<int64_t>(m_folders.size()) * 2 >= objects)
        {
            if (HRESULT hr = m_store->CountChildrenOfAll(childType, counted))
                return hr;
        }
        else if (HRESULT hr = m_store->CountChildrenOf(FolderIds(), childType, counted))
            return hr;
        counts = std::move(counted);
        return S_OK;
    }

    std::vector<int64_t> FolderIds() const
    {
        std::vector<int64_t> ids;
        ids.reserve(m_folders.size());
        for (const FolderEntry& entry : m_folders)
            ids.push_back(entry.folder.id);
        return ids;
    }

    // The wanted columns' counts must have been computed (CountWhatIsWanted).
    void AppendRowOf(size_t key, const std::vector<ULONG>* wanted, std::vector<TableRow>& rows)
    {
        const FolderEntry& entry = m_folders[key];
        const StoredFolder& folder = entry.folder;
        const std::string_view props = std::string_view(m_props).substr(folder.offset, folder.size);
        TableRow& row = rows.emplace_back(TableRow{static_cast<int64_t>(key), PropertyBag::Parse(props, wanted)});
        row.props.ReserveSet(wanted ? wanted->size() : 0);
        AddIdentityProps({m_store.get(), MAPI_FOLDER, folder.id, folder.parent, &m_entryIds}, row.props, wanted);
        AddStatProps(folder.id, wanted, row.props);
        if (IsWanted(wanted, PROP_ID(PR_DEPTH)))
            row.props.Set(PR_DEPTH, EncodeLong(static_cast<LONG>(entry.depth)));
    }

    void AddStatProps(int64_t folder, const std::vector<ULONG>* wanted, PropertyBag& props) const
    {
        const FolderCounts counts{CountsOf(m_messages, folder), CountsOf(m_subfolders, folder).count};
        const bool isRoot = folder == m_store->RoleFolder(FolderRole::Root);
        static const std::vector<ULONG> stats = []
        {
            std::vector<ULONG> ids;
            FolderStatPropIds(ids);
            return ids;
        }();
        for (ULONG propId : stats)
        {
            Prop prop;
            if (IsWanted(wanted, propId) && FolderStatValue(propId, isRoot, counts, prop))
                props.Set(std::move(prop));
        }
    }

    std::shared_ptr<StoreDatabase> m_store;
    StoreEntryIds m_entryIds;
    std::vector<FolderEntry> m_folders; // keyed by position
    std::string m_props;                // the folders' stored forms (StoredFolders::props)
    std::optional<CountsByFolder> m_messages;
    std::optional<CountsByFolder> m_subfolders;
};
} // namespace

HRESULT MakeHierarchyRows(std::shared_ptr<StoreDatabase> store, int64_t folder, bool allLevels,
                          std::unique_ptr<RowSource>& rows)
{
    StoredFolders below;
    if (HRESULT hr = store->FoldersBelow(folder, allLevels, below))
        return hr;
    std::vector<FolderEntry> folders = DepthFirst(*store, folder, below);
    rows.reset(new HierarchyRows(std::move(store), std::move(folders), std::move(below.props)));
    return S_OK;
}
} // namespace mapisvc
