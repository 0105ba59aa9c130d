// A store database made whole or not at all, reserved message ids that a killed process never saved, and the page
// size a new store is made with while an older store keeps its own.
#include "platform/mapi/StoreDatabase.h"
#include "support/ServiceFixture.h"

#include <cstdio>
#include <cstring>

namespace
{
class StoreDatabaseTest : public ServiceTest
{
protected:
    std::string StorePath() const { return Home() + "/store.db"; }

    // A value of the store's file, read on a connection of its own.
    int64_t Count(const char* sql)
    {
        std::unique_ptr<mapisvc::Database> db;
        EXPECT_EQ(mapisvc::Database::Open(StorePath(), false, db), S_OK);
        if (!db)
            return -1;
        mapisvc::Query query = db->Prepare(sql);
        return query.Step() ? query.Int(0) : -1;
    }
};

TEST_F(StoreDatabaseTest, CreateThatCannotWriteItsIdentityLeavesNothingCommitted)
{
    // A file whose meta table refuses one of the store's own values, as a full disk or a damaged file would.
    for (const char* refused : {"uid", "unicode", "role2"})
    {
        SCOPED_TRACE(refused);
        std::remove(StorePath().c_str());
        {
            std::unique_ptr<mapisvc::Database> db;
            ASSERT_EQ(mapisvc::Database::Open(StorePath(), true, db), S_OK);
            const std::string trigger =
                std::string("CREATE TABLE meta(key TEXT PRIMARY KEY, value BLOB); "
                            "CREATE TRIGGER refuse BEFORE INSERT ON meta WHEN NEW.key = '") +
                refused + "' BEGIN SELECT RAISE(ABORT, 'refused'); END";
            ASSERT_EQ(db->Execute(trigger.c_str()), S_OK);
        }
        EXPECT_NE(mapisvc::StoreDatabase::Create(StorePath(), mapisvc::NewMAPIUID(), false, true), S_OK);
        EXPECT_EQ(Count("SELECT COUNT(*) FROM meta"), 0);
        EXPECT_EQ(Count("SELECT COUNT(*) FROM object"), 0);
        std::shared_ptr<mapisvc::StoreDatabase> store;
        EXPECT_EQ(mapisvc::StoreDatabase::Open(StorePath(), store), MAPI_E_CORRUPT_DATA);
    }
}

TEST_F(StoreDatabaseTest, CreatedAnsiStoreOpensAsAnsi)
{
    const MAPIUID uid = mapisvc::NewMAPIUID();
    ASSERT_EQ(mapisvc::StoreDatabase::Create(StorePath(), uid, false, true), S_OK);
    std::shared_ptr<mapisvc::StoreDatabase> store;
    ASSERT_EQ(mapisvc::StoreDatabase::Open(StorePath(), store), S_OK);
    EXPECT_FALSE(store->Unicode());
    EXPECT_EQ(std::memcmp(store->Uid().ab, uid.ab, 16), 0);
    EXPECT_NE(store->RoleFolder(mapisvc::FolderRole::Contacts), 0);
}

TEST_F(StoreDatabaseTest, IdsReservedAndNeverSavedAreReclaimedAtTheNextOpen)
{
    ASSERT_EQ(mapisvc::StoreDatabase::Create(StorePath(), mapisvc::NewMAPIUID(), true, true), S_OK);
    int64_t first = 0, second = 0;
    {
        std::shared_ptr<mapisvc::StoreDatabase> store;
        ASSERT_EQ(mapisvc::StoreDatabase::Open(StorePath(), store), S_OK);
        ASSERT_EQ(store->ReserveMessageId(first), S_OK);
        ASSERT_EQ(store->ReserveMessageId(second), S_OK);
        // Closed without a save or a release, as a killed process leaves it.
    }
    EXPECT_EQ(Count("SELECT COUNT(*) FROM object WHERE type = 0"), 2);
    std::shared_ptr<mapisvc::StoreDatabase> store;
    ASSERT_EQ(mapisvc::StoreDatabase::Open(StorePath(), store), S_OK);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM object WHERE type = 0"), 0);
    // A reclaimed id is never handed out again.
    int64_t next = 0;
    ASSERT_EQ(store->ReserveMessageId(next), S_OK);
    EXPECT_GT(next, second);
    store->ReleaseMessageId(next);
}

TEST_F(StoreDatabaseTest, ReservationOfAnotherConnectionStillSavesAfterAReclaim)
{
    ASSERT_EQ(mapisvc::StoreDatabase::Create(StorePath(), mapisvc::NewMAPIUID(), true, true), S_OK);
    std::shared_ptr<mapisvc::StoreDatabase> store;
    ASSERT_EQ(mapisvc::StoreDatabase::Open(StorePath(), store), S_OK);
    int64_t id = 0;
    ASSERT_EQ(store->ReserveMessageId(id), S_OK);
    {
        // Another process's first open of the store removes the placeholder row.
        std::unique_ptr<mapisvc::Database> other;
        ASSERT_EQ(mapisvc::Database::Open(StorePath(), false, other), S_OK);
        ASSERT_EQ(other->Execute("DELETE FROM object WHERE type = 0"), S_OK);
    }
    mapisvc::PropertyBag props;
    mapisvc::MessageSave save;
    save.id = id;
    save.folder = store->RoleFolder(mapisvc::FolderRole::Inbox);
    save.isNew = true;
    save.props = &props;
    ASSERT_EQ(store->SaveMessage(save), S_OK);
    mapisvc::ObjectRecord record;
    ASSERT_EQ(store->LoadObject(id, record), S_OK);
    EXPECT_EQ(record.type, static_cast<ULONG>(MAPI_MESSAGE));
}

TEST_F(StoreDatabaseTest, NewStorePacksRowsIntoLargerPages)
{
    ASSERT_EQ(mapisvc::StoreDatabase::Create(StorePath(), mapisvc::NewMAPIUID(), true, true), S_OK);
    EXPECT_EQ(Count("PRAGMA page_size"), 16384);
    std::unique_ptr<mapisvc::Database> db;
    ASSERT_EQ(mapisvc::Database::Open(StorePath(), false, db), S_OK);
    mapisvc::Query mode = db->Prepare("PRAGMA journal_mode");
    ASSERT_TRUE(mode.Step());
    EXPECT_EQ(mode.Text(0), "wal") << "the page size is set without giving up WAL mode";
}

TEST_F(StoreDatabaseTest, OlderStoreKeepsItsPageSizeThroughOpensAndSaves)
{
    const MAPIUID uid = mapisvc::NewMAPIUID();
    ASSERT_EQ(mapisvc::StoreDatabase::Create(StorePath(), uid, true, true), S_OK);
    {
        // As stores were made before: SQLite's default page.
        std::unique_ptr<mapisvc::Database> db;
        ASSERT_EQ(mapisvc::Database::Open(StorePath(), false, db), S_OK);
        ASSERT_EQ(db->Execute("PRAGMA journal_mode=DELETE; PRAGMA page_size=4096; VACUUM; PRAGMA journal_mode=WAL"),
                  S_OK);
    }
    ASSERT_EQ(Count("PRAGMA page_size"), 4096);
    {
        std::shared_ptr<mapisvc::StoreDatabase> store;
        ASSERT_EQ(mapisvc::StoreDatabase::Open(StorePath(), store), S_OK);
        EXPECT_EQ(std::memcmp(store->Uid().ab, uid.ab, 16), 0);
        mapisvc::PropertyBag props;
        int64_t folder = 0;
        ASSERT_EQ(store->CreateFolder(store->RoleFolder(mapisvc::FolderRole::IpmSubtree), props, folder), S_OK);
    }
    EXPECT_EQ(Count("PRAGMA page_size"), 4096);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM object WHERE type = 3 AND id = (SELECT MAX(id) FROM object)"), 1);
}
} // namespace
