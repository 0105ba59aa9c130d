// IMAPITable over a row source: the contents, hierarchy, attachment, recipient, message-store and status tables.
//
// Without a sort order the table reads its source from a cursor (the key of the last row it went past), a batch
// at a time, applying the restriction as it goes, so every QueryRows costs the same per row whatever the size
// of the table. Sorting, backward reading, bookmarks and seeking from the end first list the keys of every
// matching row (one pass) and then read rows by key.
#pragma once

#include "platform/mapi/ComObject.h"
#include "platform/mapi/Restriction.h"
#include "platform/mapi/RowSource.h"

#include <map>
#include <memory>

namespace mapisvc
{
class Table : public ComObject<IMAPITable>
{
public:
    // `unicode`: the table was asked for with MAPI_UNICODE, so PT_UNSPECIFIED string columns are PT_UNICODE.
    Table(std::unique_ptr<RowSource> source, bool unicode);

    const char* InterfaceName() const override { return "IMAPITable"; }

    HRESULT STDMETHODCALLTYPE GetLastError(HRESULT hResult, ULONG ulFlags, LPMAPIERROR* lppMAPIError) override;
    HRESULT STDMETHODCALLTYPE Advise(ULONG ulEventMask, LPMAPIADVISESINK lpAdviseSink, ULONG* lpulConnection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(ULONG ulConnection) override;
    HRESULT STDMETHODCALLTYPE GetStatus(ULONG* lpulTableStatus, ULONG* lpulTableType) override;
    HRESULT STDMETHODCALLTYPE SetColumns(LPSPropTagArray lpPropTagArray, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE QueryColumns(ULONG ulFlags, LPSPropTagArray* lpPropTagArray) override;
    HRESULT STDMETHODCALLTYPE GetRowCount(ULONG ulFlags, ULONG* lpulCount) override;
    HRESULT STDMETHODCALLTYPE SeekRow(BOOKMARK bkOrigin, LONG lRowCount, LONG* lplRowsSought) override;
    HRESULT STDMETHODCALLTYPE SeekRowApprox(ULONG ulNumerator, ULONG ulDenominator) override;
    HRESULT STDMETHODCALLTYPE QueryPosition(ULONG* lpulRow, ULONG* lpulNumerator, ULONG* lpulDenominator) override;
    HRESULT STDMETHODCALLTYPE FindRow(LPSRestriction lpRestriction, BOOKMARK bkOrigin, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE Restrict(LPSRestriction lpRestriction, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE CreateBookmark(BOOKMARK* lpbkPosition) override;
    HRESULT STDMETHODCALLTYPE FreeBookmark(BOOKMARK bkPosition) override;
    HRESULT STDMETHODCALLTYPE SortTable(LPSSortOrderSet lpSortCriteria, ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE QuerySortOrder(LPSSortOrderSet* lppSortCriteria) override;
    HRESULT STDMETHODCALLTYPE QueryRows(LONG lRowCount, ULONG ulFlags, LPSRowSet* lppRows) override;
    HRESULT STDMETHODCALLTYPE Abort() override;
    HRESULT STDMETHODCALLTYPE ExpandRow(ULONG cbInstanceKey, LPBYTE pbInstanceKey, ULONG ulRowCount, ULONG ulFlags,
                                        LPSRowSet* lppRows, ULONG* lpulMoreRows) override;
    HRESULT STDMETHODCALLTYPE CollapseRow(ULONG cbInstanceKey, LPBYTE pbInstanceKey, ULONG ulFlags,
                                          ULONG* lpulRowCount) override;
    HRESULT STDMETHODCALLTYPE WaitForCompletion(ULONG ulFlags, ULONG ulTimeout, ULONG* lpulTableStatus) override;
    HRESULT STDMETHODCALLTYPE GetCollapseState(ULONG ulFlags, ULONG cbInstanceKey, LPBYTE lpbInstanceKey,
                                               ULONG* lpcbCollapseState, LPBYTE* lppbCollapseState) override;
    HRESULT STDMETHODCALLTYPE SetCollapseState(ULONG ulFlags, ULONG cbCollapseState, LPBYTE pbCollapseState,
                                               BOOKMARK* lpbkLocation) override;

protected:
    bool Implements(REFIID riid) const override;

private:
    bool Matches(const TableRow& row) const;
    // Calls `visit` with every row of the source that matches the restriction, in key order.
    template <class Visit> HRESULT ForEachMatch(Visit visit);
    // The position a bookmark stands at: BOOKMARK_BEGINNING, _CURRENT, _END or one from CreateBookmark.
    HRESULT BookmarkPosition(BOOKMARK bookmark, int64_t& position) const;
    void Rewind();
    void UpdateWanted();
    HRESULT Materialize();
    // `toOpen`: the rows go to a caller (QueryRows) who may open their objects next.
    HRESULT StreamRows(size_t count, bool toOpen, std::vector<TableRow>& rows);
    HRESULT KeyedRows(LONG count, std::vector<TableRow>& rows);
    HRESULT CountRows(ULONG& count);
    HRESULT PackRows(const std::vector<TableRow>& rows, LPSRowSet* lppRows) const;

    std::unique_ptr<RowSource> m_source;
    bool m_unicode;
    std::vector<ULONG> m_columns;
    std::unique_ptr<Restriction> m_restriction;
    std::vector<SSortOrder> m_sort;
    std::vector<ULONG> m_wanted; // sorted ids of the columns, restriction and sort keys

    ULONG m_position = 0;  // rows before the cursor
    int64_t m_lastKey = 0; // without a key list: the key of the last row the cursor went past
    bool m_materialized = false;
    std::vector<int64_t> m_keys; // with a key list: the keys of the matching rows in table order
    std::map<BOOKMARK, ULONG> m_bookmarks;
    BOOKMARK m_nextBookmark = BOOKMARK_END + 1;
};

// A new table over `source` in *lppTable, its strings in the width `ulFlags` asks for (MAPI_UNICODE);
// MAPI_E_INVALID_PARAMETER when there is nowhere to put it.
HRESULT NewTable(std::unique_ptr<RowSource> source, ULONG ulFlags, LPMAPITABLE* lppTable);
// The same over rows held in memory, with the columns it has before SetColumns.
HRESULT NewTable(std::vector<TableRow> rows, std::vector<ULONG> columns, ULONG ulFlags, LPMAPITABLE* lppTable);
} // namespace mapisvc
