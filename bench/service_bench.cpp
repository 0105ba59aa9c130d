// Benchmarks of the embedded MAPI service:
// - opening a message and reading 50 properties, in folders of 1,000 and 100,000 messages, against a plain
//   SQLite read of the same message's stored data;
// - QueryRows in batches of 512 over a whole contents table, without and with a RES_BITMASK restriction, and
//   with 72 columns;
// - saving new messages of 50 properties;
// - streaming a 10 MB attachment in and out, against a plain file copy of the same size.
// The data lives in a temporary MAPIPIM_HOME made for the run and removed afterwards.
#include <mapipim/mapisvc.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <ftw.h>
#include <map>
#include <memory>
#include <random>
#include <sqlite3.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
constexpr ULONG kPropertyCount = 50;
constexpr size_t kStreamSize = 10 * 1024 * 1024;

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return ::remove(path);
}

// The run's MAPI world: a temporary home, MAPI initialised, a session on the default profile and its store.
class World
{
public:
    World()
    {
        char pattern[] = "/tmp/mapipim-bench-XXXXXX";
        m_home = mkdtemp(pattern);
        setenv("MAPIPIM_HOME", m_home.c_str(), 1);
        mapisvc::SetCallLogEnabled(false);
        MAPIInitialize(nullptr);
        MAPILogonEx(0, nullptr, nullptr, MAPI_USE_DEFAULT | MAPI_EXTENDED, &m_session);
        m_store = OpenDefaultStore();
        ULONG cb = 0;
        LPENTRYID id = nullptr;
        m_store->GetReceiveFolder(nullptr, 0, &cb, &id, nullptr);
        ULONG type = 0;
        m_store->OpenEntry(cb, id, nullptr, MAPI_BEST_ACCESS, &type, reinterpret_cast<LPUNKNOWN*>(&m_inbox));
        MAPIFreeBuffer(id);
    }
    ~World()
    {
        for (auto& folder : m_folders)
            folder.second->Release();
        m_inbox->Release();
        m_store->Release();
        m_session->Release();
        MAPIUninitialize();
        nftw(m_home.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }

    static World& Get()
    {
        static World world;
        return world;
    }

    IMAPISession* Session() const { return m_session; }
    IMAPIFolder* Inbox() const { return m_inbox; }

    std::string StorePath() const
    {
        std::string path;
        if (DIR* dir = opendir((m_home + "/stores").c_str()))
        {
            while (dirent* entry = readdir(dir))
            {
                const std::string name = entry->d_name;
                if (name.size() > 3 && name.compare(name.size() - 3, 3, ".db") == 0)
                    path = m_home + "/stores/" + name;
            }
            closedir(dir);
        }
        return path;
    }

    // A folder of `count` messages of 50 properties, made once per run; their entry identifiers alongside.
    IMAPIFolder* FilledFolder(size_t count, std::vector<mapisvc::EntryId>& ids)
    {
        auto known = m_folders.find(count);
        if (known != m_folders.end())
        {
            ids = m_ids[count];
            return known->second;
        }
        IMAPIFolder* folder = nullptr;
        const std::string digits = std::to_string(count);
        const std::u16string name = u"Folder of " + std::u16string(digits.begin(), digits.end());
        m_inbox->CreateFolder(FOLDER_GENERIC, const_cast<LPWSTR>(name.c_str()), nullptr, nullptr, MAPI_UNICODE,
                              &folder);
        std::vector<mapisvc::EntryId>& made = m_ids[count];
        for (size_t i = 0; i < count; ++i)
            made.push_back(SaveMessage(folder, static_cast<LONG>(i)));
        m_folders[count] = folder;
        ids = made;
        return folder;
    }

    static mapisvc::EntryId SaveMessage(IMAPIFolder* folder, LONG number)
    {
        LPMESSAGE message = nullptr;
        folder->CreateMessage(nullptr, 0, &message);
        std::vector<SPropValue> values = Values(number);
        message->SetProps(static_cast<ULONG>(values.size()), values.data(), nullptr);
        message->SaveChanges(KEEP_OPEN_READONLY);
        mapisvc::EntryId id = EntryIdOf(message);
        message->Release();
        return id;
    }

    // Fifty values of the usual kinds: strings, numbers, times, flags and short binaries.
    static std::vector<SPropValue> Values(LONG number)
    {
        static const char16_t* const kText = u"Some text of a property value";
        static BYTE kBytes[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        std::vector<SPropValue> values(kPropertyCount);
        for (ULONG i = 0; i < kPropertyCount; ++i)
        {
            SPropValue& value = values[i];
            const ULONG id = 0x6600 + i;
            switch (i % 5)
            {
            case 0:
            case 1:
                value.ulPropTag = PROP_TAG(PT_UNICODE, id);
                value.Value.lpszW = const_cast<LPWSTR>(kText);
                break;
            case 2:
                value.ulPropTag = PROP_TAG(PT_LONG, id);
                value.Value.l = number + static_cast<LONG>(i);
                break;
            case 3:
                value.ulPropTag = PROP_TAG(PT_SYSTIME, id);
                value.Value.ft = {0x12345678u + static_cast<DWORD>(number), 0x01D90000u};
                break;
            default:
                value.ulPropTag = PROP_TAG(PT_BINARY, id);
                value.Value.bin = {sizeof(kBytes), kBytes};
                break;
            }
        }
        values[0].ulPropTag = PR_SUBJECT_W;
        values[2].ulPropTag = PR_MESSAGE_FLAGS;
        values[2].Value.l = number % 2 ? MSGFLAG_READ : 0;
        return values;
    }

    static std::vector<ULONG> Tags()
    {
        std::vector<ULONG> tags;
        for (const SPropValue& value : Values(0))
            tags.push_back(value.ulPropTag);
        return tags;
    }

    static mapisvc::EntryId EntryIdOf(IMAPIProp* object)
    {
        SPropTagArray tag = {1, {PR_ENTRYID}};
        ULONG count = 0;
        LPSPropValue value = nullptr;
        object->GetProps(&tag, 0, &count, &value);
        mapisvc::EntryId id(value->Value.bin.lpb, value->Value.bin.lpb + value->Value.bin.cb);
        MAPIFreeBuffer(value);
        return id;
    }

private:
    IMsgStore* OpenDefaultStore()
    {
        LPMAPITABLE table = nullptr;
        m_session->GetMsgStoresTable(0, &table);
        SizedSPropTagArray(1, columns) = {1, {PR_ENTRYID}};
        table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0);
        LPSRowSet rows = nullptr;
        table->QueryRows(1, 0, &rows);
        IMsgStore* store = nullptr;
        const SBinary& id = rows->aRow[0].lpProps[0].Value.bin;
        m_session->OpenMsgStore(0, id.cb, reinterpret_cast<LPENTRYID>(id.lpb), nullptr,
                                MDB_NO_DIALOG | MAPI_BEST_ACCESS, &store);
        FreeProws(rows);
        table->Release();
        return store;
    }

    std::string m_home;
    LPMAPISESSION m_session = nullptr;
    IMsgStore* m_store = nullptr;
    IMAPIFolder* m_inbox = nullptr;
    std::map<size_t, IMAPIFolder*> m_folders;
    std::map<size_t, std::vector<mapisvc::EntryId>> m_ids;
};

// Message ids spread over the whole folder, so that reads do not profit from neighbouring rows.
std::vector<size_t> Spread(size_t count)
{
    std::vector<size_t> order(4096);
    std::mt19937 engine(7);
    for (size_t& index : order)
        index = engine() % count;
    return order;
}

void BM_OpenAndRead50Properties(benchmark::State& state)
{
    World& world = World::Get();
    std::vector<mapisvc::EntryId> ids;
    world.FilledFolder(static_cast<size_t>(state.range(0)), ids);
    const std::vector<ULONG> tags = World::Tags();
    std::vector<ULONG> tagArray{static_cast<ULONG>(tags.size())};
    tagArray.insert(tagArray.end(), tags.begin(), tags.end());
    const std::vector<size_t> order = Spread(ids.size());
    size_t next = 0;
    for (auto _ : state)
    {
        mapisvc::EntryId& id = ids[order[next++ % order.size()]];
        LPMESSAGE message = nullptr;
        ULONG type = 0;
        world.Session()->OpenEntry(static_cast<ULONG>(id.size()), reinterpret_cast<LPENTRYID>(id.data()), nullptr,
                                   MAPI_BEST_ACCESS, &type, reinterpret_cast<LPUNKNOWN*>(&message));
        ULONG count = 0;
        LPSPropValue values = nullptr;
        message->GetProps(reinterpret_cast<LPSPropTagArray>(tagArray.data()), MAPI_UNICODE, &count, &values);
        benchmark::DoNotOptimize(values);
        MAPIFreeBuffer(values);
        message->Release();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OpenAndRead50Properties)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The same message's stored data read straight from the store's database.
void BM_PlainSqliteRead(benchmark::State& state)
{
    World& world = World::Get();
    std::vector<mapisvc::EntryId> ids;
    world.FilledFolder(static_cast<size_t>(state.range(0)), ids);
    sqlite3* db = nullptr;
    sqlite3_open_v2(world.StorePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    // The same cache and memory map as the service's connections.
    sqlite3_exec(db, "PRAGMA cache_size=-65536; PRAGMA mmap_size=1073741824", nullptr, nullptr, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT props FROM object WHERE id = ?", -1, &statement, nullptr);
    // The message id is the 64-bit number at offset 38 of the service's entry identifiers.
    std::vector<int64_t> rowIds;
    for (const mapisvc::EntryId& id : ids)
    {
        int64_t rowId = 0;
        std::memcpy(&rowId, id.data() + 38, 8);
        rowIds.push_back(rowId);
    }
    const std::vector<size_t> order = Spread(ids.size());
    size_t next = 0;
    std::string blob;
    for (auto _ : state)
    {
        sqlite3_bind_int64(statement, 1, rowIds[order[next++ % order.size()]]);
        if (sqlite3_step(statement) == SQLITE_ROW)
            blob.assign(static_cast<const char*>(sqlite3_column_blob(statement, 0)),
                        sqlite3_column_bytes(statement, 0));
        benchmark::DoNotOptimize(blob.data());
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlainSqliteRead)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The columns of a table that lists what an item kind reads: every stored property, the identity, and a score
// of properties the messages lack, 72 in all.
std::vector<ULONG> WideColumns()
{
    std::vector<ULONG> columns = World::Tags();
    columns.push_back(PR_ENTRYID);
    columns.push_back(PR_INSTANCE_KEY);
    for (ULONG id = 0x6700; id < 0x6714; ++id)
        columns.push_back(PROP_TAG(PT_UNICODE, id));
    return columns;
}

void ReadWholeTable(benchmark::State& state, bool unreadOnly,
                    const std::vector<ULONG>& columns = {PR_MESSAGE_FLAGS, PR_ENTRYID})
{
    World& world = World::Get();
    std::vector<mapisvc::EntryId> ids;
    IMAPIFolder* folder = world.FilledFolder(static_cast<size_t>(state.range(0)), ids);
    std::vector<ULONG> columnArray{static_cast<ULONG>(columns.size())};
    columnArray.insert(columnArray.end(), columns.begin(), columns.end());
    size_t rowsRead = 0;
    for (auto _ : state)
    {
        LPMAPITABLE table = nullptr;
        folder->GetContentsTable(0, &table);
        table->SetColumns(reinterpret_cast<LPSPropTagArray>(columnArray.data()), 0);
        if (unreadOnly)
        {
            SRestriction unread{};
            unread.rt = RES_BITMASK;
            unread.res.resBitMask = {BMR_EQZ, PR_MESSAGE_FLAGS, MSGFLAG_READ};
            table->Restrict(&unread, 0);
        }
        for (;;)
        {
            LPSRowSet rows = nullptr;
            table->QueryRows(512, 0, &rows);
            const ULONG count = rows->cRows;
            rowsRead += count;
            FreeProws(rows);
            if (count == 0)
                break;
        }
        table->Release();
    }
    // Per row of the folder: a restricted read still goes over every row.
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * ids.size()));
    state.counters["rows returned"] = static_cast<double>(rowsRead) / static_cast<double>(state.iterations());
}

void BM_QueryRows512(benchmark::State& state)
{
    ReadWholeTable(state, false);
}
BENCHMARK(BM_QueryRows512)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_QueryRows512UnreadBitmask(benchmark::State& state)
{
    ReadWholeTable(state, true);
}
BENCHMARK(BM_QueryRows512UnreadBitmask)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_QueryRows512Of72Columns(benchmark::State& state)
{
    ReadWholeTable(state, false, WideColumns());
}
BENCHMARK(BM_QueryRows512Of72Columns)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SaveNewMessageOf50Properties(benchmark::State& state)
{
    World& world = World::Get();
    IMAPIFolder* folder = nullptr;
    world.Inbox()->CreateFolder(FOLDER_GENERIC, const_cast<LPWSTR>(u"Saved"), nullptr, nullptr,
                                MAPI_UNICODE | OPEN_IF_EXISTS, &folder);
    LONG number = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(World::SaveMessage(folder, number++));
    folder->Release();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SaveNewMessageOf50Properties)->Unit(benchmark::kMicrosecond);

void BM_Stream10MBAttachmentInAndOut(benchmark::State& state)
{
    World& world = World::Get();
    const std::vector<char> data(kStreamSize, 'a');
    std::vector<char> back(65536);
    for (auto _ : state)
    {
        LPMESSAGE message = nullptr;
        world.Inbox()->CreateMessage(nullptr, 0, &message);
        LPATTACH attach = nullptr;
        ULONG num = 0;
        message->CreateAttach(nullptr, 0, &num, &attach);
        LPSTREAM stream = nullptr;
        attach->OpenProperty(PR_ATTACH_DATA_BIN, &IID_IStream, 0, MAPI_CREATE | MAPI_MODIFY,
                             reinterpret_cast<LPUNKNOWN*>(&stream));
        for (size_t offset = 0; offset < data.size(); offset += back.size())
            stream->Write(data.data() + offset, static_cast<ULONG>(back.size()), nullptr);
        stream->Commit(0);
        stream->Release();
        attach->SaveChanges(0);
        attach->Release();
        message->SaveChanges(KEEP_OPEN_READWRITE);
        message->OpenAttach(num, nullptr, 0, &attach);
        attach->OpenProperty(PR_ATTACH_DATA_BIN, &IID_IStream, 0, 0, reinterpret_cast<LPUNKNOWN*>(&stream));
        ULONG read = 0;
        do
            stream->Read(back.data(), static_cast<ULONG>(back.size()), &read);
        while (read == back.size());
        stream->Release();
        attach->Release();
        message->Release();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kStreamSize * 2));
}
BENCHMARK(BM_Stream10MBAttachmentInAndOut)->Unit(benchmark::kMillisecond);

// The same 10 MB written to a file and read back (no forced sync, as the store does not force one per save).
void BM_PlainFileCopy10MB(benchmark::State& state)
{
    const std::string path = World::Get().StorePath() + ".copy";
    const std::vector<char> data(kStreamSize, 'a');
    std::vector<char> back(65536);
    for (auto _ : state)
    {
        FILE* out = std::fopen(path.c_str(), "wb");
        for (size_t offset = 0; offset < data.size(); offset += back.size())
            std::fwrite(data.data() + offset, 1, back.size(), out);
        std::fclose(out);
        FILE* in = std::fopen(path.c_str(), "rb");
        while (std::fread(back.data(), 1, back.size(), in) == back.size())
        {
        }
        std::fclose(in);
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kStreamSize * 2));
}
BENCHMARK(BM_PlainFileCopy10MB)->Unit(benchmark::kMillisecond);
} // namespace
