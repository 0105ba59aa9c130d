// One message store: a SQLite database in WAL mode holding the store's folders and messages (one row each, its
// properties in one blob), attachments and recipients (one row each), values too large for a blob, and the
// store's named properties. A process opens each store file once; every session and object of the process
// shares that connection under the store's lock. Other processes open their own and see saved changes.
//
// Every change is one transaction: a message's save writes its properties, attachments, recipients and large
// values together, so a killed process leaves either the whole save or none of it.
#pragma once

#include "platform/mapi/EntryId.h"
#include "platform/mapi/NamedProps.h"
#include "platform/mapi/Notifier.h"
#include "platform/mapi/PropertyBag.h"
#include "platform/mapi/Sqlite.h"
#include "platform/mapi/StoredFolders.h"
#include "platform/mapi/StoredValue.h"

#include <map>
#include <unistd.h>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace mapisvc
{
// The folders a store knows by role.
enum class FolderRole
{
    Root,
    IpmSubtree,
    Inbox,
    Outbox,
    SentItems,
    DeletedItems,
    Drafts,
    Calendar,
    Contacts,
    Tasks,
    Notes,
    Journal,
    Count
};

struct ObjectRecord
{
    int64_t id = 0;
    ULONG type = 0; // MAPI_FOLDER or MAPI_MESSAGE
    int64_t parent = 0;
    LONG flags = 0; // PR_MESSAGE_FLAGS of a message
    ULONG attachSeq = 0;
    ULONG recipSeq = 0;
    PropertyBag props;
};

// How many children of one kind a folder has; `unread` counts messages without MSGFLAG_READ.
struct ChildCounts
{
    ULONG count = 0;
    ULONG unread = 0;
};

struct SubRecord // an attachment (key: PR_ATTACH_NUM) or a recipient (key: PR_ROWID)
{
    ULONG key = 0;
    PropertyBag props;
};

// What a message's save writes.
struct MessageSave
{
    int64_t id = 0;
    int64_t folder = 0;
    bool isNew = false;
    LONG flags = 0;
    ULONG attachSeq = 0;
    ULONG recipSeq = 0;
    const PropertyBag* props = nullptr;
    std::vector<const SubRecord*> savedAttachments;
    std::vector<ULONG> deletedAttachments;
    const std::vector<SubRecord>* recipients = nullptr; // null: unchanged
    bool publish = true;                                // false: the caller announces the change itself
};

// A message read whole: its row, attachments and recipients, every value kept out of line loaded.
struct WholeMessage
{
    ObjectRecord record;
    std::vector<SubRecord> attachments;
    std::vector<SubRecord> recipients;
};

class StoreDatabase
{
public:
    // The reads of one call (a page of a table, a message with its parts) made under the store's lock and one
    // read transaction: one snapshot, one taking of the database's locks. No change may be made while it lives.
    class ReadBatch
    {
    public:
        explicit ReadBatch(StoreDatabase& store) : m_lock(store.m_mutex), m_transaction(*store.m_db) {}

    private:
        std::unique_lock<std::recursive_mutex> m_lock;
        ReadTransaction m_transaction;
    };

    // Creates a new store file with its root folder, IPM subtree and, when asked, the standard folders and the
    // well-known named properties.
    static HRESULT Create(const std::string& path, const MAPIUID& uid, bool unicode, bool standardFolders,
                          bool wellKnownNames = true);
    // The process's connection to an existing store file. MAPI_E_NOT_FOUND when there is no file,
    // MAPI_E_CORRUPT_DATA (and a trace line) when the file is empty, cut short or not a store.
    static HRESULT Open(const std::string& path, std::shared_ptr<StoreDatabase>& store);
    // Deletes a store file now, or when the process's last user of it lets it go.
    static void DeleteFile(const std::string& path);
    ~StoreDatabase();

    std::unique_lock<std::recursive_mutex> Lock() { return std::unique_lock<std::recursive_mutex>(m_mutex); }
    const MAPIUID& Uid() const { return m_uid; }
    bool Unicode() const { return m_unicode; }
    int64_t RoleFolder(FolderRole role) const { return m_roles[static_cast<size_t>(role)]; }
    // Gives a folder a role (a store made without the standard folders names its own, as an import does).
    HRESULT SetRoleFolder(FolderRole role, int64_t id);
    NamedProps& Names() { return *m_names; }
    Notifier& Notifications() { return m_notifier; }

    Bytes EntryIdOf(ULONG type, int64_t id, bool shortTerm = false) const;

    // ---- Objects
    HRESULT LoadObject(int64_t id, ObjectRecord& record, const std::vector<ULONG>* wanted = nullptr);
    HRESULT ReserveMessageId(int64_t& id);
    void ReleaseMessageId(int64_t id);
    HRESULT CreateFolder(int64_t parent, const PropertyBag& props, int64_t& id);
    HRESULT SaveFolderProps(int64_t id, const PropertyBag& props);
    HRESULT FindChildFolder(int64_t parent, std::u16string_view name, int64_t& id);
    HRESULT ChildFolders(int64_t parent, std::vector<ObjectRecord>& folders);
    // The sub-folders of `parent`, or every folder below it a level at a time (StoredFolders); a folder whose
    // parents run in a circle is listed once.
    HRESULT FoldersBelow(int64_t parent, bool allLevels, StoredFolders& folders);
    HRESULT CountMessages(int64_t folder, ULONG& count, ULONG& unread);
    // The count alone, taken from the index without reading a message.
    HRESULT CountMessages(int64_t folder, ULONG& count);
    HRESULT HasSubfolders(int64_t folder, bool& has);
    // The children of type `childType` (MAPI_MESSAGE or MAPI_FOLDER) of each of `folders`, in one grouped query;
    // a folder without such children is left out.
    HRESULT CountChildrenOf(const std::vector<int64_t>& folders, ULONG childType,
                            std::map<int64_t, ChildCounts>& counts);
    // The same for every folder of the store, in one pass over the index rather than a seek per folder: cheaper
    // for a list of folders that is a large part of the store (see ObjectsAtMost).
    HRESULT CountChildrenOfAll(ULONG childType, std::map<int64_t, ChildCounts>& counts);
    // At most how many folders and messages the store holds: its highest id, found at the end of the table.
    HRESULT ObjectsAtMost(int64_t& count);
    // A value kept out of line (part 0: the message's own, n + 1: attachment n's), whole or to be read in pieces.
    HRESULT LoadLargeValue(int64_t owner, ULONG part, ULONG propId, std::string& data);
    HRESULT OpenLargeValue(int64_t owner, ULONG part, ULONG propId, std::unique_ptr<StoredValue>& value);

    // Messages of a folder in id order after `afterId`, at most `limit`.
    HRESULT ScanMessages(int64_t folder, int64_t afterId, size_t limit, const std::vector<ULONG>* wanted,
                         std::vector<ObjectRecord>& messages);
    // ScanMessages for a page of a table whose messages are about to be opened one by one: the rows are read
    // under a read lease (Database::BeginLease) and kept whole, so that opening each of them (LoadObject) reads
    // it from the same snapshot without a statement or a lock. The page ends when its last row is opened, when
    // `owner` reads its next page or calls EndPage, or when its lease ends (anything written, or its time up).
    HRESULT ScanPage(const void* owner, int64_t folder, int64_t afterId, size_t limit, const std::vector<ULONG>* wanted,
                     std::vector<ObjectRecord>& messages);
    // Ends the page `owner` read, if it is still the store's page.
    void EndPage(const void* owner);
    HRESULT LoadAttachments(int64_t message, std::vector<SubRecord>& attachments);
    HRESULT LoadRecipients(int64_t message, std::vector<SubRecord>& recipients);
    HRESULT CountAttachments(int64_t message, ULONG& count);
    // MAPI_E_NOT_FOUND unless `id` is a saved message.
    HRESULT LoadWholeMessage(int64_t id, WholeMessage& message);

    // ---- The outgoing queue (StoreQueue.cpp): the messages submitted (MSGFLAG_SUBMIT) and not yet delivered.
    HRESULT QueuedMessages(std::vector<int64_t>& ids);
    // Ends a queued message's submission once it is delivered: filed into `sentFolder` as sent (neither unsent nor
    // submitted, read, its delivery time set when it has none), or deleted when `sentFolder` is 0. One
    // transaction; MAPI_E_NOT_IN_QUEUE when the message is no longer queued.
    HRESULT FinishSubmission(int64_t id, int64_t sentFolder);

    // ---- Changes (each one transaction; notifications follow the commit)
    HRESULT SaveMessage(const MessageSave& save);
    HRESULT DeleteMessage(int64_t id, int64_t folder);
    HRESULT MoveMessage(int64_t id, int64_t fromFolder, int64_t toFolder);
    HRESULT CopyMessage(int64_t id, int64_t fromFolder, StoreDatabase& target, int64_t toFolder, int64_t& newId);
    HRESULT SetMessageFlags(int64_t id, LONG set, LONG clear, bool& changed);
    // `spare`: a folder to leave standing should it lie below `id`, which only a damaged store's circle of
    // parents makes happen (the folder being emptied, see DeleteFoldersBelow).
    HRESULT DeleteFolder(int64_t id, ULONG flags, int64_t spare = 0);
    // Deletes every folder below `id` with its messages, but never `id` itself, however its parents run.
    HRESULT DeleteFoldersBelow(int64_t id);

    // Properties kept for the store object itself.
    // The store's own values kept out of line lie under this owner, which no object row has.
    static constexpr int64_t kStoreOwner = 0;
    HRESULT LoadStoreProps(PropertyBag& props);
    HRESULT SaveStoreProps(const PropertyBag& props);

    const std::string& Path() const { return m_path; }

private:
    StoreDatabase(std::string path, std::unique_ptr<Database> db);
    // Opens and checks the file; the result is not listed among the process's open stores yet.
    static HRESULT Load(const std::string& path, std::shared_ptr<StoreDatabase>& opened);
    // MAPI_E_CORRUPT_DATA when a stored value is missing or not what the store wrote.
    HRESULT ReadMeta();
    // Deletes the placeholder rows of reserved ids.
    HRESULT ReclaimReservedIds();
    // The message rows of the last page that ScanPage read and that are not opened yet.
    struct Page
    {
        const void* owner = nullptr;
        uint64_t lease = 0;
        std::unordered_map<int64_t, std::pair<ObjectRecord, std::string>> rows; // the record without props; the blob
    };

    template <class Visit> HRESULT ScanMessageRows(int64_t folder, int64_t afterId, size_t limit, Visit visit);
    // The record of `id` from the page, if the page is still under its lease.
    bool TakePageRow(int64_t id, ObjectRecord& record, const std::vector<ULONG>* wanted);
    void ClearPage();
    // `fresh`: the owner has nothing stored yet.
    HRESULT SyncLargeValues(int64_t owner, ULONG part, const PropertyBag& props, bool fresh);
    // Writes a value out of line in pieces, under a row id no value had before (see OpenLargeValue).
    HRESULT WriteLargeValue(int64_t owner, ULONG part, ULONG propId, std::string_view data);
    // A piece of the value of `row`, provided `row` still holds the value of that owner, part and property.
    HRESULT ReadLargeValuePiece(int64_t owner, ULONG part, ULONG propId, int64_t row, uint64_t offset, void* out,
                                size_t size);
    friend class LargeValueInStore;
    // The saved attachments' rows, each with its large values (part: attachment number + 1).
    HRESULT SaveAttachments(const MessageSave& save);
    HRESULT DeleteMessageRows(int64_t id);
    // Appends the sub-folders of the folders of `parents` (ids as a JSON array): the first level below a folder
    // when there are no rows yet, else the level below rows [first, end of the rows), whose runs it sets.
    HRESULT ReadLevel(const std::string& parents, size_t first, StoredFolders& folders);
    // Appends the sub-folders of every folder of `parents` (ids as a JSON array), in one statement, grouped by
    // parent in the order of the list.
    HRESULT ChildFoldersOf(const std::string& parents, StoredFolders& folders);
    // How many sub-folders the folders of `parents` have together, from the index alone, counted up to `limit`.
    HRESULT CountChildFolders(const std::string& parents, int64_t limit, int64_t& count);
    // Every folder below `top`, picked from one sequential read of all the store's folders, of which there are at
    // most `objects`.
    HRESULT FoldersBelowFromAll(int64_t top, size_t objects, StoredFolders& folders);
    // The count a one-parameter COUNT(*) query gives for `owner`.
    HRESULT CountRows(const char* sql, int64_t owner, ULONG& count);
    // The attachments or recipients of a message: `sql` selects their key and properties in key order.
    HRESULT LoadSubRecords(const char* sql, int64_t message, std::vector<SubRecord>& records);
    void Publish(ULONG eventType, ULONG objectType, int64_t id, int64_t parent, int64_t oldId = 0,
                 int64_t oldParent = 0);
    void Publish(StoreEvent event) { m_notifier.Publish({std::move(event)}); }

    std::string m_path;
    bool m_listed = false; // among the process's open stores, which its destructor then updates
    // SQLite's file locks belong to the process that opened the file: a child made by fork() opens its own.
    pid_t m_owner = getpid();
    std::unique_ptr<Database> m_db;
    std::recursive_mutex m_mutex;
    MAPIUID m_uid{};
    bool m_unicode = true;
    int64_t m_roles[static_cast<size_t>(FolderRole::Count)] = {};
    std::unique_ptr<NamedProps> m_names;
    Page m_page;
    Notifier m_notifier;
};
} // namespace mapisvc
