// GetContact over whole folders of 1,000, 10,000 and 100,000 contacts (every field) against a raw SQLite read of
// the same message rows, with the pauses off; what the list's records alone cost against the same read; and the
// size of the store against the bytes of its properties.
#include "BenchWorld.h"

#include <map>

using namespace benchworld;

namespace
{
const ULONG kAllFields = 0x7;

// One home, one interface, and a folder per size filled by copying one contact the library wrote.
class ListWorld
{
public:
    static ListWorld& Get()
    {
        static ListWorld world;
        return world;
    }

    CMAPIInterface& Interface() { return *m_pInterface; }
    RawStore& Raw() { return *m_pRaw; }
    const fs::path& StoreFile() const { return m_storeFile; }

    // The folder's record and its row id.
    std::pair<COutlookFolder*, int64_t> Folder(int nContacts)
    {
        auto it = m_folders.find(nContacts);
        if (it == m_folders.end())
        {
            auto pFolder = NewFolder(m_store, u"Contacts " + Digits(nContacts), u"IPF.Contact");
            const int64_t nFolder = m_pRaw->LastRow(kFolderRow);
            CMAPIContactInfo info = TypicalContact(nContacts);
            CMAPIInterface::SetYield(0);
            if (!m_pInterface->CreateContact(pFolder.get(), &info))
                std::abort();
            if (nContacts > 1)
                m_pRaw->CloneMessage(m_pRaw->LastRow(kMessageRow), nFolder, nContacts - 1);
            it = m_folders.emplace(nContacts, std::make_pair(std::move(pFolder), nFolder)).first;
        }
        return {it->second.first.get(), it->second.second};
    }

private:
    ListWorld()
    {
        m_store = DefaultStore();
        m_pInterface = std::make_unique<CMAPIInterface>();
        m_storeFile = m_home.StoreFile();
        m_pRaw = std::make_unique<RawStore>(m_storeFile);
    }

    static std::u16string Digits(int n)
    {
        const std::string s = std::to_string(n);
        return std::u16string(s.begin(), s.end());
    }

    TemporaryHome m_home;
    mapisvc::EntryId m_store;
    std::unique_ptr<CMAPIInterface> m_pInterface;
    fs::path m_storeFile;
    std::unique_ptr<RawStore> m_pRaw;
    std::map<int, std::pair<std::unique_ptr<COutlookFolder>, int64_t>> m_folders;
};

// Every message row of the folder, its properties touched.
int64_t RawReadFolder(RawStore& raw, int64_t nFolder)
{
    sqlite3_stmt* pStatement = raw.Prepare("SELECT id, props FROM object WHERE parent = ?1 AND type = ?2 ORDER BY id");
    sqlite3_bind_int64(pStatement, 1, nFolder);
    sqlite3_bind_int(pStatement, 2, kMessageRow);
    int64_t nBytes = 0;
    while (sqlite3_step(pStatement) == SQLITE_ROW)
    {
        const void* pProps = sqlite3_column_blob(pStatement, 1);
        const int cbProps = sqlite3_column_bytes(pStatement, 1);
        benchmark::DoNotOptimize(pProps);
        nBytes += cbProps + sqlite3_column_int64(pStatement, 0);
    }
    sqlite3_finalize(pStatement);
    return nBytes;
}

void ListContactsVsRawRead(benchmark::State& state)
{
    const int nContacts = static_cast<int>(state.range(0));
    ListWorld& world = ListWorld::Get();
    const auto folder = world.Folder(nContacts);
    CMAPIInterface::SetYield(0);
    CArray<CMAPIContactInfo*, CMAPIContactInfo*> arrContacts;
    SideBySide timing;
    timing.Run(
        state,
        [&]
        {
            if (!world.Interface().GetContact(folder.first, arrContacts, kAllFields) ||
                arrContacts.GetSize() != nContacts)
                state.SkipWithError("the list failed");
        },
        [&] { benchmark::DoNotOptimize(RawReadFolder(world.Raw(), folder.second)); });
    DeleteAll(arrContacts);
    CMAPIInterface::SetYield(1);
    timing.Report(state, nContacts);
    state.SetItemsProcessed(state.iterations() * nContacts);
}

// What the records of a list cost alone, without MAPI: the previous list's records deleted and a copy of one read
// contact made for every row, against the same raw read. A list can be no cheaper than this floor.
void RecordsAloneVsRawRead(benchmark::State& state)
{
    const int nContacts = static_cast<int>(state.range(0));
    ListWorld& world = ListWorld::Get();
    const auto folder = world.Folder(nContacts);
    CMAPIInterface::SetYield(0);
    CArray<CMAPIContactInfo*, CMAPIContactInfo*> arrContacts;
    if (!world.Interface().GetContact(folder.first, arrContacts, kAllFields) || arrContacts.IsEmpty())
        state.SkipWithError("the list failed");
    const CMAPIContactInfo read = arrContacts.IsEmpty() ? CMAPIContactInfo() : *arrContacts[0];
    SideBySide timing;
    timing.Run(
        state,
        [&]
        {
            DeleteAll(arrContacts);
            for (int i = 0; i < nContacts; ++i)
                arrContacts.Add(new CMAPIContactInfo(read));
        },
        [&] { benchmark::DoNotOptimize(RawReadFolder(world.Raw(), folder.second)); });
    DeleteAll(arrContacts);
    CMAPIInterface::SetYield(1);
    timing.Report(state, nContacts);
}

// The store file (with its write-ahead log) against the bytes of every property it keeps, once the folder of the
// argument's size is filled too (run alone, the store then holds 1,000, 11,000 and 111,000 contacts in turn).
void StoreSizeVsPropertyBytes(benchmark::State& state)
{
    ListWorld& world = ListWorld::Get();
    world.Folder(static_cast<int>(state.range(0)));
    RawStore& raw = world.Raw();
    raw.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
    for (auto _ : state)
    {
    }
    const int64_t nPropertyBytes = raw.Scalar("SELECT (SELECT coalesce(sum(length(props)), 0) FROM object) + "
                                              "(SELECT coalesce(sum(length(props)), 0) FROM attachment) + "
                                              "(SELECT coalesce(sum(length(data)), 0) FROM largevalue)");
    std::error_code error;
    fs::path wal = world.StoreFile();
    wal += "-wal";
    const auto nWal = fs::exists(wal) ? fs::file_size(wal, error) : 0;
    const double dStoreBytes = static_cast<double>(fs::file_size(world.StoreFile()) + nWal);
    state.counters["contacts"] =
        static_cast<double>(raw.Scalar("SELECT count(*) FROM object WHERE type = " + std::to_string(kMessageRow)));
    state.counters["page_size"] = static_cast<double>(raw.Scalar("PRAGMA page_size"));
    state.counters["store_MB"] = dStoreBytes / 1e6;
    state.counters["property_MB"] = static_cast<double>(nPropertyBytes) / 1e6;
    state.counters["ratio"] = dStoreBytes / static_cast<double>(nPropertyBytes);
}
} // namespace

BENCHMARK(ListContactsVsRawRead)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(ListContactsVsRawRead)->Arg(100000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);
BENCHMARK(RecordsAloneVsRawRead)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(StoreSizeVsPropertyBytes)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1);
