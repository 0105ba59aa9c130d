// Where a table's rows come from. A source lists its rows in the order of their keys and reads rows by key, so
// that a table can page through it with a cursor (the key of the last row read) instead of reading it whole.
#pragma once

#include "platform/mapi/PropertyBag.h"

#include <memory>
#include <vector>

namespace mapisvc
{
struct TableRow
{
    int64_t key = 0;
    PropertyBag props;
};

// The properties of `props` that `wanted` (sorted property ids, or null for all) asks for.
PropertyBag WantedProps(const PropertyBag& props, const std::vector<ULONG>* wanted);

// Appends a row keyed by its position in `rows`, with that key as its PR_INSTANCE_KEY.
TableRow& AppendRow(std::vector<TableRow>& rows, PropertyBag props = PropertyBag());

class RowSource
{
public:
    virtual ~RowSource() = default;

    // Up to `limit` rows with keys above `afterKey`, in key order. `wanted` (sorted property ids, or null for
    // all) lets a source skip properties no column, restriction or sort key asks for.
    virtual HRESULT Scan(int64_t afterKey, size_t limit, const std::vector<ULONG>* wanted,
                         std::vector<TableRow>& rows) = 0;
    // Scan for rows handed out to a caller who is about to open their objects one by one: a source may keep
    // them ready for that.
    virtual HRESULT ScanToOpen(int64_t afterKey, size_t limit, const std::vector<ULONG>* wanted,
                               std::vector<TableRow>& rows)
    {
        return Scan(afterKey, limit, wanted, rows);
    }
    // The rows of these keys in this order; keys whose rows are gone are skipped.
    virtual HRESULT Fetch(const std::vector<int64_t>& keys, const std::vector<ULONG>* wanted,
                          std::vector<TableRow>& rows) = 0;
    virtual HRESULT Count(ULONG& count) = 0;
    // Holds what the reads of one table call share (a snapshot of the source's database) until it is released;
    // null for a source that needs nothing held.
    virtual std::shared_ptr<void> BeginBatch() { return nullptr; }
    // The columns a table has before SetColumns.
    virtual std::vector<ULONG> DefaultColumns() const = 0;
    // The recipients or attachments of a row, for RES_SUBRESTRICTION.
    virtual HRESULT SubObjects(int64_t key, ULONG ulSubObject, std::vector<PropertyBag>& objects)
    {
        return MAPI_E_TOO_COMPLEX;
    }
};

// A source over rows held in memory (stores, status, attachments, recipients, folders, list members).
class MemoryRowSource : public RowSource
{
public:
    // Rows must be in ascending key order.
    MemoryRowSource(std::vector<TableRow> rows, std::vector<ULONG> defaultColumns)
        : m_rows(std::move(rows)), m_defaultColumns(std::move(defaultColumns))
    {
    }

    HRESULT Scan(int64_t afterKey, size_t limit, const std::vector<ULONG>* wanted,
                 std::vector<TableRow>& rows) override;
    HRESULT Fetch(const std::vector<int64_t>& keys, const std::vector<ULONG>* wanted,
                  std::vector<TableRow>& rows) override;
    HRESULT Count(ULONG& count) override;
    std::vector<ULONG> DefaultColumns() const override { return m_defaultColumns; }

private:
    std::vector<TableRow> m_rows;
    std::vector<ULONG> m_defaultColumns;
};
} // namespace mapisvc
