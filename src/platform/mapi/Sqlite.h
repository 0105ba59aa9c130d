// A thin layer over SQLite for the service's databases: connections that wait for a busy database instead of
// failing at once, prepared statements cached per connection, and transactions that roll back unless
// committed. Errors become MAPI status codes.
#pragma once

#include "platform/platform.h"

#include <chrono>
#include <unordered_map>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace mapisvc
{
HRESULT SqliteResult(int code);

// A statement in use: bind, step, read columns. A statement of the connection's cache is reset and handed back
// when the query goes out of scope; one of its own (the cached one being in use) is finalised.
class Query
{
public:
    // `inUse`: the cache's flag of a cached statement, cleared when the query ends; null for a statement of its own.
    Query(sqlite3_stmt* stmt, bool* inUse) : m_stmt(stmt), m_inUse(inUse) {}
    ~Query();
    Query(Query&& other) noexcept : m_stmt(other.m_stmt), m_inUse(other.m_inUse), m_result(other.m_result)
    {
        other.m_stmt = nullptr;
        other.m_inUse = nullptr;
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    Query& Bind(int index, int64_t value);
    Query& BindBlob(int index, std::string_view bytes);
    Query& BindText(int index, std::string_view utf8);
    Query& BindNull(int index);
    // A value of `size` zero bytes, to be written in pieces (Database::WriteBlob) once its row is in.
    Query& BindZeroBlob(int index, uint64_t size);

    // True while there is a row; at the end or on an error false (Result() tells which).
    bool Step();
    // Runs a statement that returns no rows.
    HRESULT Run();
    HRESULT Result() const { return m_result; }

    int64_t Int(int column) const;
    std::string_view Blob(int column) const;
    std::string Text(int column) const;
    bool IsNull(int column) const;

private:
    sqlite3_stmt* m_stmt;
    bool* m_inUse;
    HRESULT m_result = S_OK;
};

class Database
{
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens (creating when asked) a database in WAL mode with a busy timeout. A database this open creates gets
    // `pageSize` bytes a page (0: SQLite's default); an existing one keeps its own.
    static HRESULT Open(const std::string& path, bool create, std::unique_ptr<Database>& database, int pageSize = 0);

    HRESULT Execute(const char* sql);
    // A statement from the connection's cache, or one of its own while the cached one is in use by another query
    // (a caller still reading it); a null statement (failing every step) when it cannot be prepared.
    Query Prepare(const char* sql);
    // A piece of one value of one row read or written in place through SQLite's incremental blob I/O, so that a
    // large value never has to be held whole by SQLite or by the caller. The handle lives for the piece only: an
    // open one would hold a read transaction, and the snapshot with it, for as long as it lived.
    // MAPI_E_NOT_FOUND when there is no such row; MAPI_E_CALL_FAILED for a piece beyond the value's end.
    HRESULT ReadBlob(const char* table, const char* column, int64_t row, uint64_t offset, void* out, size_t size);
    HRESULT WriteBlob(const char* table, const char* column, int64_t row, uint64_t offset, const void* data,
                      size_t size);
    int64_t LastInsertId() const;
    int Changes() const;
    // True while a transaction is open on the connection (BEGIN without its COMMIT or ROLLBACK yet).
    bool InTransaction() const;

    // A read lease: the read transaction of a batch kept open past the call that made it, so that the reads that
    // follow at once (the messages of a table's page opened one by one) share its snapshot and take no lock
    // again. Begun inside a ReadTransaction, it keeps that one open; else it begins its own. It ends when its
    // holder ends it, and by itself before anything is written on the connection (a transaction begun, or a
    // statement that writes prepared), so a change never joins it and never works on an old snapshot, and at
    // the first statement or look at it once kLeaseLife has passed, so no read sees a snapshot older than that.
    // BeginLease gives the lease's number, 0 when none could be had (inside a change); Lease() the number of the
    // lease open now, so that what was read under one can tell whether it still holds.
    static constexpr std::chrono::seconds kLeaseLife{1};
    uint64_t BeginLease();
    void EndLease();
    uint64_t Lease();
    const std::string& Path() const { return m_path; }

private:
    friend class ReadTransaction;
    struct CachedStatement
    {
        sqlite3_stmt* stmt = nullptr;
        bool inUse = false;
    };

    Database(sqlite3* db, std::string path) : m_db(db), m_path(std::move(path)) {}
    HRESULT Configure(int pageSize);
    HRESULT SwitchToWal();
    // COMMIT of a transaction that only read, ROLLBACK if that fails: it never stays open.
    void EndRead();
    // Ends the lease before a statement that writes, or once it has lived its time.
    void EndLeaseBefore(sqlite3_stmt* stmt);
    template <class Move>
    HRESULT BlobPiece(const char* table, const char* column, int64_t row, uint64_t offset, size_t size, bool write,
                      Move move);

    sqlite3* m_db;
    std::string m_path;
    bool m_reading = false; // a ReadTransaction's transaction is open
    uint64_t m_lease = 0;   // the lease open now
    std::chrono::steady_clock::time_point m_leaseBegan;
    uint64_t m_lastLease = 0;
    // Keyed by the SQL text. The map's nodes stay where they are as it grows, so a query may hold its entry's flag.
    std::unordered_map<std::string, CachedStatement> m_statements;
};

// BEGIN IMMEDIATE ... COMMIT; rolled back when not committed.
class Transaction
{
public:
    explicit Transaction(Database& db) : m_db(db) {}
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    HRESULT Begin();
    HRESULT Commit();

private:
    Database& m_db;
    bool m_open = false;
};

// BEGIN DEFERRED ... COMMIT around a batch of reads: every statement inside sees the same snapshot, and the
// database's locks are taken once for the batch instead of once per statement. Under WAL a reader never blocks
// a writer of another process; while it lasts it only keeps their checkpoints from passing its snapshot, so a
// batch is kept to the reads of one call. Inside a transaction already open on the connection (a change that
// reads) it does nothing. Ended when it goes out of scope, on every path; declare it before the queries it
// covers, so that they are reset first.
class ReadTransaction
{
public:
    explicit ReadTransaction(Database& db);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Database& m_db;
    bool m_open = false;
};
} // namespace mapisvc
