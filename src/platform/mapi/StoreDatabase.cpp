#include "platform/mapi/StoreDatabase.h"

#include "platform/mapi/ProcessCounters.h"
#include "platform/mapi/StoreLayout.h"
#include "platform/mapi/Text.h"
#include "platform/mapi/WellKnownNames.h"
#include "platform/trace/Trace.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <set>
#include <unistd.h>

namespace mapisvc
{
namespace
{
const char* const kSchema = R"(
CREATE TABLE IF NOT EXISTS meta(key TEXT PRIMARY KEY, value BLOB);
CREATE TABLE IF NOT EXISTS object(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    type INTEGER NOT NULL,
    parent INTEGER NOT NULL,
    flags INTEGER NOT NULL DEFAULT 0,
    attach_seq INTEGER NOT NULL DEFAULT 0,
    recip_seq INTEGER NOT NULL DEFAULT 0,
    props BLOB NOT NULL);
CREATE INDEX IF NOT EXISTS object_children ON object(parent, type, id);
CREATE TABLE IF NOT EXISTS attachment(
    message INTEGER NOT NULL,
    num INTEGER NOT NULL,
    props BLOB NOT NULL,
    PRIMARY KEY(message, num));
CREATE TABLE IF NOT EXISTS recipient(
    message INTEGER NOT NULL,
    row INTEGER NOT NULL,
    props BLOB NOT NULL,
    PRIMARY KEY(message, row));
CREATE TABLE IF NOT EXISTS largevalue(
    owner INTEGER NOT NULL,
    part INTEGER NOT NULL,
    prop INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(owner, part, prop));
CREATE TABLE IF NOT EXISTS name(id INTEGER PRIMARY KEY, key BLOB NOT NULL UNIQUE);
)";

// Pages of a new store. A message row holds all of its properties, 1-3 KB for a typical item: SQLite's 4 KB pages
// take one or two such rows and leave the rest empty, a third more file than data. 16 KB pages take five to ten
// and waste at most a row's part of a page, for 2-3 KB rows as for smaller ones; larger pages would make every save
// write more. Stores made before keep the page size they were made with.
constexpr int kStorePageSize = 16384;

// Large values go to and from the store a piece at a time.
constexpr size_t kLargeValuePiece = 1 << 20;

// A reserved message id: a placeholder row of no type, invisible to every table until the message is saved.
constexpr ULONG kReserved = 0;

const char* const kObjectColumns = "SELECT id, type, parent, flags, attach_seq, recip_seq, props FROM object ";

// The columns of an object row (kObjectColumns) but its properties.
ObjectRecord ReadHeader(const Query& query)
{
    ObjectRecord record;
    record.id = query.Int(0);
    record.type = static_cast<ULONG>(query.Int(1));
    record.parent = query.Int(2);
    record.flags = static_cast<LONG>(query.Int(3));
    record.attachSeq = static_cast<ULONG>(query.Int(4));
    record.recipSeq = static_cast<ULONG>(query.Int(5));
    return record;
}

ObjectRecord ReadObject(const Query& query, const std::vector<ULONG>* wanted)
{
    ObjectRecord record = ReadHeader(query);
    record.props = PropertyBag::Parse(query.Blob(6), wanted);
    return record;
}

// Ids as a JSON array, for a statement that takes a list of them through json_each.
std::string IdList(const std::vector<int64_t>& ids)
{
    std::string list = "[";
    for (int64_t id : ids)
        list.append(std::to_string(id)).push_back(',');
    if (ids.empty())
        list.push_back(']');
    else
        list.back() = ']';
    return list;
}

// The ids of rows[from ..], but `top`'s: the parents of the next level of a walk below `top`.
std::vector<int64_t> FolderIdsFrom(const std::vector<StoredFolder>& rows, size_t from, int64_t top)
{
    std::vector<int64_t> ids;
    for (size_t i = from; i < rows.size(); ++i)
        if (rows[i].id != top)
            ids.push_back(rows[i].id);
    return ids;
}

std::string RoleKey(FolderRole role)
{
    return "role" + std::to_string(static_cast<int>(role));
}

// A stored number: the whole text a decimal integer, else false.
bool ParseStoredId(std::string_view text, int64_t& value)
{
    const char* end = text.data() + text.size();
    const auto parsed = std::from_chars(text.data(), end, value);
    return !text.empty() && parsed.ec == std::errc() && parsed.ptr == end;
}

// The process's open stores, so that every session of the process shares one connection per store file.
struct OpenStores
{
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<StoreDatabase>> stores;
    std::set<std::string> deleteWhenClosed;
};

OpenStores& Registry()
{
    static OpenStores registry;
    return registry;
}

void UnlinkStoreFiles(const std::string& path)
{
    for (const char* suffix : {"", "-wal", "-shm"})
        unlink((path + suffix).c_str());
}

// Every SQLite database begins with this header; an empty file, one cut short before it, or a foreign file does
// not, and SQLite would take an empty file for a new database and write a schema into it. MAPI_E_NO_ACCESS when
// the file cannot be read at all.
HRESULT CheckDatabaseHeader(const std::string& path)
{
    static const char kHeader[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return MAPI_E_NO_ACCESS;
    char header[sizeof(kHeader)];
    const ssize_t got = pread(fd, header, sizeof(header), 0);
    close(fd);
    const bool isDatabase =
        got == static_cast<ssize_t>(sizeof(header)) && std::memcmp(header, kHeader, sizeof(header)) == 0;
    return isDatabase ? S_OK : MAPI_E_CORRUPT_DATA;
}

// A database that is not a store (it lacks the store's own table) is refused before anything is written to it.
HRESULT CheckIsStore(Database& db)
{
    Query query = db.Prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'meta'");
    if (query.Step())
        return S_OK;
    return query.Result() ? query.Result() : MAPI_E_CORRUPT_DATA;
}

// A store file whose content cannot be read as a store is damaged, whatever SQLite calls it.
HRESULT AsDamaged(HRESULT hr)
{
    return hr == MAPI_E_CORRUPT_STORE ? MAPI_E_CORRUPT_DATA : hr;
}

HRESULT WriteMeta(Database& db, const std::string& key, std::string_view value)
{
    return db.Prepare("INSERT OR REPLACE INTO meta(key, value) VALUES(?, ?)").BindText(1, key).BindBlob(2, value).Run();
}

HRESULT InsertFolder(Database& db, int64_t parent, const PropertyBag& props, int64_t& id)
{
    Query insert = db.Prepare("INSERT INTO object(type, parent, props) VALUES(?, ?, ?)");
    if (HRESULT hr = insert.Bind(1, MAPI_FOLDER).Bind(2, parent).BindBlob(3, props.Serialize()).Run())
        return hr;
    id = db.LastInsertId();
    return S_OK;
}

void ConvertStringWidths(PropertyBag& props, bool unicode)
{
    for (Prop& prop : props.Props())
    {
        const ULONG type = PROP_TYPE(prop.tag);
        if (!IsStringType(type) || !prop.loaded)
            continue;
        const ULONG target = (type & MV_FLAG) | (unicode ? PT_UNICODE : PT_STRING8);
        if (target == type)
            continue;
        prop.data = ConvertStrings(prop.data, type, target);
        prop.tag = CHANGE_PROP_TYPE(prop.tag, target);
        prop.dirty = true;
    }
}

HRESULT InsertMessageRow(Database& db, const MessageSave& save, const std::string& blob)
{
    Query insert = db.Prepare("INSERT OR REPLACE INTO object(id, type, parent, flags, attach_seq, recip_seq, "
                              "props) VALUES(?, 5, ?, ?, ?, ?, ?)");
    insert.Bind(1, save.id).Bind(2, save.folder).Bind(3, save.flags).Bind(4, save.attachSeq);
    return insert.Bind(5, save.recipSeq).BindBlob(6, blob).Run();
}

// MAPI_E_OBJECT_DELETED when the message is gone.
HRESULT UpdateMessageRow(Database& db, const MessageSave& save, const std::string& blob)
{
    Query update = db.Prepare("UPDATE object SET flags = ?, attach_seq = ?, recip_seq = ?, props = ? "
                              "WHERE id = ? AND type = 5");
    update.Bind(1, save.flags).Bind(2, save.attachSeq).Bind(3, save.recipSeq).BindBlob(4, blob);
    if (HRESULT hr = update.Bind(5, save.id).Run())
        return hr;
    return db.Changes() == 0 ? MAPI_E_OBJECT_DELETED : S_OK;
}

HRESULT DeleteAttachmentRows(Database& db, int64_t message, ULONG num)
{
    if (HRESULT hr =
            db.Prepare("DELETE FROM attachment WHERE message = ? AND num = ?").Bind(1, message).Bind(2, num).Run())
        return hr;
    return db.Prepare("DELETE FROM largevalue WHERE owner = ? AND part = ?").Bind(1, message).Bind(2, num + 1).Run();
}

// A new message has no recipients to remove.
HRESULT ReplaceRecipientRows(Database& db, const MessageSave& save)
{
    if (!save.isNew)
        if (HRESULT hr = db.Prepare("DELETE FROM recipient WHERE message = ?").Bind(1, save.id).Run())
            return hr;
    for (const SubRecord& recipient : *save.recipients)
    {
        Query write = db.Prepare("INSERT INTO recipient(message, row, props) VALUES(?, ?, ?)");
        write.Bind(1, save.id).Bind(2, recipient.key).BindBlob(3, recipient.props.Serialize());
        if (HRESULT hr = write.Run())
            return hr;
    }
    return S_OK;
}

// A message read whole, large values included, to be written elsewhere as a new message.
typedef WholeMessage MessageCopy;

// Reads the values kept out of line and marks every property to be written.
HRESULT LoadLargeValues(StoreDatabase& store, int64_t owner, ULONG part, PropertyBag& props)
{
    for (Prop& prop : props.Props())
    {
        if (!prop.loaded)
        {
            if (HRESULT hr = store.LoadLargeValue(owner, part, PROP_ID(prop.tag), prop.data))
                return hr;
            prop.loaded = true;
        }
        prop.dirty = true;
    }
    return S_OK;
}

// MAPI_E_NOT_FOUND unless `id` is a message of `folder`.
HRESULT LoadMessageOfFolder(StoreDatabase& store, int64_t id, int64_t folder, MessageCopy& copy)
{
    auto lock = store.Lock();
    if (HRESULT hr = store.LoadWholeMessage(id, copy))
        return hr;
    return copy.record.parent == folder ? S_OK : MAPI_E_NOT_FOUND;
}

void ConvertStringWidths(MessageCopy& copy, bool unicode)
{
    ConvertStringWidths(copy.record.props, unicode);
    for (SubRecord& attachment : copy.attachments)
        ConvertStringWidths(attachment.props, unicode);
    for (SubRecord& recipient : copy.recipients)
        ConvertStringWidths(recipient.props, unicode);
}

// The save of a copy as a new message; the copier announces it.
MessageSave SaveOfCopy(const MessageCopy& copy, int64_t id, int64_t folder)
{
    MessageSave save;
    save.id = id;
    save.folder = folder;
    save.isNew = true;
    save.flags = copy.record.flags;
    save.attachSeq = copy.record.attachSeq;
    save.recipSeq = copy.record.recipSeq;
    save.props = &copy.record.props;
    for (const SubRecord& attachment : copy.attachments)
        save.savedAttachments.push_back(&attachment);
    save.recipients = &copy.recipients;
    save.publish = false;
    return save;
}
} // namespace

StoreDatabase::StoreDatabase(std::string path, std::unique_ptr<Database> db)
    : m_path(std::move(path)), m_db(std::move(db)), m_names(new NamedProps(*m_db, m_mutex))
{
}

StoreDatabase::~StoreDatabase()
{
    m_names.reset();
    m_db.reset();
    if (!m_listed)
        return;
    OpenStores& registry = Registry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.stores.find(m_path);
    if (it != registry.stores.end() && it->second.expired())
        registry.stores.erase(it);
    if (registry.deleteWhenClosed.erase(m_path))
        UnlinkStoreFiles(m_path);
}

HRESULT StoreDatabase::Create(const std::string& path, const MAPIUID& uid, bool unicode, bool standardFolders,
                              bool wellKnownNames)
{
    std::unique_ptr<Database> db;
    if (HRESULT hr = Database::Open(path, true, db, kStorePageSize))
        return hr;
    if (HRESULT hr = db->Execute(kSchema))
        return hr;
    // Every write is checked: a store committed without its identity, its width or a folder's role would open
    // as another store than the one made, or not at all. Anything unchecked rolls back with the transaction.
    Transaction transaction(*db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    if (HRESULT hr = WriteMeta(*db, "uid", UidBytes(uid)))
        return hr;
    if (HRESULT hr = WriteMeta(*db, "unicode", unicode ? "1" : "0"))
        return hr;
    if (wellKnownNames)
        if (HRESULT hr = MapWellKnownNames(*db))
            return hr;
    StoreLayout layout(uid, unicode);
    for (const FolderPlan& plan : layout.Folders(standardFolders))
    {
        int64_t parent = plan.parent == FolderRole::Count ? 0 : layout.Id(plan.parent);
        int64_t id = 0;
        if (HRESULT hr = InsertFolder(*db, parent, layout.PropsOf(plan), id))
            return hr;
        layout.SetId(plan.role, id);
        if (HRESULT hr = WriteMeta(*db, RoleKey(plan.role), std::to_string(id)))
            return hr;
    }
    // The Inbox names the folders of the other item kinds by their entry identifiers.
    if (standardFolders)
    {
        const int64_t inbox = layout.Id(FolderRole::Inbox);
        Query update = db->Prepare("UPDATE object SET props = ? WHERE id = ?");
        if (HRESULT hr = update.BindBlob(1, layout.InboxProps().Serialize()).Bind(2, inbox).Run())
            return hr;
    }
    return transaction.Commit();
}

HRESULT StoreDatabase::Open(const std::string& path, std::shared_ptr<StoreDatabase>& store)
{
    // Whatever the caller held goes before the registry is locked: its destructor takes that lock.
    store.reset();
    std::shared_ptr<StoreDatabase> inherited; // a parent's, before fork(): let go after the lock, as above
    OpenStores& registry = Registry();
    std::unique_lock<std::mutex> lock(registry.mutex);
    auto listed = registry.stores.find(path);
    if (listed != registry.stores.end() && (store = listed->second.lock()))
    {
        if (store->m_owner == getpid())
            return S_OK;
        inherited = std::move(store);
    }
    std::shared_ptr<StoreDatabase> opened;
    const HRESULT hr = Load(path, opened);
    if (hr != S_OK)
    {
        lock.unlock();
        if (hr == MAPI_E_CORRUPT_DATA)
            LOGTRACE(_T("[MAPI] The store file %s is damaged"), FromUtf8(path).c_str());
        return hr;
    }
    opened->m_listed = true;
    registry.stores[path] = opened;
    store = std::move(opened);
    return S_OK;
}

HRESULT StoreDatabase::Load(const std::string& path, std::shared_ptr<StoreDatabase>& opened)
{
    if (access(path.c_str(), F_OK) != 0)
        return MAPI_E_NOT_FOUND;
    if (HRESULT hr = CheckDatabaseHeader(path))
        return hr;
    std::unique_ptr<Database> db;
    if (HRESULT hr = Database::Open(path, false, db))
        return AsDamaged(hr);
    CountDatabaseOpen();
    if (HRESULT hr = CheckIsStore(*db))
        return AsDamaged(hr);
    if (HRESULT hr = db->Execute(kSchema))
        return AsDamaged(hr);
    opened.reset(new StoreDatabase(path, std::move(db)));
    if (HRESULT hr = AsDamaged(opened->ReadMeta()))
        return hr;
    // Ids reserved and never saved (a killed process leaves them) are reclaimed. Ids are never handed out twice,
    // so a reservation still in use by another process only saves its message into a row made anew. A busy store
    // keeps them for a later open.
    opened->ReclaimReservedIds();
    return S_OK;
}

void StoreDatabase::DeleteFile(const std::string& path)
{
    OpenStores& registry = Registry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    auto it = registry.stores.find(path);
    if (it != registry.stores.end() && !it->second.expired())
        registry.deleteWhenClosed.insert(path);
    else
        UnlinkStoreFiles(path);
}

HRESULT StoreDatabase::ReadMeta()
{
    Query query = m_db->Prepare("SELECT key, value FROM meta");
    bool haveUid = false;
    while (query.Step())
    {
        const std::string key = query.Text(0);
        const std::string_view value = query.Blob(1);
        if (key == "uid")
        {
            if (value.size() != 16)
                return MAPI_E_CORRUPT_DATA;
            std::memcpy(m_uid.ab, value.data(), 16);
            haveUid = true;
        }
        else if (key == "unicode")
        {
            if (value != "0" && value != "1")
                return MAPI_E_CORRUPT_DATA;
            m_unicode = value == "1";
        }
        for (size_t role = 0; role < static_cast<size_t>(FolderRole::Count); ++role)
            if (key == RoleKey(static_cast<FolderRole>(role)) && !ParseStoredId(value, m_roles[role]))
                return MAPI_E_CORRUPT_DATA;
    }
    if (query.Result())
        return query.Result();
    return haveUid ? S_OK : MAPI_E_CORRUPT_DATA;
}

HRESULT StoreDatabase::ReclaimReservedIds()
{
    // Looked for first (through the children index: a placeholder has no parent), as reading never waits.
    {
        Query find = m_db->Prepare("SELECT 1 FROM object WHERE parent = -1 AND type = ? LIMIT 1");
        if (!find.Bind(1, kReserved).Step())
            return find.Result();
    }
    return m_db->Prepare("DELETE FROM object WHERE parent = -1 AND type = ?").Bind(1, kReserved).Run();
}

HRESULT StoreDatabase::SetRoleFolder(FolderRole role, int64_t id)
{
    auto lock = Lock();
    if (HRESULT hr = WriteMeta(*m_db, RoleKey(role), std::to_string(id)))
        return hr;
    m_roles[static_cast<size_t>(role)] = id;
    return S_OK;
}

Bytes StoreDatabase::EntryIdOf(ULONG type, int64_t id, bool shortTerm) const
{
    return MakeStoreEntryId(m_uid, type, id, shortTerm);
}

HRESULT StoreDatabase::LoadObject(int64_t id, ObjectRecord& record, const std::vector<ULONG>* wanted)
{
    auto lock = Lock();
    if (TakePageRow(id, record, wanted))
        return S_OK;
    Query query = m_db->Prepare("SELECT id, type, parent, flags, attach_seq, recip_seq, props FROM object "
                                "WHERE id = ? AND type <> 0");
    if (!query.Bind(1, id).Step())
        return query.Result() ? query.Result() : MAPI_E_NOT_FOUND;
    record = ReadObject(query, wanted);
    return S_OK;
}

HRESULT StoreDatabase::ReserveMessageId(int64_t& id)
{
    auto lock = Lock();
    Query insert = m_db->Prepare("INSERT INTO object(type, parent, props) VALUES(?, -1, x'')");
    if (HRESULT hr = insert.Bind(1, kReserved).Run())
        return hr;
    id = m_db->LastInsertId();
    return S_OK;
}

void StoreDatabase::ReleaseMessageId(int64_t id)
{
    auto lock = Lock();
    m_db->Prepare("DELETE FROM object WHERE id = ? AND type = ?").Bind(1, id).Bind(2, kReserved).Run();
}

HRESULT StoreDatabase::CreateFolder(int64_t parent, const PropertyBag& props, int64_t& id)
{
    auto lock = Lock();
    Transaction transaction(*m_db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    if (HRESULT hr = InsertFolder(*m_db, parent, props, id))
        return hr;
    if (HRESULT hr = SyncLargeValues(id, 0, props, true))
        return hr;
    if (HRESULT hr = transaction.Commit())
        return hr;
    Publish(fnevObjectCreated, MAPI_FOLDER, id, parent);
    return S_OK;
}

HRESULT StoreDatabase::SaveFolderProps(int64_t id, const PropertyBag& props)
{
    auto lock = Lock();
    // The row keeps only a marker for a value over the row's limit: the value itself must be written with it.
    Transaction transaction(*m_db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    Query update = m_db->Prepare("UPDATE object SET props = ? WHERE id = ? AND type = ?");
    if (HRESULT hr = update.BindBlob(1, props.Serialize()).Bind(2, id).Bind(3, MAPI_FOLDER).Run())
        return hr;
    if (m_db->Changes() == 0)
        return MAPI_E_OBJECT_DELETED;
    if (HRESULT hr = SyncLargeValues(id, 0, props, false))
        return hr;
    if (HRESULT hr = transaction.Commit())
        return hr;
    ObjectRecord record;
    if (LoadObject(id, record) == S_OK)
        Publish(fnevObjectModified, MAPI_FOLDER, id, record.parent);
    return S_OK;
}

HRESULT StoreDatabase::ChildFolders(int64_t parent, std::vector<ObjectRecord>& folders)
{
    auto lock = Lock();
    Query query = m_db->Prepare("SELECT id, type, parent, flags, attach_seq, recip_seq, props FROM object "
                                "WHERE parent = ? AND type = 3 ORDER BY id");
    query.Bind(1, parent);
    while (query.Step())
        folders.push_back(ReadObject(query, nullptr));
    return query.Result();
}

HRESULT StoreDatabase::FoldersBelow(int64_t parent, bool allLevels, StoredFolders& folders)
{
    // A level at a time: one statement reads the sub-folders of every folder of a level, however many there
    // are, so a tree costs a statement per level rather than one per folder (most folders are leaves, each of
    // which would cost a statement only to find nothing below it). A recursive query over the ids was no faster
    // than a statement per folder: its queue and its set of the ids met cost what the statements did.
    // Each level reached is counted first from the index alone. An empty level ends the walk without reading its
    // parents' rows again; a level that brings the folders found to half the objects the store may hold turns the
    // walk into one sequential read of every folder of the store, which costs less than a seek of each of them.
    // Every folder has one parent, so only `parent` itself can be met again, below itself in a damaged store;
    // it does not make a level of its own.
    ReadBatch batch(*this);
    if (!allLevels)
        return ReadLevel(IdList({parent}), 0, folders);
    int64_t objects = 0;
    if (HRESULT hr = ObjectsAtMost(objects))
        return hr;
    const int64_t half = (objects + 1) / 2;
    std::vector<int64_t> level{parent};
    size_t first = 0;
    while (!level.empty())
    {
        const std::string parents = IdList(level);
        const size_t end = folders.rows.size();
        const int64_t room = std::max<int64_t>(half - static_cast<int64_t>(end), 1);
        int64_t count = 0;
        if (HRESULT hr = CountChildFolders(parents, room, count))
            return hr;
        if (count >= room)
            return FoldersBelowFromAll(parent, static_cast<size_t>(objects), folders);
        if (count == 0)
            break;
        if (HRESULT hr = ReadLevel(parents, first, folders))
            return hr;
        level = FolderIdsFrom(folders.rows, end, parent);
        first = end;
    }
    return S_OK;
}

HRESULT StoreDatabase::ReadLevel(const std::string& parents, size_t first, StoredFolders& folders)
{
    const size_t end = folders.rows.size();
    if (HRESULT hr = ChildFoldersOf(parents, folders))
        return hr;
    if (end == 0)
    {
        folders.top = {0, folders.rows.size()};
        return S_OK;
    }
    if (PlaceLevel(folders, first, end))
        return S_OK;
    LOGTRACE(_T("[MAPI] GetHierarchyTable - the sub folders of a level came out of order in %s"),
             FromUtf8(m_path).c_str());
    return MAPI_E_CALL_FAILED;
}

HRESULT StoreDatabase::ChildFoldersOf(const std::string& parents, StoredFolders& folders)
{
    // The join seeks the (parent, type, id) index once per id, in the order of the list.
    Query query = m_db->Prepare("SELECT object.id, object.parent, object.props FROM json_each(?1) AS list "
                                "CROSS JOIN object ON object.parent = list.value AND object.type = 3");
    query.BindText(1, parents);
    while (query.Step())
        folders.Append(query.Int(0), query.Int(1), query.Blob(2));
    return query.Result();
}

HRESULT StoreDatabase::CountChildFolders(const std::string& parents, int64_t limit, int64_t& count)
{
    Query query = m_db->Prepare("SELECT COUNT(*) FROM (SELECT 1 FROM json_each(?1) AS list CROSS JOIN object "
                                "ON object.parent = list.value AND object.type = 3 LIMIT ?2)");
    query.BindText(1, parents).Bind(2, limit);
    if (!query.Step())
        return query.Result();
    count = query.Int(0);
    return S_OK;
}

HRESULT StoreDatabase::FoldersBelowFromAll(int64_t top, size_t objects, StoredFolders& folders)
{
    StoredFolders all;
    all.rows.reserve(objects);
    Query query = m_db->Prepare("SELECT id, parent, props FROM object WHERE type = 3 ORDER BY id");
    while (query.Step())
        all.Append(query.Int(0), query.Int(1), query.Blob(2));
    if (HRESULT hr = query.Result())
        return hr;
    folders = SubtreeOf(std::move(all), top);
    return S_OK;
}

HRESULT StoreDatabase::FindChildFolder(int64_t parent, std::u16string_view name, int64_t& id)
{
    std::vector<ObjectRecord> folders;
    if (HRESULT hr = ChildFolders(parent, folders))
        return hr;
    for (const ObjectRecord& folder : folders)
    {
        const Prop* display = folder.props.Find(PROP_ID(PR_DISPLAY_NAME));
        if (display && EqualIgnoreCase(BytesToUtf16(DataAs(*display, PT_UNICODE)), name))
        {
            id = folder.id;
            return S_OK;
        }
    }
    return MAPI_E_NOT_FOUND;
}

HRESULT StoreDatabase::CountMessages(int64_t folder, ULONG& count, ULONG& unread)
{
    auto lock = Lock();
    Query query = m_db->Prepare("SELECT COUNT(*), COALESCE(SUM((flags & 1) = 0), 0) FROM object "
                                "WHERE parent = ? AND type = 5");
    if (!query.Bind(1, folder).Step())
        return query.Result();
    count = static_cast<ULONG>(query.Int(0));
    unread = static_cast<ULONG>(query.Int(1));
    return S_OK;
}

HRESULT StoreDatabase::CountMessages(int64_t folder, ULONG& count)
{
    return CountRows("SELECT COUNT(*) FROM object WHERE parent = ? AND type = 5", folder, count);
}

HRESULT StoreDatabase::HasSubfolders(int64_t folder, bool& has)
{
    auto lock = Lock();
    Query query = m_db->Prepare("SELECT 1 FROM object WHERE parent = ? AND type = 3 LIMIT 1");
    has = query.Bind(1, folder).Step();
    return query.Result();
}

HRESULT StoreDatabase::CountChildrenOf(const std::vector<int64_t>& folders, ULONG childType,
                                       std::map<int64_t, ChildCounts>& counts)
{
    if (folders.empty())
        return S_OK;
    auto lock = Lock();
    // The list is read through the (parent, type, id) index in parent order, so the grouping needs no sort.
    Query query = m_db->Prepare("SELECT parent, COUNT(*), COALESCE(SUM((flags & 1) = 0), 0) FROM object "
                                "WHERE type = ?2 AND parent IN (SELECT value FROM json_each(?1)) GROUP BY parent");
    query.BindText(1, IdList(folders)).Bind(2, childType);
    while (query.Step())
        counts[query.Int(0)] = {static_cast<ULONG>(query.Int(1)), static_cast<ULONG>(query.Int(2))};
    return query.Result();
}

HRESULT StoreDatabase::CountChildrenOfAll(ULONG childType, std::map<int64_t, ChildCounts>& counts)
{
    auto lock = Lock();
    // The index gives the children in parent order, so the grouping needs no sort.
    Query query = m_db->Prepare("SELECT parent, COUNT(*), COALESCE(SUM((flags & 1) = 0), 0) FROM object "
                                "WHERE type = ?1 GROUP BY parent");
    query.Bind(1, childType);
    auto hint = counts.end();
    while (query.Step())
        hint = counts.insert_or_assign(hint, query.Int(0),
                                       ChildCounts{static_cast<ULONG>(query.Int(1)), static_cast<ULONG>(query.Int(2))});
    return query.Result();
}

HRESULT StoreDatabase::ObjectsAtMost(int64_t& count)
{
    auto lock = Lock();
    Query query = m_db->Prepare("SELECT MAX(id) FROM object");
    if (!query.Step())
        return query.Result();
    count = query.Int(0);
    return S_OK;
}

HRESULT StoreDatabase::LoadLargeValue(int64_t owner, ULONG part, ULONG propId, std::string& data)
{
    // Found and read in one snapshot, so that a value replaced in between is read whole, as it is now.
    ReadBatch batch(*this);
    std::unique_ptr<StoredValue> value;
    if (HRESULT hr = OpenLargeValue(owner, part, propId, value))
        return hr;
    try
    {
        data.resize(static_cast<size_t>(value->Size()));
    }
    catch (const std::bad_alloc&)
    {
        return MAPI_E_NOT_ENOUGH_MEMORY;
    }
    return value->Read(0, data.data(), data.size());
}

// A value kept out of line, found by its row. A value rewritten gets a new row (WriteLargeValue) and a deleted
// owner's id is never given again, so a row that still holds the same owner, part and property holds the same
// value, and a reader between pieces never mixes two values.
class LargeValueInStore : public StoredValue
{
public:
    LargeValueInStore(StoreDatabase& store, int64_t owner, ULONG part, ULONG propId, int64_t row, uint64_t size)
        : m_store(store), m_owner(owner), m_part(part), m_propId(propId), m_row(row), m_size(size)
    {
    }

    uint64_t Size() const override { return m_size; }

    // Small reads (a caller pausing after every kilobyte) are served from a window read ahead, so that the store
    // is asked once per window instead of once per read.
    HRESULT Read(uint64_t offset, void* out, size_t size) override
    {
        if (offset > m_size || size > m_size - offset)
            return MAPI_E_INVALID_PARAMETER;
        if (size >= kWindow)
            return m_store.ReadLargeValuePiece(m_owner, m_part, m_propId, m_row, offset, out, size);
        if (offset < m_windowStart || offset + size > m_windowStart + m_window.size())
            if (HRESULT hr = FillWindow(offset))
                return hr;
        if (size)
            std::memcpy(out, m_window.data() + (offset - m_windowStart), size);
        return S_OK;
    }

private:
    static constexpr size_t kWindow = 64 * 1024;

    HRESULT FillWindow(uint64_t offset)
    {
        m_window.resize(static_cast<size_t>(std::min<uint64_t>(kWindow, m_size - offset)));
        m_windowStart = offset;
        HRESULT hr =
            m_store.ReadLargeValuePiece(m_owner, m_part, m_propId, m_row, offset, m_window.data(), m_window.size());
        if (hr)
            m_window.clear();
        return hr;
    }

    StoreDatabase& m_store;
    int64_t m_owner;
    ULONG m_part;
    ULONG m_propId;
    int64_t m_row;
    uint64_t m_size;
    std::string m_window; // the bytes of the value from m_windowStart
    uint64_t m_windowStart = 0;
};

HRESULT StoreDatabase::OpenLargeValue(int64_t owner, ULONG part, ULONG propId, std::unique_ptr<StoredValue>& value)
{
    auto lock = Lock();
    // length() of a blob is read from its header, without its content.
    Query query = m_db->Prepare("SELECT rowid, length(data) FROM largevalue WHERE owner = ? AND part = ? AND prop = ?");
    if (!query.Bind(1, owner).Bind(2, part).Bind(3, propId).Step())
        return query.Result() ? query.Result() : MAPI_E_NOT_FOUND;
    value.reset(new LargeValueInStore(*this, owner, part, propId, query.Int(0), static_cast<uint64_t>(query.Int(1))));
    return S_OK;
}

HRESULT StoreDatabase::ReadLargeValuePiece(int64_t owner, ULONG part, ULONG propId, int64_t row, uint64_t offset,
                                           void* out, size_t size)
{
    ReadBatch batch(*this);
    {
        Query query = m_db->Prepare("SELECT rowid FROM largevalue WHERE owner = ? AND part = ? AND prop = ?");
        if (!query.Bind(1, owner).Bind(2, part).Bind(3, propId).Step())
            return query.Result() ? query.Result() : MAPI_E_NOT_FOUND;
        if (query.Int(0) != row)
            return MAPI_E_NOT_FOUND;
    }
    return size ? m_db->ReadBlob("largevalue", "data", row, offset, out, size) : S_OK;
}

HRESULT StoreDatabase::WriteLargeValue(int64_t owner, ULONG part, ULONG propId, std::string_view data)
{
    // The new row id is counted before the old row (if any) is replaced, so it is never the old one.
    Query write = m_db->Prepare("INSERT OR REPLACE INTO largevalue(rowid, owner, part, prop, data) "
                                "VALUES((SELECT coalesce(max(rowid), 0) + 1 FROM largevalue), ?, ?, ?, ?)");
    write.Bind(1, owner).Bind(2, part).Bind(3, propId).BindZeroBlob(4, data.size());
    if (HRESULT hr = write.Run())
        return hr;
    const int64_t row = m_db->LastInsertId();
    for (size_t offset = 0; offset < data.size(); offset += kLargeValuePiece)
    {
        const size_t piece = std::min(kLargeValuePiece, data.size() - offset);
        if (HRESULT hr = m_db->WriteBlob("largevalue", "data", row, offset, data.data() + offset, piece))
            return hr;
    }
    return S_OK;
}

template <class Visit>
HRESULT StoreDatabase::ScanMessageRows(int64_t folder, int64_t afterId, size_t limit, Visit visit)
{
    Query query = m_db->Prepare("SELECT id, type, parent, flags, attach_seq, recip_seq, props FROM object "
                                "WHERE parent = ? AND type = 5 AND id > ? ORDER BY id LIMIT ?");
    query.Bind(1, folder).Bind(2, afterId).Bind(3, static_cast<int64_t>(limit));
    while (query.Step())
        visit(query);
    return query.Result();
}

HRESULT StoreDatabase::ScanMessages(int64_t folder, int64_t afterId, size_t limit, const std::vector<ULONG>* wanted,
                                    std::vector<ObjectRecord>& messages)
{
    auto lock = Lock();
    return ScanMessageRows(folder, afterId, limit,
                           [&](const Query& query) { messages.push_back(ReadObject(query, wanted)); });
}

HRESULT StoreDatabase::ScanPage(const void* owner, int64_t folder, int64_t afterId, size_t limit,
                                const std::vector<ULONG>* wanted, std::vector<ObjectRecord>& messages)
{
    auto lock = Lock();
    ClearPage();
    m_page.owner = owner;
    m_page.lease = m_db->BeginLease();
    HRESULT hr = ScanMessageRows(folder, afterId, limit,
                                 [&](const Query& query)
                                 {
                                     ObjectRecord header = ReadHeader(query);
                                     messages.push_back(header);
                                     messages.back().props = PropertyBag::Parse(query.Blob(6), wanted);
                                     if (m_page.lease)
                                         m_page.rows.emplace(
                                             header.id, std::make_pair(std::move(header), std::string(query.Blob(6))));
                                 });
    if (hr != S_OK || m_page.rows.empty())
        ClearPage();
    return hr;
}

void StoreDatabase::EndPage(const void* owner)
{
    auto lock = Lock();
    if (m_page.owner == owner)
        ClearPage();
}

void StoreDatabase::ClearPage()
{
    if (m_page.lease && m_page.lease == m_db->Lease())
        m_db->EndLease();
    m_page = Page();
}

bool StoreDatabase::TakePageRow(int64_t id, ObjectRecord& record, const std::vector<ULONG>* wanted)
{
    if (m_page.rows.empty())
        return false;
    if (m_page.lease != m_db->Lease())
    {
        ClearPage();
        return false;
    }
    auto it = m_page.rows.find(id);
    if (it == m_page.rows.end())
        return false;
    record = std::move(it->second.first);
    record.props = PropertyBag::Parse(std::move(it->second.second), wanted);
    m_page.rows.erase(it);
    if (m_page.rows.empty())
        ClearPage();
    return true;
}

HRESULT StoreDatabase::LoadSubRecords(const char* sql, int64_t message, std::vector<SubRecord>& records)
{
    auto lock = Lock();
    Query query = m_db->Prepare(sql);
    query.Bind(1, message);
    while (query.Step())
        records.push_back({static_cast<ULONG>(query.Int(0)), PropertyBag::Parse(query.Blob(1))});
    return query.Result();
}

HRESULT StoreDatabase::LoadAttachments(int64_t message, std::vector<SubRecord>& attachments)
{
    return LoadSubRecords("SELECT num, props FROM attachment WHERE message = ? ORDER BY num", message, attachments);
}

HRESULT StoreDatabase::LoadRecipients(int64_t message, std::vector<SubRecord>& recipients)
{
    return LoadSubRecords("SELECT row, props FROM recipient WHERE message = ? ORDER BY row", message, recipients);
}

HRESULT StoreDatabase::CountAttachments(int64_t message, ULONG& count)
{
    return CountRows("SELECT COUNT(*) FROM attachment WHERE message = ?", message, count);
}

HRESULT StoreDatabase::CountRows(const char* sql, int64_t owner, ULONG& count)
{
    auto lock = Lock();
    Query query = m_db->Prepare(sql);
    if (!query.Bind(1, owner).Step())
        return query.Result();
    count = static_cast<ULONG>(query.Int(0));
    return S_OK;
}

HRESULT StoreDatabase::LoadWholeMessage(int64_t id, WholeMessage& message)
{
    ReadBatch batch(*this);
    if (HRESULT hr = LoadObject(id, message.record))
        return hr;
    if (message.record.type != MAPI_MESSAGE)
        return MAPI_E_NOT_FOUND;
    if (HRESULT hr = LoadAttachments(id, message.attachments))
        return hr;
    if (HRESULT hr = LoadRecipients(id, message.recipients))
        return hr;
    if (HRESULT hr = LoadLargeValues(*this, id, 0, message.record.props))
        return hr;
    for (SubRecord& attachment : message.attachments)
        if (HRESULT hr = LoadLargeValues(*this, id, attachment.key + 1, attachment.props))
            return hr;
    return S_OK;
}

HRESULT StoreDatabase::SyncLargeValues(int64_t owner, ULONG part, const PropertyBag& props, bool fresh)
{
    std::set<ULONG> stored;
    if (!fresh)
    {
        Query query = m_db->Prepare("SELECT prop FROM largevalue WHERE owner = ? AND part = ?");
        query.Bind(1, owner).Bind(2, part);
        while (query.Step())
            stored.insert(static_cast<ULONG>(query.Int(0)));
        if (query.Result())
            return query.Result();
    }
    for (const Prop& prop : props.Props())
    {
        if (!IsLargeValue(prop))
            continue;
        const ULONG propId = PROP_ID(prop.tag);
        const bool known = stored.erase(propId) != 0;
        if (!prop.loaded || (known && !prop.dirty))
            continue;
        if (HRESULT hr = WriteLargeValue(owner, part, propId, prop.data))
            return hr;
    }
    for (ULONG propId : stored)
    {
        Query remove = m_db->Prepare("DELETE FROM largevalue WHERE owner = ? AND part = ? AND prop = ?");
        if (HRESULT hr = remove.Bind(1, owner).Bind(2, part).Bind(3, propId).Run())
            return hr;
    }
    return S_OK;
}

HRESULT StoreDatabase::SaveMessage(const MessageSave& save)
{
    auto lock = Lock();
    Transaction transaction(*m_db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    const std::string blob = save.props->Serialize();
    if (HRESULT hr = save.isNew ? InsertMessageRow(*m_db, save, blob) : UpdateMessageRow(*m_db, save, blob))
        return hr;
    if (HRESULT hr = SyncLargeValues(save.id, 0, *save.props, save.isNew))
        return hr;
    if (HRESULT hr = SaveAttachments(save))
        return hr;
    for (ULONG num : save.deletedAttachments)
        if (HRESULT hr = DeleteAttachmentRows(*m_db, save.id, num))
            return hr;
    if (save.recipients)
        if (HRESULT hr = ReplaceRecipientRows(*m_db, save))
            return hr;
    if (HRESULT hr = transaction.Commit())
        return hr;
    if (save.publish)
        Publish(save.isNew ? fnevObjectCreated : fnevObjectModified, MAPI_MESSAGE, save.id, save.folder);
    return S_OK;
}

HRESULT StoreDatabase::SaveAttachments(const MessageSave& save)
{
    for (const SubRecord* attachment : save.savedAttachments)
    {
        Query write = m_db->Prepare("INSERT OR REPLACE INTO attachment(message, num, props) VALUES(?, ?, ?)");
        write.Bind(1, save.id).Bind(2, attachment->key).BindBlob(3, attachment->props.Serialize());
        if (HRESULT hr = write.Run())
            return hr;
        if (HRESULT hr = SyncLargeValues(save.id, attachment->key + 1, attachment->props, save.isNew))
            return hr;
    }
    return S_OK;
}

HRESULT StoreDatabase::DeleteMessageRows(int64_t id)
{
    const char* const statements[] = {
        "DELETE FROM object WHERE id = ?",
        "DELETE FROM attachment WHERE message = ?",
        "DELETE FROM recipient WHERE message = ?",
        "DELETE FROM largevalue WHERE owner = ?",
    };
    for (const char* sql : statements)
        if (HRESULT hr = m_db->Prepare(sql).Bind(1, id).Run())
            return hr;
    return S_OK;
}

HRESULT StoreDatabase::DeleteMessage(int64_t id, int64_t folder)
{
    auto lock = Lock();
    Transaction transaction(*m_db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    Query find = m_db->Prepare("SELECT 1 FROM object WHERE id = ? AND type = 5 AND parent = ?");
    if (!find.Bind(1, id).Bind(2, folder).Step())
        return find.Result() ? find.Result() : MAPI_E_NOT_FOUND;
    if (HRESULT hr = DeleteMessageRows(id))
        return hr;
    if (HRESULT hr = transaction.Commit())
        return hr;
    Publish(fnevObjectDeleted, MAPI_MESSAGE, id, folder);
    return S_OK;
}

HRESULT StoreDatabase::MoveMessage(int64_t id, int64_t fromFolder, int64_t toFolder)
{
    auto lock = Lock();
    Query move = m_db->Prepare("UPDATE object SET parent = ? WHERE id = ? AND type = 5 AND parent = ?");
    if (HRESULT hr = move.Bind(1, toFolder).Bind(2, id).Bind(3, fromFolder).Run())
        return hr;
    if (m_db->Changes() == 0)
        return MAPI_E_NOT_FOUND;
    Publish(fnevObjectMoved, MAPI_MESSAGE, id, toFolder, id, fromFolder);
    return S_OK;
}

HRESULT StoreDatabase::CopyMessage(int64_t id, int64_t fromFolder, StoreDatabase& target, int64_t toFolder,
                                   int64_t& newId)
{
    MessageCopy copy;
    if (HRESULT hr = LoadMessageOfFolder(*this, id, fromFolder, copy))
        return hr;
    ConvertStringWidths(copy, target.Unicode());
    if (HRESULT hr = target.ReserveMessageId(newId))
        return hr;
    if (HRESULT hr = target.SaveMessage(SaveOfCopy(copy, newId, toFolder)))
    {
        target.ReleaseMessageId(newId);
        return hr;
    }
    StoreEvent event;
    event.eventType = fnevObjectCopied;
    event.objectType = MAPI_MESSAGE;
    event.entryId = target.EntryIdOf(MAPI_MESSAGE, newId);
    event.parentId = target.EntryIdOf(MAPI_FOLDER, toFolder);
    event.oldId = EntryIdOf(MAPI_MESSAGE, id);
    event.oldParentId = EntryIdOf(MAPI_FOLDER, fromFolder);
    target.Publish(std::move(event));
    return S_OK;
}

HRESULT StoreDatabase::SetMessageFlags(int64_t id, LONG set, LONG clear, bool& changed)
{
    auto lock = Lock();
    Transaction transaction(*m_db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    ObjectRecord record;
    if (HRESULT hr = LoadObject(id, record))
        return hr;
    if (record.type != MAPI_MESSAGE)
        return MAPI_E_NOT_FOUND;
    const LONG flags = (record.flags & ~clear) | set;
    changed = flags != record.flags;
    if (!changed)
        return S_OK;
    record.props.Set(PR_MESSAGE_FLAGS, EncodeLong(flags));
    Query update = m_db->Prepare("UPDATE object SET flags = ?, props = ? WHERE id = ?");
    if (HRESULT hr = update.Bind(1, flags).BindBlob(2, record.props.Serialize()).Bind(3, id).Run())
        return hr;
    if (HRESULT hr = transaction.Commit())
        return hr;
    Publish(fnevObjectModified, MAPI_MESSAGE, id, record.parent);
    return S_OK;
}

HRESULT StoreDatabase::DeleteFoldersBelow(int64_t id)
{
    auto lock = Lock();
    StoredFolders children;
    if (HRESULT hr = FoldersBelow(id, false, children))
        return hr;
    for (const StoredFolder& child : children.rows)
        if (child.id != id)
            if (HRESULT hr = DeleteFolder(child.id, DEL_MESSAGES | DEL_FOLDERS, id))
                return hr;
    return S_OK;
}

HRESULT StoreDatabase::DeleteFolder(int64_t id, ULONG flags, int64_t spare)
{
    auto lock = Lock();
    if (id == RoleFolder(FolderRole::Root) || id == RoleFolder(FolderRole::IpmSubtree))
        return MAPI_E_NO_ACCESS;
    ObjectRecord folder;
    if (HRESULT hr = LoadObject(id, folder))
        return hr;
    if (folder.type != MAPI_FOLDER)
        return MAPI_E_NOT_FOUND;
    Transaction transaction(*m_db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    // Every folder below, each listed once even where a damaged store's parents run in a circle through `id`;
    // then the messages of each and the folder itself.
    StoredFolders below;
    if (HRESULT hr = FoldersBelow(id, (flags & DEL_FOLDERS) != 0, below))
        return hr;
    if (!below.rows.empty() && !(flags & DEL_FOLDERS))
        return MAPI_E_HAS_FOLDERS;
    std::vector<int64_t> folders{id};
    for (const StoredFolder& child : below.rows)
        if (child.id != id && child.id != spare)
            folders.push_back(child.id);
    for (int64_t folderId : folders)
    {
        std::vector<ObjectRecord> messages;
        if (HRESULT hr = ScanMessages(folderId, 0, static_cast<size_t>(-1) >> 1, nullptr, messages))
            return hr;
        if (!messages.empty() && !(flags & DEL_MESSAGES))
            return MAPI_E_HAS_MESSAGES;
        for (const ObjectRecord& message : messages)
            if (HRESULT hr = DeleteMessageRows(message.id))
                return hr;
        for (const char* sql : {"DELETE FROM object WHERE id = ?", "DELETE FROM largevalue WHERE owner = ?"})
            if (HRESULT hr = m_db->Prepare(sql).Bind(1, folderId).Run())
                return hr;
    }
    if (HRESULT hr = transaction.Commit())
        return hr;
    Publish(fnevObjectDeleted, MAPI_FOLDER, id, folder.parent);
    return S_OK;
}

HRESULT StoreDatabase::LoadStoreProps(PropertyBag& props)
{
    auto lock = Lock();
    Query query = m_db->Prepare("SELECT value FROM meta WHERE key = 'props'");
    props = query.Step() ? PropertyBag::Parse(query.Blob(0)) : PropertyBag();
    return query.Result();
}

HRESULT StoreDatabase::SaveStoreProps(const PropertyBag& props)
{
    auto lock = Lock();
    Transaction transaction(*m_db);
    if (HRESULT hr = transaction.Begin())
        return hr;
    if (HRESULT hr = WriteMeta(*m_db, "props", props.Serialize()))
        return hr;
    if (HRESULT hr = SyncLargeValues(kStoreOwner, 0, props, false))
        return hr;
    return transaction.Commit();
}

void StoreDatabase::Publish(ULONG eventType, ULONG objectType, int64_t id, int64_t parent, int64_t oldId,
                            int64_t oldParent)
{
    StoreEvent event;
    event.eventType = eventType;
    event.objectType = objectType;
    event.entryId = EntryIdOf(objectType, id);
    if (parent > 0)
        event.parentId = EntryIdOf(MAPI_FOLDER, parent);
    if (oldId > 0)
        event.oldId = EntryIdOf(objectType, oldId);
    if (oldParent > 0)
        event.oldParentId = EntryIdOf(MAPI_FOLDER, oldParent);
    Publish(std::move(event));
}

} // namespace mapisvc
