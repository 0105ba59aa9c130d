// GetStoreFolder over 1,000 and 10,000 folders, as a tree (ten wide at each level) and flat (all in one folder),
// against a raw scan of the store's folder rows, with the pauses off; with and without item counts. And the
// contacts folders alone of a store that holds 10,000 other folders, which should cost what a small store does,
// also when a contacts folder has a small tree of its own below it.
#include "BenchWorld.h"

using namespace benchworld;

namespace
{
const ULONG kEveryFolder = 0xFFFF7FFF; // every type, no counts
const ULONG kCountBit = 0x8000;
const ULONG kContactsFolders = 0x20; // contacts folders only, no counts

int64_t RawScanFolders(RawStore& raw)
{
    sqlite3_stmt* pStatement = raw.Prepare("SELECT id, parent, props FROM object WHERE type = ?1");
    sqlite3_bind_int(pStatement, 1, kFolderRow);
    int64_t nSum = 0;
    while (sqlite3_step(pStatement) == SQLITE_ROW)
    {
        benchmark::DoNotOptimize(sqlite3_column_blob(pStatement, 2));
        nSum += sqlite3_column_int64(pStatement, 0) + sqlite3_column_bytes(pStatement, 2);
    }
    sqlite3_finalize(pStatement);
    return nSum;
}

// A first-level folder of the default store with nFolders below it, made by copying one folder's row.
void AddFolderTree(const mapisvc::EntryId& store, RawStore& raw, const std::u16string& name,
                   const std::u16string& containerClass, int nFolders, bool bTree)
{
    mapisvc::EntryId top;
    mapisvc::CreateFolder(store, nullptr, name, containerClass, &top);
    const int64_t nTop = raw.LastRow(kFolderRow);
    mapisvc::CreateFolder(store, &top, u"Folder", containerClass);
    raw.CloneFolder(raw.LastRow(kFolderRow), nTop, nFolders - 1, bTree);
}

void AddProjectFolders(const mapisvc::EntryId& store, RawStore& raw, int nFolders, bool bTree)
{
    AddFolderTree(store, raw, u"Projects", u"IPF.Note", nFolders, bTree);
}

// GetStoreFolder with these flags against the raw scan of every folder row; `Found` says whether the one store's
// folders are what the discovery should find.
template <typename Found>
void DiscoverVsRawScan(benchmark::State& state, RawStore& raw, ULONG ulFlags, int64_t nItemsPerRun, Found found)
{
    CMAPIInterface mapi;
    CMAPIInterface::SetYield(0);
    CArray<COutlookStore*, COutlookStore*> arrStores;
    SideBySide timing;
    timing.Run(
        state,
        [&]
        {
            mapi.GetStoreFolder(arrStores, ulFlags, nullptr);
            if (arrStores.GetSize() != 1 || !found(*arrStores[0]))
                state.SkipWithError("discovery found other folders than it should");
        },
        [&] { benchmark::DoNotOptimize(RawScanFolders(raw)); });
    DeleteAll(arrStores);
    CMAPIInterface::SetYield(1);
    timing.Report(state, nItemsPerRun);
}

// Args: number of folders, tree (1) or flat (0), counts (1) or not (0).
void DiscoveryVsRawScan(benchmark::State& state)
{
    const int nFolders = static_cast<int>(state.range(0));
    const bool bTree = state.range(1) != 0;
    const ULONG ulFlags = state.range(2) ? kEveryFolder | kCountBit : kEveryFolder;
    TemporaryHome home;
    const mapisvc::EntryId store = DefaultStore();
    RawStore raw(home.StoreFile());
    AddProjectFolders(store, raw, nFolders, bTree);
    DiscoverVsRawScan(state, raw, ulFlags, nFolders,
                      [&](const COutlookStore& found) { return found.arrFolders.GetSize() >= nFolders; });
}

// Args: number of other folders (a tree). Per item: per run.
void ContactsOnlyVsRawScan(benchmark::State& state)
{
    TemporaryHome home;
    const mapisvc::EntryId store = DefaultStore();
    RawStore raw(home.StoreFile());
    if (state.range(0) > 0)
        AddProjectFolders(store, raw, static_cast<int>(state.range(0)), true);
    DiscoverVsRawScan(state, raw, kContactsFolders, 1,
                      [](const COutlookStore& found) { return found.arrFolders.GetSize() == 1; });
}

// Args: number of folders below a second contacts folder (a tree), in a store that also holds a tree of 10,000
// other folders. Per item: per contacts folder found.
void ContactsTreeVsRawScan(benchmark::State& state)
{
    const int nBelow = static_cast<int>(state.range(0));
    TemporaryHome home;
    const mapisvc::EntryId store = DefaultStore();
    RawStore raw(home.StoreFile());
    AddProjectFolders(store, raw, 10000, true);
    AddFolderTree(store, raw, u"Customers", u"IPF.Contact", nBelow, true);
    DiscoverVsRawScan(state, raw, kContactsFolders, nBelow + 2,
                      [&](const COutlookStore& found) { return found.arrFolders.GetSize() == nBelow + 2; });
}
} // namespace

BENCHMARK(ContactsOnlyVsRawScan)
    ->Arg(0)
    ->Arg(10000)
    ->ArgName("others")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(1);

BENCHMARK(ContactsTreeVsRawScan)
    ->Arg(50)
    ->Arg(1000)
    ->ArgName("below")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(1);

BENCHMARK(DiscoveryVsRawScan)
    ->ArgsProduct({{1000, 10000}, {1, 0}, {0, 1}})
    ->ArgNames({"folders", "tree", "count"})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(1);
