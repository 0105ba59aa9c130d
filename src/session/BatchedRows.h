// The rows of a MAPI table handed out one at a time from batches of many, so that a walk over a long table costs
// one round trip per batch instead of one per row.
#pragma once

#include "platform/platform.h"
#include "session/Scoped.h"

namespace mapipim
{
class BatchedRows
{
public:
    BatchedRows(IMAPITable* pTable, LONG nRowsPerBatch) : m_pTable(pTable), m_nRowsPerBatch(nRowsPerBatch) {}

    BatchedRows(const BatchedRows&) = delete;
    BatchedRows& operator=(const BatchedRows&) = delete;

    // The next row, valid until the next call; null at the end of the table or when a fetch failed.
    SRow* Next();

private:
    IMAPITable* m_pTable;
    LONG m_nRowsPerBatch;
    ScopedRows m_rows;
    ULONG m_nNext = 0;
};
} // namespace mapipim
