#include "platform/mapi/Table.h"

#include "platform/mapi/MAPIMemory.h"
#include "platform/mapi/PropertyPacker.h"
#include "platform/mapi/ServiceCall.h"
#include "platform/mapi/ValueCompare.h"

#include <algorithm>
#include <forward_list>
#include <limits>

namespace mapisvc
{
namespace
{
constexpr size_t kScanBatch = 512;

struct SortEntry
{
    int64_t key;
    std::vector<Prop> values; // one per sort key; PR_NULL where the row has none
};

int CompareEntries(const SortEntry& a, const SortEntry& b, const std::vector<SSortOrder>& sort)
{
    for (size_t i = 0; i < sort.size(); ++i)
    {
        const bool hasA = a.values[i].tag != PR_NULL, hasB = b.values[i].tag != PR_NULL;
        int order = hasA == hasB ? (hasA ? CompareValues(a.values[i], b.values[i]) : 0) : (hasA ? 1 : -1);
        if (sort[i].ulOrder == TABLE_SORT_DESCEND)
            order = -order;
        if (order)
            return order;
    }
    return 0;
}
} // namespace

Table::Table(std::unique_ptr<RowSource> source, bool unicode)
    : m_source(std::move(source)), m_unicode(unicode), m_columns(m_source->DefaultColumns())
{
    Rewind();
    UpdateWanted();
}

bool Table::Implements(REFIID riid) const
{
    return IsOneOf(riid, {&IID_IMAPITable});
}

bool Table::Matches(const TableRow& row) const
{
    if (!m_restriction)
        return true;
    SubObjectReader subObjects = [&](ULONG ulSubObject, std::vector<PropertyBag>& objects)
    { return m_source->SubObjects(row.key, ulSubObject, objects); };
    return m_restriction->Matches(row.props, subObjects);
}

template <class Visit> HRESULT Table::ForEachMatch(Visit visit)
{
    const auto snapshot = m_source->BeginBatch();
    int64_t after = std::numeric_limits<int64_t>::min();
    for (;;)
    {
        std::vector<TableRow> batch;
        if (HRESULT hr = m_source->Scan(after, kScanBatch, &m_wanted, batch))
            return hr;
        for (const TableRow& row : batch)
        {
            after = row.key;
            if (Matches(row))
                visit(row);
        }
        if (batch.size() < kScanBatch)
            return S_OK;
    }
}

HRESULT Table::BookmarkPosition(BOOKMARK bookmark, int64_t& position) const
{
    if (bookmark == BOOKMARK_BEGINNING)
        position = 0;
    else if (bookmark == BOOKMARK_END)
        position = static_cast<int64_t>(m_keys.size());
    else if (bookmark == BOOKMARK_CURRENT)
        position = m_position;
    else
    {
        auto found = m_bookmarks.find(bookmark);
        if (found == m_bookmarks.end())
            return MAPI_E_INVALID_BOOKMARK;
        position = found->second;
    }
    return S_OK;
}

void Table::Rewind()
{
    m_position = 0;
    m_lastKey = std::numeric_limits<int64_t>::min();
    m_materialized = false;
    m_keys.clear();
    m_bookmarks.clear();
}

void Table::UpdateWanted()
{
    m_wanted.clear();
    for (ULONG tag : m_columns)
        m_wanted.push_back(PROP_ID(tag));
    for (const SSortOrder& order : m_sort)
        m_wanted.push_back(PROP_ID(order.ulPropTag));
    if (m_restriction)
        m_restriction->CollectPropIds(m_wanted);
    std::sort(m_wanted.begin(), m_wanted.end());
    m_wanted.erase(std::unique(m_wanted.begin(), m_wanted.end()), m_wanted.end());
}

HRESULT Table::Materialize()
{
    if (m_materialized)
        return S_OK;
    std::vector<SortEntry> entries;
    HRESULT hr = ForEachMatch(
        [&](const TableRow& row)
        {
            SortEntry entry{row.key, {}};
            for (const SSortOrder& order : m_sort)
            {
                const Prop* value = row.props.Find(PROP_ID(order.ulPropTag));
                entry.values.push_back(value && value->loaded ? *value : Prop());
            }
            entries.push_back(std::move(entry));
        });
    if (hr)
        return hr;
    std::stable_sort(entries.begin(), entries.end(),
                     [this](const SortEntry& a, const SortEntry& b) { return CompareEntries(a, b, m_sort) < 0; });
    m_keys.clear();
    for (const SortEntry& entry : entries)
        m_keys.push_back(entry.key);
    m_materialized = true;
    m_position = std::min<ULONG>(m_position, static_cast<ULONG>(m_keys.size()));
    return S_OK;
}

HRESULT Table::StreamRows(size_t count, bool toOpen, std::vector<TableRow>& rows)
{
    const auto snapshot = m_source->BeginBatch();
    // Rows a restriction may pass over are never opened, so only a table without one has its rows kept ready.
    const bool keep = toOpen && !m_restriction;
    // The first read asks for just the rows missing, so that an unrestricted fetch reads no row it does not hand
    // out; when a restriction passes too few of them, each further read asks for twice as many.
    size_t batchSize = 1;
    rows.reserve(std::min(count, kScanBatch));
    while (rows.size() < count)
    {
        const size_t want = std::min(std::max(count - rows.size(), batchSize), kScanBatch);
        batchSize = std::min(want * 2, kScanBatch);
        // Without a restriction every row read is handed out, so it is read where it goes.
        std::vector<TableRow> batch;
        if (m_restriction)
            batch.reserve(want);
        std::vector<TableRow>& read = m_restriction ? batch : rows;
        const size_t before = read.size();
        HRESULT hr = keep ? m_source->ScanToOpen(m_lastKey, want, &m_wanted, read)
                          : m_source->Scan(m_lastKey, want, &m_wanted, read);
        if (hr)
            return hr;
        const size_t readCount = read.size() - before;
        if (readCount && !m_restriction)
            m_lastKey = rows.back().key;
        for (TableRow& row : batch)
        {
            if (rows.size() == count)
                break;
            m_lastKey = row.key;
            if (Matches(row))
                rows.push_back(std::move(row));
        }
        if (readCount < want)
            break;
    }
    m_position += static_cast<ULONG>(rows.size());
    return S_OK;
}

HRESULT Table::KeyedRows(LONG count, std::vector<TableRow>& rows)
{
    ULONG first = m_position, last = m_position;
    if (count >= 0)
        last = static_cast<ULONG>(std::min<uint64_t>(m_keys.size(), uint64_t(m_position) + count));
    else
        first = static_cast<ULONG>(std::max<int64_t>(0, int64_t(m_position) + count));
    std::vector<int64_t> keys(m_keys.begin() + first, m_keys.begin() + last);
    if (count < 0)
        std::reverse(keys.begin(), keys.end());
    const auto snapshot = m_source->BeginBatch();
    if (HRESULT hr = m_source->Fetch(keys, &m_wanted, rows))
        return hr;
    m_position = count >= 0 ? last : first;
    return S_OK;
}

HRESULT Table::CountRows(ULONG& count)
{
    if (m_materialized)
    {
        count = static_cast<ULONG>(m_keys.size());
        return S_OK;
    }
    if (!m_restriction)
        return m_source->Count(count);
    count = 0;
    return ForEachMatch([&count](const TableRow&) { ++count; });
}

HRESULT Table::PackRows(const std::vector<TableRow>& rows, LPSRowSet* lppRows) const
{
    MAPIBuffer<SRowSet> rowSet;
    if (HRESULT hr = rowSet.Allocate(CbNewSRowSet(std::max<size_t>(rows.size(), 1))))
        return hr;
    rowSet->cRows = 0;
    std::vector<OutValue> values(m_columns.size());
    for (const TableRow& row : rows)
    {
        std::forward_list<std::string> converted;
        for (size_t i = 0; i < m_columns.size(); ++i)
        {
            const ULONG tag = m_columns[i];
            PropView prop;
            ULONG type = PT_UNSPECIFIED;
            if (!row.props.Peek(PROP_ID(tag), prop) ||
                !OutputType(PROP_TYPE(prop.tag), PROP_TYPE(tag), m_unicode, type))
                values[i].SetError(tag, MAPI_E_NOT_FOUND);
            else if (!prop.loaded)
                values[i].SetError(tag, MAPI_E_NOT_ENOUGH_MEMORY);
            else
                values[i].Set(prop, PROP_TAG(type, PROP_ID(tag)), converted);
        }
        SRow& out = rowSet->aRow[rowSet->cRows];
        out.ulAdrEntryPad = 0;
        out.cValues = static_cast<ULONG>(values.size());
        if (HRESULT hr = PackValues(values, &out.lpProps))
        {
            FreeProws(rowSet.Release());
            return hr;
        }
        ++rowSet->cRows;
    }
    *lppRows = rowSet.Release();
    return S_OK;
}

HRESULT Table::GetLastError(HRESULT, ULONG ulFlags, LPMAPIERROR* lppMAPIError)
{
    return NoLastError("IMAPITable", ulFlags, lppMAPIError);
}

HRESULT Table::Advise(ULONG, LPMAPIADVISESINK, ULONG*)
{
    return Unsupported("Advise");
}

HRESULT Table::Unadvise(ULONG)
{
    return Unsupported("Unadvise");
}

HRESULT Table::GetStatus(ULONG* lpulTableStatus, ULONG* lpulTableType)
{
    ServiceCall call(*this, "IMAPITable", "GetStatus");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!lpulTableStatus || !lpulTableType)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lpulTableStatus = TBLSTAT_COMPLETE;
    *lpulTableType = m_materialized ? TBLTYPE_KEYSET : TBLTYPE_DYNAMIC;
    return call.Done(S_OK);
}

HRESULT Table::SetColumns(LPSPropTagArray lpPropTagArray, ULONG ulFlags)
{
    ServiceCall call(*this, "IMAPITable", "SetColumns");
    if (HRESULT hr = call.Flags(ulFlags).Tags(lpPropTagArray).Fault())
        return hr;
    if (!lpPropTagArray || lpPropTagArray->cValues == 0)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    m_columns.assign(lpPropTagArray->aulPropTag, lpPropTagArray->aulPropTag + lpPropTagArray->cValues);
    UpdateWanted();
    return call.Done(S_OK);
}

HRESULT Table::QueryColumns(ULONG ulFlags, LPSPropTagArray* lpPropTagArray)
{
    ServiceCall call(*this, "IMAPITable", "QueryColumns");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    return call.Done(PackTags(ulFlags & TBL_ALL_COLUMNS ? m_source->DefaultColumns() : m_columns, lpPropTagArray));
}

HRESULT Table::GetRowCount(ULONG ulFlags, ULONG* lpulCount)
{
    ServiceCall call(*this, "IMAPITable", "GetRowCount");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lpulCount)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    return call.Done(CountRows(*lpulCount));
}

HRESULT Table::SeekRow(BOOKMARK bkOrigin, LONG lRowCount, LONG* lplRowsSought)
{
    ServiceCall call(*this, "IMAPITable", "SeekRow");
    if (HRESULT hr = call.Flags(bkOrigin).Fault())
        return hr;
    if (lplRowsSought)
        *lplRowsSought = 0;
    if (bkOrigin == BOOKMARK_BEGINNING && lRowCount == 0)
    {
        Rewind();
        return call.Done(S_OK);
    }
    if (bkOrigin == BOOKMARK_CURRENT && lRowCount >= 0 && !m_materialized)
    {
        std::vector<TableRow> skipped;
        HRESULT hr = StreamRows(static_cast<size_t>(lRowCount), false, skipped);
        if (lplRowsSought)
            *lplRowsSought = static_cast<LONG>(skipped.size());
        return call.Done(hr);
    }
    if (HRESULT hr = Materialize())
        return call.Done(hr);
    int64_t origin = 0;
    if (HRESULT hr = BookmarkPosition(bkOrigin, origin))
        return call.Done(hr);
    const int64_t target = std::clamp<int64_t>(origin + lRowCount, 0, static_cast<int64_t>(m_keys.size()));
    m_position = static_cast<ULONG>(target);
    if (lplRowsSought)
        *lplRowsSought = static_cast<LONG>(target - origin);
    return call.Done(S_OK);
}

HRESULT Table::SeekRowApprox(ULONG ulNumerator, ULONG ulDenominator)
{
    ServiceCall call(*this, "IMAPITable", "SeekRowApprox");
    if (HRESULT hr = call.Fault())
        return hr;
    if (ulDenominator == 0 || ulNumerator > ulDenominator)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (HRESULT hr = Materialize())
        return call.Done(hr);
    m_position = static_cast<ULONG>(uint64_t(m_keys.size()) * ulNumerator / ulDenominator);
    return call.Done(S_OK);
}

HRESULT Table::QueryPosition(ULONG* lpulRow, ULONG* lpulNumerator, ULONG* lpulDenominator)
{
    ServiceCall call(*this, "IMAPITable", "QueryPosition");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!lpulRow || !lpulNumerator || !lpulDenominator)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    ULONG count = 0;
    if (HRESULT hr = CountRows(count))
        return call.Done(hr);
    *lpulRow = m_position;
    *lpulNumerator = m_position;
    *lpulDenominator = std::max<ULONG>(count, 1);
    return call.Done(S_OK);
}

HRESULT Table::FindRow(LPSRestriction lpRestriction, BOOKMARK bkOrigin, ULONG ulFlags)
{
    ServiceCall call(*this, "IMAPITable", "FindRow");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lpRestriction)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    Restriction wanted;
    if (HRESULT hr = Restriction::From(*lpRestriction, wanted))
        return call.Done(hr);
    if (HRESULT hr = Materialize())
        return call.Done(hr);
    int64_t index = 0;
    if (HRESULT hr = BookmarkPosition(bkOrigin, index))
        return call.Done(hr);
    std::vector<ULONG> ids;
    wanted.CollectPropIds(ids);
    const bool backward = (ulFlags & DIR_BACKWARD) != 0;
    const auto snapshot = m_source->BeginBatch();
    for (int64_t i = backward ? index - 1 : index; i >= 0 && i < int64_t(m_keys.size()); i += backward ? -1 : 1)
    {
        std::vector<TableRow> rows;
        if (HRESULT hr = m_source->Fetch({m_keys[i]}, nullptr, rows))
            return call.Done(hr);
        SubObjectReader subObjects = [&](ULONG ulSubObject, std::vector<PropertyBag>& objects)
        { return m_source->SubObjects(m_keys[i], ulSubObject, objects); };
        if (!rows.empty() && wanted.Matches(rows[0].props, subObjects))
        {
            m_position = static_cast<ULONG>(i);
            return call.Done(S_OK);
        }
    }
    return call.Done(MAPI_E_NOT_FOUND);
}

HRESULT Table::Restrict(LPSRestriction lpRestriction, ULONG ulFlags)
{
    ServiceCall call(*this, "IMAPITable", "Restrict");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    std::unique_ptr<Restriction> restriction;
    if (lpRestriction)
    {
        restriction.reset(new Restriction);
        if (HRESULT hr = Restriction::From(*lpRestriction, *restriction))
            return call.Done(hr);
    }
    m_restriction = std::move(restriction);
    Rewind();
    UpdateWanted();
    return call.Done(S_OK);
}

HRESULT Table::CreateBookmark(BOOKMARK* lpbkPosition)
{
    ServiceCall call(*this, "IMAPITable", "CreateBookmark");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!lpbkPosition)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (HRESULT hr = Materialize())
        return call.Done(hr);
    *lpbkPosition = m_nextBookmark++;
    m_bookmarks[*lpbkPosition] = m_position;
    return call.Done(S_OK);
}

HRESULT Table::FreeBookmark(BOOKMARK bkPosition)
{
    ServiceCall call(*this, "IMAPITable", "FreeBookmark");
    if (HRESULT hr = call.Fault())
        return hr;
    if (bkPosition <= BOOKMARK_END)
        return call.Done(S_OK);
    return call.Done(m_bookmarks.erase(bkPosition) ? S_OK : MAPI_E_INVALID_BOOKMARK);
}

HRESULT Table::SortTable(LPSSortOrderSet lpSortCriteria, ULONG ulFlags)
{
    ServiceCall call(*this, "IMAPITable", "SortTable");
    if (HRESULT hr = call.Flags(ulFlags).Sort(lpSortCriteria).Fault())
        return hr;
    if (!lpSortCriteria)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    if (lpSortCriteria->cCategories != 0)
        return call.Done(MAPI_E_TOO_COMPLEX);
    for (ULONG i = 0; i < lpSortCriteria->cSorts; ++i)
        if (lpSortCriteria->aSort[i].ulOrder != TABLE_SORT_ASCEND &&
            lpSortCriteria->aSort[i].ulOrder != TABLE_SORT_DESCEND)
            return call.Done(MAPI_E_TOO_COMPLEX);
    m_sort.assign(lpSortCriteria->aSort, lpSortCriteria->aSort + lpSortCriteria->cSorts);
    Rewind();
    UpdateWanted();
    return call.Done(S_OK);
}

HRESULT Table::QuerySortOrder(LPSSortOrderSet* lppSortCriteria)
{
    ServiceCall call(*this, "IMAPITable", "QuerySortOrder");
    if (HRESULT hr = call.Fault())
        return hr;
    if (!lppSortCriteria)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    MAPIBuffer<SSortOrderSet> sort;
    if (HRESULT hr = sort.Allocate(CbNewSSortOrderSet(std::max<size_t>(m_sort.size(), 1))))
        return call.Done(hr);
    sort->cSorts = static_cast<ULONG>(m_sort.size());
    sort->cCategories = 0;
    sort->cExpanded = 0;
    std::copy(m_sort.begin(), m_sort.end(), sort->aSort);
    *lppSortCriteria = sort.Release();
    return call.Done(S_OK);
}

HRESULT Table::QueryRows(LONG lRowCount, ULONG ulFlags, LPSRowSet* lppRows)
{
    ServiceCall call(*this, "IMAPITable", "QueryRows");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (!lppRows)
        return call.Done(MAPI_E_INVALID_PARAMETER);
    *lppRows = nullptr;
    const ULONG position = m_position;
    const int64_t lastKey = m_lastKey;
    std::vector<TableRow> rows;
    HRESULT hr = S_OK;
    if (lRowCount < 0 || !m_sort.empty())
        hr = Materialize();
    if (hr == S_OK)
        hr = m_materialized ? KeyedRows(lRowCount, rows) : StreamRows(static_cast<size_t>(lRowCount), true, rows);
    if (ulFlags & TBL_NOADVANCE)
    {
        m_position = position;
        m_lastKey = lastKey;
    }
    if (hr == S_OK)
        hr = PackRows(rows, lppRows);
    return call.Done(hr);
}

HRESULT Table::Abort()
{
    return ServiceCall(*this, "IMAPITable", "Abort").Answer(S_OK);
}

HRESULT Table::ExpandRow(ULONG, LPBYTE, ULONG, ULONG, LPSRowSet*, ULONG*)
{
    return Unsupported("ExpandRow");
}

HRESULT Table::CollapseRow(ULONG, LPBYTE, ULONG, ULONG*)
{
    return Unsupported("CollapseRow");
}

HRESULT Table::WaitForCompletion(ULONG ulFlags, ULONG, ULONG* lpulTableStatus)
{
    ServiceCall call(*this, "IMAPITable", "WaitForCompletion");
    if (HRESULT hr = call.Flags(ulFlags).Fault())
        return hr;
    if (lpulTableStatus)
        *lpulTableStatus = TBLSTAT_COMPLETE;
    return call.Done(S_OK);
}

HRESULT Table::GetCollapseState(ULONG, ULONG, LPBYTE, ULONG*, LPBYTE*)
{
    return Unsupported("GetCollapseState");
}

HRESULT Table::SetCollapseState(ULONG, ULONG, LPBYTE, BOOKMARK*)
{
    return Unsupported("SetCollapseState");
}

HRESULT NewTable(std::unique_ptr<RowSource> source, ULONG ulFlags, LPMAPITABLE* lppTable)
{
    if (!lppTable)
        return MAPI_E_INVALID_PARAMETER;
    *lppTable = new Table(std::move(source), (ulFlags & MAPI_UNICODE) != 0);
    return S_OK;
}

HRESULT NewTable(std::vector<TableRow> rows, std::vector<ULONG> columns, ULONG ulFlags, LPMAPITABLE* lppTable)
{
    return NewTable(std::unique_ptr<RowSource>(new MemoryRowSource(std::move(rows), std::move(columns))), ulFlags,
                    lppTable);
}
} // namespace mapisvc
