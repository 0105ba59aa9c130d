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

// A cached statement in use: bind, step, read columns. It is reset when it goes out of scope.
class Query
{
public:
    explicit Query(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    ~Query();
    Query(Query&& other) noexcept : m_stmt(other.m_stmt), m_result(other.m_result) { other.m_stmt = nullptr; }
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
    HRESULT m_result = S_OK;
};

class Database
{
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens (creating when asked) a database in WAL mode with a busy timeout.
    static HRESULT Open(const std::string& path, bool create, std::unique_ptr<Database>& database);

    HRESULT Execute(const char* sql);
    // A statement from the connection's cache; a null statement (failing every step) when it cannot be prepared.
    Query Prepare(const char* sql);
    int64_t LastInsertId() const;
    int Changes() const;
    const std::string& Path() const { return m_path; }

private:
    Database(sqlite3* db, std::string path) : m_db(db), m_path(std::move(path)) {}

    sqlite3* m_db;
    std::string m_path;
    // Keyed by the address of the SQL text: statements are string literals, prepared once each.
    std::unordered_map<const char*, sqlite3_stmt*> m_statements;
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
