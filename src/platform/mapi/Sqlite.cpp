#include "platform/mapi/Sqlite.h"

#include <cstdlib>
#include <limits>
#include <sqlite3.h>
#include <strings.h>

namespace mapisvc
{
namespace
{
constexpr int kBusyTimeoutMilliseconds = 15000;

// A store is read at random (one message here, one there): a page cache of up to 64 MB and reads through a
// memory map keep a large store about as fast per message as a small one.
const char* const kCachePragmas = "PRAGMA cache_size=-65536; PRAGMA mmap_size=1073741824";

// How hard commits are made durable: NORMAL keeps every committed save across a killed process (the WAL is
// written before the commit returns); FULL also across a power cut. MAPIPIM_SYNCHRONOUS overrides.
const char* SynchronousPragma()
{
    const char* mode = std::getenv("MAPIPIM_SYNCHRONOUS");
    if (mode && strcasecmp(mode, "FULL") == 0)
        return "PRAGMA synchronous=FULL";
    if (mode && strcasecmp(mode, "OFF") == 0)
        return "PRAGMA synchronous=OFF";
    return "PRAGMA synchronous=NORMAL";
}
} // namespace

HRESULT SqliteResult(int code)
{
    switch (code & 0xFF)
    {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return S_OK;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return MAPI_E_BUSY;
    case SQLITE_NOMEM:
        return MAPI_E_NOT_ENOUGH_MEMORY;
    case SQLITE_FULL:
        return MAPI_E_NOT_ENOUGH_DISK;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return MAPI_E_CORRUPT_STORE;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return MAPI_E_DISK_ERROR;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return MAPI_E_NO_ACCESS;
    default:
        return MAPI_E_CALL_FAILED;
    }
}

Query::~Query()
{
    if (!m_stmt)
        return;
    if (!m_inUse)
    {
        sqlite3_finalize(m_stmt);
        return;
    }
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    *m_inUse = false;
}

Query& Query::Bind(int index, int64_t value)
{
    if (m_stmt)
        sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

Query& Query::BindBlob(int index, std::string_view bytes)
{
    if (m_stmt)
        sqlite3_bind_blob64(m_stmt, index, bytes.empty() ? "" : bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    return *this;
}

Query& Query::BindText(int index, std::string_view utf8)
{
    if (m_stmt)
        sqlite3_bind_text64(m_stmt, index, utf8.data(), utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    return *this;
}

Query& Query::BindNull(int index)
{
    if (m_stmt)
        sqlite3_bind_null(m_stmt, index);
    return *this;
}

Query& Query::BindZeroBlob(int index, uint64_t size)
{
    if (m_stmt)
        sqlite3_bind_zeroblob64(m_stmt, index, size);
    return *this;
}

bool Query::Step()
{
    if (!m_stmt)
    {
        m_result = MAPI_E_CALL_FAILED;
        return false;
    }
    const int code = sqlite3_step(m_stmt);
    if (code == SQLITE_ROW)
        return true;
    m_result = SqliteResult(code);
    return false;
}

HRESULT Query::Run()
{
    while (Step())
    {
    }
    return m_result;
}

int64_t Query::Int(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

std::string_view Query::Blob(int column) const
{
    const void* data = sqlite3_column_blob(m_stmt, column);
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data ? std::string_view(static_cast<const char*>(data), static_cast<size_t>(size)) : std::string_view();
}

std::string Query::Text(int column) const
{
    const unsigned char* text = sqlite3_column_text(m_stmt, column);
    return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(m_stmt, column))
                : std::string();
}

bool Query::IsNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

Database::~Database()
{
    for (auto& entry : m_statements)
        sqlite3_finalize(entry.second.stmt);
    sqlite3_close(m_db);
}

HRESULT Database::Open(const std::string& path, bool create, std::unique_ptr<Database>& database, int pageSize)
{
    database.reset();
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int code = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (code != SQLITE_OK)
    {
        sqlite3_close(db);
        return SqliteResult(code);
    }
    // Owned from here, so that a connection that cannot be set up is closed again.
    std::unique_ptr<Database> opened(new Database(db, path));
    if (HRESULT hr = opened->Configure(pageSize))
        return hr;
    database = std::move(opened);
    return S_OK;
}

HRESULT Database::Configure(int pageSize)
{
    sqlite3_busy_timeout(m_db, kBusyTimeoutMilliseconds);
    sqlite3_extended_result_codes(m_db, 1);
    // Before WAL mode, which fixes the page size of a new database; a no-op for one that has pages already.
    if (pageSize)
        if (HRESULT hr = Execute(("PRAGMA page_size=" + std::to_string(pageSize)).c_str()))
            return hr;
    if (HRESULT hr = SwitchToWal())
        return hr;
    if (HRESULT hr = Execute(kCachePragmas))
        return hr;
    return Execute(SynchronousPragma());
}

HRESULT Database::SwitchToWal()
{
    // Processes that open a new file together all try to switch it, and SQLite answers the losers busy at once,
    // without its busy handler; a file switched already answers at once. So the wait is ours, as long as the
    // handler's would be.
    constexpr int kStepMilliseconds = 5;
    HRESULT hr = Execute("PRAGMA journal_mode=WAL");
    for (int waited = 0; hr == MAPI_E_BUSY && waited < kBusyTimeoutMilliseconds; waited += kStepMilliseconds)
    {
        sqlite3_sleep(kStepMilliseconds);
        hr = Execute("PRAGMA journal_mode=WAL");
    }
    return hr;
}

HRESULT Database::Execute(const char* sql)
{
    return SqliteResult(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr));
}

Query Database::Prepare(const char* sql)
{
    CachedStatement& cached = m_statements[sql];
    if (cached.stmt && !cached.inUse)
    {
        EndLeaseBefore(cached.stmt);
        cached.inUse = true;
        return Query(cached.stmt, &cached.inUse);
    }
    sqlite3_stmt* stmt = nullptr;
    const unsigned int flags = cached.stmt ? 0 : SQLITE_PREPARE_PERSISTENT;
    if (sqlite3_prepare_v3(m_db, sql, -1, flags, &stmt, nullptr) != SQLITE_OK)
    {
        sqlite3_finalize(stmt);
        return Query(nullptr, nullptr);
    }
    EndLeaseBefore(stmt);
    if (cached.stmt)
        return Query(stmt, nullptr);
    cached.stmt = stmt;
    cached.inUse = true;
    return Query(stmt, &cached.inUse);
}

HRESULT Database::ReadBlob(const char* table, const char* column, int64_t row, uint64_t offset, void* out, size_t size)
{
    return BlobPiece(table, column, row, offset, size, false,
                     [out](sqlite3_blob* blob, int count, int at) { return sqlite3_blob_read(blob, out, count, at); });
}

HRESULT Database::WriteBlob(const char* table, const char* column, int64_t row, uint64_t offset, const void* data,
                            size_t size)
{
    return BlobPiece(table, column, row, offset, size, true,
                     [data](sqlite3_blob* blob, int count, int at)
                     { return sqlite3_blob_write(blob, data, count, at); });
}

template <class Move>
HRESULT Database::BlobPiece(const char* table, const char* column, int64_t row, uint64_t offset, size_t size,
                            bool write, Move move)
{
    // SQLite counts a value's bytes in an int.
    constexpr uint64_t kLimit = std::numeric_limits<int>::max();
    if (offset > kLimit || size > kLimit - offset)
        return MAPI_E_CALL_FAILED;
    sqlite3_blob* blob = nullptr;
    const int opened = sqlite3_blob_open(m_db, "main", table, column, row, write ? 1 : 0, &blob);
    if (opened != SQLITE_OK)
        return (opened & 0xFF) == SQLITE_ERROR ? MAPI_E_NOT_FOUND : SqliteResult(opened);
    const int moved = move(blob, static_cast<int>(size), static_cast<int>(offset));
    const int closed = sqlite3_blob_close(blob);
    return SqliteResult(moved != SQLITE_OK ? moved : closed);
}

void Database::EndLeaseBefore(sqlite3_stmt* stmt)
{
    if (m_lease && (!sqlite3_stmt_readonly(stmt) || !Lease()))
        EndLease();
}

int64_t Database::LastInsertId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int Database::Changes() const
{
    return sqlite3_changes(m_db);
}

bool Database::InTransaction() const
{
    return sqlite3_get_autocommit(m_db) == 0;
}

uint64_t Database::BeginLease()
{
    EndLease();
    if (InTransaction() && !m_reading)
        return 0;
    if (!InTransaction() && Execute("BEGIN DEFERRED") != S_OK)
        return 0;
    m_lease = ++m_lastLease;
    m_leaseBegan = std::chrono::steady_clock::now();
    return m_lease;
}

uint64_t Database::Lease()
{
    if (m_lease && std::chrono::steady_clock::now() - m_leaseBegan > kLeaseLife)
        EndLease();
    return m_lease;
}

void Database::EndLease()
{
    if (!m_lease)
        return;
    m_lease = 0;
    if (!m_reading)
        EndRead();
}

void Database::EndRead()
{
    if (InTransaction() && Execute("COMMIT") != S_OK)
        Execute("ROLLBACK");
}

Transaction::~Transaction()
{
    if (m_open)
        m_db.Execute("ROLLBACK");
}

HRESULT Transaction::Begin()
{
    m_db.EndLease();
    HRESULT hr = m_db.Execute("BEGIN IMMEDIATE");
    m_open = hr == S_OK;
    return hr;
}

HRESULT Transaction::Commit()
{
    HRESULT hr = m_db.Execute("COMMIT");
    if (hr == S_OK)
        m_open = false;
    return hr;
}

ReadTransaction::ReadTransaction(Database& db) : m_db(db)
{
    // Without a batch every statement still reads on its own, so a failed BEGIN costs speed, not results.
    m_open = !m_db.InTransaction() && m_db.Execute("BEGIN DEFERRED") == S_OK;
    m_db.m_reading = m_open;
}

ReadTransaction::~ReadTransaction()
{
    if (!m_open)
        return;
    m_db.m_reading = false;
    // A lease begun inside the batch keeps its transaction; EndLease ends it.
    if (!m_db.m_lease)
        m_db.EndRead();
}
} // namespace mapisvc