// Reading under one transaction: a batch of reads sees one snapshot and never outlives its scope, a lease
// outlives its batch only until something is written, and values are read and written in pieces in place.
#include "platform/mapi/Sqlite.h"
#include "support/ServiceFixture.h"

#include <string>
#include <thread>

namespace
{
class SqliteReadsTest : public ServiceTest
{
protected:
    void SetUp() override
    {
        ServiceTest::SetUp();
        ASSERT_EQ(mapisvc::Database::Open(Path(), true, db), S_OK);
        ASSERT_EQ(db->Execute("CREATE TABLE number(n INTEGER); INSERT INTO number VALUES(1), (2), (3)"), S_OK);
        // Another process's connection, which never waits for a lock.
        ASSERT_EQ(mapisvc::Database::Open(Path(), false, other), S_OK);
        ASSERT_EQ(other->Execute("PRAGMA busy_timeout=0"), S_OK);
    }

    std::string Path() const { return Home() + "/reads.db"; }

    static int64_t Count(mapisvc::Database& database)
    {
        mapisvc::Query query = database.Prepare("SELECT COUNT(*) FROM number");
        return query.Step() ? query.Int(0) : -1;
    }

    // True when the other connection could move the whole write-ahead log into the database and empty it,
    // which no reader of an older snapshot allows.
    bool OtherCanCheckpointEverything()
    {
        mapisvc::Query query = other->Prepare("PRAGMA wal_checkpoint(TRUNCATE)");
        return query.Step() && query.Int(0) == 0;
    }

    std::unique_ptr<mapisvc::Database> db;
    std::unique_ptr<mapisvc::Database> other;
};

TEST_F(SqliteReadsTest, BatchReadsOneSnapshotWhileAnotherConnectionWrites)
{
    {
        mapisvc::ReadTransaction batch(*db);
        EXPECT_EQ(Count(*db), 3);
        EXPECT_EQ(other->Execute("INSERT INTO number VALUES(4)"), S_OK); // the writer does not wait
        EXPECT_EQ(Count(*db), 3);
        EXPECT_FALSE(OtherCanCheckpointEverything());
    }
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Count(*db), 4);
    EXPECT_TRUE(OtherCanCheckpointEverything());
}

TEST_F(SqliteReadsTest, BatchEndsAfterAFailedStep)
{
    {
        mapisvc::ReadTransaction batch(*db);
        EXPECT_EQ(Count(*db), 3);
        mapisvc::Query failing = db->Prepare("SELECT n FROM missing_table");
        EXPECT_FALSE(failing.Step());
        EXPECT_NE(failing.Result(), S_OK);
    }
    EXPECT_FALSE(db->InTransaction());
    mapisvc::Transaction change(*db);
    ASSERT_EQ(change.Begin(), S_OK);
    ASSERT_EQ(db->Execute("INSERT INTO number VALUES(9)"), S_OK);
    EXPECT_EQ(change.Commit(), S_OK);
    EXPECT_EQ(Count(*other), 4);
}

TEST_F(SqliteReadsTest, BatchInsideAChangeLeavesTheChangeOpen)
{
    mapisvc::Transaction change(*db);
    ASSERT_EQ(change.Begin(), S_OK);
    ASSERT_EQ(db->Execute("INSERT INTO number VALUES(4)"), S_OK);
    {
        mapisvc::ReadTransaction batch(*db);
        EXPECT_EQ(Count(*db), 4);
    }
    EXPECT_TRUE(db->InTransaction());
    EXPECT_EQ(change.Commit(), S_OK);
    EXPECT_EQ(Count(*other), 4);
}

TEST_F(SqliteReadsTest, LeaseBegunInABatchOutlivesItUntilAStatementWrites)
{
    uint64_t lease = 0;
    {
        mapisvc::ReadTransaction batch(*db);
        EXPECT_EQ(Count(*db), 3);
        lease = db->BeginLease();
    }
    ASSERT_NE(lease, 0u);
    EXPECT_EQ(db->Lease(), lease);
    ASSERT_EQ(other->Execute("INSERT INTO number VALUES(4)"), S_OK);
    EXPECT_EQ(Count(*db), 3); // still the batch's snapshot
    // A change never joins the lease, nor works on its snapshot.
    EXPECT_EQ(db->Prepare("INSERT INTO number VALUES(5)").Run(), S_OK);
    EXPECT_EQ(db->Lease(), 0u);
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(Count(*other), 5);
    EXPECT_TRUE(OtherCanCheckpointEverything());
}

TEST_F(SqliteReadsTest, LeaseEndsWhenAChangeBeginsOrItsHolderEndsIt)
{
    const uint64_t first = db->BeginLease();
    ASSERT_NE(first, 0u);
    EXPECT_EQ(Count(*db), 3);
    mapisvc::Transaction change(*db);
    ASSERT_EQ(change.Begin(), S_OK);
    EXPECT_EQ(db->Lease(), 0u);
    ASSERT_EQ(change.Commit(), S_OK);

    const uint64_t second = db->BeginLease();
    EXPECT_NE(second, first); // what was read under the first can tell it is gone
    EXPECT_EQ(Count(*db), 3);
    db->EndLease();
    EXPECT_FALSE(db->InTransaction());
    EXPECT_TRUE(OtherCanCheckpointEverything());
}

TEST_F(SqliteReadsTest, LeaseThatHasLivedItsTimeEndsAtTheNextStatement)
{
    ASSERT_NE(db->BeginLease(), 0u);
    EXPECT_EQ(Count(*db), 3);
    ASSERT_EQ(other->Execute("INSERT INTO number VALUES(4)"), S_OK);
    std::this_thread::sleep_for(mapisvc::Database::kLeaseLife + std::chrono::milliseconds(100));
    EXPECT_EQ(Count(*db), 4); // read afresh, not from the lease's snapshot
    EXPECT_EQ(db->Lease(), 0u);
    EXPECT_FALSE(db->InTransaction());
}

TEST_F(SqliteReadsTest, NoLeaseInsideAChange)
{
    mapisvc::Transaction change(*db);
    ASSERT_EQ(change.Begin(), S_OK);
    EXPECT_EQ(db->BeginLease(), 0u);
    ASSERT_EQ(db->Execute("INSERT INTO number VALUES(4)"), S_OK);
    EXPECT_EQ(change.Commit(), S_OK);
    EXPECT_EQ(Count(*other), 4);
}

class SqliteBlobTest : public SqliteReadsTest
{
protected:
    void SetUp() override
    {
        SqliteReadsTest::SetUp();
        ASSERT_EQ(db->Execute("CREATE TABLE value(id INTEGER PRIMARY KEY, data BLOB)"), S_OK);
    }

    // A row of `size` zero bytes, filled from `bytes` in pieces of `piece`.
    int64_t WriteInPieces(const std::string& bytes, size_t piece)
    {
        EXPECT_EQ(db->Prepare("INSERT INTO value(data) VALUES(?)").BindZeroBlob(1, bytes.size()).Run(), S_OK);
        const int64_t row = db->LastInsertId();
        for (size_t offset = 0; offset < bytes.size(); offset += piece)
        {
            const size_t size = std::min(piece, bytes.size() - offset);
            EXPECT_EQ(db->WriteBlob("value", "data", row, offset, bytes.data() + offset, size), S_OK);
        }
        return row;
    }

    std::string ReadWhole(int64_t row)
    {
        mapisvc::Query query = db->Prepare("SELECT data FROM value WHERE id = ?");
        return query.Bind(1, row).Step() ? std::string(query.Blob(0)) : std::string("(none)");
    }
};

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 31 + i / 251);
    return bytes;
}

TEST_F(SqliteBlobTest, ValueWrittenInPiecesReadsBackWholeAndInPieces)
{
    const size_t piece = 1000;
    for (size_t size : {size_t(0), size_t(1), piece - 1, piece, piece + 1, 3 * piece + 7})
    {
        SCOPED_TRACE(size);
        const std::string bytes = Pattern(size);
        const int64_t row = WriteInPieces(bytes, piece);
        EXPECT_TRUE(ReadWhole(row) == bytes);
        std::string read(size, '\x55');
        for (size_t offset = 0; offset < size; offset += 333)
        {
            const size_t count = std::min<size_t>(333, size - offset);
            ASSERT_EQ(db->ReadBlob("value", "data", row, offset, &read[offset], count), S_OK);
        }
        EXPECT_TRUE(read == bytes);
        // Nothing to read at the very end is still a read.
        EXPECT_EQ(db->ReadBlob("value", "data", row, size, nullptr, 0), S_OK);
    }
}

TEST_F(SqliteBlobTest, PiecesBeyondTheValueOrOfNoRowFail)
{
    const int64_t row = WriteInPieces(Pattern(10), 4);
    char buffer[8] = {};
    EXPECT_EQ(db->ReadBlob("value", "data", row, 8, buffer, 3), MAPI_E_CALL_FAILED);
    EXPECT_EQ(db->WriteBlob("value", "data", row, 9, buffer, 2), MAPI_E_CALL_FAILED);
    EXPECT_EQ(db->ReadBlob("value", "data", row + 1, 0, buffer, 1), MAPI_E_NOT_FOUND);
    EXPECT_EQ(db->ReadBlob("value", "data", row, uint64_t(1) << 40, buffer, 1), MAPI_E_CALL_FAILED);
    // The value is as it was, and no piece left a transaction open.
    EXPECT_TRUE(ReadWhole(row) == Pattern(10));
    EXPECT_FALSE(db->InTransaction());
    EXPECT_TRUE(OtherCanCheckpointEverything());
}
} // namespace
