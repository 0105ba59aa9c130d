// A thin layer over SQLite for the service's databases: connections that wait for a busy database instead of
// failing at once, prepared statements cached per connection, and transactions that roll back unless
// committed. Errors become MAPI status codes.
#pragma once

#include "platform/platform.h"

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
    int64_t LastInsertId() const;
    int Changes() const;
    const std::string& Path() const { return m_path; }

private:
    struct CachedStatement
    {
        sqlite3_stmt* stmt = nullptr;
        bool inUse = false;
    };

    Database(sqlite3* db, std::string path) : m_db(db), m_path(std::move(path)) {}
    HRESULT Configure(int pageSize);

    sqlite3* m_db;
    std::string m_path;
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
} // namespace mapisvc
