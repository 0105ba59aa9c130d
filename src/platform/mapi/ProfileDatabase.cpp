#include "platform/mapi/ProfileDatabase.h"

#include "platform/mapi/ProcessCounters.h"
#include "platform/mapi/Home.h"
#include "platform/mapi/Text.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <unistd.h>

namespace mapisvc
{
namespace
{
const char* const kSchema = R"(
CREATE TABLE IF NOT EXISTS profile(
    key TEXT PRIMARY KEY,
    name TEXT NOT NULL,
    is_default INTEGER NOT NULL DEFAULT 0,
    identity INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS store(
    uid BLOB PRIMARY KEY,
    profile TEXT NOT NULL,
    position INTEGER NOT NULL,
    display_name TEXT NOT NULL,
    provider_name TEXT NOT NULL,
    unicode INTEGER NOT NULL,
    support_mask INTEGER NOT NULL,
    state INTEGER NOT NULL,
    is_default INTEGER NOT NULL,
    path TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS store_profile ON store(profile, position);
CREATE TABLE IF NOT EXISTS abentry(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    profile TEXT NOT NULL,
    type INTEGER NOT NULL,
    props BLOB NOT NULL);
CREATE INDEX IF NOT EXISTS abentry_profile ON abentry(profile, id);
CREATE TABLE IF NOT EXISTS abmember(
    list INTEGER NOT NULL,
    position INTEGER NOT NULL,
    member INTEGER NOT NULL,
    PRIMARY KEY(list, position));
)";

// Drops the entries of connections nothing uses any more, as homes come and go (a test's each).
template <class Map> void ForgetExpired(Map& kept)
{
    for (auto it = kept.begin(); it != kept.end();)
        it = it->second.expired() ? kept.erase(it) : std::next(it);
}

StoreInfo ReadStore(const Query& query, const std::string& home)
{
    StoreInfo store;
    std::string_view uid = query.Blob(0);
    std::memcpy(store.uid.ab, uid.data(), std::min<size_t>(uid.size(), 16));
    store.displayName = FromUtf8(query.Text(1));
    store.providerName = FromUtf8(query.Text(2));
    store.unicode = query.Int(3) != 0;
    store.supportMask = static_cast<ULONG>(query.Int(4));
    store.state = static_cast<ULONG>(query.Int(5));
    store.isDefault = query.Int(6) != 0;
    store.path = RecordedPath(home, query.Text(7));
    return store;
}
} // namespace

std::string ProfileKey(const std::u16string& name)
{
    return ToUtf8(FoldCase(name));
}

struct ProfileDatabase::Connection
{
    std::mutex mutex;
    std::unique_ptr<Database> db;
    // SQLite's file locks belong to the process that opened the file: a child made by fork() opens its own.
    pid_t owner = getpid();
};

ProfileDatabase::ProfileDatabase(std::string home, std::shared_ptr<Connection> connection)
    : m_home(std::move(home)), m_connection(std::move(connection)), m_db(m_connection->db.get())
{
}

HRESULT ProfileDatabase::Open(const std::string& home, std::unique_ptr<ProfileDatabase>& profiles)
{
    std::shared_ptr<Connection> connection;
    if (HRESULT hr = Connect(home, connection))
        return hr;
    profiles.reset(new ProfileDatabase(home, std::move(connection)));
    return S_OK;
}

HRESULT ProfileDatabase::Connect(const std::string& home, std::shared_ptr<Connection>& connection)
{
    static std::mutex keptMutex;
    static std::map<std::string, std::weak_ptr<Connection>> kept; // by home
    std::lock_guard<std::mutex> lock(keptMutex);
    auto found = kept.find(home);
    if (found != kept.end() && (connection = found->second.lock()) && connection->owner == getpid())
        return S_OK;
    connection.reset();
    ForgetExpired(kept);
    if (HRESULT hr = EnsureDirectory(home + "/stores"))
        return hr;
    auto opened = std::make_shared<Connection>();
    if (HRESULT hr = Database::Open(home + "/profiles.db", true, opened->db))
        return hr;
    if (HRESULT hr = opened->db->Execute(kSchema))
        return hr;
    CountDatabaseOpen();
    kept[home] = opened;
    connection = std::move(opened);
    return S_OK;
}

std::unique_lock<std::mutex> ProfileDatabase::Lock()
{
    return std::unique_lock<std::mutex>(m_connection->mutex);
}

HRESULT ProfileDatabase::CreateProfile(const std::u16string& name, bool makeDefault)
{
    auto lock = Lock();
    if (name.empty())
        return MAPI_E_INVALID_PARAMETER;
    Transaction transaction(*m_db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    Query insert = m_db->Prepare("INSERT OR IGNORE INTO profile(key, name) VALUES(?, ?)");
    if (HRESULT hr = insert.BindText(1, ProfileKey(name)).BindText(2, ToUtf8(name)).Run())
        return hr;
    if (m_db->Changes() == 0)
        return MAPI_E_NO_ACCESS; // a profile of that name exists
    if (makeDefault)
        if (HRESULT hr = MakeDefaultProfile(ProfileKey(name)))
            return hr;
    return transaction.Commit();
}

HRESULT ProfileDatabase::BeginProfileChange(Transaction& transaction, const std::string& key)
{
    if (HRESULT hr = transaction.Begin())
        return hr;
    Query exists = m_db->Prepare("SELECT 1 FROM profile WHERE key = ?");
    if (!exists.BindText(1, key).Step())
        return exists.Result() ? exists.Result() : MAPI_E_NOT_FOUND;
    return S_OK;
}

HRESULT ProfileDatabase::MakeDefaultProfile(const std::string& key)
{
    return m_db->Prepare("UPDATE profile SET is_default = (key = ?)").BindText(1, key).Run();
}

HRESULT ProfileDatabase::ClearDefaultStore(const std::string& key)
{
    return m_db->Prepare("UPDATE store SET is_default = 0 WHERE profile = ?").BindText(1, key).Run();
}

HRESULT ProfileDatabase::DeleteProfile(const std::u16string& name, std::vector<StoreInfo>& removedStores)
{
    auto lock = Lock();
    const std::string key = ProfileKey(name);
    Transaction transaction(*m_db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    if (HRESULT hr = m_db->Prepare("DELETE FROM profile WHERE key = ?").BindText(1, key).Run())
        return hr;
    if (m_db->Changes() == 0)
        return MAPI_E_NOT_FOUND;
    if (HRESULT hr = ReadStores(key, removedStores))
        return hr;
    const char* const cleanup[] = {
        "DELETE FROM store WHERE profile = ?",
        "DELETE FROM abmember WHERE list IN (SELECT id FROM abentry WHERE profile = ?)",
        "DELETE FROM abentry WHERE profile = ?",
    };
    for (const char* sql : cleanup)
        if (HRESULT hr = m_db->Prepare(sql).BindText(1, key).Run())
            return hr;
    return transaction.Commit();
}

HRESULT ProfileDatabase::SetDefaultProfile(const std::u16string& name)
{
    auto lock = Lock();
    const std::string key = ProfileKey(name);
    Transaction transaction(*m_db);
    if (HRESULT hr = BeginProfileChange(transaction, key))
        return hr;
    if (HRESULT hr = MakeDefaultProfile(key))
        return hr;
    return transaction.Commit();
}

HRESULT ProfileDatabase::DefaultProfileName(std::u16string& name)
{
    auto lock = Lock();
    Query query = m_db->Prepare("SELECT name FROM profile WHERE is_default <> 0");
    if (!query.Step())
        return query.Result() ? query.Result() : MAPI_E_NOT_FOUND;
    name = FromUtf8(query.Text(0));
    return S_OK;
}

std::vector<std::u16string> ProfileDatabase::ProfileNames()
{
    auto lock = Lock();
    std::vector<std::u16string> names;
    Query query = m_db->Prepare("SELECT name FROM profile ORDER BY rowid");
    while (query.Step())
        names.push_back(FromUtf8(query.Text(0)));
    return names;
}

HRESULT ProfileDatabase::LoadProfile(const std::u16string& name, ProfileInfo& profile)
{
    auto lock = Lock();
    const std::string key = ProfileKey(name);
    Query query = m_db->Prepare("SELECT name, is_default, identity FROM profile WHERE key = ?");
    if (!query.BindText(1, key).Step())
        return query.Result() ? query.Result() : MAPI_E_NOT_FOUND;
    profile.name = FromUtf8(query.Text(0));
    profile.isDefault = query.Int(1) != 0;
    profile.identity = query.Int(2);
    profile.stores.clear();
    return ReadStores(key, profile.stores);
}

HRESULT ProfileDatabase::ReadStores(const std::string& key, std::vector<StoreInfo>& stores)
{
    Query query = m_db->Prepare("SELECT uid, display_name, provider_name, unicode, support_mask, state, is_default, "
                                "path FROM store WHERE profile = ? ORDER BY position");
    query.BindText(1, key);
    while (query.Step())
        stores.push_back(ReadStore(query, m_home));
    return query.Result();
}

HRESULT ProfileDatabase::AddStore(const std::u16string& profile, const StoreInfo& store)
{
    auto lock = Lock();
    const std::string key = ProfileKey(profile);
    Transaction transaction(*m_db);
    if (HRESULT hr = BeginProfileChange(transaction, key))
        return hr;
    Query count = m_db->Prepare("SELECT COUNT(*) FROM store WHERE profile = ?");
    if (!count.BindText(1, key).Step())
        return count.Result();
    const int64_t position = count.Int(0);
    // The first store of a profile is its default store; a new default store replaces the old one.
    const bool isDefault = store.isDefault || position == 0;
    if (isDefault)
        if (HRESULT hr = ClearDefaultStore(key))
            return hr;
    Query insert = m_db->Prepare("INSERT INTO store(uid, profile, position, display_name, provider_name, unicode, "
                                 "support_mask, state, is_default, path) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.BindBlob(1, UidBytes(store.uid)).BindText(2, key).Bind(3, position);
    insert.BindText(4, ToUtf8(store.displayName)).BindText(5, ToUtf8(store.providerName));
    insert.Bind(6, store.unicode ? 1 : 0).Bind(7, store.supportMask).Bind(8, store.state);
    insert.Bind(9, isDefault ? 1 : 0).BindText(10, PathToRecord(m_home, store.path));
    if (HRESULT hr = insert.Run())
        return hr;
    return transaction.Commit();
}

HRESULT ProfileDatabase::UpdateStore(const StoreInfo& store)
{
    auto lock = Lock();
    Transaction transaction(*m_db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    Query profile = m_db->Prepare("SELECT profile FROM store WHERE uid = ?");
    if (!profile.BindBlob(1, UidBytes(store.uid)).Step())
        return profile.Result() ? profile.Result() : MAPI_E_NOT_FOUND;
    const std::string key = profile.Text(0);
    if (store.isDefault)
        if (HRESULT hr = ClearDefaultStore(key))
            return hr;
    Query update = m_db->Prepare("UPDATE store SET display_name = ?, provider_name = ?, support_mask = ?, state = ?, "
                                 "is_default = ? WHERE uid = ?");
    update.BindText(1, ToUtf8(store.displayName)).BindText(2, ToUtf8(store.providerName));
    update.Bind(3, store.supportMask).Bind(4, store.state).Bind(5, store.isDefault ? 1 : 0);
    if (HRESULT hr = update.BindBlob(6, UidBytes(store.uid)).Run())
        return hr;
    return transaction.Commit();
}

HRESULT ProfileDatabase::FindStore(const MAPIUID& uid, StoreInfo& store)
{
    auto lock = Lock();
    Query query = m_db->Prepare("SELECT uid, display_name, provider_name, unicode, support_mask, state, is_default, "
                                "path FROM store WHERE uid = ?");
    if (!query.BindBlob(1, UidBytes(uid)).Step())
        return query.Result() ? query.Result() : MAPI_E_NOT_FOUND;
    store = ReadStore(query, m_home);
    return S_OK;
}

HRESULT ProfileDatabase::AddAddressEntry(const std::u16string& profile, AddressEntry& entry)
{
    auto lock = Lock();
    const std::string key = ProfileKey(profile);
    Transaction transaction(*m_db);
    if (HRESULT hr = BeginProfileChange(transaction, key))
        return hr;
    Query insert = m_db->Prepare("INSERT INTO abentry(profile, type, props) VALUES(?, ?, ?)");
    insert.BindText(1, key).Bind(2, entry.type).BindBlob(3, entry.props.Serialize());
    if (HRESULT hr = insert.Run())
        return hr;
    entry.id = m_db->LastInsertId();
    for (size_t i = 0; i < entry.members.size(); ++i)
    {
        Query member = m_db->Prepare("INSERT INTO abmember(list, position, member) VALUES(?, ?, ?)");
        if (HRESULT hr = member.Bind(1, entry.id).Bind(2, static_cast<int64_t>(i)).Bind(3, entry.members[i]).Run())
            return hr;
    }
    return transaction.Commit();
}

HRESULT ProfileDatabase::LoadAddressEntries(const std::u16string& profile, std::vector<AddressEntry>& entries)
{
    auto lock = Lock();
    entries.clear();
    Query query = m_db->Prepare("SELECT id, type, props FROM abentry WHERE profile = ? ORDER BY id");
    query.BindText(1, ProfileKey(profile));
    while (query.Step())
    {
        AddressEntry entry;
        entry.id = query.Int(0);
        entry.type = static_cast<ULONG>(query.Int(1));
        entry.props = PropertyBag::Parse(query.Blob(2));
        entries.push_back(std::move(entry));
    }
    if (query.Result())
        return query.Result();
    for (AddressEntry& entry : entries)
    {
        if (entry.type != MAPI_DISTLIST)
            continue;
        Query members = m_db->Prepare("SELECT member FROM abmember WHERE list = ? ORDER BY position");
        members.Bind(1, entry.id);
        while (members.Step())
            entry.members.push_back(members.Int(0));
    }
    return S_OK;
}

HRESULT ProfileDatabase::SetIdentity(const std::u16string& profile, int64_t entryId)
{
    auto lock = Lock();
    Query update = m_db->Prepare("UPDATE profile SET identity = ? WHERE key = ?");
    if (HRESULT hr = update.Bind(1, entryId).BindText(2, ProfileKey(profile)).Run())
        return hr;
    return m_db->Changes() ? S_OK : MAPI_E_NOT_FOUND;
}
} // namespace mapisvc
